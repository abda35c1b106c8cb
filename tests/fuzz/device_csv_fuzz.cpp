// The simulator's device file reader with any text: it either reads devices
// that survive being written and read again, or names a line and a reason.
#include <cstdint>
#include <string>

#include "tests/fuzz/require.h"
#include "tools/devsim/device_csv.h"

namespace {

bool SameDevices(const std::vector<devsim::SimDevice>& a,
                 const std::vector<devsim::SimDevice>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!(a[i].info == b[i].info) || a[i].bodyLength != b[i].bodyLength ||
        a[i].repeat != b[i].repeat || a[i].replySize != b[i].replySize)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(data, data + size);
  const devsim::CsvResult read = devsim::ReadDeviceCsv(text, "fuzz.csv", 1);
  if (!read.ok) {
    FUZZ_REQUIRE(read.error.rfind("fuzz.csv:", 0) == 0);
    return 0;
  }
  const devsim::CsvResult again = devsim::ReadDeviceCsv(
      devsim::WriteDeviceCsv(read.devices), "again.csv", 1);
  FUZZ_REQUIRE(again.ok);
  FUZZ_REQUIRE(SameDevices(read.devices, again.devices));
  return 0;
}
