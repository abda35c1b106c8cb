// The text forms of a device's ONVIF side in the device file: which
// protocols it answers, how it writes its MAC scope, and the endpoint it
// gets when the file names none.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/text/ascii_words.h"
#include "tools/devsim/sim_device.h"

namespace devsim {

// Longest name, hardware or location a device file may give.
constexpr std::size_t MAX_ONVIF_TEXT = 64;

// The names of the protocols column (read in any case, with ParseNamed).
inline constexpr NamedValue<Protocols> PROTOCOLS_NAMES[] = {
    {"quellan", Protocols::Quellan},
    {"onvif", Protocols::Onvif},
    {"quellan+onvif", Protocols::QuellanAndOnvif}};

// The names of the mac_scope column.
inline constexpr NamedValue<MacScope> MAC_SCOPE_NAMES[] = {
    {"none", MacScope::None},
    {"colons", MacScope::Colons},
    {"hyphens", MacScope::Hyphens},
    {"bare", MacScope::Bare}};

// The MAC as the device writes it in its MAC scope; empty for None.
std::string MacScopeText(const std::array<std::uint8_t, 6>& mac,
                         MacScope scope);

// "urn:uuid:" and a UUID that ends in the MAC's twelve digits, so that a
// device keeps its endpoint from run to run.
std::string DerivedEndpoint(const std::array<std::uint8_t, 6>& mac);

// A name, hardware or location: no control characters and no quote, UTF-8
// bytes allowed (scopes percent-encode them), at most MAX_ONVIF_TEXT bytes.
bool IsOnvifText(const std::string& text);
// An endpoint address: printable ASCII without spaces or XML specials.
bool IsEndpoint(const std::string& text);

}  // namespace devsim
