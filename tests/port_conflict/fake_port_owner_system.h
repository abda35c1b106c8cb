// A scripted operating system for the port conflict diagnosis: it answers
// from its fields and records every call in order.
#pragma once

#include <string>
#include <vector>

#include "core/engine/port_owner_system.h"

class FakePortOwnerSystem final : public PortOwnerSystem {
 public:
  bool vista = true;
  std::int32_t newerReaderPid = 0;
  std::int32_t olderReaderPid = 0;
  bool openSucceeds = true;
  bool pathSucceeds = true;
  std::wstring path;

  // Traces as written, and the other calls as "IsVista", "NetStatEx",
  // "NetStat", "OpenOwner <pid>", "OwnerPath", "CloseOwner".
  std::vector<std::wstring> calls;

  void Trace(const std::wstring& text) override { calls.push_back(text); }
  bool IsVista() override {
    calls.push_back(L"IsVista");
    return vista;
  }
  std::int32_t NetStatEx() override {
    calls.push_back(L"NetStatEx");
    return newerReaderPid;
  }
  std::int32_t NetStat() override {
    calls.push_back(L"NetStat");
    return olderReaderPid;
  }
  bool OpenOwner(std::int32_t pid) override {
    calls.push_back(L"OpenOwner " + std::to_wstring(pid));
    return openSucceeds;
  }
  bool OwnerPath(std::wstring* owner) override {
    calls.push_back(L"OwnerPath");
    if (pathSucceeds) *owner = path;
    return pathSucceeds;
  }
  void CloseOwner() override { calls.push_back(L"CloseOwner"); }
};
