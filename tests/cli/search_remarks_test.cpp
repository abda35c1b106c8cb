// What a search says beside its devices: the devices beyond the listed ones
// and, when none answered, the adapters searched.
#include "cli/network/search_remarks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/protocol/datagram.h"
#include "platform/firewall_note.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

TEST(SearchRemarks, DevicesBeyondTheListedOnesAreCounted) {
  using Count = TurnedAway::Count;
  const struct {
    TurnedAway away;
    std::string text;
  } CASES[] = {
      {{0, Count::Exact}, ""},
      {{1, Count::Exact}, "1 more device answered beyond the 65536 listed"},
      {{1234, Count::Exact},
       "1234 more devices answered beyond the 65536 listed"},
      {{65536, Count::MoreThan},
       "more than 65536 more devices answered beyond the 65536 listed"},
  };
  for (const auto& c : CASES)
    EXPECT_EQ(BeyondCapText(c.away, 65536), c.text) << c.away.devices;
}

TEST(SearchRemarks, NothingAnsweredNamesTheAdaptersSearched) {
  const std::vector<LocalAdapter> two{{Ip(10, 77, 0, 1), MASK24},
                                      {Ip(10, 78, 0, 1), MASK24}};
  const std::vector<LocalAdapter> three{
      two[0], two[1], {Ip(192, 168, 1, 5), 0xFFFF0000u}};
  const struct {
    std::vector<LocalAdapter> local;
    std::uint32_t chosen;
    std::string searched;
  } CASES[] = {
      {{two[0]}, 0, "searched through 10.77.0.1 (mask 255.255.255.0)"},
      {two, 0,
       "searched through 10.77.0.1 (mask 255.255.255.0) and 10.78.0.1 (mask "
       "255.255.255.0)"},
      {three, 0,
       "searched through 10.77.0.1 (mask 255.255.255.0), 10.78.0.1 (mask "
       "255.255.255.0) and 192.168.1.5 (mask 255.255.0.0)"},
      {three, Ip(10, 78, 0, 1),
       "searched through 10.78.0.1 (mask 255.255.255.0) only, as --adapter "
       "asks"},
  };
  const std::vector<std::string> note = FirewallNote(DISCOVERY_PORT);
  for (const auto& c : CASES) {
    const std::vector<std::string> lines =
        NothingAnsweredLines(c.local, c.chosen);
    ASSERT_EQ(lines.size(), 2 + note.size()) << c.searched;
    EXPECT_EQ(lines[0], "no device answered");
    EXPECT_EQ(lines[1], c.searched);
    EXPECT_TRUE(std::equal(note.begin(), note.end(), lines.begin() + 2));
  }
  // ONVIF answers never hide a port blocked for our protocol.
  const std::vector<std::string> lines =
      NothingAnsweredLines({two[0]}, 0, Unheard::OurProtocol);
  EXPECT_EQ(lines[0], "no device answered Quellan's own protocol");
  EXPECT_EQ(lines.size(), 2 + note.size());
}

TEST(SearchRemarks, UnreadRepliesAreCountedByReason) {
  using S = MatchesStatus;
  const struct {
    std::map<MatchesStatus, std::uint64_t> refused;
    std::string text;
  } CASES[] = {
      {{}, ""},
      {{{S::Discovery2009, 0}}, ""},
      {{{S::Discovery2009, 2}, {S::Doctype, 1}},
       "3 WS-Discovery replies could not be read: a DOCTYPE (1), the 2009/01 "
       "discovery namespace (2)"},
      {{{S::Malformed, 1}},
       "1 WS-Discovery reply could not be read: a truncated or malformed "
       "body (1)"},
      {{{S::Addressing2005, 4}, {S::NotProbeMatches, 1}, {S::TooLarge, 1}},
       "6 WS-Discovery replies could not be read: over the size limits (1), "
       "the 2005/08 addressing namespace (4), not a ProbeMatches (1)"},
  };
  for (const auto& c : CASES) EXPECT_EQ(UnreadRepliesText(c.refused), c.text);
  EXPECT_TRUE(OnvifMissLines(0, 0).empty());
  EXPECT_EQ(OnvifMissLines(1, 4),
            (std::vector<std::string>{
                "1 WS-Discovery reply answered no probe of this search",
                "4 ONVIF probes could not be sent"}));
}

}  // namespace
}  // namespace cli
