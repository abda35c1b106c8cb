// The six input controls that both IP change dialogs share, and their common
// "Change" step: read, validate, and either report the error or accept.
#pragma once

#include <windows.h>

#include "app/dialogs/ip_change_fields.h"
#include "core/protocol/datagram.h"

struct IpChangeForm {
  HWND modeList = nullptr;
  HWND ipAddress = nullptr;
  HWND subnetMask = nullptr;
  HWND gateway = nullptr;
  HWND basePort = nullptr;
  HWND httpPort = nullptr;
};

void ShowFields(const IpChangeForm& form, const IpChangeFields& fields);

// On valid input fills `accepted` and answers true. Otherwise tells the user
// why, with `dialog` as the owner, moves the focus to the field named, leaves
// every control as it is and answers false.
bool AcceptInput(HWND dialog, const IpChangeForm& form, IpSettings& accepted);
