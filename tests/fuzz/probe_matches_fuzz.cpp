// The ProbeMatches reader over whatever arrives on the WS-Discovery port: it
// reads a reply within its caps or refuses it with nothing half read, and
// the address chosen from a reply's XAddrs is one of them and routable. The
// same bytes go through the Probe reader, and every probe we would send for
// a generator started from them reads back with its own MessageID.
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "core/wsdiscovery/probe_matches.h"
#include "core/wsdiscovery/probe_message.h"
#include "core/wsdiscovery/xaddrs.h"
#include "tests/fuzz/require.h"

namespace {

void CheckMatch(const ProbeMatch& match) {
  FUZZ_REQUIRE(match.endpoint.size() <= XML_MAX_TEXT);
  for (const std::string& scope : match.scopes)
    FUZZ_REQUIRE(PercentDecoded(scope).size() <= scope.size());
  const std::optional<std::uint32_t> address =
      DeviceAddress(match.xaddrs, Subnet{});
  if (!address) return;
  FUZZ_REQUIRE((*address >> 16) != 0xA9FE);
  bool listed = false;
  for (const std::string& xaddr : match.xaddrs)
    listed = listed || XAddrHost(xaddr) == address;
  FUZZ_REQUIRE(listed);
}

void CheckOwnProbe(const std::uint8_t* data, std::size_t size) {
  std::uint64_t seed = 0;
  std::memcpy(&seed, data, size < sizeof seed ? size : sizeof seed);
  std::mt19937_64 random(seed);
  const std::string id = RandomMessageId(random);
  for (ProbeType type :
       {ProbeType::NetworkVideoTransmitter, ProbeType::Device}) {
    const std::string probe = ProbeMessage(type, id);
    const ProbeReading read = ReadProbe(
        reinterpret_cast<const std::uint8_t*>(probe.data()), probe.size());
    FUZZ_REQUIRE(read.status == ProbeStatus::Ok);
    FUZZ_REQUIRE(read.messageId == id);
    FUZZ_REQUIRE(read.types.size() == 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const ProbeMatches read = ReadProbeMatches(data, size);
  FUZZ_REQUIRE(read.matches.size() <= MAX_PROBE_MATCHES);
  if (read.status != MatchesStatus::Ok) FUZZ_REQUIRE(read.matches.empty());
  if (size > XML_MAX_INPUT)
    FUZZ_REQUIRE(read.status == MatchesStatus::TooLarge);
  for (const ProbeMatch& match : read.matches) CheckMatch(match);

  const ProbeReading probe = ReadProbe(data, size);
  if (probe.status != ProbeStatus::Ok) FUZZ_REQUIRE(probe.types.empty());
  CheckOwnProbe(data, size);
  return 0;
}
