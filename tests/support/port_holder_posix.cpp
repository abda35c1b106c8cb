#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/engine/port_conflict.h"
#include "tests/support/port_holder.h"

std::wstring ExpectedPortHolderDetail() {
  const char* pid = std::getenv("QUELLAN_PORT_HOLDER_PID");
  if (!pid) return L"(no holder)";
  char path[4096];
  const std::string link = std::string("/proc/") + pid + "/exe";
  const ssize_t size = readlink(link.c_str(), path, sizeof path - 1);
  if (size <= 0) return L"(holder gone)";
  return OwnerDetail(std::atoi(pid), std::wstring(path, path + size));
}
