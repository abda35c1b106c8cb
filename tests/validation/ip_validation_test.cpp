#include "core/validation/ip_validation.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                           std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

IpInput GoodInput() {
  IpInput input;
  input.modeIndex = IP_MODE_FIXED;
  input.ipAddress = Ip(192, 168, 1, 10);
  input.subnetMask = Ip(255, 255, 255, 0);
  input.gateway = Ip(192, 168, 1, 1);
  input.basePortText = L"9010";
  input.httpPortText = L"80";
  return input;
}

struct PortCase {
  const wchar_t* text;
  std::int32_t value;
};

class PortParsing : public testing::TestWithParam<PortCase> {};

TEST_P(PortParsing, FollowsTheWcstolRule) {
  EXPECT_EQ(ParsePortText(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PortParsing,
    testing::Values(PortCase{L"1025", 1025}, PortCase{L"0080", 80},
                    PortCase{L"2222abc", 2222}, PortCase{L"abc", 0},
                    PortCase{L"", 0}, PortCase{L"  \t8080", 8080},
                    PortCase{L"+443", 443}, PortCase{L"-5", -5},
                    PortCase{L"+", 0}, PortCase{L"-", 0}, PortCase{L" - 5", 0},
                    PortCase{L"12 34", 12}, PortCase{L"2147483647", 2147483647},
                    PortCase{L"2147483648", 2147483647},
                    PortCase{L"99999999999", 2147483647},
                    PortCase{L"-2147483648", -2147483647 - 1},
                    PortCase{L"-99999999999", -2147483647 - 1},
                    PortCase{L"4294968321", 2147483647}));

struct FieldCase {
  const wchar_t* basePort;
  const wchar_t* httpPort;
  IpInputError error;
};

class PortFields : public testing::TestWithParam<FieldCase> {};

TEST_P(PortFields, GiveTheirCode) {
  IpInput input = GoodInput();
  input.basePortText = GetParam().basePort;
  input.httpPortText = GetParam().httpPort;
  EXPECT_EQ(ValidateIpSettings(input).error, GetParam().error)
      << "base '" << testing::PrintToString(std::wstring(GetParam().basePort))
      << "' http '" << testing::PrintToString(std::wstring(GetParam().httpPort))
      << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, PortFields,
    testing::Values(FieldCase{L"1025", L"80", IP_INPUT_OK},
                    FieldCase{L"65535", L"80", IP_INPUT_OK},
                    FieldCase{L"1024", L"80", IP_INPUT_BAD_BASE_PORT},
                    FieldCase{L"65536", L"80", IP_INPUT_BAD_BASE_PORT},
                    FieldCase{L"0", L"80", IP_INPUT_BAD_BASE_PORT},
                    FieldCase{L"80", L"80", IP_INPUT_BAD_BASE_PORT},
                    FieldCase{L"", L"80", IP_INPUT_NO_BASE_PORT},
                    FieldCase{L"abc", L"80", IP_INPUT_BAD_BASE_PORT},
                    FieldCase{L"2222abc", L"80", IP_INPUT_OK},
                    FieldCase{L"99999999999", L"80", IP_INPUT_BAD_BASE_PORT},
                    FieldCase{L"-64000", L"80", IP_INPUT_BAD_BASE_PORT},
                    FieldCase{L"9010", L"0080", IP_INPUT_OK},
                    FieldCase{L"9010", L"8080", IP_INPUT_OK},
                    FieldCase{L"9010", L"1025", IP_INPUT_OK},
                    FieldCase{L"9010", L"65535", IP_INPUT_OK},
                    FieldCase{L"9010", L"0", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"79", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"81", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"443", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"1024", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"65536", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"99999999999", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"abc", IP_INPUT_BAD_HTTP_PORT},
                    FieldCase{L"9010", L"", IP_INPUT_NO_HTTP_PORT},
                    FieldCase{L"", L"", IP_INPUT_NO_BASE_PORT},
                    FieldCase{L"1024", L"", IP_INPUT_BAD_BASE_PORT}));

struct NetworkCase {
  std::uint32_t ipAddress;
  std::uint32_t subnetMask;
  std::uint32_t gateway;
  IpInputError error;
};

class NetworkTest : public testing::TestWithParam<NetworkCase> {};

TEST_P(NetworkTest, WantsTheGatewayInTheSubnet) {
  IpInput input = GoodInput();
  input.ipAddress = GetParam().ipAddress;
  input.subnetMask = GetParam().subnetMask;
  input.gateway = GetParam().gateway;
  EXPECT_EQ(ValidateIpSettings(input).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, NetworkTest,
    testing::Values(NetworkCase{Ip(192, 168, 1, 10), Ip(255, 255, 255, 0),
                                Ip(192, 168, 2, 1), IP_INPUT_BAD_NETWORK},
                    NetworkCase{Ip(192, 168, 1, 10), Ip(255, 255, 255, 0),
                                Ip(192, 168, 1, 1), IP_INPUT_OK},
                    NetworkCase{Ip(10, 0, 0, 5), 0, Ip(192, 168, 1, 1),
                                IP_INPUT_OK},
                    NetworkCase{0, 0, 0, IP_INPUT_OK},
                    NetworkCase{Ip(10, 1, 2, 3), Ip(255, 0, 255, 0),
                                Ip(10, 9, 2, 7), IP_INPUT_OK},
                    NetworkCase{Ip(10, 1, 2, 3), Ip(255, 0, 255, 0),
                                Ip(10, 9, 3, 7), IP_INPUT_BAD_NETWORK},
                    NetworkCase{Ip(172, 16, 5, 4), Ip(255, 255, 0, 0),
                                Ip(172, 17, 0, 1), IP_INPUT_BAD_NETWORK}));

TEST(Validation, NetworkIsTestedInEveryMode) {
  for (std::int32_t mode : {IP_MODE_FIXED, IP_MODE_DHCP, IP_MODE_PPPOE, -1}) {
    IpInput input = GoodInput();
    input.modeIndex = mode;
    input.gateway = Ip(192, 168, 2, 1);
    EXPECT_EQ(ValidateIpSettings(input).error, IP_INPUT_BAD_NETWORK) << mode;
  }
}

TEST(Validation, BadNetworkComesBeforeAnEmptyBasePort) {
  IpInput input = GoodInput();
  input.gateway = Ip(192, 168, 2, 1);
  input.basePortText.clear();
  input.httpPortText.clear();
  EXPECT_EQ(ValidateIpSettings(input).error, IP_INPUT_BAD_NETWORK);
}

TEST(Validation, BadBasePortComesBeforeABadHttpPort) {
  IpInput input = GoodInput();
  input.basePortText = L"1";
  input.httpPortText = L"1";
  EXPECT_EQ(ValidateIpSettings(input).error, IP_INPUT_BAD_BASE_PORT);
}

TEST(Validation, ModeMinusOnePassesThrough) {
  IpInput input = GoodInput();
  input.modeIndex = -1;
  const IpValidation result = ValidateIpSettings(input);
  ASSERT_EQ(result.error, IP_INPUT_OK);
  EXPECT_EQ(result.settings.ipMode, -1);
}

TEST(Validation, ModesPassUnchanged) {
  for (std::int32_t mode : {IP_MODE_FIXED, IP_MODE_DHCP, IP_MODE_PPPOE}) {
    IpInput input = GoodInput();
    input.modeIndex = mode;
    EXPECT_EQ(ValidateIpSettings(input).settings.ipMode, mode);
  }
}

TEST(Validation, AddressesComeBackAsEntered) {
  IpInput input = GoodInput();
  input.ipAddress = Ip(192, 168, 10, 100);
  input.subnetMask = Ip(255, 255, 255, 0);
  input.gateway = Ip(192, 168, 10, 254);
  const IpValidation result = ValidateIpSettings(input);
  ASSERT_EQ(result.error, IP_INPUT_OK);
  EXPECT_EQ(result.settings.ipAddress, input.ipAddress);
  EXPECT_EQ(result.settings.subnetMask, input.subnetMask);
  EXPECT_EQ(result.settings.gateway, input.gateway);
}

TEST(Validation, PortsComeBackAsNumbers) {
  IpInput input = GoodInput();
  input.basePortText = L"2222abc";
  input.httpPortText = L"0080";
  const IpValidation result = ValidateIpSettings(input);
  ASSERT_EQ(result.error, IP_INPUT_OK);
  EXPECT_EQ(result.settings.basePort, 2222);
  EXPECT_EQ(result.settings.httpPort, 80);
}

struct MessageCase {
  IpInputError error;
  const wchar_t* message;
  IpInputFocus focus;
};

class Messages : public testing::TestWithParam<MessageCase> {};

TEST_P(Messages, NameTheTextAndTheField) {
  EXPECT_EQ(IpInputErrorMessage(GetParam().error), GetParam().message);
  EXPECT_EQ(IpInputErrorFocus(GetParam().error), GetParam().focus);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Messages,
    testing::Values(
        MessageCase{IP_INPUT_OK, L"", IpInputFocus::Unchanged},
        MessageCase{IP_INPUT_BAD_NETWORK,
                    L"Invalid network setting.\r\nPlease check IP address, "
                    L"Subnet Mask, Gateway.",
                    IpInputFocus::Unchanged},
        MessageCase{IP_INPUT_NO_BASE_PORT,
                    L"Please insert a base port number.\r\n",
                    IpInputFocus::BasePort},
        MessageCase{IP_INPUT_BAD_BASE_PORT,
                    L"Invalid base port number.\r\nBase port number must "
                    L"have a value of 1025~65535.",
                    IpInputFocus::BasePort},
        MessageCase{IP_INPUT_NO_HTTP_PORT,
                    L"Please insert a http port number.\r\n",
                    IpInputFocus::HttpPort},
        MessageCase{IP_INPUT_BAD_HTTP_PORT,
                    L"Invalid http port number.\r\nHttp port number must "
                    L"have 80 or a value of 1025~65535.",
                    IpInputFocus::HttpPort}));

}  // namespace
