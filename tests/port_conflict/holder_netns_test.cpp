// The Linux reader against a real process that holds the discovery port: a
// copy of this program, started with --hold-discovery-port. It binds the port
// only inside the test network namespace, never on a shared network.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/engine/port_conflict.h"
#include "core/engine/port_owner_system.h"
#include "core/protocol/datagram.h"
#include "notice_collector.h"
#include "platform/proc_udp_table.h"

namespace {

constexpr char HOLD_FLAG[] = "--hold-discovery-port";

// Binds the port without address reuse, says so on standard output and keeps
// it until standard input ends.
int HoldDiscoveryPort() {
  const int holder = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(DISCOVERY_PORT);
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  const bool bound =
      holder >= 0 &&
      bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  const char answer = bound ? 'R' : 'F';
  if (write(STDOUT_FILENO, &answer, 1) != 1 || !bound) return 1;
  char ignored;
  while (read(STDIN_FILENO, &ignored, 1) > 0) {
  }
  close(holder);
  return 0;
}

std::string OwnProgram() {
  char buffer[4096];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length))
                    : std::string();
}

std::string CurrentNamespace() {
  FILE* command = popen("ip netns identify 2>/dev/null", "r");
  if (command == nullptr) return "";
  std::string name;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, command) != nullptr) name += buffer;
  pclose(command);
  while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
    name.pop_back();
  return name;
}

// A process of this program holding the port for as long as it lives.
class PortHolder {
 public:
  PortHolder() {
    int toHolder[2], fromHolder[2];
    if (pipe(toHolder) != 0) return;
    if (pipe(fromHolder) != 0) {
      close(toHolder[0]);
      close(toHolder[1]);
      return;
    }
    const std::string program = OwnProgram();
    pid_ = fork();
    if (pid_ == 0) {
      dup2(toHolder[0], STDIN_FILENO);
      dup2(fromHolder[1], STDOUT_FILENO);
      close(toHolder[0]);
      close(toHolder[1]);
      close(fromHolder[0]);
      close(fromHolder[1]);
      execl(program.c_str(), program.c_str(), HOLD_FLAG,
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(toHolder[0]);
    close(fromHolder[1]);
    release_ = toHolder[1];
    char answer = 0;
    ready_ = pid_ > 0 && read(fromHolder[0], &answer, 1) == 1 && answer == 'R';
    close(fromHolder[0]);
  }

  ~PortHolder() {
    if (release_ >= 0) close(release_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }

  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;

  bool ready() const { return ready_; }
  std::int32_t pid() const { return static_cast<std::int32_t>(pid_); }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool ready_ = false;
};

class InTestNamespace : public testing::Test {
 protected:
  void SetUp() override {
    const char* wanted = std::getenv("QUELLAN_APP_NS");
    if (wanted == nullptr || *wanted == '\0')
      GTEST_FAIL() << "refusing to bind port 64988: QUELLAN_APP_NS is not "
                      "set; run this test inside its network namespace";
    const std::string current = CurrentNamespace();
    if (current != wanted)
      GTEST_FAIL() << "refusing to bind port 64988 outside network namespace "
                   << wanted << " (this process is in '" << current << "')";
  }
};

TEST_F(InTestNamespace, ReaderFindsTheHolderAndItsProgram) {
  PortHolder holder;
  ASSERT_TRUE(holder.ready());
  PortOwnerSystem& system = PlatformPortOwnerSystem();
  const std::int32_t pid = system.NetStatEx();
  EXPECT_EQ(pid, holder.pid());
  ASSERT_TRUE(system.OpenOwner(pid));
  std::wstring path;
  EXPECT_TRUE(system.OwnerPath(&path));
  system.CloseOwner();
  EXPECT_EQ(path, WidenUtf8(OwnProgram()));
}

TEST_F(InTestNamespace, DiagnosisNamesTheHolder) {
  PortHolder holder;
  ASSERT_TRUE(holder.ready());
  NoticeCollector notices;
  DiagnosePortConflict();
  ASSERT_EQ(NoticeCollector::Notices().size(), 1u);
  EXPECT_EQ(NoticeCollector::Notices()[0],
            L"Quellan: " + PortConflictMessage(OwnerDetail(
                               holder.pid(), WidenUtf8(OwnProgram()))));
}

TEST_F(InTestNamespace, FreePortHasNoOwner) {
  EXPECT_EQ(PlatformPortOwnerSystem().NetStatEx(), 0);
  NoticeCollector notices;
  DiagnosePortConflict();
  EXPECT_EQ(NoticeCollector::Notices(),
            std::vector<std::wstring>{
                L"Quellan: " + PortConflictMessage(UnknownOwnerDetail())});
}

TEST_F(InTestNamespace, EndedHolderLeavesNoOwner) {
  {
    PortHolder holder;
    ASSERT_TRUE(holder.ready());
  }
  EXPECT_EQ(PlatformPortOwnerSystem().NetStatEx(), 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == HOLD_FLAG)
    return HoldDiscoveryPort();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
