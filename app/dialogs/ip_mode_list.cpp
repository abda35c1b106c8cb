#include "app/dialogs/ip_mode_list.h"

int IpModeListIndex(std::int32_t ipMode) {
  const bool offered =
      ipMode >= 0 && ipMode < static_cast<std::int32_t>(IP_MODE_ENTRIES.size());
  return offered ? static_cast<int>(ipMode) : -1;
}
