#include "cli/commands/options.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

#include "cli/device/mac_text.h"
#include "cli/format/text_formats.h"
#include "cli/format/typed_words.h"
#include "core/text/ascii_words.h"
#include "core/text/option_loop.h"
#include "core/validation/change_check.h"

namespace cli {
namespace {

constexpr std::int32_t MAX_MILLISECONDS = 3600000;
constexpr std::int32_t MAX_INTERVAL_SECONDS = 86400;

const NamedValue<Command> COMMANDS[] = {{"search", Command::Search},
                                        {"set", Command::Set},
                                        {"plan", Command::Plan},
                                        {"watch", Command::Watch}};
// Answers as --help does: "help" alone, or "help COMMAND".
constexpr const char* HELP = "help";

std::vector<std::string> CommandWords() {
  std::vector<std::string> words{HELP};
  for (const auto& command : COMMANDS) words.push_back(command.name);
  return words;
}

// The options each command takes besides --help and --version.
std::vector<std::string> OptionNames(Command command) {
  std::vector<std::string> names{"--format", "--adapter", "--protocol",
                                 "--quiet"};
  auto add = [&names](std::initializer_list<const char*> more) {
    names.insert(names.end(), more.begin(), more.end());
  };
  switch (command) {
    case Command::Search:
      add({"--timeout", "--output"});
      break;
    case Command::Set:
      for (const Setting& setting : SETTINGS) names.push_back(setting.option);
      add({"--no-verify", "--timeout", "--verify-timeout", "--output"});
      break;
    case Command::Plan:
      add({"--apply", "--timeout", "--verify-timeout", "--from", "--mask",
           "--gateway", "--temp", "--output", "--sheet"});
      break;
    case Command::Watch:
      add({"--interval"});
      break;
    case Command::None:
      return {};
  }
  return names;
}

bool Takes(Command command, const std::string& name) {
  const std::vector<std::string> names = OptionNames(command);
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsFlag(const std::string& name) {
  return name == "--no-verify" || name == "--apply" || name == "--quiet";
}

// search and watch list devices; set and plan change them.
bool Lists(Command command) {
  return command == Command::Search || command == Command::Watch;
}

// watch writes neither CSV nor a workbook.
bool ReadFormat(Command command, const std::string& value, Format* format) {
  static const NamedValue<Format> FORMATS[] = {{"table", Format::Table},
                                               {"json", Format::Json},
                                               {"csv", Format::Csv},
                                               {"xlsx", Format::Xlsx}};
  return ParseNamed(value, FORMATS, format) &&
         (command != Command::Watch ||
          (*format != Format::Csv && *format != Format::Xlsx));
}

// set and plan change our devices only, and look at every protocol.
bool ReadProtocol(Command command, const std::string& value,
                  std::optional<Protocols>* protocol) {
  static const NamedValue<Protocols> PROTOCOLS[] = {
      {"quellan", Protocols::Quellan},
      {"onvif", Protocols::Onvif},
      {"all", Protocols::All}};
  Protocols read = Protocols::All;
  if (!ParseNamed(value, PROTOCOLS, &read) ||
      (read == Protocols::Onvif && !Lists(command)))
    return false;
  *protocol = read;
  return true;
}

bool ReadMilliseconds(const std::string& value,
                      std::chrono::milliseconds* out) {
  std::int32_t parsed = 0;
  if (!ParseInt32(value, &parsed) || parsed < 1 || parsed > MAX_MILLISECONDS)
    return false;
  *out = std::chrono::milliseconds(parsed);
  return true;
}

// One option with its value; false with `error` set when the value is bad.
bool Apply(const std::string& name, const std::string& value, Options* options,
           std::string* error) {
  auto bad = [&](const std::string& wanted) {
    *error = name + " needs " + wanted + ", not '" + value + "'";
    return false;
  };
  SettingsEdit& edit = options->edit;
  std::uint32_t address = 0;
  std::int32_t number = 0;
  if (name == "--format") {
    return ReadFormat(options->command, value, &options->format) ||
           bad(options->command == Command::Watch ? "table or json"
                                                  : "table, json, csv or xlsx");
  }
  if (name == "--output" || name == "--sheet") {
    if (value.empty())
      return bad(name == "--output" ? "a file name" : "a sheet's name");
    (name == "--output" ? options->output : options->sheet) = value;
    return true;
  }
  if (name == "--protocol") {
    return ReadProtocol(options->command, value, &options->protocol) ||
           bad(Lists(options->command) ? "quellan, onvif or all"
                                       : "quellan or all");
  }
  if (name == "--timeout" || name == "--verify-timeout") {
    return ReadMilliseconds(value, name == "--timeout"
                                       ? &options->timeout
                                       : &options->verifyTimeout) ||
           bad("milliseconds from 1 to " + std::to_string(MAX_MILLISECONDS));
  }
  if (name == "--interval") {
    if (!ParseInt32(value, &number) || number > MAX_INTERVAL_SECONDS)
      return bad("whole seconds");
    if (number < MIN_WATCH_INTERVAL) {
      *error = "--interval must be at least " +
               std::to_string(MIN_WATCH_INTERVAL) +
               " seconds: the network is shared with others";
      return false;
    }
    options->intervalSeconds = number;
    return true;
  }
  for (const Setting& setting : SETTINGS) {
    if (name != setting.option) continue;
    if (!setting.readOption(value, &edit)) return bad(setting.wants);
    const auto problem = edit.mask ? MaskProblem(*edit.mask) : std::nullopt;
    if (problem) {
      *error = name + " " + Utf8(ChangeProblemMessage(*problem));
      return false;
    }
    return true;
  }
  if (name == "--temp") {
    TemporaryRange range;
    if (!ParseTemporaryRange(value, &range))
      return bad("an address a.b.c.d or a range a.b.c.d-e.f.g.h");
    options->temporary = range;
    return true;
  }
  if (name == "--from") {
    // START numbers up to the subnet's end, START-LAST up to LAST.
    TemporaryRange range;
    if (!ParseTemporaryRange(value, &range))
      return bad("an address a.b.c.d or a range a.b.c.d-e.f.g.h");
    options->from = range.first;
    if (value.find('-') != std::string::npos) options->fromLast = range.last;
    return true;
  }
  if (!ParseAddress(value, &address)) return bad("an address a.b.c.d");
  options->adapter = address;
  return true;
}

// set's MAC; `rest` are the arguments from it on.
bool ReadSetMac(const std::string& arg, const std::vector<std::string>& rest,
                Options* options, std::string* error) {
  if (ReadMacText(arg, &options->mac)) return true;
  *error = "'" + arg + "' is not a MAC address";
  const std::string split = SplitMac(rest);
  if (split.empty()) {
    *error += "; write it " + std::string(MAC_FORMS);
  } else {
    *error +=
        ": the shell splits a MAC written with blanks into six "
        "arguments; quote it: \"" +
        split + "\"";
  }
  return false;
}

bool ReadPositional(const std::string& arg,
                    const std::vector<std::string>& rest, Options* options,
                    int* positional, std::string* error) {
  ++*positional;
  if (*positional == 1 && options->command == Command::Set)
    return ReadSetMac(arg, rest, options, error);
  if (*positional == 1 && options->command == Command::Plan) {
    options->planPath = arg;
    return true;
  }
  *error = "unexpected argument '" + arg + "'";
  return false;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  Options& options = result.options;
  // --help and --version answer whatever else the line holds.
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") options.help = true;
    if (arg == "--version") options.version = true;
  }
  std::size_t next = 0;
  if (!args.empty() && SameWord(args[0], HELP)) {
    // "help [COMMAND]" reads as "[COMMAND] --help".
    options.help = true;
    next = 1;
  }
  if (next < args.size() && args[next].compare(0, 1, "-") != 0) {
    ParseNamed(args[next], COMMANDS, &options.command);
    // --help and --version answer a line whose first word is no command,
    // but "help" must be followed by one.
    const bool answered = (options.help || options.version) && next == 0;
    if (options.command == Command::None && !answered) {
      result.error = "unknown command '" + args[next] + "'" +
                     DidYouMean(args[next], CommandWords());
      return result;
    }
    ++next;
  }
  if (options.help || options.version) {
    result.ok = true;
    return result;
  }
  if (options.command == Command::None) {
    result.error = "name a command: search, set, plan or watch";
    return result;
  }
  int positional = 0;
  OptionReader reader;
  reader.kind = [&options](const std::string& name) {
    if (!Takes(options.command, name)) return OptionKind::Unknown;
    return IsFlag(name) ? OptionKind::Flag : OptionKind::Valued;
  };
  reader.unknown = [&options](const std::string& name) {
    return DidYouMean(name, OptionNames(options.command));
  };
  reader.option = [&options](const std::string& name, const std::string& typed,
                             std::string* error) {
    // A value pasted with a blank around it means the same.
    const std::string value = Trimmed(typed);
    if (name == "--apply") {
      options.apply = true;
    } else if (name == "--no-verify") {
      options.verify = false;
    } else if (name == "--quiet") {
      options.progress = Progress::Quiet;
    } else {
      return Apply(name, value, &options, error);
    }
    return true;
  };
  reader.positional = [&](const std::string& arg, std::string* error) {
    // The arguments from this one on: a split MAC's other five follow it.
    std::vector<std::string> rest;
    const auto at = std::find(args.begin() + next, args.end(), arg);
    if (at != args.end()) rest.assign(at, args.end());
    return ReadPositional(arg, rest, &options, &positional, error);
  };
  if (!ReadOptions(args, next, reader, &result.error)) return result;
  if (options.command == Command::Set && positional == 0) {
    result.error = "set needs the MAC address of the device";
    return result;
  }
  if (options.command == Command::Plan && positional == 0) {
    result.error = "plan needs the plan file";
    return result;
  }
  if (options.command == Command::Plan && !options.from &&
      (options.edit.mask || options.edit.gateway)) {
    result.error = "--mask and --gateway go with --from";
    return result;
  }
  result.ok = true;
  return result;
}

Protocols SearchProtocols(const Options& options) {
  if (options.protocol) return *options.protocol;
  return Lists(options.command) ? Protocols::Quellan : Protocols::All;
}

DeviceColumns DeviceColumnsOf(const Options& options) {
  return options.protocol && *options.protocol != Protocols::Quellan
             ? DeviceColumns::WithOnvif
             : DeviceColumns::Ours;
}

}  // namespace cli
