// What the system's firewall may do to the devices' answers, for a console
// program that heard none. Windows lets a program receive on an inbound port
// only when a rule allows it; elsewhere nothing stands in the way by default
// and nothing is said.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Lines for the user, each a sentence or a command line; empty where the
// system's firewall does not get in the way by default.
std::vector<std::string> FirewallNote(std::uint16_t port);
