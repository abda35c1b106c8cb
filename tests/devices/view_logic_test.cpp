#include "app/view/view_logic.h"

#include <gtest/gtest.h>

namespace {

TEST(LayOutView, ColumnsAndListAtWidth740) {
  const ViewLayout layout = LayOutView(740, 500);
  EXPECT_EQ(layout.columnWidths,
            (std::array<int, 7>{100, 100, 95, 95, 100, 100, 100}));
  EXPECT_EQ(layout.list, (ViewRect{20, 60, 700, 420}));
  EXPECT_EQ(layout.group, (ViewRect{10, 10, 720, 480}));
  EXPECT_EQ(layout.foundText, (ViewRect{230, 30, 480, 20}));
  EXPECT_EQ(layout.foundText.x + layout.foundText.width, 740 - 30);
  EXPECT_EQ(LayOutView(746, 500).columnWidths[0], 100);  // whole pixels
}

TEST(BackgroundBands, FourBandsTheLastToTheBottom) {
  const auto bands = BackgroundBands(403);
  EXPECT_EQ(bands[0].top, 0);
  EXPECT_EQ(bands[1].top, 100);
  EXPECT_EQ(bands[3].top, 300);
  EXPECT_EQ(bands[0].blue, 171);
  EXPECT_EQ(bands[3].blue, 186);
  EXPECT_EQ(WhiteLines(740)[1].left, 540);
}

TEST(ColumnSortState, FirstClickAscendsSecondDescendsOtherColumnKeeps) {
  ColumnSortState state;
  struct Step {
    int click, previous, column, direction, arrow;
  } steps[] = {
      {0, 0, 0, -1, HEADER_SORT_DOWN},  // first click: ascending
      {0, 0, 0, 1, HEADER_SORT_UP},     // same column: descending
      {0, 0, 0, -1, HEADER_SORT_DOWN},  // and ascending again
      {5, 0, 5, -1, HEADER_SORT_DOWN},  // another column keeps the direction
      {5, 5, 5, 1, HEADER_SORT_UP},
      {6, 5, 6, 1, HEADER_SORT_UP},  // firmware, still descending
  };
  for (const Step& s : steps) {
    const auto sort = state.Click(s.click);
    EXPECT_EQ(sort.previousColumn, s.previous);
    EXPECT_EQ(sort.column, s.column);
    EXPECT_EQ(sort.direction, s.direction);
    EXPECT_EQ(HeaderFormatFor(sort.direction), s.arrow);
  }
  EXPECT_EQ(HeaderFormatFor(0), HEADER_PLAIN);
}

TEST(ToolRequests, ClickAndItemChangeRules) {
  EXPECT_EQ(OnListClick(true).changeIp, true);
  EXPECT_EQ(OnListClick(true).webPage, true);
  EXPECT_EQ(OnListClick(false).changeIp, false);
  EXPECT_EQ(OnListClick(false).webPage, false);

  EXPECT_EQ(OnItemChanged(false, false, true, false).changeIp, true);
  EXPECT_EQ(OnItemChanged(false, false, false, true).changeIp, true);
  EXPECT_EQ(OnItemChanged(false, false, false, false).changeIp, false);
  EXPECT_FALSE(OnItemChanged(false, false, true, true).webPage.has_value());
  EXPECT_FALSE(OnItemChanged(true, false, true, true).changeIp.has_value());
  EXPECT_FALSE(OnItemChanged(false, true, true, true).changeIp.has_value());
}

}  // namespace
