// The neighbour table and the address probe on the private test link:
// 10.77.0.1 (qa0) here, the peer namespace's 10.77.0.2 at the other end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <utility>
#include <vector>

#include "core/engine/net.h"
#include "platform/neighbour_table.h"
#include "tests/support/peer.h"

void PrintTo(AddressUse use, std::ostream* out) {
  static const char* const NAMES[] = {"Held", "Free", "NotChecked"};
  *out << NAMES[static_cast<int>(use)];
}

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t ADAPTER = 0x0A4D0001u;        // 10.77.0.1
constexpr std::uint32_t PEER = 0x0A4D0002u;           // answers ARP
constexpr std::uint32_t OTHER_ADAPTER = 0x0A4E0001u;  // 10.78.0.1 (qa1)
// The permanent entries that static_neighbour.sh adds for the run: one on
// this link, one for an address of this link's subnet on the other link.
constexpr std::uint32_t STATIC = 0x0A4D00D6u;  // 10.77.0.214
const MacAddress STATIC_MAC{0x02, 0, 0, 0, 0x02, 0x14};
constexpr std::uint32_t ELSEWHERE = 0x0A4D00D8u;  // 10.77.0.216
// On both links, each with a MAC of its own.
constexpr std::uint32_t BOTH = 0x0A4D00D7u;  // 10.77.0.215
const MacAddress BOTH_MACS[] = {{0x02, 0, 0, 0, 0x0A, 0x15},
                                {0x02, 0, 0, 0, 0x0B, 0x15}};

std::uint32_t IndexOf(std::uint32_t address) {
  for (const net::Adapter& adapter : net::ListAdapters().adapters)
    if (adapter.address == address) return adapter.index;
  return 0;
}

TEST(NeighbourProbe, TellsHeldFreeAndUncheckedAddressesApart) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  const std::vector<std::uint32_t> addresses = {
      PEER,
      0x0A4D00D5u,  // 10.77.0.213: nothing there
      ELSEWHERE,    // known, but on the other link
      STATIC,       // a permanent entry on this link
      ADAPTER,      // this computer's own address
      0x0A4E0002u,  // 10.78.0.2: answers, but on the other link
      0x0A630005u,  // 10.99.0.5: off every link
      0x0A4D00FFu,  // 10.77.0.255: the link's broadcast address
  };
  const auto start = std::chrono::steady_clock::now();
  const std::vector<AddressCheck> checks =
      ProbeAddresses(ADAPTER, addresses, 400ms);
  const auto took = std::chrono::steady_clock::now() - start;
  std::vector<AddressUse> uses;
  for (const AddressCheck& check : checks) uses.push_back(check.use);
  // The table names who holds a held address.
  EXPECT_EQ(checks[3].holder, STATIC_MAC);
  using U = AddressUse;
  EXPECT_EQ(uses, (std::vector<AddressUse>{U::Held, U::Free, U::Free, U::Held,
                                           U::Held, U::NotChecked,
                                           U::NotChecked, U::NotChecked}));
  std::cout
      << "probe of " << addresses.size() << " addresses: "
      << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
      << " ms\n";
}

TEST(NeighbourProbe, AnAdapterThatIsNotHereChecksNothing) {
  const std::vector<AddressCheck> checks =
      ProbeAddresses(0x0A4D0063u, {PEER}, 0ms);
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(checks[0].use, AddressUse::NotChecked);
}

TEST(NeighbourTable, ReadsStaticEntriesWithTheirMacAndInterface) {
  const NeighbourTable table = ReadNeighbours();
  ASSERT_EQ(table.status, NeighbourTable::Status::Read) << table.error;
  const Neighbour* here = nullptr;
  const Neighbour* elsewhere = nullptr;
  for (const Neighbour& entry : table.entries) {
    if (entry.address == STATIC) here = &entry;
    if (entry.address == ELSEWHERE) elsewhere = &entry;
  }
  ASSERT_NE(here, nullptr);
  ASSERT_NE(elsewhere, nullptr);
  EXPECT_EQ(here->mac, STATIC_MAC);
  EXPECT_NE(here->interfaceIndex, 0u);
  EXPECT_EQ(here->interfaceIndex, IndexOf(ADAPTER));
  EXPECT_EQ(elsewhere->interfaceIndex, IndexOf(OTHER_ADAPTER));
  // One address, one entry per link: neither hides the other.
  std::vector<std::pair<std::uint32_t, MacAddress>> both;
  for (const Neighbour& entry : table.entries)
    if (entry.address == BOTH)
      both.emplace_back(entry.interfaceIndex, entry.mac);
  std::sort(both.begin(), both.end());
  const std::uint32_t first = IndexOf(ADAPTER), second = IndexOf(OTHER_ADAPTER);
  std::vector<std::pair<std::uint32_t, MacAddress>> expected = {
      {first, BOTH_MACS[0]}, {second, BOTH_MACS[1]}};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(both, expected);
}

}  // namespace
