// The IP mode list of the IP change dialogs. The template gives the list the
// sort style, so the entries are inserted at fixed positions rather than
// added: entry i must always mean IP mode i.
#pragma once

#include <array>
#include <cstdint>

inline constexpr std::array<const wchar_t*, 3> IP_MODE_ENTRIES = {
    L"Fixed IP", L"DHCP", L"PPPoE (ADSL)"};

// The entry to select for `ipMode`; -1 (nothing selected, the list shows
// empty) for a mode the list does not offer. The way back needs no mapping:
// the selected index is the mode.
int IpModeListIndex(std::int32_t ipMode);
