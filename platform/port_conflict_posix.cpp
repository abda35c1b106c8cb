// The owner of the discovery port on Linux: the kernel's UDP table names the
// socket's inode, and the process is the one with a descriptor on it.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/engine/notify.h"
#include "core/engine/port_owner_system.h"
#include "core/protocol/datagram.h"
#include "platform/proc_udp_table.h"

namespace {

bool ReadLink(int directory, const std::string& name, std::string* target) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length =
        readlinkat(directory, name.c_str(), &buffer[0], buffer.size());
    if (length < 0) return false;
    // A link that fills the buffer may have been cut: read it again larger.
    if (static_cast<std::size_t>(length) < buffer.size()) {
      target->assign(buffer, 0, static_cast<std::size_t>(length));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool ParsePid(const char* name, std::int32_t* pid) {
  std::int64_t value = 0;
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name) {
    if (*name < '0' || *name > '9') return false;
    value = value * 10 + (*name - '0');
    if (value > 0x7FFFFFFF) return false;
  }
  *pid = static_cast<std::int32_t>(value);
  return value > 0;
}

bool HoldsSocket(std::int32_t pid, std::uint64_t inode) {
  const std::string path = "/proc/" + std::to_string(pid) + "/fd";
  const int descriptors = open(path.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptors < 0) return false;
  DIR* listing = fdopendir(descriptors);
  if (listing == nullptr) {
    close(descriptors);
    return false;
  }
  bool holds = false;
  while (const dirent* entry = readdir(listing)) {
    std::string link;
    if (ReadLink(descriptors, entry->d_name, &link) &&
        SocketInodeOfLink(link) == inode) {
      holds = true;
      break;
    }
  }
  closedir(listing);
  return holds;
}

std::int32_t ProcessWithSocket(std::uint64_t inode) {
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return 0;
  std::int32_t owner = 0;
  while (const dirent* entry = readdir(processes)) {
    std::int32_t pid;
    if (ParsePid(entry->d_name, &pid) && HoldsSocket(pid, inode)) {
      owner = pid;
      break;
    }
  }
  closedir(processes);
  return owner;
}

std::int32_t FindDiscoveryPortOwner() {
  std::ifstream table("/proc/net/udp");
  if (!table) {
    NotifyUser(L"fail to open - /proc/net/udp");
    return -1;
  }
  std::ostringstream text;
  text << table.rdbuf();
  const std::uint64_t inode =
      FindPortInode(ParseProcNetUdp(text.str()), DISCOVERY_PORT);
  return inode == 0 ? 0 : ProcessWithSocket(inode);
}

class ProcPortOwnerSystem final : public PortOwnerSystem {
 public:
  // Linux has no debugger output channel; the traces are dropped.
  void Trace(const std::wstring&) override {}
  // The one reader of this platform stands in for both table readers.
  bool IsVista() override { return true; }
  std::int32_t NetStatEx() override { return FindDiscoveryPortOwner(); }
  std::int32_t NetStat() override { return FindDiscoveryPortOwner(); }

  // Holding the process's /proc directory keeps the path read below tied to
  // this process even if its id is reused meanwhile.
  bool OpenOwner(std::int32_t pid) override {
    const std::string path = "/proc/" + std::to_string(pid);
    processDirectory_ = open(path.c_str(), O_RDONLY | O_DIRECTORY);
    return processDirectory_ >= 0;
  }

  bool OwnerPath(std::wstring* path) override {
    std::string target;
    if (!ReadLink(processDirectory_, "exe", &target)) return false;
    *path = WidenUtf8(target);
    return true;
  }

  void CloseOwner() override {
    close(processDirectory_);
    processDirectory_ = -1;
  }

 private:
  int processDirectory_ = -1;
};

}  // namespace

PortOwnerSystem& PlatformPortOwnerSystem() {
  static ProcPortOwnerSystem system;
  return system;
}
