#include "discovery/port_conflict.h"

#include "discovery/notify.h"

std::wstring PortConflictMessage(const std::wstring& detail) {
  return L"Port for IP discovery is already used by other application.\n" +
         detail;
}

std::wstring UnknownOwnerDetail() {
  return L"Procss ID : Unknown\nProcess path : Unknown";
}

// The owner of the port is not looked up yet: the report names it unknown.
void DiagnosePortConflict() {
  NotifyUser(PortConflictMessage(UnknownOwnerDetail()));
}
