#include "cli/commands/report_output.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/format/messages.h"
#include "platform/console_text.h"
#include "platform/file_read.h"
#include "platform/file_write.h"

namespace cli {
namespace {

// A workbook for standard output is made in the system's folder for
// temporary files: the current folder may not be writable.
std::string TemporaryWorkbook() {
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path(error);
  return TemporaryBeside(error ? std::string("quellan.xlsx")
                               : (folder / "quellan.xlsx").u8string());
}

bool Failed(const Options& options, const std::string& why) {
  Tell("cannot write " +
       (options.output.empty() ? std::string("the workbook")
                               : "'" + options.output + "'") +
       ": " + why);
  return false;
}

bool DeliverWorkbook(const Options& options, const Report& report) {
  const std::string temporary = options.output.empty()
                                    ? TemporaryWorkbook()
                                    : TemporaryBeside(options.output);
  std::vector<WorkbookSheet> sheets{{"Devices", ReadSheetLines(report.text)}};
  if (report.site) sheets.push_back(*report.site);
  const WorkbookWritten written = WriteWorkbook(temporary, sheets);
  if (!written.ok) {
    RemoveQuietly(temporary);
    return Failed(options, written.why);
  }
  if (!options.output.empty()) {
    const FileWritten moved = MoveOver(temporary, options.output);
    return moved.ok || Failed(options, moved.reason);
  }
  const FileRead made = ReadWholeFile(temporary);
  RemoveQuietly(temporary);
  if (!made.ok) return Failed(options, made.reason);
  WriteStandardBytes(made.bytes);
  return true;
}

}  // namespace

std::string OutputProblem(const Options& options) {
  if (options.format != Format::Xlsx) return {};
  if (options.output.empty() && IsTerminal(StandardStream::Output))
    return "a workbook is not for a terminal: name its file with --output "
           "FILE, or redirect standard output to one";
  return {};
}

bool Deliver(const Options& options, const Report& report) {
  if (options.format == Format::Xlsx) return DeliverWorkbook(options, report);
  if (options.output.empty()) {
    Emit(report.text);
    return true;
  }
  const std::string temporary = TemporaryBeside(options.output);
  FileWritten written = WriteNewFile(temporary, report.text);
  if (written.ok) written = MoveOver(temporary, options.output);
  return written.ok || Failed(options, written.reason);
}

}  // namespace cli
