#include "core/wsdiscovery/probe_message.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const char* const ID = "urn:uuid:0a1b2c3d-4e5f-4061-8728-394a5b6c7d8e";

// What goes on the wire, byte for byte (one line there; cut here).
const char* const NVT_PROBE =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\""
    " xmlns:a=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\""
    " xmlns:d=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\""
    " xmlns:dn=\"http://www.onvif.org/ver10/network/wsdl\">"
    "<s:Header>"
    "<a:MessageID>urn:uuid:0a1b2c3d-4e5f-4061-8728-394a5b6c7d8e</a:MessageID>"
    "<a:To>urn:schemas-xmlsoap-org:ws:2005:04:discovery</a:To>"
    "<a:Action>http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe"
    "</a:Action>"
    "</s:Header>"
    "<s:Body><d:Probe><d:Types>dn:NetworkVideoTransmitter</d:Types></d:Probe>"
    "</s:Body></s:Envelope>";

ProbeReading Read(const std::string& text) {
  return ReadProbe(reinterpret_cast<const std::uint8_t*>(text.data()),
                   text.size());
}

TEST(ProbeMessage, NetworkVideoTransmitterProbeText) {
  EXPECT_EQ(ProbeMessage(ProbeType::NetworkVideoTransmitter, ID), NVT_PROBE);
}

TEST(ProbeMessage, EachProbeReadsBackWithItsTypeAndId) {
  const struct {
    ProbeType type;
    XmlName name;
  } cases[] = {
      {ProbeType::NetworkVideoTransmitter,
       {"http://www.onvif.org/ver10/network/wsdl", "NetworkVideoTransmitter"}},
      {ProbeType::Device, {"http://www.onvif.org/ver10/device/wsdl", "Device"}},
  };
  for (const auto& c : cases) {
    const ProbeReading read = Read(ProbeMessage(c.type, ID));
    ASSERT_EQ(read.status, ProbeStatus::Ok);
    EXPECT_EQ(read.messageId, ID);
    EXPECT_EQ(read.types, std::vector<XmlName>{c.name});
  }
}

TEST(ProbeMessage, ReadProbeTellsOtherMessagesApart) {
  EXPECT_EQ(Read("<a/>").status, ProbeStatus::NotProbe);
  EXPECT_EQ(Read("<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/"
                 "soap-envelope\"><s:Header/><s:Body/></s:Envelope>")
                .status,
            ProbeStatus::NotProbe);
  std::string cut = NVT_PROBE;
  cut.resize(cut.size() - 3);
  EXPECT_EQ(Read(cut).status, ProbeStatus::Refused);
  // A list whose second name has no prefix bound is refused whole.
  std::string unbound = NVT_PROBE;
  unbound.replace(unbound.find("dn:Network"), 3, "dn :");
  const ProbeReading read = Read(unbound);
  EXPECT_EQ(read.status, ProbeStatus::Refused);
  EXPECT_TRUE(read.types.empty());
}

TEST(ProbeMessage, RandomMessageIdsAreVersion4FromTheGivenGenerator) {
  std::mt19937_64 random(7);
  std::mt19937_64 same(7);
  std::set<std::string> seen;
  for (int i = 0; i < 64; ++i) {
    const std::string id = RandomMessageId(random);
    EXPECT_EQ(id, RandomMessageId(same));
    ASSERT_EQ(id.size(), 45u) << id;
    EXPECT_EQ(id.compare(0, 9, "urn:uuid:"), 0) << id;
    for (std::size_t at : {17u, 22u, 27u, 32u}) EXPECT_EQ(id[at], '-') << id;
    EXPECT_EQ(id[23], '4') << id;
    EXPECT_NE(std::string("89ab").find(id[28]), std::string::npos) << id;
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef-", 9), std::string::npos)
        << id;
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 64u);
}

}  // namespace
