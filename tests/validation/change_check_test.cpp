// The change checker, case by case: what it finds and what the window's
// single change refuses of it. The numbering from a start address and the
// command line's statuses for the same problems are in their own tests.
#include "core/validation/change_check.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Kind = ChangeProblemKind;

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                           std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

MacAddress MacOf(std::uint8_t last) { return {0x02, 0, 0x5E, 0, 0, last}; }

// The device changed: 10.77.0.11/24, gateway .1, ports 8000 and 80. It
// shares its address with 03; 02 shows .12, 04 is planned to .60, and this
// computer has .2.
DeviceInfo Current() {
  DeviceInfo device;
  device.macAddress = MacOf(1);
  device.ipAddress = Ip(10, 77, 0, 11);
  device.subnetMask = Ip(255, 255, 255, 0);
  device.gateway = Ip(10, 77, 0, 1);
  device.basePort = 8000;
  device.httpPort = 80;
  return device;
}

struct Edit {
  std::uint32_t ip = Ip(10, 77, 0, 11);
  std::uint32_t mask = Ip(255, 255, 255, 0);
  std::uint32_t gateway = Ip(10, 77, 0, 1);
  std::int32_t basePort = 8000;
  std::int32_t httpPort = 80;
};

struct Case {
  const char* what;
  Edit edit;
  std::vector<Kind> found;
  std::optional<Kind> windowRefuses;
  const wchar_t* firstMessage;
  Edit shows = {};  // what the device has before the change
};

constexpr std::uint32_t MASK24 = Ip(255, 255, 255, 0);

const Case CASES[] = {
    {"a free address", {Ip(10, 77, 0, 50)}, {}, {}, L""},
    {"gateway outside the subnet",
     {Ip(10, 77, 0, 50), Ip(255, 255, 255, 0), Ip(10, 78, 0, 1)},
     {Kind::GatewayOutsideSubnet},
     {},
     L"Invalid network setting.\r\nPlease check IP address, Subnet Mask, "
     L"Gateway."},
    {"base port 80",
     {Ip(10, 77, 0, 50), Ip(255, 255, 255, 0), Ip(10, 77, 0, 1), 80},
     {Kind::BadBasePort},
     {},
     L"Invalid base port number.\r\nBase port number must have a value of "
     L"1025~65535."},
    {"http port 443",
     {Ip(10, 77, 0, 50), Ip(255, 255, 255, 0), Ip(10, 77, 0, 1), 8000, 443},
     {Kind::BadHttpPort},
     {},
     L"Invalid http port number.\r\nHttp port number must have 80 or a value "
     L"of 1025~65535."},
    {"mask 0.0.0.0",
     {Ip(10, 77, 0, 50), 0},
     {Kind::ZeroMask, Kind::ZeroAddress},
     Kind::ZeroAddress,
     L"0.0.0.0 (/0) is no subnet mask for a device: it makes every IPv4 "
     L"address one subnet"},
    {"a mask whose ones do not come first",
     {Ip(10, 77, 253, 50), Ip(255, 255, 0, 255), Ip(10, 77, 0, 1)},
     {Kind::NonContiguousMask, Kind::GatewayOutsideSubnet},
     {},
     L"255.255.0.255 is not a subnet mask: its ones must come first"},
    {"a /31, on its broadcast address",
     {Ip(10, 77, 0, 51), Ip(255, 255, 255, 254), Ip(10, 77, 0, 50)},
     {Kind::HostlessMask, Kind::BroadcastAddress},
     {},
     L"255.255.255.254 (/31) leaves no address for a device beside the "
     L"network and broadcast addresses"},
    {"a /32",
     {Ip(10, 77, 0, 50), Ip(255, 255, 255, 255), Ip(10, 77, 0, 50)},
     {Kind::HostlessMask, Kind::NetworkAddress, Kind::BroadcastAddress,
      Kind::GatewayAddress},
     Kind::NetworkAddress,
     L"255.255.255.255 (/32) leaves no address for a device beside the "
     L"network and broadcast addresses"},
    {"a mask-only change that makes the address the broadcast address",
     {Ip(10, 77, 0, 127), Ip(255, 255, 255, 128)},
     {Kind::BroadcastAddress},
     {},
     L"10.77.0.127 is the subnet's broadcast address",
     {Ip(10, 77, 0, 127)}},
    {"a gateway-only change to the device's own address, which 03 shares",
     {Ip(10, 77, 0, 11), MASK24, Ip(10, 77, 0, 11)},
     {Kind::GatewayAddress},
     {},
     L"10.77.0.11 is the gateway"},
    {"an address change of a device on ports 80 and 81",
     {Ip(10, 77, 0, 50), MASK24, Ip(10, 77, 0, 1), 80, 81},
     {},
     {},
     L"",
     {Ip(10, 77, 0, 11), MASK24, Ip(10, 77, 0, 1), 80, 81}},
    {"a port change of a device that shows mask 0, which the window tests",
     {Ip(10, 77, 0, 11), 0, Ip(10, 77, 0, 1), 8000, 8080},
     {},
     Kind::ZeroAddress,
     L"",
     {Ip(10, 77, 0, 11), 0}},
    {"every setting as the device has it, the ports and gateway refused",
     {Ip(10, 77, 0, 11), MASK24, Ip(10, 78, 0, 1), -1, 81},
     {},
     {},
     L"",
     {Ip(10, 77, 0, 11), MASK24, Ip(10, 78, 0, 1), -1, 81}},
    {"the network address",
     {Ip(10, 77, 0, 0)},
     {Kind::NetworkAddress},
     Kind::NetworkAddress,
     L"The combination of IP address and subnet mask is invalid.\n Please "
     L"enter a valid combination of IP address and subnet mask."},
    {"the broadcast address, which the window sends",
     {Ip(10, 77, 0, 255)},
     {Kind::BroadcastAddress},
     {},
     L"10.77.0.255 is the subnet's broadcast address"},
    {"the gateway's address",
     {Ip(10, 77, 0, 1)},
     {Kind::GatewayAddress},
     {},
     L"10.77.0.1 is the gateway"},
    {"this computer's address",
     {Ip(10, 77, 0, 2)},
     {Kind::LocalAdapterAddress},
     {},
     L"10.77.0.2 is an address of this computer"},
    {"another device's address",
     {Ip(10, 77, 0, 12)},
     {Kind::ShownByDevice},
     {},
     L"10.77.0.12 is already the address of 02:00:5E:00:00:02"},
    {"an address planned for another row",
     {Ip(10, 77, 0, 60)},
     {Kind::PlannedTwice},
     {},
     L"10.77.0.60 is also planned for 02:00:5E:00:00:04"},
    {"every problem, input checks first",
     {Ip(10, 77, 0, 1), Ip(255, 255, 255, 0), Ip(10, 77, 0, 1), 8000, 81},
     {Kind::BadHttpPort, Kind::GatewayAddress},
     {},
     L"Invalid http port number.\r\nHttp port number must have 80 or a value "
     L"of 1025~65535."},
    {"a shared address kept while the port changes",
     {Ip(10, 77, 0, 11), Ip(255, 255, 255, 0), Ip(10, 77, 0, 1), 8000, 8080},
     {},
     {},
     L""},
};

TEST(ChangeCheck, FindsEachProblemAndEachFrontEndActsOnItsOwn) {
  AddressBook shown;
  shown.Add(Ip(10, 77, 0, 11), MacOf(1));
  shown.Add(Ip(10, 77, 0, 11), MacOf(3));
  shown.Add(Ip(10, 77, 0, 12), MacOf(2));
  AddressBook planned;
  planned.Add(Ip(10, 77, 0, 60), MacOf(4));
  planned.Add(Ip(10, 77, 0, 50), MacOf(1));  // this row's own plan
  const ChangeContext context{&shown, {Ip(10, 77, 0, 2)}, &planned};

  for (const Case& c : CASES) {
    IpSettings proposed;
    proposed.ipAddress = c.edit.ip;
    proposed.subnetMask = c.edit.mask;
    proposed.gateway = c.edit.gateway;
    proposed.basePort = c.edit.basePort;
    proposed.httpPort = c.edit.httpPort;
    DeviceInfo current = Current();
    current.ipAddress = c.shows.ip;
    current.subnetMask = c.shows.mask;
    current.gateway = c.shows.gateway;
    current.basePort = c.shows.basePort;
    current.httpPort = c.shows.httpPort;
    const std::vector<ChangeProblem> problems = CheckChange(
        proposed, SettingsFromDeviceInfo(current), current.macAddress, context);
    std::vector<Kind> found;
    for (const ChangeProblem& problem : problems) {
      found.push_back(problem.kind);
      EXPECT_EQ(problem.address, c.edit.ip) << c.what;
      EXPECT_EQ(problem.mask, c.edit.mask) << c.what;
    }
    EXPECT_EQ(found, c.found) << c.what;
    EXPECT_EQ(problems.empty() ? L"" : ChangeProblemMessage(problems[0]),
              c.firstMessage)
        << c.what;
    const auto refusal = WindowSingleChangeRefusal(proposed);
    EXPECT_EQ(refusal ? std::optional<Kind>(refusal->kind) : std::nullopt,
              c.windowRefuses)
        << c.what;
  }
}

TEST(ChangeCheck, MasksOfNoUseToADeviceAreInputProblems) {
  const struct {
    std::uint32_t mask;
    std::optional<Kind> problem;
  } CASES[] = {
      {MASK24, {}},
      {Ip(128, 0, 0, 0), {}},
      {Ip(255, 255, 255, 252), {}},
      {0, Kind::ZeroMask},
      {Ip(255, 255, 255, 254), Kind::HostlessMask},
      {Ip(255, 255, 255, 255), Kind::HostlessMask},
      {Ip(255, 255, 0, 255), Kind::NonContiguousMask},
      {Ip(0, 255, 255, 255), Kind::NonContiguousMask},
      {Ip(255, 255, 255, 253), Kind::NonContiguousMask},
  };
  for (const auto& c : CASES) {
    const auto problem = MaskProblem(c.mask);
    EXPECT_EQ(problem ? std::optional<Kind>(problem->kind) : std::nullopt,
              c.problem)
        << c.mask;
    EXPECT_TRUE(!problem || IsInputProblem(problem->kind)) << c.mask;
  }
  EXPECT_FALSE(IsInputProblem(Kind::ZeroAddress));
}

}  // namespace
