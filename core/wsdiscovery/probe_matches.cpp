#include "core/wsdiscovery/probe_matches.h"

#include "core/wsdiscovery/namespaces.h"

namespace {

MatchesStatus StatusOf(XmlStatus status) {
  switch (status) {
    case XmlStatus::Ok:
      return MatchesStatus::Ok;
    case XmlStatus::TooLarge:
      return MatchesStatus::TooLarge;
    case XmlStatus::Doctype:
      return MatchesStatus::Doctype;
    case XmlStatus::Malformed:
      break;
  }
  return MatchesStatus::Malformed;
}

XmlName Discovery(const char* local) { return {DISCOVERY_NAMESPACE, local}; }
XmlName Addressing(const char* local) { return {ADDRESSING_NAMESPACE, local}; }
XmlName Soap(const char* local) { return {SOAP_NAMESPACE, local}; }

// The text of the child `name` of `element`, or "" without one.
std::string ChildText(const XmlDocument& document, std::size_t element,
                      const XmlName& name) {
  const std::optional<std::size_t> child = document.Child(element, name);
  return child ? document.elements[*child].text : std::string();
}

std::optional<std::uint32_t> UnsignedInt(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

void ReadMatch(const XmlDocument& document, std::size_t element,
               ProbeMatch* match) {
  if (const auto reference =
          document.Child(element, Addressing("EndpointReference")))
    match->endpoint =
        XmlTrimmed(ChildText(document, *reference, Addressing("Address")));
  if (const auto types = document.Child(element, Discovery("Types"))) {
    for (const std::string& qname : XmlList(document.elements[*types].text))
      if (const std::optional<XmlName> type = document.Resolve(*types, qname))
        match->types.push_back(*type);
  }
  match->scopes = XmlList(ChildText(document, element, Discovery("Scopes")));
  match->about = ReadScopes(match->scopes);
  match->xaddrs = XmlList(ChildText(document, element, Discovery("XAddrs")));
  if (const auto version =
          document.Child(element, Discovery("MetadataVersion")))
    match->metadataVersion =
        UnsignedInt(XmlTrimmed(document.elements[*version].text));
}

// Why a well-formed message that is no ProbeMatches of ours was not read:
// a later version of the protocols is worth naming to the user.
MatchesStatus OtherMessage(const XmlDocument& document, std::size_t body,
                           std::optional<std::size_t> header) {
  if (document.Child(body, {DISCOVERY_2009_NAMESPACE, "ProbeMatches"}))
    return MatchesStatus::Discovery2009;
  if (header &&
      (document.Child(*header, {ADDRESSING_2005_NAMESPACE, "Action"}) ||
       document.Child(*header, {ADDRESSING_2005_NAMESPACE, "RelatesTo"})))
    return MatchesStatus::Addressing2005;
  return MatchesStatus::NotProbeMatches;
}

}  // namespace

ProbeMatches ReadProbeMatches(const std::uint8_t* bytes, std::size_t size) {
  ProbeMatches read;
  const XmlDocument document = ReadXml(bytes, size);
  read.status = StatusOf(document.status);
  if (read.status != MatchesStatus::Ok) return read;

  read.status = MatchesStatus::NotProbeMatches;
  const std::size_t root = 0;
  if (!(document.elements[root].name == Soap("Envelope"))) return read;
  const auto header = document.Child(root, Soap("Header"));
  const auto body = document.Child(root, Soap("Body"));
  if (!body) return read;
  const auto matches = document.Child(*body, Discovery("ProbeMatches"));
  if (!matches) {
    read.status = OtherMessage(document, *body, header);
    return read;
  }
  if (header) {
    const auto action = document.Child(*header, Addressing("Action"));
    if (action &&
        XmlTrimmed(document.elements[*action].text) != PROBE_MATCHES_ACTION)
      return read;
    read.relatesTo =
        XmlTrimmed(ChildText(document, *header, Addressing("RelatesTo")));
    if (read.relatesTo.empty() &&
        OtherMessage(document, *body, header) == MatchesStatus::Addressing2005)
      return {MatchesStatus::Addressing2005, {}, {}};
  }

  std::vector<std::size_t> found =
      document.Children(*matches, Discovery("ProbeMatch"));
  if (found.size() > MAX_PROBE_MATCHES) found.resize(MAX_PROBE_MATCHES);
  for (std::size_t element : found) {
    ProbeMatch match;
    ReadMatch(document, element, &match);
    read.matches.push_back(std::move(match));
  }
  read.status = MatchesStatus::Ok;
  return read;
}
