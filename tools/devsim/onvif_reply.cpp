#include "tools/devsim/onvif_reply.h"

#include <cstdio>

#include "core/wsdiscovery/namespaces.h"
#include "core/wsdiscovery/xml_writer.h"
#include "tools/devsim/onvif_identity.h"
#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

constexpr const char* ANONYMOUS_ROLE =
    "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";
constexpr const char* SCOPE = " onvif://www.onvif.org/";

// Makers pick their own prefixes and declare them in their own places; a
// reader that goes by prefix, or looks for declarations only on the
// envelope, fails on some of them.
struct Style {
  const char* soap;
  const char* wsa;
  const char* wsd;
  const char* network;
  const char* device;
  // The type prefixes are declared on the Types element itself rather than
  // on the envelope.
  enum class TypesDeclared { OnEnvelope, OnTypes } typesDeclared;
  enum class Sequence { Omitted, Given } sequence;
};

const Style STYLES[] = {
    {"SOAP-ENV", "wsa", "d", "dn", "tds", Style::TypesDeclared::OnEnvelope,
     Style::Sequence::Given},
    {"s", "a", "wsdd", "dn", "tds", Style::TypesDeclared::OnTypes,
     Style::Sequence::Omitted},
    {"env", "wsadis", "wsd", "tdn", "dev", Style::TypesDeclared::OnEnvelope,
     Style::Sequence::Omitted},
};

// Everything but RFC 3986's unreserved characters as %XX, so a scope never
// holds a space (the list separator) or an XML special.
std::string PercentEncoded(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                            c == '_' || c == '~';
    if (unreserved) {
      out.push_back(c);
      continue;
    }
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
    out += hex;
  }
  return out;
}

std::string Scopes(const SimDevice& device) {
  const OnvifIdentity& onvif = device.onvif;
  std::string scopes = std::string(SCOPE) + "type/video_encoder" + SCOPE +
                       "Profile/Streaming" + SCOPE + "name/" +
                       PercentEncoded(onvif.name) + SCOPE + "hardware/" +
                       PercentEncoded(onvif.hardware);
  if (!onvif.location.empty())
    scopes += std::string(SCOPE) + "location/" + PercentEncoded(onvif.location);
  if (onvif.macScope != MacScope::None) {
    scopes += std::string(SCOPE) + "MAC/" +
              MacScopeText(device.info.macAddress, onvif.macScope);
  }
  return scopes.substr(1);
}

std::string XAddrs(const SimDevice& device) {
  const std::string path = "/onvif/device_service";
  std::string xaddrs;
  if (device.onvif.linkLocal != 0)
    xaddrs = "http://" + DottedText(device.onvif.linkLocal) + path + " ";
  return xaddrs + "http://" + DottedText(device.info.ipAddress) + path;
}

}  // namespace

bool ProbeTypesMatch(const std::vector<XmlName>& types) {
  for (const XmlName& type : types) {
    const bool known =
        type == XmlName{ONVIF_NETWORK_NAMESPACE, "NetworkVideoTransmitter"} ||
        type == XmlName{ONVIF_DEVICE_NAMESPACE, "Device"};
    if (!known) return false;
  }
  return true;
}

std::string ProbeMatchesMessage(const SimDevice& device,
                                const std::string& relatesTo,
                                const std::string& messageId) {
  const Style& style = STYLES[device.info.macAddress[5] % 3];
  const std::string soap = style.soap;
  const std::string wsa = style.wsa;
  const std::string wsd = style.wsd;
  const std::string types =
      XmlDeclaration(style.network, ONVIF_NETWORK_NAMESPACE) +
      XmlDeclaration(style.device, ONVIF_DEVICE_NAMESPACE);
  const bool typesOnEnvelope =
      style.typesDeclared == Style::TypesDeclared::OnEnvelope;
  const std::string mustUnderstand = " " + soap + ":mustUnderstand=\"true\"";

  std::string header =
      XmlElement(wsa + ":MessageID", "", XmlEscaped(messageId)) +
      XmlElement(wsa + ":RelatesTo", "", XmlEscaped(relatesTo)) +
      XmlElement(wsa + ":To", mustUnderstand, ANONYMOUS_ROLE) +
      XmlElement(wsa + ":Action", mustUnderstand, PROBE_MATCHES_ACTION);
  if (style.sequence == Style::Sequence::Given) {
    header += "<" + wsd + ":AppSequence InstanceId=\"1\" MessageNumber=\"1\"/>";
  }
  const std::string match =
      XmlElement(
          wsa + ":EndpointReference", "",
          XmlElement(wsa + ":Address", "", XmlEscaped(device.onvif.endpoint))) +
      XmlElement(wsd + ":Types", typesOnEnvelope ? "" : types,
                 std::string(style.network) + ":NetworkVideoTransmitter " +
                     style.device + ":Device") +
      XmlElement(wsd + ":Scopes", "", Scopes(device)) +
      XmlElement(wsd + ":XAddrs", "", XAddrs(device)) +
      XmlElement(wsd + ":MetadataVersion", "", "1");
  const std::string body = XmlElement(
      wsd + ":ProbeMatches", "", XmlElement(wsd + ":ProbeMatch", "", match));
  const std::string envelope = XmlDeclaration(style.soap, SOAP_NAMESPACE) +
                               XmlDeclaration(style.wsa, ADDRESSING_NAMESPACE) +
                               XmlDeclaration(style.wsd, DISCOVERY_NAMESPACE) +
                               (typesOnEnvelope ? types : std::string());
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" +
         XmlElement(soap + ":Envelope", envelope,
                    XmlElement(soap + ":Header", "", header) +
                        XmlElement(soap + ":Body", "", body));
}

}  // namespace devsim
