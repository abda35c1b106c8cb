// The WS-Discovery Probe that finds ONVIF devices, and its reading (for the
// simulator's side, and to check what we send). Every type listed in one
// probe must match, so cameras and recorders each get a probe of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/wsdiscovery/xml_reader.h"

enum class ProbeType { NetworkVideoTransmitter, Device };

// The SOAP 1.2 envelope of a Probe for `type`, with `messageId` (a
// "urn:uuid:..." from RandomMessageId) as its MessageID.
std::string ProbeMessage(ProbeType type, const std::string& messageId);

// A fresh "urn:uuid:..." (a random version 4 UUID) drawn from `random`,
// which the caller starts from its own entropy.
std::string RandomMessageId(std::mt19937_64& random);

enum class ProbeStatus { Ok, Refused, NotProbe };

struct ProbeReading {
  ProbeStatus status = ProbeStatus::Refused;
  std::string messageId;
  std::vector<XmlName> types;
};

ProbeReading ReadProbe(const std::uint8_t* bytes, std::size_t size);
