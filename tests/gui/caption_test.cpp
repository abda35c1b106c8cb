#include <windows.h>

#include <cstdlib>
#include <vector>

#include "tests/gui/frame_fixture.h"

namespace {

class CaptionTest : public FrameTest {
 protected:
  int BorderWidth() const { return GetSystemMetrics(SM_CXFRAME); }
  int BorderHeight() const { return GetSystemMetrics(SM_CYFRAME); }
  int Width() const {
    RECT rect{};
    GetWindowRect(Frame(), &rect);
    return rect.right - rect.left;
  }
  int Height() const {
    RECT rect{};
    GetWindowRect(Frame(), &rect);
    return rect.bottom - rect.top;
  }
  LPARAM Centre(CaptionButtonSlot slot) const {
    const CaptionRect& r = frame.Caption().Button(slot).rect;
    return ScreenPointParam(Frame(), (r.left + r.right) / 2,
                            (r.top + r.bottom) / 2);
  }
  void Click(CaptionButtonSlot down, CaptionButtonSlot up) {
    EXPECT_EQ(SendMessageW(Frame(), WM_NCLBUTTONDOWN, HTCAPTION, Centre(down)),
              1);
    EXPECT_EQ(SendMessageW(Frame(), WM_NCLBUTTONUP, HTCAPTION, Centre(up)), 1);
  }
  std::vector<COLORREF> Pixels(const CaptionRect& r) const {
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        pixels.push_back(WindowPixel(Frame(), x, y));
      }
    }
    return pixels;
  }
  void Paint(bool active) {
    EXPECT_EQ(SendMessageW(Frame(), WM_NCPAINT, active ? 1 : 0, 0), 0);
  }
};

TEST_F(CaptionTest, ButtonRectanglesAtTheirOffsets) {
  Paint(true);
  const int bx = BorderWidth();
  const int by = BorderHeight();
  const CaptionRect close = frame.Caption().Button(SLOT_CLOSE).rect;
  EXPECT_EQ(close.left, Width() - bx - 15);
  EXPECT_EQ(close.right, Width() - bx);
  EXPECT_EQ(close.top, by);
  EXPECT_EQ(close.bottom, by + 15);
  const CaptionRect maximize = frame.Caption().Button(SLOT_MAXIMIZE).rect;
  EXPECT_EQ(maximize.left, close.left - 18);
  EXPECT_EQ(maximize.top, by);
  const CaptionRect minimize = frame.Caption().Button(SLOT_MINIMIZE).rect;
  EXPECT_EQ(minimize.left, maximize.left - 18);
  EXPECT_EQ(minimize.bottom, by + 15);
  const CaptionRect restore = frame.Caption().Button(SLOT_RESTORE).rect;
  EXPECT_EQ(restore.left, maximize.left);
  EXPECT_EQ(restore.right, maximize.right);
}

TEST_F(CaptionTest, ProgramIconBecomesTheSmallIcon) {
  Paint(true);
  EXPECT_NE(SendMessageW(Frame(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(CaptionTest, MaximizeThenRestoreWithTheSameButton) {
  Paint(true);
  Click(SLOT_MAXIMIZE, SLOT_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(Frame()));
  EXPECT_TRUE(frame.Caption().Maximized());
  EXPECT_EQ(frame.Caption().PressedButton(), CAPTION_HIT_NONE);

  Paint(true);
  Click(SLOT_RESTORE, SLOT_RESTORE);
  EXPECT_FALSE(IsZoomed(Frame()));
  EXPECT_FALSE(frame.Caption().Maximized());
  RECT rect{};
  GetWindowRect(Frame(), &rect);
  EXPECT_EQ(rect.right - rect.left, 1024);
  EXPECT_EQ(rect.bottom - rect.top, 768);
}

TEST_F(CaptionTest, PressOnOneButtonAndReleaseOnAnotherDoesNothing) {
  Paint(true);
  SentMessageLog log;
  Click(SLOT_CLOSE, SLOT_MINIMIZE);
  Click(SLOT_MAXIMIZE, SLOT_CLOSE);
  EXPECT_EQ(log.Count(Frame(), WM_SYSCOMMAND), 0);
  EXPECT_TRUE(IsWindow(Frame()));
  EXPECT_FALSE(IsIconic(Frame()));
  EXPECT_FALSE(IsZoomed(Frame()));
  EXPECT_EQ(frame.Caption().PressedButton(), CAPTION_HIT_NONE);
}

TEST_F(CaptionTest, ReleaseWithoutPressDoesNothing) {
  Paint(true);
  const LPARAM title = ScreenPointParam(Frame(), Width() / 2, 5);
  SentMessageLog log;
  EXPECT_EQ(SendMessageW(Frame(), WM_NCLBUTTONUP, HTCAPTION, title), 1);
  EXPECT_EQ(
      SendMessageW(Frame(), WM_NCLBUTTONUP, HTCAPTION, Centre(SLOT_CLOSE)), 1);
  EXPECT_EQ(log.Count(Frame(), WM_SYSCOMMAND), 0);
  EXPECT_EQ(frame.Caption().PressedButton(), CAPTION_HIT_NONE);
}

TEST_F(CaptionTest, MinimizeButtonMinimizes) {
  Paint(true);
  Click(SLOT_MINIMIZE, SLOT_MINIMIZE);
  EXPECT_TRUE(IsIconic(Frame()));
  EXPECT_FALSE(frame.Caption().Maximized());
}

TEST_F(CaptionTest, CloseButtonEndsTheLoopWithExitCodeOne) {
  Paint(true);
  PostMessageW(Frame(), WM_NCLBUTTONDOWN, HTCAPTION, Centre(SLOT_CLOSE));
  PostMessageW(Frame(), WM_NCLBUTTONUP, HTCAPTION, Centre(SLOT_CLOSE));
  EXPECT_EQ(loop.Run(), 1);
  EXPECT_FALSE(IsWindow(Frame()));
}

TEST_F(CaptionTest, ActiveBandAndBordersHaveTheirGreyLevels) {
  Paint(true);
  const int bx = BorderWidth();
  const int by = BorderHeight();
  const int ch = GetSystemMetrics(SM_CYCAPTION);
  const int W = Width();
  const int H = Height();
  for (int i = 0; i < ch + by; ++i) {
    EXPECT_EQ(WindowPixel(Frame(), W / 2, i), Grey(std::abs(190 - 10 * i)))
        << "band row " << i;
  }
  for (int j = 0; j < bx; ++j) {
    EXPECT_EQ(WindowPixel(Frame(), j, H / 2), Grey(20 * j)) << "left " << j;
  }
  for (int k = 1; k < bx; ++k) {
    EXPECT_EQ(WindowPixel(Frame(), W - k, H / 2), Grey(20 * k))
        << "right " << k;
  }
  for (int l = 0; l < by; ++l) {
    EXPECT_EQ(WindowPixel(Frame(), W / 2, H - 1 - l), Grey(20 * l))
        << "bottom " << l;
  }
}

TEST_F(CaptionTest, InactiveBandAndBordersAreFiftyLighter) {
  Paint(false);
  const int bx = BorderWidth();
  const int by = BorderHeight();
  const int W = Width();
  const int H = Height();
  EXPECT_EQ(WindowPixel(Frame(), W / 2, 0), Grey(240));
  EXPECT_EQ(WindowPixel(Frame(), W / 2, 1), Grey(230));
  for (int j = 0; j < bx; ++j) {
    EXPECT_EQ(WindowPixel(Frame(), j, H / 2), Grey(50 + 20 * j));
  }
  for (int l = 0; l < by; ++l) {
    EXPECT_EQ(WindowPixel(Frame(), W / 2, H - 1 - l), Grey(50 + 20 * l));
  }
}

TEST_F(CaptionTest, DeactivationRepaintsInTheInactiveShadeAtOnce) {
  EXPECT_EQ(SendMessageW(Frame(), WM_NCACTIVATE, FALSE, 0), 1);
  EXPECT_EQ(WindowPixel(Frame(), Width() / 2, 0), Grey(240));
  EXPECT_EQ(SendMessageW(Frame(), WM_NCACTIVATE, TRUE, 0), 1);
  EXPECT_EQ(WindowPixel(Frame(), Width() / 2, 0), Grey(190));
}

TEST_F(CaptionTest, HoverDrawsTheHotImageOfTheButtonUnderThePointer) {
  Paint(true);
  const CaptionRect close = frame.Caption().Button(SLOT_CLOSE).rect;
  const std::vector<COLORREF> normal = Pixels(close);
  EXPECT_EQ(
      SendMessageW(Frame(), WM_NCMOUSEMOVE, HTCAPTION, Centre(SLOT_CLOSE)), 1);
  EXPECT_NE(Pixels(close), normal);
  SendMessageW(Frame(), WM_NCMOUSEMOVE, HTCAPTION,
               ScreenPointParam(Frame(), Width() / 2, 5));
  EXPECT_EQ(Pixels(close), normal);
}

}  // namespace
