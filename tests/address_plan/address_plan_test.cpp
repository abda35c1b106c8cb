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

TEST(AddressPlan, AssignsConsecutiveAddressesFromTheStart) {
  const AddressPlan plan = PlanAddresses(Ip(192, 168, 1, 10), CLASS_C, 3, {});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses, (Addresses{Ip(192, 168, 1, 10), Ip(192, 168, 1, 11),
                                       Ip(192, 168, 1, 12)}));
}

TEST(AddressPlan, NoTargetsNeedNoAddress) {
  const AddressPlan plan = PlanAddresses(Ip(192, 168, 1, 10), CLASS_C, 0, {});
  EXPECT_TRUE(plan.enough);
  EXPECT_TRUE(plan.addresses.empty());
}

TEST(AddressPlan, SkipsAddressesOfOtherListedDevices) {
  const AddressPlan plan =
      PlanAddresses(Ip(192, 168, 1, 10), CLASS_C, 3,
                    {Ip(192, 168, 1, 11), Ip(192, 168, 1, 13),
                     Ip(192, 168, 1, 9), Ip(10, 0, 0, 12)});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses, (Addresses{Ip(192, 168, 1, 10), Ip(192, 168, 1, 12),
                                       Ip(192, 168, 1, 14)}));
}

TEST(AddressPlan, SkipsTheStartWhenAnotherDeviceShowsIt) {
  const AddressPlan plan =
      PlanAddresses(Ip(192, 168, 1, 10), CLASS_C, 1, {Ip(192, 168, 1, 10)});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses, (Addresses{Ip(192, 168, 1, 11)}));
}

TEST(AddressPlan, DuplicatesInTheTakenListCountOnce) {
  const AddressPlan plan =
      PlanAddresses(Ip(192, 168, 1, 252), CLASS_C, 2,
                    {Ip(192, 168, 1, 253), Ip(192, 168, 1, 253)});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses,
            (Addresses{Ip(192, 168, 1, 252), Ip(192, 168, 1, 254)}));
}

TEST(AddressPlan, SkipsTheNetworkAddressAtTheStart) {
  const AddressPlan plan = PlanAddresses(Ip(192, 168, 1, 0), CLASS_C, 2, {});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses,
            (Addresses{Ip(192, 168, 1, 1), Ip(192, 168, 1, 2)}));
}

TEST(AddressPlan, StopsBeforeTheBroadcastAddress) {
  const AddressPlan plan = PlanAddresses(Ip(192, 168, 1, 253), CLASS_C, 2, {});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses,
            (Addresses{Ip(192, 168, 1, 253), Ip(192, 168, 1, 254)}));
}

TEST(AddressPlan, RefusesToWrapPastTheSubnetEnd) {
  const AddressPlan plan = PlanAddresses(Ip(192, 168, 1, 253), CLASS_C, 3, {});
  EXPECT_FALSE(plan.enough);
  EXPECT_TRUE(plan.addresses.empty());
}

TEST(AddressPlan, StartAtTheBroadcastAddressHasNoRoom) {
  const AddressPlan plan = PlanAddresses(Ip(192, 168, 1, 255), CLASS_C, 1, {});
  EXPECT_FALSE(plan.enough);
}

TEST(AddressPlan, TakenAddressesCanLeaveTooFew) {
  Addresses taken;
  for (std::uint32_t d = 2; d <= 254; ++d) taken.push_back(Ip(10, 1, 1, d));
  EXPECT_FALSE(PlanAddresses(Ip(10, 1, 1, 1), CLASS_C, 2, taken).enough);
  const AddressPlan one = PlanAddresses(Ip(10, 1, 1, 1), CLASS_C, 1, taken);
  ASSERT_TRUE(one.enough);
  EXPECT_EQ(one.addresses, (Addresses{Ip(10, 1, 1, 1)}));
}

TEST(AddressPlan, WholeClassCHas254Addresses) {
  EXPECT_TRUE(PlanAddresses(Ip(192, 168, 1, 0), CLASS_C, 254, {}).enough);
  EXPECT_FALSE(PlanAddresses(Ip(192, 168, 1, 0), CLASS_C, 255, {}).enough);
}

TEST(AddressPlan, SlashThirtyHasTwoHosts) {
  const std::uint32_t mask = Ip(255, 255, 255, 252);
  const AddressPlan plan = PlanAddresses(Ip(10, 0, 0, 4), mask, 2, {});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses, (Addresses{Ip(10, 0, 0, 5), Ip(10, 0, 0, 6)}));
  EXPECT_FALSE(PlanAddresses(Ip(10, 0, 0, 4), mask, 3, {}).enough);
}

// Point-to-point subnets have no address besides network and broadcast by
// the rule of the plan, so they never have room.
TEST(AddressPlan, SlashThirtyOneAndThirtyTwoHaveNoRoom) {
  EXPECT_FALSE(
      PlanAddresses(Ip(10, 0, 0, 4), Ip(255, 255, 255, 254), 1, {}).enough);
  EXPECT_FALSE(
      PlanAddresses(Ip(10, 0, 0, 5), Ip(255, 255, 255, 254), 1, {}).enough);
  EXPECT_FALSE(
      PlanAddresses(Ip(10, 0, 0, 4), Ip(255, 255, 255, 255), 1, {}).enough);
}

TEST(AddressPlan, NonContiguousMaskStaysInsideTheSubnet) {
  // Mask 255.255.0.255: the third number is the host part.
  const std::uint32_t mask = Ip(255, 255, 0, 255);
  const AddressPlan plan = PlanAddresses(Ip(10, 1, 253, 7), mask, 2, {});
  ASSERT_TRUE(plan.enough);
  EXPECT_EQ(plan.addresses, (Addresses{Ip(10, 1, 253, 7), Ip(10, 1, 254, 7)}));
  EXPECT_FALSE(PlanAddresses(Ip(10, 1, 253, 7), mask, 3, {}).enough);
}

TEST(AddressPlan, FiveThousandTargetsInASlashSixteen) {
  const std::uint32_t mask = Ip(255, 255, 0, 0);
  Addresses taken;
  for (std::uint32_t i = 0; i < 3000; ++i)
    taken.push_back(Ip(172, 16, 0, 0) + 7 * i + 3);
  const AddressPlan plan = PlanAddresses(Ip(172, 16, 0, 0), mask, 5000, taken);
  ASSERT_TRUE(plan.enough);
  ASSERT_EQ(plan.addresses.size(), 5000u);
  const std::set<std::uint32_t> takenSet(taken.begin(), taken.end());
  std::uint32_t previous = Ip(172, 16, 0, 0);
  for (std::uint32_t address : plan.addresses) {
    EXPECT_GT(address, previous);
    EXPECT_EQ(address & mask, Ip(172, 16, 0, 0));
    EXPECT_EQ(takenSet.count(address), 0u);
    for (std::uint32_t skipped = previous + 1; skipped < address; ++skipped)
      EXPECT_EQ(takenSet.count(skipped), 1u);
    previous = address;
  }
}

TEST(AddressPlan, FiveThousandTargetsNearTheEndOfASlashSixteen) {
  const std::uint32_t mask = Ip(255, 255, 0, 0);
  EXPECT_TRUE(PlanAddresses(Ip(172, 16, 236, 119), mask, 5000, {}).enough);
  EXPECT_FALSE(PlanAddresses(Ip(172, 16, 236, 120), mask, 5000, {}).enough);
}

TEST(AddressPlan, MessageNamesTheDeviceCount) {
  EXPECT_EQ(NotEnoughAddressesMessage(5000),
            L"There are not enough free addresses in the subnet for 5000 "
            L"devices.\r\nPlease check Start IP and Subnet mask.");
}

}  // namespace
