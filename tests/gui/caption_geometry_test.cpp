#include "app/dialogs/caption_geometry.h"

#include <gtest/gtest.h>

namespace {

// Wine's and the classic desktop's default metrics.
constexpr FrameMetrics METRICS{4, 4, 18, 18};

TEST(GreyLevel, TakesTheAbsoluteValueCutToEightBits) {
  EXPECT_EQ(GreyLevel(190), 190);
  EXPECT_EQ(GreyLevel(0), 0);
  EXPECT_EQ(GreyLevel(-10), 10);
  EXPECT_EQ(GreyLevel(300), 300 - 256);
  EXPECT_EQ(GreyLevel(-300), 300 - 256);
}

TEST(ShadeOffset, InactiveIsFiftyLighter) {
  EXPECT_EQ(ShadeOffset(true), 0);
  EXPECT_EQ(ShadeOffset(false), 50);
}

TEST(FrameFills, TitleBandFallsByTenPerRowAndTurnsBackUp) {
  const std::vector<GreyFill> fills = FrameFills(800, 600, METRICS, 0);
  ASSERT_GE(fills.size(), 22u);
  EXPECT_EQ(fills[0].level, 190);
  EXPECT_EQ(fills[1].level, 180);
  EXPECT_EQ(fills[19].level, 0);
  EXPECT_EQ(fills[20].level, 10);
  for (int i = 0; i < 22; ++i) {
    EXPECT_EQ(fills[i].x, 0);
    EXPECT_EQ(fills[i].y, i);
    EXPECT_EQ(fills[i].width, 800);
    EXPECT_EQ(fills[i].height, 1);
  }
}

TEST(FrameFills, InactiveBandStartsAt240AndBordersAt50) {
  const std::vector<GreyFill> fills = FrameFills(800, 600, METRICS, 50);
  EXPECT_EQ(fills[0].level, 240);
  const GreyFill& firstLeft = fills[22];
  EXPECT_EQ(firstLeft.x, 0);
  EXPECT_EQ(firstLeft.level, 50);
}

TEST(FrameFills, BordersInPaintingOrder) {
  const std::vector<GreyFill> fills = FrameFills(800, 600, METRICS, 0);
  // 22 band rows, 4 left columns, 5 right columns, 5 bottom rows.
  ASSERT_EQ(fills.size(), 22u + 4u + 5u + 5u);
  for (int j = 0; j < 4; ++j) {
    const GreyFill& f = fills[22 + j];
    EXPECT_EQ(f.x, j);
    EXPECT_EQ(f.y, 18 + j);
    EXPECT_EQ(f.width, 1);
    EXPECT_EQ(f.height, 600 - 18 - 2 * j);
    EXPECT_EQ(f.level, 20 * j);
  }
  for (int k = 0; k <= 4; ++k) {
    const GreyFill& f = fills[26 + k];
    EXPECT_EQ(f.x, 800 - k);
    EXPECT_EQ(f.y, 18 + k);
    EXPECT_EQ(f.height, 600 - 18 - 2 * k);
    EXPECT_EQ(f.level, 20 * k);
  }
  for (int l = 0; l <= 4; ++l) {
    const GreyFill& f = fills[31 + l];
    EXPECT_EQ(f.x, l);
    EXPECT_EQ(f.y, 600 - l - 1);
    EXPECT_EQ(f.width, 800 - 2 * l);
    EXPECT_EQ(f.height, 1);
    EXPECT_EQ(f.level, 20 * l);
  }
}

TEST(BorderSize, ThickFrameUsesSizingBorder) {
  const BorderSystemSizes sizes{4, 5, 3, 3};
  const FrameMetrics frame = MainFrameMetrics(true, sizes, 18, 19);
  EXPECT_EQ(frame.borderWidth, 4);
  EXPECT_EQ(frame.borderHeight, 5);
  EXPECT_EQ(frame.captionHeight, 18);
  EXPECT_EQ(frame.menuHeight, 19);
  EXPECT_EQ(MainFrameMetrics(false, sizes, 18, 19).borderHeight, 3);
}

TEST(BorderSize, DialogFrameIsTwoPixelsTaller) {
  const BorderSystemSizes sizes{4, 4, 3, 3};
  const FrameMetrics dialog = DialogFrameMetrics(false, sizes, 18, 19);
  EXPECT_EQ(dialog.borderWidth, 3);
  EXPECT_EQ(dialog.borderHeight, 5);
  EXPECT_EQ(DialogFrameMetrics(true, sizes, 18, 19).borderHeight, 4);
}

TEST(TitleRect, MainFrameDependsOnCaptionHeight) {
  const CaptionRect low = MainFrameTitleRect(METRICS);
  EXPECT_EQ(low.left, 29);
  EXPECT_EQ(low.top, 2);
  EXPECT_EQ(low.right, 200);
  EXPECT_EQ(low.bottom, 30);
  const CaptionRect tall = MainFrameTitleRect({4, 4, 23, 18});
  EXPECT_EQ(tall.top, 4);
}

TEST(TitleRect, DialogDependsOnCaptionHeight) {
  const CaptionRect low = DialogTitleRect({3, 5, 22, 18});
  EXPECT_EQ(low.left, 33);
  EXPECT_EQ(low.top, 5);
  EXPECT_EQ(low.right, 200);
  EXPECT_EQ(low.bottom, 30);
  EXPECT_EQ(DialogTitleRect({3, 5, 23, 18}).top, 10);
}

TEST(ButtonRects, CloseMaximizeMinimizeAtPitchEighteen) {
  const FrameButtonRects rects = MainFrameButtonRects(1024, METRICS);
  EXPECT_EQ(rects.close.left, 1024 - 4 - 15);
  EXPECT_EQ(rects.close.right, 1024 - 4);
  EXPECT_EQ(rects.close.top, 4);
  EXPECT_EQ(rects.close.bottom, 19);
  EXPECT_EQ(rects.maximize.left, rects.close.left - 18);
  EXPECT_EQ(rects.minimize.left, rects.maximize.left - 18);
  EXPECT_EQ(rects.restore.left, rects.maximize.left);
  EXPECT_EQ(rects.restore.top, rects.maximize.top);
}

TEST(ButtonRects, DialogCloseButton) {
  const CaptionRect close = DialogCloseRect(300, {3, 5, 18, 18});
  EXPECT_EQ(close.left, 282);
  EXPECT_EQ(close.top, 5);
  EXPECT_EQ(close.right, 297);
  EXPECT_EQ(close.bottom, 20);
}

TEST(HitTest, RightAndBottomEdgesAreOutside) {
  const CaptionRect rect{10, 20, 25, 35};
  EXPECT_TRUE(Contains(rect, 10, 20));
  EXPECT_TRUE(Contains(rect, 24, 34));
  EXPECT_FALSE(Contains(rect, 25, 30));
  EXPECT_FALSE(Contains(rect, 15, 35));
  EXPECT_FALSE(Contains(rect, 9, 30));
}

TEST(HitTest, MainFrameButtons) {
  const FrameButtonRects rects = MainFrameButtonRects(1024, METRICS);
  EXPECT_EQ(MainFrameHitTest(rects, false, rects.close.left + 7, 10),
            CAPTION_HIT_CLOSE);
  EXPECT_EQ(MainFrameHitTest(rects, false, rects.maximize.left, 4),
            CAPTION_HIT_MAXIMIZE);
  EXPECT_EQ(MainFrameHitTest(rects, true, rects.restore.left, 4),
            CAPTION_HIT_MAXIMIZE);
  EXPECT_EQ(MainFrameHitTest(rects, false, rects.minimize.left + 14, 18),
            CAPTION_HIT_MINIMIZE);
  EXPECT_EQ(MainFrameHitTest(rects, false, rects.minimize.left + 15, 10),
            CAPTION_HIT_NONE);
  EXPECT_EQ(MainFrameHitTest(rects, false, 500, 10), CAPTION_HIT_NONE);
}

TEST(HitTest, EmptyCloseRectangleIsNeverHit) {
  EXPECT_EQ(DialogHitTest({0, 0, 0, 0}, 0, 0), CAPTION_HIT_NONE);
  EXPECT_EQ(DialogHitTest({10, 4, 25, 19}, 12, 5), CAPTION_HIT_CLOSE);
}

TEST(ReleaseAction, OnlyTheSameButtonActs) {
  EXPECT_EQ(ReleaseAction(CAPTION_HIT_MINIMIZE, CAPTION_HIT_MINIMIZE, false),
            CaptionAction::MINIMIZE);
  EXPECT_EQ(ReleaseAction(CAPTION_HIT_MAXIMIZE, CAPTION_HIT_MAXIMIZE, false),
            CaptionAction::MAXIMIZE);
  EXPECT_EQ(ReleaseAction(CAPTION_HIT_MAXIMIZE, CAPTION_HIT_MAXIMIZE, true),
            CaptionAction::RESTORE);
  EXPECT_EQ(ReleaseAction(CAPTION_HIT_CLOSE, CAPTION_HIT_CLOSE, false),
            CaptionAction::CLOSE);
  EXPECT_EQ(ReleaseAction(CAPTION_HIT_CLOSE, CAPTION_HIT_MINIMIZE, false),
            CaptionAction::NONE);
  EXPECT_EQ(ReleaseAction(CAPTION_HIT_CLOSE, CAPTION_HIT_NONE, false),
            CaptionAction::NONE);
  EXPECT_EQ(ReleaseAction(CAPTION_HIT_NONE, CAPTION_HIT_NONE, false),
            CaptionAction::NONE);
}

}  // namespace
