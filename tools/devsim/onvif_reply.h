// What a simulated ONVIF device answers to a WS-Discovery Probe: the match
// of the probe's types and the ProbeMatches message, written with the
// prefixes and declaration places of one of several makers' styles.
#pragma once

#include <string>
#include <vector>

#include "core/wsdiscovery/xml_reader.h"
#include "tools/devsim/sim_device.h"

namespace devsim {

// Every device is a NetworkVideoTransmitter and a Device; a probe matches
// when each type it lists is one of those, and an empty list matches all.
bool ProbeTypesMatch(const std::vector<XmlName>& types);

// The SOAP 1.2 ProbeMatches `device` sends in answer to the probe whose
// MessageID is `relatesTo`, under the fresh `messageId`. The style of
// prefixes follows from the MAC, so it stays the same from run to run.
std::string ProbeMatchesMessage(const SimDevice& device,
                                const std::string& relatesTo,
                                const std::string& messageId);

}  // namespace devsim
