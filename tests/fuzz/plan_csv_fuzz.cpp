// The command line's plan file reader with any text: it either reads rows
// that read back the same once written out plainly, or names the file and a
// line.
#include <cstdint>
#include <string>

#include "cli/found_device.h"
#include "cli/plan_file.h"
#include "tests/fuzz/require.h"

namespace {

const char* const MODES[] = {"fixed", "dhcp", "pppoe"};

template <typename T, typename Text>
std::string Cell(const std::optional<T>& value, Text text) {
  return value ? text(*value) : std::string();
}

std::string Rewrite(const std::vector<cli::PlanRow>& rows) {
  auto number = [](std::int32_t value) { return std::to_string(value); };
  std::string text = "ip,mac,mask,gateway,mode,base_port,http_port\n";
  for (const cli::PlanRow& row : rows) {
    DeviceInfo info;
    info.macAddress = row.mac;
    const cli::SettingsEdit& edit = row.edit;
    text +=
        cli::Dotted(*edit.ip) + "," + cli::MacString(info) + "," +
        Cell(edit.mask, cli::Dotted) + "," + Cell(edit.gateway, cli::Dotted) +
        "," + Cell(edit.mode, [](std::int32_t m) { return MODES[m]; }) + "," +
        Cell(edit.basePort, number) + "," + Cell(edit.httpPort, number) + "\n";
  }
  return text;
}

bool SameRows(const std::vector<cli::PlanRow>& a,
              const std::vector<cli::PlanRow>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const cli::SettingsEdit& x = a[i].edit;
    const cli::SettingsEdit& y = b[i].edit;
    if (a[i].mac != b[i].mac || x.ip != y.ip || x.mask != y.mask ||
        x.gateway != y.gateway || x.mode != y.mode ||
        x.basePort != y.basePort || x.httpPort != y.httpPort)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(data, data + size);
  const cli::PlanFile plan = cli::ReadPlanCsv(text, "fuzz.csv");
  if (!plan.ok) {
    FUZZ_REQUIRE(plan.error.rfind("fuzz.csv:", 0) == 0);
    FUZZ_REQUIRE(plan.rows.empty());
    return 0;
  }
  FUZZ_REQUIRE(!plan.rows.empty());
  int line = 1;
  for (const cli::PlanRow& row : plan.rows) {
    FUZZ_REQUIRE(row.line > line && row.edit.ip.has_value());
    line = row.line;
  }
  const cli::PlanFile again = cli::ReadPlanCsv(Rewrite(plan.rows), "again");
  FUZZ_REQUIRE(again.ok);
  FUZZ_REQUIRE(SameRows(plan.rows, again.rows));
  return 0;
}
