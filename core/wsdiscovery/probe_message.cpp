#include "core/wsdiscovery/probe_message.h"

#include <cstdio>

#include "core/wsdiscovery/namespaces.h"
#include "core/wsdiscovery/xml_writer.h"

namespace {

struct TypeName {
  const char* prefix;
  const char* ns;
  const char* local;
};

TypeName NameOf(ProbeType type) {
  if (type == ProbeType::Device)
    return {"tds", ONVIF_DEVICE_NAMESPACE, "Device"};
  return {"dn", ONVIF_NETWORK_NAMESPACE, "NetworkVideoTransmitter"};
}

}  // namespace

std::string ProbeMessage(ProbeType type, const std::string& messageId) {
  const TypeName name = NameOf(type);
  // Every prefix is declared on the envelope, so the Types text resolves
  // however a device walks the scopes.
  const std::string declarations = XmlDeclaration("s", SOAP_NAMESPACE) +
                                   XmlDeclaration("a", ADDRESSING_NAMESPACE) +
                                   XmlDeclaration("d", DISCOVERY_NAMESPACE) +
                                   XmlDeclaration(name.prefix, name.ns);
  const std::string header =
      XmlElement("a:MessageID", "", XmlEscaped(messageId)) +
      XmlElement("a:To", "", DISCOVERY_TO) +
      XmlElement("a:Action", "", PROBE_ACTION);
  const std::string types = std::string(name.prefix) + ":" + name.local;
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" +
         XmlElement(
             "s:Envelope", declarations,
             XmlElement("s:Header", "", header) +
                 XmlElement("s:Body", "",
                            XmlElement("d:Probe", "",
                                       XmlElement("d:Types", "", types))));
}

std::string RandomMessageId(std::mt19937_64& random) {
  std::uint8_t bytes[16];
  for (int half = 0; half < 2; ++half) {
    std::uint64_t value = random();
    for (int i = 0; i < 8; ++i, value >>= 8)
      bytes[half * 8 + i] = static_cast<std::uint8_t>(value);
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122
  std::string id = "urn:uuid:";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) id.push_back('-');
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    id += hex;
  }
  return id;
}

ProbeReading ReadProbe(const std::uint8_t* bytes, std::size_t size) {
  ProbeReading reading;
  const XmlDocument document = ReadXml(bytes, size);
  if (document.status != XmlStatus::Ok) return reading;
  reading.status = ProbeStatus::NotProbe;
  const std::size_t root = 0;
  if (!(document.elements[root].name == XmlName{SOAP_NAMESPACE, "Envelope"}))
    return reading;
  const auto header = document.Child(root, {SOAP_NAMESPACE, "Header"});
  const auto body = document.Child(root, {SOAP_NAMESPACE, "Body"});
  if (!header || !body) return reading;
  const auto probe = document.Child(*body, {DISCOVERY_NAMESPACE, "Probe"});
  if (!probe) return reading;
  if (const auto id =
          document.Child(*header, {ADDRESSING_NAMESPACE, "MessageID"}))
    reading.messageId = XmlTrimmed(document.elements[*id].text);
  if (const auto types =
          document.Child(*probe, {DISCOVERY_NAMESPACE, "Types"})) {
    for (const std::string& qname : XmlList(document.elements[*types].text)) {
      const auto name = document.Resolve(*types, qname);
      if (!name) {
        // Refused whole: no type read before the bad one is kept.
        reading.status = ProbeStatus::Refused;
        reading.types.clear();
        return reading;
      }
      reading.types.push_back(*name);
    }
  }
  reading.status = ProbeStatus::Ok;
  return reading;
}
