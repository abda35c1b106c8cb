// What the port conflict report should say about the process that netpeer.sh
// starts to hold the discovery port (its id is in QUELLAN_PORT_HOLDER_PID).
#pragma once

#include <string>

std::wstring ExpectedPortHolderDetail();
