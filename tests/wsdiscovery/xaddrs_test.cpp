#include "core/wsdiscovery/xaddrs.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                           std::uint32_t d) {
  return a << 24 | b << 16 | c << 8 | d;
}

TEST(XAddrs, HostOfAnIpv4LiteralOnly) {
  const struct {
    const char* xaddr;
    std::optional<std::uint32_t> host;
  } cases[] = {
      {"http://10.1.2.3/onvif/device_service", Ip(10, 1, 2, 3)},
      {"http://10.1.2.3:8080/onvif/device_service", Ip(10, 1, 2, 3)},
      {"https://10.1.2.3", Ip(10, 1, 2, 3)},
      {"http://admin@10.1.2.3:80/", Ip(10, 1, 2, 3)},
      {"http://10.1.2.3?x=1", Ip(10, 1, 2, 3)},
      {"http://[fe80::1]/onvif/device_service", std::nullopt},
      {"http://camera.local/onvif/device_service", std::nullopt},
      {"http://10.1.2.300/", std::nullopt},
      {"10.1.2.3", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xaddr);
    EXPECT_EQ(XAddrHost(c.xaddr), c.host);
  }
}

TEST(XAddrs, DeviceAddressSkipsLinkLocalAndPrefersTheAdapter) {
  const Subnet any;
  const Subnet adapter{Ip(10, 77, 0, 1), 0xFFFFFF00};
  const std::string linkLocal = "http://169.254.12.7/onvif/device_service";
  const std::string other = "http://192.168.5.20/onvif/device_service";
  const std::string ours = "http://10.77.0.60:8080/onvif/device_service";
  const struct {
    std::vector<std::string> xaddrs;
    Subnet preferred;
    std::optional<std::uint32_t> address;
  } cases[] = {
      {{linkLocal, ours}, any, Ip(10, 77, 0, 60)},
      {{linkLocal, other, ours}, any, Ip(192, 168, 5, 20)},
      {{linkLocal, other, ours}, adapter, Ip(10, 77, 0, 60)},
      {{other}, adapter, Ip(192, 168, 5, 20)},
      {{linkLocal}, adapter, std::nullopt},
      {{"http://[fe80::1]/", "http://cam.local/"}, any, std::nullopt},
      {{}, any, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DeviceAddress(c.xaddrs, c.preferred), c.address);
  }
}

}  // namespace
