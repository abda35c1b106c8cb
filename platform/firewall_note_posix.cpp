#include "platform/firewall_note.h"

std::vector<std::string> FirewallNote(std::uint16_t) { return {}; }
