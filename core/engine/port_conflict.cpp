#include "core/engine/port_conflict.h"

#include "core/engine/notify.h"
#include "core/engine/port_owner_system.h"

namespace {

std::int32_t ReadOwnerPid(PortOwnerSystem& system) {
  system.Trace(L"$IsVista() start");
  const bool vista = system.IsVista();
  system.Trace(L"$IsVista() end");
  if (vista) {
    system.Trace(L"$NetStatEx() start");
    const std::int32_t pid = system.NetStatEx();
    system.Trace(L"$NetStatEx() end");
    return pid;
  }
  system.Trace(L"$NetStat() start");
  const std::int32_t pid = system.NetStat();
  system.Trace(L"$NetStat() end");
  return pid;
}

}  // namespace

std::wstring PortConflictMessage(const std::wstring& detail) {
  return L"Port for IP discovery is already used by other application.\n" +
         detail;
}

std::wstring UnknownOwnerDetail() {
  return L"Procss ID : Unknown\nProcess path : Unknown";
}

std::wstring OwnerDetail(std::int32_t pid, const std::wstring& path) {
  return L"Process ID : " + std::to_wstring(pid) + L"\nProcess path : " + path;
}

void DiagnosePortConflict(PortOwnerSystem& system) {
  const std::int32_t pid = ReadOwnerPid(system);
  std::wstring detail;
  if (pid <= 0) {
    detail = UnknownOwnerDetail();
  } else {
    system.Trace(L"$OpenProcess start");
    const bool opened = system.OpenOwner(pid);
    system.Trace(L"$OpenProcess end");
    if (!opened) {
      NotifyUser(L"Don't open process from pid", L"Dovrel");
      return;
    }
    std::wstring path;
    if (system.OwnerPath(&path)) detail = OwnerDetail(pid, path);
    system.CloseOwner();
  }
  NotifyUser(PortConflictMessage(detail));
}

void DiagnosePortConflict() { DiagnosePortConflict(PlatformPortOwnerSystem()); }
