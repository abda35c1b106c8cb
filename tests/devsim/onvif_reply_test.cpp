#include "tools/devsim/onvif_reply.h"

#include <gtest/gtest.h>

#include "core/wsdiscovery/namespaces.h"
#include "core/wsdiscovery/probe_matches.h"
#include "tools/devsim/onvif_identity.h"

namespace devsim {
namespace {

const XmlName NVT{ONVIF_NETWORK_NAMESPACE, "NetworkVideoTransmitter"};
const XmlName DEVICE{ONVIF_DEVICE_NAMESPACE, "Device"};
const char RELATES_TO[] = "urn:uuid:7c5a3e0e-1f2d-4b1a-9c3e-5d6f7a8b9c0d";

// The MAC's last byte picks the prefix style, so 0x51..0x53 cover all three.
struct Case {
  std::uint8_t last;
  const char* name;
  const char* location;
  MacScope macScope;
  const char* linkLocal;  // "" for none
};
const Case CASES[] = {
    {0x51, "Front Door",
     "country/Deutschland S\xC3\xBC"
     "d",
     MacScope::Colons, "169.254.12.7"},
    {0x52, "Gate <2> & 3%", "", MacScope::Bare, ""},
    {0x53, "Loading Bay/East", "yard", MacScope::Hyphens, ""},
    {0x54, "Stairwell", "", MacScope::None, "169.254.20.4"},
};

TEST(OnvifReply, EveryStyleReadsBackThroughTheCoreReader) {
  for (const Case& c : CASES) {
    SimDevice device;
    device.protocols = Protocols::Onvif;
    device.info.macAddress = {0x00, 0x1A, 0x2B, 0x3C, 0x00, c.last};
    device.info.ipAddress = 0x0A4D0033u;  // 10.77.0.51
    device.onvif = {c.name,     "IPC-B520",
                    c.location, DerivedEndpoint(device.info.macAddress),
                    c.macScope, 0};
    std::vector<std::string> xaddrs;
    if (*c.linkLocal) {
      ASSERT_TRUE(ParseAddress(c.linkLocal, &device.onvif.linkLocal));
      xaddrs.push_back(std::string("http://") + c.linkLocal +
                       "/onvif/device_service");
    }
    xaddrs.push_back("http://10.77.0.51/onvif/device_service");
    const std::string text = ProbeMatchesMessage(
        device, RELATES_TO, "urn:uuid:00000000-0000-4000-8000-000000000001");
    const ProbeMatches read = ReadProbeMatches(
        reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    SCOPED_TRACE(text);
    ASSERT_EQ(read.status, MatchesStatus::Ok);
    EXPECT_EQ(read.relatesTo, RELATES_TO);
    ASSERT_EQ(read.matches.size(), 1u);
    const ProbeMatch& match = read.matches[0];
    EXPECT_EQ(match.endpoint, device.onvif.endpoint);
    EXPECT_EQ(match.types, (std::vector<XmlName>{NVT, DEVICE}));
    EXPECT_EQ(match.about.name, c.name);
    EXPECT_EQ(match.about.hardware, "IPC-B520");
    EXPECT_EQ(match.about.location, c.location);
    EXPECT_EQ(match.about.mac.has_value(), c.macScope != MacScope::None);
    if (match.about.mac) {
      EXPECT_EQ(*match.about.mac, device.info.macAddress);
    }
    EXPECT_EQ(match.xaddrs, xaddrs);
    EXPECT_EQ(match.metadataVersion, 1u);
  }
}

TEST(OnvifReply, ProbeTypesMatchOnlyTheDevicesTypes) {
  const XmlName PRINTER{"http://example.com/printer", "Device"};
  const struct {
    std::vector<XmlName> types;
    bool matches;
  } CASES[] = {
      {{}, true},
      {{NVT}, true},
      {{DEVICE}, true},
      {{NVT, DEVICE}, true},
      {{PRINTER}, false},
      {{NVT, PRINTER}, false},
      {{{ONVIF_NETWORK_NAMESPACE, "Device"}}, false},
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(ProbeTypesMatch(c.types), c.matches) << c.types.size();
  }
}

}  // namespace
}  // namespace devsim
