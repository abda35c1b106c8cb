// What a search says on standard error beside the devices it lists: the
// devices that answered beyond the listed ones, the WS-Discovery replies it
// could not read, and, when none of our devices answered, where it looked
// and what may have stopped the answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/devices/device_table.h"
#include "core/engine/local_adapters.h"
#include "core/wsdiscovery/probe_matches.h"

namespace cli {

// "1234 more devices answered beyond the 65536 listed"; empty when none did.
std::string BeyondCapText(const TurnedAway& away, std::size_t listed);

// What was not heard: nothing at all, or nothing in our protocol while ONVIF
// devices answered or their replies could not be read. A port blocked for
// our protocol must not hide behind the other's replies.
enum class Unheard { AnyDevice, OurProtocol };

// "no device answered" (or "no device answered Quellan's own protocol"), the
// adapters searched (`chosen` alone when it is not 0, as --adapter asks, else
// every one of `local`) with their masks, and the system's firewall note.
std::vector<std::string> NothingAnsweredLines(
    const std::vector<LocalAdapter>& local, std::uint32_t chosen,
    Unheard unheard = Unheard::AnyDevice);

// "3 WS-Discovery replies could not be read: a DOCTYPE (1), the 2009/01
// discovery namespace (2)", the reasons in a fixed order; empty when every
// reply was read.
std::string UnreadRepliesText(
    const std::map<MatchesStatus, std::uint64_t>& refused);

// "2 WS-Discovery replies answered no probe of this search" and "4 ONVIF
// probes could not be sent", each only when it happened.
std::vector<std::string> OnvifMissLines(std::uint64_t unrelated,
                                        std::uint64_t probesFailed);

}  // namespace cli
