#include "core/wsdiscovery/probe_matches.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/wsdiscovery/replies.h"

namespace {

const char* const NETWORK = "http://www.onvif.org/ver10/network/wsdl";
const char* const DEVICE = "http://www.onvif.org/ver10/device/wsdl";

ProbeMatches Read(const std::string& text) {
  return ReadProbeMatches(reinterpret_cast<const std::uint8_t*>(text.data()),
                          text.size());
}

struct Expected {
  const char* reply;
  const char* relatesTo;
  const char* endpoint;
  std::vector<XmlName> types;
  const char* name;
  const char* hardware;
  const char* location;
  std::optional<MacAddress> mac;
  std::vector<std::string> xaddrs;
  std::optional<std::uint32_t> metadataVersion;
};

const Expected READABLE[] = {
    {REPLY_SOAP_ENV,
     "urn:uuid:7c5a3e0e-1f2d-4b1a-9c3e-5d6f7a8b9c0d",
     "urn:uuid:2419d68a-2dd2-21b2-a205-001a2b000150",
     {{NETWORK, "NetworkVideoTransmitter"}, {DEVICE, "Device"}},
     "Front Door Cam",
     "IPC-B520",
     "country/Deutschland S\xC3\xBC"
     "d",
     MacAddress{0x00, 0x1A, 0x2B, 0x00, 0x01, 0x50},
     {"http://169.254.12.7/onvif/device_service",
      "http://10.77.0.50/onvif/device_service"},
     10},
    {REPLY_S,
     "urn:uuid:0b1c2d3e-4f50-4617-8293-a4b5c6d7e8f9",
     "urn:uuid:d1e2f3a4-b5c6-4d7e-8f90-a1b2c3d4e5f6",
     {{NETWORK, "NetworkVideoTransmitter"}},
     "Gate_2",
     "NVR-16",
     "",
     MacAddress{0x00, 0x1A, 0x2B, 0x00, 0x01, 0xAA},
     {"http://10.78.0.9:8080/onvif/device_service"},
     1},
    {REPLY_ENV,
     "urn:uuid:11111111-2222-4333-8444-555555555555",
     "urn:uuid:99999999-8888-4777-a666-555555555555",
     {{DEVICE, "Device"}},
     "Lobby/East",
     "",
     "Lobby",
     std::nullopt,
     {"http://192.168.5.20/onvif/device_service",
      "http://10.77.0.60/onvif/device_service"},
     std::nullopt},
};

TEST(ProbeMatches, ReadsEachMakersPrefixesAndDeclarations) {
  for (const Expected& expected : READABLE) {
    SCOPED_TRACE(expected.endpoint);
    const ProbeMatches read = Read(expected.reply);
    ASSERT_EQ(read.status, MatchesStatus::Ok);
    EXPECT_EQ(read.relatesTo, expected.relatesTo);
    ASSERT_EQ(read.matches.size(), 1u);
    const ProbeMatch& match = read.matches[0];
    EXPECT_EQ(match.endpoint, expected.endpoint);
    EXPECT_EQ(match.types, expected.types);
    EXPECT_EQ(match.about.name, expected.name);
    EXPECT_EQ(match.about.hardware, expected.hardware);
    EXPECT_EQ(match.about.location, expected.location);
    EXPECT_EQ(match.about.mac, expected.mac);
    EXPECT_EQ(match.xaddrs, expected.xaddrs);
    EXPECT_EQ(match.metadataVersion, expected.metadataVersion);
  }
}

std::string Replaced(std::string text, const std::string& from,
                     const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string Repeated(const std::string& text, std::size_t count) {
  std::string repeated;
  for (std::size_t i = 0; i < count; ++i) repeated += text;
  return repeated;
}

std::string ManyMatches(std::size_t count) {
  const std::string reply = REPLY_S;
  const std::size_t begin = reply.find("<ProbeMatch ");
  const std::size_t end = reply.find("</ProbeMatch>") + 13;
  return reply.substr(0, begin) +
         Repeated(reply.substr(begin, end - begin), count) + reply.substr(end);
}

TEST(ProbeMatches, RefusesWhatItDoesNotUnderstand) {
  const std::string reply = REPLY_SOAP_ENV;
  const struct {
    const char* what;
    std::string text;
    MatchesStatus status;
  } cases[] = {
      {"a document type",
       Replaced(reply, "<SOAP-ENV:Envelope",
                "<!DOCTYPE x [<!ENTITY a \"aaaaaaaa\">]><SOAP-ENV:Envelope"),
       MatchesStatus::Doctype},
      {"an external entity",
       Replaced(reply, "<SOAP-ENV:Envelope",
                "<!DOCTYPE x SYSTEM \"file:///etc/passwd\"><SOAP-ENV:Envelope"),
       MatchesStatus::Doctype},
      {"a cut datagram", reply.substr(0, reply.size() / 2),
       MatchesStatus::Malformed},
      {"an undeclared element prefix",
       Replaced(reply, "<wsdd:ProbeMatches>", "<q:ProbeMatches>"),
       MatchesStatus::Malformed},
      {"no XML", "HTTP/1.1 200 OK\r\n\r\n", MatchesStatus::Malformed},
      {"over 64 KiB",
       Replaced(reply, "</SOAP-ENV:Envelope>",
                "</SOAP-ENV:Envelope>" + std::string(65536, ' ')),
       MatchesStatus::TooLarge},
      {"too many elements",
       Replaced(
           reply, "<wsdd:ProbeMatches>",
           "<wsdd:ProbeMatches>" + Repeated("<wsdd:X/>", XML_MAX_ELEMENTS)),
       MatchesStatus::TooLarge},
      {"an over-long text",
       Replaced(reply, "Front%20Door", std::string(XML_MAX_TEXT, 'x')),
       MatchesStatus::TooLarge},
      {"a SOAP 1.1 envelope",
       Replaced(reply, "http://www.w3.org/2003/05/soap-envelope",
                "http://schemas.xmlsoap.org/soap/envelope/"),
       MatchesStatus::NotProbeMatches},
      {"the 2009/01 discovery namespace",
       Replaced(reply, "http://schemas.xmlsoap.org/ws/2005/04/discovery\"",
                "http://docs.oasis-open.org/ws-dd/ns/discovery/2009/01\""),
       MatchesStatus::Discovery2009},
      {"the 2005/08 addressing namespace",
       Replaced(reply, "http://schemas.xmlsoap.org/ws/2004/08/addressing\"",
                "http://www.w3.org/2005/08/addressing\""),
       MatchesStatus::Addressing2005},
      {"another action",
       Replaced(reply, "discovery/ProbeMatches<", "discovery/Hello<"),
       MatchesStatus::NotProbeMatches},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ProbeMatches read = Read(c.text);
    EXPECT_EQ(read.status, c.status);
    EXPECT_TRUE(read.matches.empty());
  }
}

TEST(ProbeMatches, ToleratesWhatItDoesNotUse) {
  const std::string reply = REPLY_SOAP_ENV;
  const struct {
    const char* what;
    std::string text;
    std::size_t matches;
    std::size_t types;
    std::optional<std::uint32_t> version;
  } CASES[] = {
      // The unknown type is left out, the one beside it kept.
      {"an undeclared type prefix",
       Replaced(reply, "tds:Device", "acme:Device"), 1, 1, 10},
      {"a MetadataVersion that is no number", Replaced(reply, ">10<", ">ten<"),
       1, 2, std::nullopt},
      {"an empty MetadataVersion", Replaced(reply, ">10<", "><"), 1, 2,
       std::nullopt},
      {"a MetadataVersion past 32 bits",
       Replaced(reply, ">10<", ">4294967296<"), 1, 2, std::nullopt},
      {"as many matches as kept", ManyMatches(MAX_PROBE_MATCHES), 16, 1, 1},
      {"one match too many: the first ones are kept",
       ManyMatches(MAX_PROBE_MATCHES + 1), 16, 1, 1},
  };
  for (const auto& c : CASES) {
    SCOPED_TRACE(c.what);
    const ProbeMatches read = Read(c.text);
    ASSERT_EQ(read.status, MatchesStatus::Ok);
    ASSERT_EQ(read.matches.size(), c.matches);
    EXPECT_EQ(read.matches[0].types.size(), c.types);
    EXPECT_EQ(read.matches[0].metadataVersion, c.version);
    EXPECT_FALSE(read.matches[0].endpoint.empty());
  }
}

}  // namespace
