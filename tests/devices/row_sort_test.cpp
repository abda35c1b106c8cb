// The row sort against the reference bubble sort that moves cells the way
// the list control does: texts read into 50-character buffers, equal texts
// never exchanged.
#include "core/devices/row_sort.h"

#include <gtest/gtest.h>

#include <random>

#include "bench/reference/reference_sort.h"

namespace {

DeviceRow MakeRow(std::wstring ip, std::uint8_t id, bool checked = false) {
  DeviceRow row;
  row.texts[COLUMN_IP] = std::move(ip);
  row.texts[COLUMN_MAC] = L"mac" + std::to_wstring(id);
  row.record.macAddress[5] = id;
  row.checked = checked;
  return row;
}

std::vector<std::wstring> Column(const std::vector<DeviceRow>& rows, int c) {
  std::vector<std::wstring> texts;
  for (const DeviceRow& row : rows) texts.push_back(row.texts[c]);
  return texts;
}

void ExpectSameRows(const std::vector<DeviceRow>& a,
                    const std::vector<DeviceRow>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].texts, b[i].texts) << "row " << i;
    EXPECT_EQ(a[i].checked, b[i].checked) << "row " << i;
    EXPECT_EQ(a[i].record, b[i].record) << "row " << i;
    EXPECT_EQ(a[i].bodyLength, b[i].bodyLength) << "row " << i;
  }
}

int Sign(int order) { return (order > 0) - (order < 0); }

// The keys order every pair of texts as the platform's compare does: case,
// punctuation that a word sort weighs apart, accents, prefixes, characters
// beyond the first plane.
TEST(SortKey, OrdersAsThePlatformCompares) {
  const std::vector<std::wstring> texts = {L"",
                                           L"a",
                                           L"A",
                                           L"b",
                                           L"B",
                                           L"ab",
                                           L"a b",
                                           L"a-b",
                                           L"co-op",
                                           L"coop",
                                           L"co'op",
                                           L"-",
                                           L"_",
                                           L".",
                                           L"10.0.0.1",
                                           L"10.0.0.10",
                                           L"9.0.0.1",
                                           L"1.0",
                                           L"1-0",
                                           L"V1.0",
                                           L"v1.0 ",
                                           L"CAM-A",
                                           L"cam_a",
                                           L"Zz",
                                           L"zZ",
                                           L"\u00e9",
                                           L"e",
                                           L"E\u0301",
                                           L"\u00df",
                                           L"ss",
                                           L"\u6444\u50cf",
                                           L"\U0001F600",
                                           L"\u00e9t\u00e9",
                                           std::wstring(49, L'q')};
  const SortKey key = PlatformSortKey();
  const TextCompare compare = PlatformTextCompare();
  for (const std::wstring& a : texts)
    for (const std::wstring& b : texts)
      EXPECT_EQ(Sign(key(a.c_str()).compare(key(b.c_str()))),
                Sign(compare(a.c_str(), b.c_str())))
          << "\"" << std::string(a.begin(), a.end()) << "\" against \""
          << std::string(b.begin(), b.end()) << "\"";
}

TEST(SortRows, IpTextOrderIsTextOrder) {
  std::vector<DeviceRow> rows = {
      MakeRow(L"192.168.0.9", 1), MakeRow(L"192.168.0.10", 2),
      MakeRow(L"10.0.0.1", 3), MakeRow(L"9.0.0.1", 4), MakeRow(L"10.0.0.5", 5)};
  SortRows(rows, COLUMN_IP, -1, DEVICE_COLUMNS, true, true, PlatformSortKey());
  EXPECT_EQ(
      Column(rows, COLUMN_IP),
      (std::vector<std::wstring>{L"10.0.0.1", L"10.0.0.5", L"192.168.0.10",
                                 L"192.168.0.9", L"9.0.0.1"}));
  SortRows(rows, COLUMN_IP, 1, DEVICE_COLUMNS, true, true, PlatformSortKey());
  EXPECT_EQ(
      Column(rows, COLUMN_IP),
      (std::vector<std::wstring>{L"9.0.0.1", L"192.168.0.9", L"192.168.0.10",
                                 L"10.0.0.5", L"10.0.0.1"}));
}

TEST(SortRows, ChecksAndRecordsMoveWithTheirRowsOnlyWhenAsked) {
  const std::vector<DeviceRow> start = {MakeRow(L"b", 1, true),
                                        MakeRow(L"a", 2, false)};
  std::vector<DeviceRow> moved = start;
  SortRows(moved, COLUMN_IP, -1, DEVICE_COLUMNS, true, true, PlatformSortKey());
  EXPECT_TRUE(moved[1].checked);
  EXPECT_EQ(moved[1].record.macAddress[5], 1);
  EXPECT_EQ(moved[1].texts[COLUMN_MAC], L"mac1");

  std::vector<DeviceRow> stayed = start;
  SortRows(stayed, COLUMN_IP, -1, DEVICE_COLUMNS, false, false,
           PlatformSortKey());
  EXPECT_TRUE(stayed[0].checked);
  EXPECT_EQ(stayed[0].record.macAddress[5], 1);
  EXPECT_EQ(stayed[0].texts[COLUMN_MAC], L"mac2");
}

TEST(SortRows, NothingToDo) {
  std::vector<DeviceRow> one = {MakeRow(L"x", 1)};
  EXPECT_FALSE(SortRows(one, 0, -1, 7, true, true, PlatformSortKey()));
  std::vector<DeviceRow> two = {MakeRow(L"b", 1), MakeRow(L"a", 2)};
  EXPECT_FALSE(SortRows(two, -1, -1, 7, true, true, PlatformSortKey()));
  EXPECT_EQ(two[0].texts[0], L"b");
  std::vector<DeviceRow> sorted = {MakeRow(L"a", 1), MakeRow(L"b", 2)};
  EXPECT_FALSE(SortRows(sorted, 0, -1, 7, true, true, PlatformSortKey()));
}

TEST(SortRows, LongTextsAreCutOnlyWhereTheBubbleSortMovesThem) {
  const std::wstring longText(60, L'z');
  std::vector<DeviceRow> rows = {MakeRow(L"c", 1), MakeRow(L"b", 2),
                                 MakeRow(L"a", 3), MakeRow(L"d", 4)};
  rows[1].texts[COLUMN_MODEL] = longText;  // middle row: passed by others
  rows[3].texts[COLUMN_MODEL] = longText;  // already in place
  std::vector<DeviceRow> reference = rows;
  SortRows(rows, COLUMN_IP, -1, DEVICE_COLUMNS, true, true, PlatformSortKey());
  ReferenceBubbleSort(reference, COLUMN_IP, -1, DEVICE_COLUMNS, true, true,
                      PlatformTextCompare());
  ExpectSameRows(rows, reference);
  EXPECT_EQ(rows[1].texts[COLUMN_MODEL].size(), 49u);
  EXPECT_EQ(rows[3].texts[COLUMN_MODEL].size(), 60u);
}

// Random tables with many equal keys, long texts and every option: the order,
// the texts, the check marks and the records equal the reference's.
TEST(SortRows, EqualsTheBubbleSortOnRandomTables) {
  std::mt19937 random(20261208);
  const std::vector<std::wstring> pool = {L"10.0.0.5",
                                          L"9.0.0.1",
                                          L"192.168.0.10",
                                          L"192.168.0.9",
                                          L"",
                                          L"DHCP",
                                          L"Fixed IP",
                                          std::wstring(55, L'q'),
                                          std::wstring(49, L'q'),
                                          std::wstring(50, L'q') + L"x"};
  for (int round = 0; round < 400; ++round) {
    const std::size_t n = 1 + random() % 40;
    std::vector<DeviceRow> rows(n);
    for (std::size_t i = 0; i < n; ++i) {
      for (auto& text : rows[i].texts) text = pool[random() % pool.size()];
      rows[i].checked = random() % 2;
      rows[i].record.macAddress[5] = static_cast<std::uint8_t>(i);
      rows[i].bodyLength = static_cast<std::int32_t>(i);
    }
    const int column = static_cast<int>(random() % DEVICE_COLUMNS);
    const int direction = static_cast<int>(random() % 3) - 1;
    const int columnCount = random() % 4 == 0 ? 3 + column % 4 : DEVICE_COLUMNS;
    const bool swapChecks = random() % 2, swapData = random() % 2;
    if (column >= columnCount) continue;
    std::vector<DeviceRow> reference = rows;
    SortRows(rows, column, direction, columnCount, swapChecks, swapData,
             PlatformSortKey());
    ReferenceBubbleSort(reference, column, direction, columnCount, swapChecks,
                        swapData, PlatformTextCompare());
    SCOPED_TRACE(round);
    ExpectSameRows(rows, reference);
  }
}

}  // namespace
