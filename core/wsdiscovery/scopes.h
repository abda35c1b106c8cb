// What an ONVIF device tells of itself in its discovery scopes
// ("onvif://www.onvif.org/<category>/<value>", percent-encoded).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/protocol/datagram.h"

struct OnvifScopes {
  std::string name;
  std::string hardware;
  std::string location;
  std::optional<MacAddress> mac;
};

// The first scope of each category wins. The texts are valid UTF-8: each
// ill-formed sequence the decoding gives becomes U+FFFD. A MAC is taken in any
// of the forms makers write it: with colons, hyphens, dots or underscores
// between the digits or none, in either case.
OnvifScopes ReadScopes(const std::vector<std::string>& scopes);

// `text` with each "%XX" replaced by its byte. A "%" that is not followed by
// two hex digits, or that would give a control character, stays as it is.
std::string PercentDecoded(const std::string& text);
