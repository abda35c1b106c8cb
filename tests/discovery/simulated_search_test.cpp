// The engine against the device simulator on the other end of the test link:
// 1000 simulated devices in 10.90.0.0/20, each answering once per search.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "core/engine/engine.h"
#include "tests/support/hex.h"
#include "tests/support/peer.h"

namespace {

using namespace std::chrono_literals;

constexpr std::size_t SIMULATED_DEVICES = 1000;

std::mutex repliesLock;
std::map<std::wstring, std::vector<DecodedReply>> repliesByMac;

std::int32_t CollectReplies(const std::uint8_t* buffer, std::int32_t,
                            const net::Endpoint&, std::uint32_t) {
  if (!IsSearchReply(buffer)) return 0;
  const DecodedReply reply = DecodeDeviceInfo(buffer);
  if (reply.info.ipAddress == LOOPBACK_ADDRESS) return 0;  // a test reply
  std::lock_guard<std::mutex> hold(repliesLock);
  repliesByMac[MacText(reply.info.macAddress)].push_back(reply);
  return 0;
}

std::size_t DevicesHeard() {
  std::lock_guard<std::mutex> hold(repliesLock);
  return repliesByMac.size();
}

// Runs one search and returns how long it took to hear every device.
std::chrono::milliseconds Search() {
  {
    std::lock_guard<std::mutex> hold(repliesLock);
    repliesByMac.clear();
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(DiscoveryStart(CollectReplies), 1);
  DiscoverySend(CMD_SEARCH, nullptr);
  WaitFor([] { return DevicesHeard() >= SIMULATED_DEVICES; }, 10s);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  // Late or repeated answers would show up now.
  std::this_thread::sleep_for(500ms);
  DiscoveryStop();
  return took;
}

TEST(SimulatedSearch, FindsExactlyTheSimulatedDevicesNoneLost) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  const auto took = Search();
  std::lock_guard<std::mutex> hold(repliesLock);
  EXPECT_EQ(repliesByMac.size(), SIMULATED_DEVICES);
  for (const auto& [mac, replies] : repliesByMac) {
    // Two adapters sent the request, so each device answered twice.
    EXPECT_EQ(replies.size(), 2u) << "replies from " << replies.size();
    const std::uint32_t address = replies.front().info.ipAddress;
    EXPECT_EQ(address >> 12, 0x0A5A0u) << "outside 10.90.0.0/20";
    EXPECT_EQ(replies.front().bodyLength, 72);
  }
  std::printf("1000-device search: all heard after %lld ms\n",
              static_cast<long long>(took.count()));
  testing::Test::RecordProperty("search_ms", static_cast<int>(took.count()));
}

TEST(SimulatedSearch, ChangeRequestLandsWithExactlyTheSixSettings) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  Search();
  DeviceInfo target;
  {
    std::lock_guard<std::mutex> hold(repliesLock);
    ASSERT_FALSE(repliesByMac.empty());
    target = repliesByMac.begin()->second.front().info;
  }
  const DeviceInfo before = target;
  IpSettings settings;
  settings.ipMode = IP_MODE_DHCP;
  settings.ipAddress = 0x0A5B0107u;  // 10.91.1.7
  settings.subnetMask = 0xFFFF0000u;
  settings.gateway = 0x0A5B0001u;
  settings.basePort = 4000;
  settings.httpPort = 8081;
  ApplyIpSettings(target, settings);

  const std::size_t fromLine = PeerLines().size();
  ASSERT_EQ(DiscoveryStart(nullptr), 1);
  DiscoverySend(CMD_CHANGE_IP, &target);
  DiscoveryStop();

  const std::string mac = [&] {
    const std::wstring wide = MacText(target.macAddress);
    return std::string(wide.begin(), wide.end());
  }();
  std::vector<std::string> changes;
  WaitFor(
      [&] {
        changes.clear();
        const auto lines = PeerLines();
        for (std::size_t i = fromLine; i < lines.size(); ++i)
          if (JsonField(lines[i], "event") == "change")
            changes.push_back(lines[i]);
        return !changes.empty();
      },
      5s);
  // One copy left through each adapter; the first changes the device, the
  // second finds it already changed.
  ASSERT_FALSE(changes.empty());
  const std::string& change = changes.front();
  EXPECT_EQ(JsonField(change, "mac"), mac);
  const std::string now = JsonObject(change, "new");
  EXPECT_EQ(JsonField(now, "ip_mode"), "1");
  EXPECT_EQ(JsonField(now, "ip"), "10.91.1.7");
  EXPECT_EQ(JsonField(now, "mask"), "255.255.0.0");
  EXPECT_EQ(JsonField(now, "gateway"), "10.91.0.1");
  EXPECT_EQ(JsonField(now, "base_port"), "4000");
  EXPECT_EQ(JsonField(now, "http_port"), "8081");
  std::uint8_t sent[DEVICE_INFO_SIZE];
  SerializeDeviceInfo(target, sent);
  const auto body = FromHex(JsonField(change, "body"));
  EXPECT_EQ(body, std::vector<std::uint8_t>(sent, sent + DEVICE_INFO_SIZE));
  std::uint8_t original[DEVICE_INFO_SIZE];
  SerializeDeviceInfo(before, original);
  EXPECT_TRUE(std::equal(body.begin(), body.begin() + 8, original));
  EXPECT_TRUE(std::equal(body.begin() + 32, body.end(), original + 32));

  // The next search hears the device with its new settings.
  Search();
  std::lock_guard<std::mutex> hold(repliesLock);
  const auto found = repliesByMac.find(MacText(target.macAddress));
  ASSERT_NE(found, repliesByMac.end());
  EXPECT_EQ(found->second.front().info, target);
}

}  // namespace
