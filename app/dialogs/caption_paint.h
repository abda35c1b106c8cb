// Painting pieces shared by the self-painted frames of the main window and
// the dialogs: the grey band and borders, the title, the icon and the
// caption buttons, all drawn on the window's own device context.
#pragma once

#include <windows.h>

#include "app/dialogs/caption_geometry.h"
#include "winui/common_controls.h"

// One self-drawn caption button: its hit rectangle in window coordinates
// and two 15 x 15 images, 0 normal and 1 hot.
struct CaptionButton {
  CaptionRect rect;
  HIMAGELIST images;
};

enum CaptionImage : int { CAPTION_IMAGE_NORMAL = 0, CAPTION_IMAGE_HOT = 1 };

// The two images of a 30 x 15 bitmap resource with magenta transparent; null
// when the bitmap can not be loaded.
HIMAGELIST LoadCaptionButtonImages(int bitmapId);
// Zeroes the rectangle and releases the images.
void ReleaseCaptionButton(CaptionButton& button);
void DrawCaptionButton(HDC dc, const CaptionButton& button, int image);

BorderSystemSizes SystemBorderSizes();
bool HasThickFrame(HWND window);

void PaintFrameFills(HDC dc, int width, int height, const FrameMetrics& metrics,
                     int shadeOffset);
// White bold 16-pixel Arial on a transparent background, clipped to `rect`.
void DrawCaptionTitle(HDC dc, const CaptionRect& rect, const wchar_t* title);

// The icon resource at the system's large icon size, or null.
HICON LoadCaptionIcon(int iconId);
// Makes `icon` the window's small icon; done before painting, since the
// system repaints its own caption when the icon changes.
void UseAsSmallIcon(HWND window, HICON icon);
// Draws `icon` 18 x 18 at (8, borderHeight - 2).
void DrawCaptionIcon(HDC dc, HICON icon, int borderHeight);

// The pointer of a non-client mouse message in window coordinates.
POINT NonClientPoint(HWND window, LPARAM lParam);

void SetArrowCursor();
