#include "app/shell/frame_size.h"

#include <gtest/gtest.h>

namespace {

TEST(MinimumTrackSize, RaisedTo1024By768) {
  const TrackSize size = RaiseMinimumTrackSize({112, 27});
  EXPECT_EQ(size.width, 1024);
  EXPECT_EQ(size.height, 768);
}

TEST(MinimumTrackSize, LargerWidthStaysHeightIsAlways768) {
  EXPECT_EQ(RaiseMinimumTrackSize({1024, 900}).width, 1024);
  EXPECT_EQ(RaiseMinimumTrackSize({1025, 900}).width, 1025);
  EXPECT_EQ(RaiseMinimumTrackSize({1025, 900}).height, 768);
}

}  // namespace
