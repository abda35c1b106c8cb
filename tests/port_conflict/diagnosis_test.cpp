#include <gtest/gtest.h>

#include "core/engine/port_conflict.h"
#include "fake_port_owner_system.h"
#include "notice_collector.h"

namespace {

const std::wstring PORT_SENTENCE =
    L"Quellan: Port for IP discovery is already used by other application.\n";

using Texts = std::vector<std::wstring>;

TEST(Diagnosis, NamesTheOwnerAndItsProgram) {
  NoticeCollector notices;
  FakePortOwnerSystem system;
  system.newerReaderPid = 1234;
  system.path = L"C:\\Tools\\app.exe";
  DiagnosePortConflict(system);
  EXPECT_EQ(NoticeCollector::Notices(),
            (Texts{PORT_SENTENCE +
                   L"Process ID : 1234\nProcess path : C:\\Tools\\app.exe"}));
  EXPECT_EQ(system.calls,
            (Texts{L"$IsVista() start", L"IsVista", L"$IsVista() end",
                   L"$NetStatEx() start", L"NetStatEx", L"$NetStatEx() end",
                   L"$OpenProcess start", L"OpenOwner 1234",
                   L"$OpenProcess end", L"OwnerPath", L"CloseOwner"}));
}

TEST(Diagnosis, OlderSystemsUseTheOlderReader) {
  NoticeCollector notices;
  FakePortOwnerSystem system;
  system.vista = false;
  system.newerReaderPid = 99;
  system.olderReaderPid = 4321;
  system.path = L"C:\\app.exe";
  DiagnosePortConflict(system);
  EXPECT_EQ(NoticeCollector::Notices(),
            (Texts{PORT_SENTENCE +
                   L"Process ID : 4321\nProcess path : C:\\app.exe"}));
  EXPECT_EQ(system.calls,
            (Texts{L"$IsVista() start", L"IsVista", L"$IsVista() end",
                   L"$NetStat() start", L"NetStat", L"$NetStat() end",
                   L"$OpenProcess start", L"OpenOwner 4321",
                   L"$OpenProcess end", L"OwnerPath", L"CloseOwner"}));
}

struct UnknownCase {
  const char* name;
  bool vista;
  std::int32_t pid;
};

class UnknownOwner : public testing::TestWithParam<UnknownCase> {};

TEST_P(UnknownOwner, ReportsTheUnknownDetailWithoutOpeningAProcess) {
  NoticeCollector notices;
  FakePortOwnerSystem system;
  system.vista = GetParam().vista;
  system.newerReaderPid = GetParam().pid;
  system.olderReaderPid = GetParam().pid;
  DiagnosePortConflict(system);
  EXPECT_EQ(
      NoticeCollector::Notices(),
      (Texts{PORT_SENTENCE + L"Procss ID : Unknown\nProcess path : Unknown"}));
  ASSERT_EQ(system.calls.size(), 6u);
  EXPECT_EQ(system.calls.back(),
            GetParam().vista ? L"$NetStatEx() end" : L"$NetStat() end");
}

INSTANTIATE_TEST_SUITE_P(Results, UnknownOwner,
                         testing::Values(UnknownCase{"NoneNewer", true, 0},
                                         UnknownCase{"FailedNewer", true, -1},
                                         UnknownCase{"NoneOlder", false, 0},
                                         UnknownCase{"FailedOlder", false, -1},
                                         UnknownCase{"Negative", true, -7}),
                         [](const testing::TestParamInfo<UnknownCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(Diagnosis, UnopenableProcessGivesOnlyItsOwnMessage) {
  NoticeCollector notices;
  FakePortOwnerSystem system;
  system.newerReaderPid = 1234;
  system.openSucceeds = false;
  DiagnosePortConflict(system);
  EXPECT_EQ(NoticeCollector::Notices(),
            (Texts{L"Dovrel: Don't open process from pid"}));
  EXPECT_EQ(system.calls.back(), L"$OpenProcess end");
}

TEST(Diagnosis, UnreadablePathLeavesTheFirstLineAlone) {
  NoticeCollector notices;
  FakePortOwnerSystem system;
  system.newerReaderPid = 1234;
  system.pathSucceeds = false;
  DiagnosePortConflict(system);
  EXPECT_EQ(NoticeCollector::Notices(), (Texts{PORT_SENTENCE}));
  EXPECT_EQ(system.calls.back(), L"CloseOwner");
}

TEST(DiagnosisTexts, AreExact) {
  EXPECT_EQ(UnknownOwnerDetail(),
            L"Procss ID : Unknown\nProcess path : Unknown");
  EXPECT_EQ(OwnerDetail(1234, L"C:\\Tools\\app.exe"),
            L"Process ID : 1234\nProcess path : C:\\Tools\\app.exe");
  EXPECT_EQ(PortConflictMessage(L"x"),
            L"Port for IP discovery is already used by other application.\nx");
}

}  // namespace
