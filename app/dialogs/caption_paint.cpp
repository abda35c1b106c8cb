#include "app/dialogs/caption_paint.h"

#include <windowsx.h>

namespace {

constexpr COLORREF MASK_COLOUR = RGB(255, 0, 255);
constexpr int ICON_LEFT = 8;
constexpr int ICON_SIZE = 18;

}  // namespace

HIMAGELIST LoadCaptionButtonImages(int bitmapId) {
  HIMAGELIST images = ImageList_Create(CAPTION_BUTTON_SIZE, CAPTION_BUTTON_SIZE,
                                       ILC_MASK | ILC_COLOR32, 0, 0);
  if (images == nullptr) return nullptr;
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId),
                 IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (bitmap == nullptr) {
    ImageList_Destroy(images);
    return nullptr;
  }
  ImageList_AddMasked(images, bitmap, MASK_COLOUR);
  DeleteObject(bitmap);
  return images;
}

void ReleaseCaptionButton(CaptionButton& button) {
  button.rect = {0, 0, 0, 0};
  if (button.images != nullptr) ImageList_Destroy(button.images);
  button.images = nullptr;
}

void DrawCaptionButton(HDC dc, const CaptionButton& button, int image) {
  if (button.images == nullptr) return;
  ImageList_Draw(button.images, image, dc, button.rect.left, button.rect.top,
                 ILD_TRANSPARENT);
}

BorderSystemSizes SystemBorderSizes() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME),
          GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
}

bool HasThickFrame(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME) != 0;
}

void PaintFrameFills(HDC dc, int width, int height, const FrameMetrics& metrics,
                     int shadeOffset) {
  for (const GreyFill& fill : FrameFills(width, height, metrics, shadeOffset)) {
    HBRUSH brush = CreateSolidBrush(RGB(fill.level, fill.level, fill.level));
    RECT rect{fill.x, fill.y, fill.x + fill.width, fill.y + fill.height};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
}

void DrawCaptionTitle(HDC dc, const CaptionRect& rect, const wchar_t* title) {
  HFONT font =
      CreateFontW(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                  FF_SWISS, L"Arial");
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT area{rect.left, rect.top, rect.right, rect.bottom};
  DrawTextW(dc, title, -1, &area, 0);
  SelectObject(dc, previous);
  DeleteObject(font);
}

HICON LoadCaptionIcon(int iconId) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId),
                 IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
}

void UseAsSmallIcon(HWND window, HICON icon) {
  if (icon == nullptr) return;
  // Setting the icon redraws the system's own caption: only a change is
  // worth that.
  if (reinterpret_cast<HICON>(
          SendMessageW(window, WM_GETICON, ICON_SMALL, 0)) == icon) {
    return;
  }
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void DrawCaptionIcon(HDC dc, HICON icon, int borderHeight) {
  if (icon == nullptr) return;
  DrawIconEx(dc, ICON_LEFT, borderHeight - 2, icon, ICON_SIZE, ICON_SIZE, 0,
             nullptr, DI_NORMAL);
}

POINT NonClientPoint(HWND window, LPARAM lParam) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {GET_X_LPARAM(lParam) - rect.left, GET_Y_LPARAM(lParam) - rect.top};
}

void SetArrowCursor() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }
