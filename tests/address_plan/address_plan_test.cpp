// The numbering from a start address: which addresses the subnet walk
// visits, and which of them the change checker lets a device have.
#include "core/devices/address_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                           std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

const std::uint32_t CLASS_C = Ip(255, 255, 255, 0);

using Addresses = std::vector<std::uint32_t>;

MacAddress MacOf(std::uint32_t n) {
  return {0x02,
          0,
          0,
          static_cast<std::uint8_t>(n >> 16),
          static_cast<std::uint8_t>(n >> 8),
          static_cast<std::uint8_t>(n)};
}

// `count` devices far from the subnet, to be given `mask` and `gateway`.
std::vector<PlanTarget> Targets(std::size_t count, std::uint32_t mask,
                                std::uint32_t gateway = 0) {
  std::vector<PlanTarget> targets(count);
  for (std::size_t k = 0; k < count; ++k) {
    targets[k].mac = MacOf(static_cast<std::uint32_t>(k));
    targets[k].current.ipAddress =
        Ip(172, 31, 0, 0) + static_cast<std::uint32_t>(k);
    targets[k].settings.subnetMask = mask;
    targets[k].settings.gateway = gateway;
    targets[k].settings.basePort = 8000;
    targets[k].settings.httpPort = 80;
  }
  return targets;
}

struct WalkCase {
  const char* what;
  std::uint32_t start, mask;
  std::size_t count;
  Addresses expected;  // empty: not enough room
};

TEST(AddressPlan, WalksTheSubnetUpwardsWithoutTheReservedAddresses) {
  const WalkCase CASES[] = {
      {"consecutive from the start",
       Ip(192, 168, 1, 10),
       CLASS_C,
       3,
       {Ip(192, 168, 1, 10), Ip(192, 168, 1, 11), Ip(192, 168, 1, 12)}},
      {"not the network address",
       Ip(192, 168, 1, 0),
       CLASS_C,
       2,
       {Ip(192, 168, 1, 1), Ip(192, 168, 1, 2)}},
      {"not the broadcast address",
       Ip(192, 168, 1, 253),
       CLASS_C,
       2,
       {Ip(192, 168, 1, 253), Ip(192, 168, 1, 254)}},
      {"no wrap past the end", Ip(192, 168, 1, 253), CLASS_C, 3, {}},
      {"a /30 has two hosts",
       Ip(10, 0, 0, 4),
       Ip(255, 255, 255, 252),
       2,
       {Ip(10, 0, 0, 5), Ip(10, 0, 0, 6)}},
      {"a /31 has none", Ip(10, 0, 0, 4), Ip(255, 255, 255, 254), 1, {}},
      {"a /32 has none", Ip(10, 0, 0, 4), Ip(255, 255, 255, 255), 1, {}},
      {"a mask that is not a run of ones",
       Ip(10, 1, 253, 7),
       Ip(255, 255, 0, 255),
       2,
       {Ip(10, 1, 253, 7), Ip(10, 1, 254, 7)}},
      {"no room past its end", Ip(10, 1, 253, 7), Ip(255, 255, 0, 255), 3, {}},
  };
  for (const WalkCase& c : CASES) {
    const AddressPlan plan =
        PlanAddresses(c.start, c.mask, Targets(c.count, c.mask), {});
    EXPECT_EQ(plan.enough, !c.expected.empty()) << c.what;
    EXPECT_EQ(plan.addresses, c.expected) << c.what;
  }
}

TEST(AddressPlan, PassesOverWhatTheCheckerRefusesButADeviceKeepsItsOwn) {
  // .11 is shown by another device, .12 is this computer's, .13 the
  // gateway, .14 planned for another row; target 1 already has .16.
  AddressBook shown;
  shown.Add(Ip(10, 77, 0, 11), MacOf(99));
  AddressBook planned;
  planned.Add(Ip(10, 77, 0, 14), MacOf(98));
  std::vector<PlanTarget> targets = Targets(3, CLASS_C, Ip(10, 77, 0, 13));
  targets[1].current.ipAddress = Ip(10, 77, 0, 16);
  shown.Add(Ip(10, 77, 0, 16), MacOf(1));
  const AddressPlan plan =
      PlanAddresses(Ip(10, 77, 0, 11), CLASS_C, targets,
                    ChangeContext{&shown, {Ip(10, 77, 0, 12)}, &planned});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses, (Addresses{Ip(10, 77, 0, 15), Ip(10, 77, 0, 16),
                                       Ip(10, 77, 0, 17)}));
}

TEST(AddressPlan, FiveThousandTargetsInASlashSixteen) {
  const std::uint32_t mask = Ip(255, 255, 0, 0);
  AddressBook shown;
  std::set<std::uint32_t> taken;
  for (std::uint32_t i = 0; i < 3000; ++i) {
    taken.insert(Ip(172, 16, 0, 0) + 7 * i + 3);
    shown.Add(Ip(172, 16, 0, 0) + 7 * i + 3, MacOf(100000 + i));
  }
  const AddressPlan plan =
      PlanAddresses(Ip(172, 16, 0, 0), mask, Targets(5000, mask),
                    ChangeContext{&shown, {}, nullptr});
  ASSERT_TRUE(plan.enough);
  std::uint32_t previous = Ip(172, 16, 0, 0);
  for (std::uint32_t address : plan.addresses) {
    EXPECT_GT(address, previous);
    EXPECT_EQ(taken.count(address), 0u);
    for (std::uint32_t skipped = previous + 1; skipped < address; ++skipped)
      EXPECT_EQ(taken.count(skipped), 1u);
    previous = address;
  }
  EXPECT_TRUE(
      PlanAddresses(Ip(172, 16, 236, 119), mask, Targets(5000, mask), {})
          .enough);
  EXPECT_FALSE(
      PlanAddresses(Ip(172, 16, 236, 120), mask, Targets(5000, mask), {})
          .enough);
}

TEST(AddressPlan, MessageNamesTheDeviceCount) {
  EXPECT_EQ(NotEnoughAddressesMessage(5000),
            L"There are not enough free addresses in the subnet for 5000 "
            L"devices.\r\nPlease check Start IP and Subnet mask.");
}

}  // namespace
