// The reading of a WS-Discovery ProbeMatches message, as ONVIF devices
// answer a Probe. The bytes come from the network: whatever is not
// understood is refused with a status, never half read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/wsdiscovery/scopes.h"
#include "core/wsdiscovery/xml_reader.h"

// One device answers with one match; a proxy could send a few.
constexpr std::size_t MAX_PROBE_MATCHES = 16;

enum class MatchesStatus {
  Ok,
  TooLarge,         // over 64 KiB, or too many elements, texts or matches
  Doctype,          // a document type declaration
  Malformed,        // not well-formed XML (a cut datagram, for one)
  NotProbeMatches,  // well-formed, but another message
  Invalid,          // a ProbeMatch we cannot take as it is written
};

struct ProbeMatch {
  std::string endpoint;             // EndpointReference/Address, "urn:uuid:..."
  std::vector<XmlName> types;       // resolved as the reply declared them
  std::vector<std::string> scopes;  // as sent, percent-encoded
  OnvifScopes about;                // the decoded scopes we use
  std::vector<std::string> xaddrs;  // every one, link-local ones too
  std::optional<std::uint32_t> metadataVersion;
};

struct ProbeMatches {
  MatchesStatus status = MatchesStatus::Malformed;
  std::string relatesTo;  // the MessageID of the probe answered
  std::vector<ProbeMatch> matches;
};

ProbeMatches ReadProbeMatches(const std::uint8_t* bytes, std::size_t size);
