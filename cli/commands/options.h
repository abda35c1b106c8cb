// The command line of quellan-cli, parsed without side effects.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/device/device_fields.h"
#include "cli/device/settings_edit.h"
#include "cli/format/progress_line.h"
#include "cli/network/discovery.h"
#include "cli/plan/temporary_range.h"
#include "core/text/option_loop.h"

namespace cli {

enum class Command { None, Search, Set, Plan, Watch };

// The shortest pause between two searches of watch: the network is shared.
constexpr int MIN_WATCH_INTERVAL = 5;

struct Options {
  Command command = Command::None;
  bool help = false;
  bool version = false;
  Format format = Format::Table;
  // --quiet: no progress line on a terminal either.
  Progress progress = Progress::Shown;
  // --output: the report's file, written whole or not at all; empty for
  // standard output.
  std::string output;
  // The first search's window.
  std::chrono::milliseconds timeout{3000};
  // The local address the requests leave through; 0 for every adapter.
  std::uint32_t adapter = 0;
  // --protocol; none: ours for search and watch, which list devices, and
  // both for set and plan, which must not give away an address that an
  // ONVIF device holds.
  std::optional<Protocols> protocol;
  // set
  Mac mac{};
  SettingsEdit edit;
  bool verify = true;
  std::chrono::milliseconds verifyTimeout{20000};
  // plan; with `from`, edit.mask and edit.gateway are the numbered rows'
  std::string planPath;
  // --sheet: the workbook's sheet a plan is read from; empty for the first.
  std::string sheet;
  bool apply = false;
  std::optional<std::uint32_t> from;
  // --from START-LAST: the last address the numbering gives.
  std::optional<std::uint32_t> fromLast;
  std::optional<TemporaryRange> temporary;
  // watch
  int intervalSeconds = 10;
};

using ParseResult = ParsedOptions<Options>;

// `args` excludes the program name. Accepts "--name value" and
// "--name=value"; --help and --version win over everything else.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

// The protocols the command's search asks in, and the fields its devices
// are written with: those of ONVIF answers only when it was asked for them.
Protocols SearchProtocols(const Options& options);
DeviceColumns DeviceColumnsOf(const Options& options);

// The usage of one command, or of the program for Command::None.
std::string UsageText(Command command);

}  // namespace cli
