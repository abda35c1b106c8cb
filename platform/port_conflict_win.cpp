#include "platform/port_conflict_win.h"

#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <cstring>
#include <vector>

#include "core/engine/notify.h"
#include "core/engine/port_owner.h"
#include "core/engine/port_owner_system.h"
#include "core/protocol/datagram.h"

#ifdef _MSC_VER
// MSVC marks GetVersionExW deprecated; its answer is still the one wanted.
#pragma warning(disable : 4996)
#endif

namespace {

constexpr ULONG AF_INET = 2;
// UDP_TABLE_OWNER_PID of the UDP_TABLE_CLASS enumeration.
constexpr int UDP_TABLE_OWNER_PID = 1;
constexpr DWORD OWNER_ACCESS = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
// The longest path that Windows can name.
constexpr DWORD LONGEST_PATH = 32768;

using GetExtendedUdpTableFn = DWORD(WINAPI*)(PVOID table, PDWORD size,
                                             BOOL order, ULONG family,
                                             int tableClass, ULONG reserved);
using AllocateAndGetUdpExTableFromStackFn = DWORD(WINAPI*)(
    PVOID* table, BOOL order, HANDLE heap, DWORD flags, DWORD family);

// Both tables: a row count, then rows of local address, local port, owner,
// 32 bits each.
constexpr std::size_t FIELD_SIZE = sizeof(DWORD);
constexpr std::size_t ROW_SIZE = 3 * FIELD_SIZE;

template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  // Through the generic function pointer type, which converts to any other
  // without a warning about incompatible function types.
  return reinterpret_cast<Fn>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

DWORD FieldAt(const unsigned char* table, std::size_t offset) {
  DWORD field;
  std::memcpy(&field, table + offset, FIELD_SIZE);
  return field;
}

// Rows that the reported count puts beyond `tableSize` bytes are not read.
std::int32_t OwnerInTable(const unsigned char* table, std::size_t tableSize) {
  if (tableSize < FIELD_SIZE) return 0;
  const std::size_t fitting = (tableSize - FIELD_SIZE) / ROW_SIZE;
  const std::size_t count = FieldAt(table, 0);
  std::vector<UdpEndpointRow> rows(count < fitting ? count : fitting);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::size_t row = FIELD_SIZE + i * ROW_SIZE;
    rows[i].localAddress = FieldAt(table, row);
    rows[i].localPortField = FieldAt(table, row + FIELD_SIZE);
    rows[i].owningPid =
        static_cast<std::int32_t>(FieldAt(table, row + 2 * FIELD_SIZE));
  }
  return FindPortOwner(rows, DISCOVERY_PORT);
}

HMODULE LoadIpHelper() {
  const HMODULE module = LoadLibraryW(L"iphlpapi.dll");
  if (module == nullptr) NotifyUser(L"fail to LoadLibrary - iphlapi.dll");
  return module;
}

// The table may grow between asking its size and reading it: then ask again.
std::int32_t ReadExtendedTable(GetExtendedUdpTableFn getTable) {
  std::vector<unsigned char> buffer;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD answer = getTable(buffer.empty() ? nullptr : buffer.data(),
                                  &size, TRUE, AF_INET, UDP_TABLE_OWNER_PID, 0);
    if (answer == NO_ERROR && !buffer.empty())
      return OwnerInTable(buffer.data(), buffer.size());
    if (answer != ERROR_INSUFFICIENT_BUFFER && answer != NO_ERROR) return 0;
    buffer.assign(size < FIELD_SIZE ? FIELD_SIZE : size, 0);
  }
  return 0;
}

class WindowsPortOwnerSystem final : public PortOwnerSystem {
 public:
  void Trace(const std::wstring& text) override {
    OutputDebugStringW(text.c_str());
  }
  bool IsVista() override { return ::IsVista() != 0; }
  std::int32_t NetStatEx() override { return ::NetStatEx(); }
  std::int32_t NetStat() override { return ::NetStat(); }

  bool OpenOwner(std::int32_t pid) override {
    process_ = OpenProcess(OWNER_ACCESS, FALSE, static_cast<DWORD>(pid));
    return process_ != nullptr;
  }

  // A path that fills the buffer may have been cut: read it again larger,
  // up to the longest path there is.
  bool OwnerPath(std::wstring* path) override {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
      const DWORD size = static_cast<DWORD>(buffer.size());
      const DWORD length =
          GetModuleFileNameExW(process_, nullptr, buffer.data(), size);
      if (length == 0) return false;
      if (length < size - 1) {
        path->assign(buffer.data(), length);
        return true;
      }
      if (size >= LONGEST_PATH) return false;
      buffer.assign(size * 2, L'\0');
    }
  }

  void CloseOwner() override {
    CloseHandle(process_);
    process_ = nullptr;
  }

 private:
  HANDLE process_ = nullptr;
};

}  // namespace

std::int32_t IsVista() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version)) return 0;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
         version.dwMajorVersion > 5;
}

std::int32_t NetStatEx() {
  const HMODULE module = LoadIpHelper();
  if (module == nullptr) return -1;
  const auto getTable =
      LookUp<GetExtendedUdpTableFn>(module, "GetExtendedUdpTable");
  const std::int32_t owner = getTable ? ReadExtendedTable(getTable) : 0;
  FreeLibrary(module);
  return owner;
}

std::int32_t NetStat() {
  const HANDLE heap = GetProcessHeap();
  const HMODULE module = LoadIpHelper();
  if (module == nullptr) return -1;
  if (LookUp<void (*)()>(module, "AllocateAndGetTcpExTableFromStack") ==
      nullptr) {
    NotifyUser(L"AllocateAndGetTcpExtableFromStack() fail");
    FreeLibrary(module);
    return -1;
  }
  const auto allocateTable = LookUp<AllocateAndGetUdpExTableFromStackFn>(
      module, "AllocateAndGetUdpExTableFromStack");
  if (allocateTable == nullptr) {
    NotifyUser(L"AllocateAndGetUdpExtableFromStack() fail");
    FreeLibrary(module);
    return -1;
  }
  PVOID table = nullptr;
  std::int32_t owner = 0;
  if (allocateTable(&table, TRUE, heap, 0, AF_INET) == 0 && table != nullptr) {
    owner = OwnerInTable(static_cast<const unsigned char*>(table),
                         HeapSize(heap, 0, table));
    HeapFree(heap, 0, table);
  }
  FreeLibrary(module);
  return owner;
}

PortOwnerSystem& PlatformPortOwnerSystem() {
  static WindowsPortOwnerSystem system;
  return system;
}
