#include "core/validation/address_pair.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                           std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

struct PairCase {
  std::uint32_t ipAddress;
  std::uint32_t subnetMask;
  AddressPairOutcome outcome;
};

class AddressPair : public testing::TestWithParam<PairCase> {};

TEST_P(AddressPair, GivesItsOutcome) {
  const PairCase& c = GetParam();
  EXPECT_EQ(IsValidAddressPair(c.ipAddress, c.subnetMask), c.outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, AddressPair,
    testing::Values(PairCase{0, Ip(255, 255, 255, 0), AddressPairOutcome::Zero},
                    PairCase{Ip(192, 168, 1, 10), 0, AddressPairOutcome::Zero},
                    PairCase{0, 0, AddressPairOutcome::Zero},
                    PairCase{Ip(192, 168, 1, 0), Ip(255, 255, 255, 0),
                             AddressPairOutcome::Combination},
                    PairCase{Ip(10, 0, 0, 0), Ip(255, 0, 0, 0),
                             AddressPairOutcome::Combination},
                    PairCase{Ip(192, 168, 1, 10), Ip(255, 255, 255, 255),
                             AddressPairOutcome::Combination},
                    PairCase{Ip(192, 168, 1, 10), Ip(255, 255, 255, 0),
                             AddressPairOutcome::Valid},
                    PairCase{Ip(192, 168, 1, 255), Ip(255, 255, 255, 0),
                             AddressPairOutcome::Valid},
                    PairCase{Ip(10, 255, 255, 255), Ip(255, 0, 0, 0),
                             AddressPairOutcome::Valid},
                    PairCase{Ip(192, 168, 1, 1), Ip(255, 255, 255, 254),
                             AddressPairOutcome::Valid}));

TEST(AddressPairMessages, AreTheTextsOfTheSingleChange) {
  EXPECT_EQ(AddressPairMessage(AddressPairOutcome::Valid), L"");
  EXPECT_EQ(AddressPairMessage(AddressPairOutcome::Zero),
            L"You entered an invalid parameter.\n Please check IP address, "
            L"Gateway and Subnet mask.");
  EXPECT_EQ(AddressPairMessage(AddressPairOutcome::Combination),
            L"The combination of IP address and subnet mask is invalid.\n "
            L"Please enter a valid combination of IP address and subnet "
            L"mask.");
}

}  // namespace
