// The reading of a WS-Discovery ProbeMatches message, as ONVIF devices
// answer a Probe. The bytes come from the network: a message that is not
// understood is refused with a status, never half read; within one that
// is, a field the command line does not use (Types, MetadataVersion) never
// costs a device its match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/wsdiscovery/scopes.h"
#include "core/wsdiscovery/xml_reader.h"

// One device answers with one match; a proxy could send a few. Those
// beyond are left out, the first ones kept.
constexpr std::size_t MAX_PROBE_MATCHES = 16;

enum class MatchesStatus {
  Ok,
  TooLarge,         // over 64 KiB, or too many elements or texts
  Doctype,          // a document type declaration
  Malformed,        // not well-formed XML (a cut datagram, for one)
  NotProbeMatches,  // well-formed, but another message
  Discovery2009,    // ProbeMatches of the 2009/01 discovery namespace
  Addressing2005,   // headers of the 2005/08 addressing namespace
};

struct ProbeMatch {
  std::string endpoint;  // EndpointReference/Address, "urn:uuid:..."
  // Resolved as the reply declared them; one whose prefix it never
  // declared is left out.
  std::vector<XmlName> types;
  std::vector<std::string> scopes;  // as sent, percent-encoded
  OnvifScopes about;                // the decoded scopes we use
  std::vector<std::string> xaddrs;  // every one, link-local ones too
  // None when absent or not an unsigned 32-bit number.
  std::optional<std::uint32_t> metadataVersion;
};

struct ProbeMatches {
  MatchesStatus status = MatchesStatus::Malformed;
  std::string relatesTo;  // the MessageID of the probe answered
  std::vector<ProbeMatch> matches;
};

ProbeMatches ReadProbeMatches(const std::uint8_t* bytes, std::size_t size);
