#include "core/wsdiscovery/scopes.h"

#include <gtest/gtest.h>

namespace {

const MacAddress MAC{0x00, 0x1A, 0x2B, 0x0C, 0xDE, 0xF0};

TEST(Scopes, ReadTheMacInEachWrittenForm) {
  const struct {
    const char* scope;
    std::optional<MacAddress> mac;
  } cases[] = {
      {"onvif://www.onvif.org/MAC/00:1A:2B:0C:DE:F0", MAC},
      {"onvif://www.onvif.org/mac/00-1a-2b-0c-de-f0", MAC},
      {"onvif://www.onvif.org/MAC/001A2B0CDEF0", MAC},
      {"onvif://www.onvif.org/Mac/001a.2b0c.def0", MAC},
      {"onvif://www.onvif.org/MAC/00_1A_2B_0C_DE_F0", MAC},
      {"onvif://www.onvif.org/MAC/00%3A1A%3A2B%3A0C%3ADE%3AF0", MAC},
      {"ONVIF://WWW.ONVIF.ORG/MAC/001a2b0cdef0", MAC},
      {"onvif://www.onvif.org/MAC/00:1A:2B:0C:DE", std::nullopt},
      {"onvif://www.onvif.org/MAC/00:1A:2B:0C:DE:FG", std::nullopt},
      {"onvif://www.onvif.org/MAC/", std::nullopt},
      {"onvif://www.onvif.org/hardware/001A2B0CDEF0", std::nullopt},
      {"http://example.org/MAC/001A2B0CDEF0", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scope);
    EXPECT_EQ(ReadScopes({c.scope}).mac, c.mac);
  }
}

TEST(Scopes, FirstOfEachCategoryWins) {
  const OnvifScopes read = ReadScopes(
      {"onvif://www.onvif.org/type/Network_Video_Transmitter",
       "onvif://www.onvif.org/name/", "onvif://www.onvif.org/name/First",
       "onvif://www.onvif.org/name/Second",
       "onvif://www.onvif.org/location/city/Bonn",
       "onvif://www.onvif.org/location/building/3",
       "onvif://www.onvif.org/MAC/nonsense",
       "onvif://www.onvif.org/MAC/001A2B0CDEF0"});
  EXPECT_EQ(read.name, "First");
  EXPECT_EQ(read.location, "city/Bonn");
  EXPECT_EQ(read.hardware, "");
  EXPECT_EQ(read.mac, MAC);  // the first that reads as one
}

TEST(Scopes, DecodedTextsAreValidUtf8) {
  const OnvifScopes read =
      ReadScopes({"onvif://www.onvif.org/name/%FF%FECam",
                  "onvif://www.onvif.org/location/Caf%E9",
                  "onvif://www.onvif.org/hardware/S%C3%BCd"});
  EXPECT_EQ(read.name,
            "\xEF\xBF\xBD\xEF\xBF\xBD"
            "Cam");
  EXPECT_EQ(read.location, "Caf\xEF\xBF\xBD");
  EXPECT_EQ(read.hardware,
            "S\xC3\xBC"
            "d");
}

TEST(Scopes, PercentDecoding) {
  const struct {
    const char* text;
    const char* decoded;
  } cases[] = {
      {"Front%20Door", "Front Door"},
      {"S%C3%BCd",
       "S\xC3\xBC"
       "d"},
      {"100%25", "100%"},
      {"50%", "50%"},
      {"%4", "%4"},
      {"%zz%2", "%zz%2"},
      {"a%00b%0Ac%7F", "a%00b%0Ac%7F"},
      {"plus+stays", "plus+stays"},
  };
  for (const auto& c : cases) EXPECT_EQ(PercentDecoded(c.text), c.decoded);
}

}  // namespace
