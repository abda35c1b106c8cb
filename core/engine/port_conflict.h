// What the user is told when port 64988 cannot be bound: which process holds
// it, as far as the system tells.
#pragma once

#include <cstdint>
#include <string>

class PortOwnerSystem;

// Shows the port conflict report; the engine's start then fails.
void DiagnosePortConflict();
// The same over the given system.
void DiagnosePortConflict(PortOwnerSystem& system);

// "Port for IP discovery is already used by other application.\n" and the
// detail about the owner.
std::wstring PortConflictMessage(const std::wstring& detail);
// The detail when the owner is not known.
std::wstring UnknownOwnerDetail();
// The detail when the owner and its program file are known.
std::wstring OwnerDetail(std::int32_t pid, const std::wstring& path);
