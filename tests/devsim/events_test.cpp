#include "tools/devsim/events.h"

#include <gtest/gtest.h>

#include "tests/support/hex.h"

namespace devsim {
namespace {

const Sender FROM{0x0A4D0001u, 64988};

TEST(Events, ChangeLineCarriesMacOldAndNewSettingsAndTheBody) {
  std::vector<std::uint8_t> body(DEVICE_INFO_SIZE, 0);
  for (std::size_t i = 0; i < body.size(); ++i) {
    body[i] = static_cast<std::uint8_t>(i);
  }
  AppliedChange change;
  change.device = 4;
  change.before.macAddress = {0x02, 0x51, 0x4C, 0x00, 0x00, 0xAB};
  change.before.ipMode = 0;
  change.before.ipAddress = 0x0A4D000Au;
  change.before.gateway = 0x0A4D0001u;
  change.before.subnetMask = 0xFFFFFF00u;
  change.before.basePort = 8000;
  change.before.httpPort = 80;
  change.after = change.before;
  change.after.ipMode = 3;
  change.after.ipAddress = 0xC0A8010Au;
  change.after.gateway = 0;
  change.after.subnetMask = 0xFFFF0000u;
  change.after.basePort = -1;
  change.after.httpPort = 65535;
  EXPECT_EQ(
      ChangeEvent(FROM, change, body.data()).Str(),
      "{\"event\":\"change\",\"from\":\"10.77.0.1\",\"port\":64988,"
      "\"device\":4,\"mac\":\"02:51:4C:00:00:AB\","
      "\"old\":{\"ip_mode\":0,\"ip\":\"10.77.0.10\",\"gateway\":\"10.77.0.1\","
      "\"mask\":\"255.255.255.0\",\"base_port\":8000,\"http_port\":80},"
      "\"new\":{\"ip_mode\":3,\"ip\":\"192.168.1.10\",\"gateway\":\"0.0.0.0\","
      "\"mask\":\"255.255.0.0\",\"base_port\":-1,\"http_port\":65535},"
      "\"body\":\"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d"
      "1e1f202122232425262728292a2b2c2d2e2f303132333435363738393a3b3c3d3e3f"
      "4041424344454647\"}");
}

TEST(Events, UnknownAndShortChangesAreReported) {
  const std::vector<std::uint8_t> body =
      FromHex("aa bb cc dd ee ff" + std::string(66 * 2, '0'));
  EXPECT_EQ(
      ChangeNotTakenEvent(ChangeNotTaken::Unknown, FROM, body.data()).Str(),
      "{\"event\":\"change_unknown\",\"from\":\"10.77.0.1\","
      "\"port\":64988,\"mac\":\"AA:BB:CC:DD:EE:FF\",\"body\":\"aabbccddeeff" +
          std::string(66 * 2, '0') + "\"}");
  EXPECT_EQ(ChangeShortEvent(FROM, 95).Str(),
            "{\"event\":\"change_short\",\"from\":\"10.77.0.1\","
            "\"port\":64988,\"size\":95}");
}

TEST(Events, DatagramLineNamesTheKind) {
  const struct {
    const char* hex;
    const char* kind;
  } CASES[] = {
      {"", "other"},
      {"34 52 34 87 01 05 00", "other"},
      {"34 52 34 87 01 05 00 00", "search"},
      {"34 52 34 87 02 05 00 00", "change"},
      {"23 68 54 10 01 15 00 00", "reply"},
      {"23 68 54 10 01 05 00 00", "other"},
      {"34 52 34 87 01 15 00 00", "other"},
  };
  for (const auto& c : CASES) {
    const std::vector<std::uint8_t> bytes = FromHex(c.hex);
    EXPECT_STREQ(DatagramKind(bytes.data(), bytes.size()), c.kind) << c.hex;
  }
  const std::vector<std::uint8_t> search =
      FromHex("34 52 34 87 01 05 00 00" + std::string(32, '0'));
  EXPECT_EQ(
      DatagramEvent(Sender{0x7F000001u, 5}, search.data(), search.size()).Str(),
      "{\"event\":\"datagram\",\"from\":\"127.0.0.1\",\"port\":5,"
      "\"size\":24,\"kind\":\"search\",\"hex\":"
      "\"345234870105000000000000000000000000000000000000\"}");
}

TEST(Events, ReadySearchAndExitLines) {
  Options options;
  options.durationMs = 2500;
  options.noise = 6;
  EXPECT_EQ(
      ReadyEvent(options, 18446744073709551615ull, 25, 0).Str(),
      "{\"event\":\"ready\",\"address\":\"0.0.0.0\",\"port\":64988,"
      "\"devices\":25,\"random_start\":18446744073709551615,\"delay_min_ms\":0,"
      "\"delay_max_ms\":300,\"rate\":5000,\"burst\":32,\"noise\":6,"
      "\"duration_ms\":2500}");
  options.interfaceName = "qd1";
  options.sourceAddress = 0xC0A80140u;
  const std::string served = ReadyEvent(options, 1, 1, 0).Str();
  EXPECT_EQ(served.substr(served.find("\"duration_ms\"")),
            "\"duration_ms\":2500,\"interface\":\"qd1\","
            "\"source\":\"192.168.1.64\"}");
  const std::string onvif = ReadyEvent(options, 1, 8, 6).Str();
  EXPECT_EQ(onvif.substr(onvif.find("\"source\"")),
            "\"source\":\"192.168.1.64\",\"onvif_devices\":6}");
  EXPECT_EQ(ProbeEvent(FROM, "urn:uuid:1", 6, 7).Str(),
            "{\"event\":\"probe\",\"from\":\"10.77.0.1\",\"port\":64988,"
            "\"message_id\":\"urn:uuid:1\",\"matches\":6,\"pending\":7}");
  PlannedSearch plan;
  plan.replies = 30;
  plan.noise = 6;
  EXPECT_EQ(SearchEvent(FROM, plan, 36).Str(),
            "{\"event\":\"search\",\"from\":\"10.77.0.1\",\"port\":64988,"
            "\"replies\":30,\"noise\":6,\"pending\":36}");
  RunCounters counters;
  counters.searches = 1;
  counters.changes = 2;
  counters.repliesSent = 3;
  counters.noiseSent = 4;
  counters.sendFailures = 5;
  counters.received = 6;
  counters.echoes = 7;
  counters.pending = 8;
  EXPECT_EQ(ExitEvent("duration", counters).Str(),
            "{\"event\":\"exit\",\"reason\":\"duration\",\"searches\":1,"
            "\"changes\":2,\"replies_sent\":3,\"noise_sent\":4,"
            "\"send_failures\":5,\"received\":6,\"echoes\":7,\"pending\":8}");
  counters.onvif = RunCounters::Onvif::Served;
  counters.probes = 9;
  counters.probeMatchesSent = 10;
  const std::string exit = ExitEvent("duration", counters).Str();
  EXPECT_EQ(exit.substr(exit.find("\"pending\"")),
            "\"pending\":8,\"probes\":9,\"probe_matches_sent\":10}");
}

}  // namespace
}  // namespace devsim
