// quellan-probe: finds Quellan's windows from another process and drives
// them, the way an accessibility or test-automation tool does. One command
// per run; results are JSON lines on stdout.
//
//   quellan-probe [--timeout MS] [--pid PID] COMMAND [ARGUMENTS]
//
// Exit codes: 0 done, 1 the window, control, row or state asked for is not
// there (after waiting up to the timeout), 2 usage error, 3 this process can
// not reach the window system (run the probe again).
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tools/probe/commands.h"

namespace {

using probe::Invocation;

constexpr DWORD DEFAULT_TIMEOUT_MS = 5000;

struct Command {
  const wchar_t* name;
  const char* arguments;
  std::size_t minArguments;
  std::size_t maxArguments;
  int (*run)(const Invocation&);
  const char* help;
};

constexpr Command COMMANDS[] = {
    {L"wait-window", "", 0, 0, probe::WaitWindow,
     "wait for the main frame; print its handles, pid and rectangle"},
    {L"wait-closed", "", 0, 0, probe::WaitClosed,
     "wait until no main frame is left"},
    {L"command", "ID", 1, 1, probe::PostCommand,
     "post WM_COMMAND ID to the frame"},
    {L"enabled", "ID", 1, 1, probe::ToolEnabled,
     "whether the toolbar button of command ID is enabled"},
    {L"wait-enabled", "ID on|off", 2, 2, probe::WaitToolEnabled,
     "wait until the toolbar button of command ID is enabled or disabled"},
    {L"click-tool", "ID", 1, 1, probe::ClickTool,
     "click the toolbar button of command ID"},
    {L"control-enabled", "ID", 1, 1, probe::ControlEnabled,
     "whether control ID of the device view is enabled and visible"},
    {L"control-text", "ID", 1, 1, probe::ControlText,
     "the text of control ID of the device view"},
    {L"found-text", "", 0, 0, probe::FoundText,
     "the found-count text of the device view"},
    {L"wait-text", "ID TEXT", 2, 2, probe::WaitText,
     "wait until control ID of the device view shows TEXT"},
    {L"control-click", "ID", 1, 1, probe::ControlClick,
     "click the middle of control ID of the device view"},
    {L"search-watch", "", 0, 0, probe::SearchWatch,
     "start a search; print how long the window took to answer while it "
     "ran and when the search button came back"},
    {L"rows", "", 0, 0, probe::Rows,
     "every row of the device list: texts, check state, selection"},
    {L"row-count", "", 0, 0, probe::RowCount,
     "how many rows the device list holds"},
    {L"check", "ROW on|off", 2, 2, probe::CheckRow, "set the check box of ROW"},
    {L"select", "ROW", 1, 1, probe::SelectRow,
     "select and focus ROW (no click notification)"},
    {L"click-row", "ROW", 1, 1, probe::ClickRow, "click the middle of ROW"},
    {L"double-click-row", "ROW", 1, 1, probe::DoubleClickRow,
     "double-click the middle of ROW"},
    {L"click-header", "COLUMN", 1, 1, probe::ClickHeader,
     "click the header of COLUMN"},
    {L"header-format", "COLUMN", 1, 1, probe::HeaderFormat,
     "format (HDF_* flags), text and width of the header of COLUMN"},
    {L"wait-header-format", "COLUMN FORMAT", 2, 2, probe::WaitHeaderFormat,
     "wait until the header of COLUMN has the format FORMAT"},
    {L"headers", "", 0, 0, probe::Headers,
     "format, text and width of every column header"},
    {L"dialog", "", 0, 0, probe::DescribeDialog,
     "wait for a dialog; print it and each of its controls"},
    {L"message-box", "", 0, 0, probe::DescribeMessageBox,
     "wait for a message box; print its title, text and buttons"},
    {L"dialog-set", "ID TEXT", 2, 2, probe::DialogSetText,
     "set the text of dialog control ID"},
    {L"dialog-ip", "ID A.B.C.D", 2, 2, probe::DialogSetAddress,
     "set the address of IP address control ID"},
    {L"dialog-combo", "ID INDEX", 2, 2, probe::DialogSelectEntry,
     "select entry INDEX of combo box ID and notify the dialog"},
    {L"dialog-click", "ID", 1, 1, probe::DialogClick,
     "press button ID of the dialog"},
    {L"dismiss", "[ID]", 0, 1, probe::Dismiss,
     "press button ID (default 1, OK) and wait until the dialog is gone"},
};

void PrintUsage(std::FILE* to) {
  std::fprintf(to,
               "usage: quellan-probe [--timeout MS] [--pid PID] COMMAND "
               "[ARGUMENTS]\n"
               "  --timeout MS  how long to wait for what the command needs "
               "(default %lu)\n"
               "  --pid PID     only the Quellan process PID\n"
               "commands:\n",
               static_cast<unsigned long>(DEFAULT_TIMEOUT_MS));
  for (const Command& command : COMMANDS) {
    std::fprintf(to, "  %ls %s\n      %s\n", command.name, command.arguments,
                 command.help);
  }
}

int UsageError() {
  PrintUsage(stderr);
  return probe::USAGE_ERROR;
}

// Reads the first argument where the command's help names it an ID (a
// command or control id, up to 0xFFFF) or a ROW or COLUMN; false when it is
// not such a number.
bool ReadFirstArgument(const Command& command, Invocation& invocation) {
  const std::string first(command.arguments,
                          std::strcspn(command.arguments, " "));
  const bool id = first == "ID" || first == "[ID]";
  if (invocation.args.empty() || (!id && first != "ROW" && first != "COLUMN"))
    return true;
  long value = 0;
  if (!probe::ParseNumber(invocation.args[0], value) || value < 0 ||
      value > (id ? 0xFFFF : 0x7FFFFFFF))
    return false;
  invocation.number = static_cast<int>(value);
  return true;
}

bool ParseOption(const std::wstring& text, DWORD& value) {
  long number = 0;
  if (!probe::ParseNumber(text, number) || number < 0) return false;
  value = static_cast<DWORD>(number);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  Invocation invocation{{}, DEFAULT_TIMEOUT_MS, 0};
  std::vector<std::wstring> words;
  for (int i = 1; i < argc; ++i) {
    const std::wstring word = argv[i];
    if (word == L"--help" || word == L"-h") {
      PrintUsage(stdout);
      return probe::SUCCESS;
    }
    if (word == L"--timeout" || word == L"--pid") {
      DWORD& target =
          word == L"--timeout" ? invocation.timeoutMs : invocation.processId;
      if (i + 1 >= argc || !ParseOption(argv[++i], target)) {
        return UsageError();
      }
      continue;
    }
    words.push_back(word);
  }
  if (words.empty()) return UsageError();
  for (const Command& command : COMMANDS) {
    if (words[0] != command.name) continue;
    invocation.args.assign(words.begin() + 1, words.end());
    if (invocation.args.size() < command.minArguments ||
        invocation.args.size() > command.maxArguments) {
      return UsageError();
    }
    if (!probe::WindowSystemReachable()) {
      probe::Complain("this process can not reach the window system");
      return probe::NO_WINDOW_SYSTEM;
    }
    if (!ReadFirstArgument(command, invocation)) return UsageError();
    const int result = command.run(invocation);
    return result == probe::USAGE_ERROR ? UsageError() : result;
  }
  return UsageError();
}
