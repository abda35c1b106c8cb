// The command line's plan file reader with any bytes: it either reads rows
// that read back the same once written out again in each dialect a
// spreadsheet or PowerShell saves, or names the file and a line. The two
// readings differ only for a header without any setting column, which only
// numbering takes.
#include <cstdint>
#include <string>

#include "cli/device/found_device.h"
#include "cli/plan/plan_file.h"
#include "tests/fuzz/require.h"

namespace {

enum class Encoding { Utf8, Utf8Marked, Utf16Le, Utf16Be };

// How one dialect writes a plan. The names are in the order the cells are
// written: ip, mac, mask, gateway, mode, base_port, http_port.
struct Dialect {
  const char* preamble;
  const char* names[7];
  char separator;
  bool quoted;
  const char* lineEnd;
  Encoding encoding;
  std::string (*mac)(const DeviceInfo&);
  std::string (*mode)(std::int32_t);
};

const char* const WORDS[] = {"fixed", "dhcp", "pppoe"};

std::string ColonMac(const DeviceInfo& info) {
  return cli::MacString(info.macAddress);
}
std::string BareMac(const DeviceInfo& info) {
  std::string text;
  for (char c : cli::MacString(info.macAddress)) {
    if (c != ':') text.push_back(c);
  }
  return text;
}
std::string ModeWord(std::int32_t mode) { return WORDS[mode]; }
std::string ModeNumber(std::int32_t mode) { return std::to_string(mode); }

const Dialect DIALECTS[] = {
    {"",
     {"ip", "mac", "mask", "gateway", "mode", "base_port", "http_port"},
     ',',
     false,
     "\n",
     Encoding::Utf8,
     ColonMac,
     ModeWord},
    {"sep=;\r\n",
     {"IP address", "MAC address", "Subnet mask", "Gateway", "IP mode",
      "Base port", "HTTP port"},
     ';',
     false,
     "\r\n",
     Encoding::Utf8Marked,
     BareMac,
     cli::ModeText},
    {"",
     {"ip", "mac-address", "MASK", "gateway", "ip mode", "base-port",
      "http port"},
     '\t',
     false,
     "\r\n",
     Encoding::Utf16Le,
     ColonMac,
     cli::ModeText},
    {"#TYPE System.Management.Automation.PSCustomObject\r\n",
     {"ip", "mac", "mask", "gateway", "ip_mode", "base_port", "http_port"},
     ',',
     true,
     "\r\n",
     Encoding::Utf16Be,
     BareMac,
     ModeNumber},
};

template <typename T, typename Text>
std::string Cell(const std::optional<T>& value, Text text) {
  return value ? text(*value) : std::string();
}

// `text` is ASCII, so each byte is one UTF-16 unit.
std::string Encode(const std::string& text, Encoding encoding) {
  if (encoding == Encoding::Utf8) return text;
  if (encoding == Encoding::Utf8Marked) return "\xEF\xBB\xBF" + text;
  const bool little = encoding == Encoding::Utf16Le;
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char c : text)
    bytes += little ? std::string{c, '\0'} : std::string{'\0', c};
  return bytes;
}

std::string Rewrite(const std::vector<cli::PlanRow>& rows,
                    const Dialect& dialect) {
  auto line = [&dialect](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) text.push_back(dialect.separator);
      text += dialect.quoted ? "\"" + cells[i] + "\"" : cells[i];
    }
    return text + dialect.lineEnd;
  };
  auto number = [](std::int32_t value) { return std::to_string(value); };
  std::string text = dialect.preamble +
                     line(std::vector<std::string>(std::begin(dialect.names),
                                                   std::end(dialect.names)));
  for (const cli::PlanRow& row : rows) {
    DeviceInfo info;
    info.macAddress = row.mac;
    const cli::SettingsEdit& edit = row.edit;
    text += line({Cell(edit.ip, cli::Dotted), dialect.mac(info),
                  Cell(edit.mask, cli::Dotted), Cell(edit.gateway, cli::Dotted),
                  Cell(edit.mode, dialect.mode), Cell(edit.basePort, number),
                  Cell(edit.httpPort, number)});
  }
  return Encode(text, dialect.encoding);
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

void RequireWellFormed(const cli::PlanFile& plan) {
  if (!plan.ok) {
    FUZZ_REQUIRE(!plan.errors.empty());
    for (const std::string& error : plan.errors)
      FUZZ_REQUIRE(error.rfind("fuzz.csv:", 0) == 0);
    FUZZ_REQUIRE(plan.rows.empty());
    return;
  }
  FUZZ_REQUIRE(!plan.rows.empty());
  int line = 1;
  for (const cli::PlanRow& row : plan.rows) {
    FUZZ_REQUIRE(row.line > line);
    line = row.line;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(data, data + size);
  const cli::PlanFile kept =
      cli::ReadPlanCsv(text, "fuzz.csv", cli::BlankIp::Kept);
  const cli::PlanFile numbered =
      cli::ReadPlanCsv(text, "fuzz.csv", cli::BlankIp::Numbered);
  RequireWellFormed(kept);
  RequireWellFormed(numbered);
  if (kept.ok) {
    FUZZ_REQUIRE(numbered.ok);
    FUZZ_REQUIRE(SameRows(kept.rows, numbered.rows));
  } else if (numbered.ok) {
    const cli::SettingsEdit nothing;
    std::vector<cli::PlanRow> macsOnly = numbered.rows;
    for (cli::PlanRow& row : macsOnly) row.edit = nothing;
    FUZZ_REQUIRE(SameRows(macsOnly, numbered.rows));
  }
  if (!numbered.ok) return 0;
  for (const Dialect& dialect : DIALECTS) {
    const cli::PlanFile again = cli::ReadPlanCsv(
        Rewrite(numbered.rows, dialect), "again", cli::BlankIp::Numbered);
    FUZZ_REQUIRE(again.ok);
    FUZZ_REQUIRE(SameRows(numbered.rows, again.rows));
  }
  return 0;
}
