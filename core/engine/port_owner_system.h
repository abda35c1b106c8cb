// What the port conflict diagnosis asks of the operating system: one seam, so
// that the order of its steps and messages is the same on every platform and
// can be tested with a fake system.
#pragma once

#include <cstdint>
#include <string>

class PortOwnerSystem {
 public:
  virtual ~PortOwnerSystem() = default;

  // Text for the debugger output; the user never sees it.
  virtual void Trace(const std::wstring& text) = 0;
  // Whether the newer table reader applies.
  virtual bool IsVista() = 0;
  // The readers of the IPv4 UDP endpoint table: the owner of local port
  // 64988, 0 when none, -1 after showing their own message.
  virtual std::int32_t NetStatEx() = 0;
  virtual std::int32_t NetStat() = 0;
  // Opens the process `pid` for reading its program path.
  virtual bool OpenOwner(std::int32_t pid) = 0;
  // The full path of the opened process's program file.
  virtual bool OwnerPath(std::wstring* path) = 0;
  virtual void CloseOwner() = 0;
};

// The system this program runs on.
PortOwnerSystem& PlatformPortOwnerSystem();
