// The Windows readers against the running system. Nothing here binds a
// socket: the tables are only read.
#include <gtest/gtest.h>

#include "notice_collector.h"
#include "platform/port_conflict_win.h"

namespace {

// The program's minimum system is Windows 7, major version 6.
TEST(WindowsReaders, SupportedSystemsCountAsVista) { EXPECT_NE(IsVista(), 0); }

TEST(WindowsReaders, NewerReaderReadsTheTableWithoutAMessage) {
  NoticeCollector notices;
  EXPECT_GE(NetStatEx(), 0);
  EXPECT_TRUE(NoticeCollector::Notices().empty());
}

}  // namespace
