#include "cli/format/messages.h"

#include "cli/format/text_formats.h"
#include "core/engine/notify.h"
#include "platform/console_text.h"

namespace cli {
namespace {

void ToStandardError(const std::wstring& text, const std::wstring&, void*) {
  std::string lines;
  for (char c : Utf8(text))
    if (c != '\r') lines.push_back(c);
  Tell(lines);
}

// What --quiet said; read once, when the line is first used.
Progress progressSetting = Progress::Shown;

}  // namespace

void SetProgress(Progress progress) { progressSetting = progress; }

ProgressLine& ErrorProgress() {
  static ProgressLine line(
      progressSetting == Progress::Shown && IsTerminal(StandardStream::Error)
          ? ProgressTarget::Terminal
          : ProgressTarget::Other,
      [](const std::string& text) {
        WriteStandard(StandardStream::Error, text);
      });
  return line;
}

void Emit(const std::string& text) {
  ErrorProgress().WriteAside(
      [&text] { WriteStandard(StandardStream::Output, text); });
}

void Tell(const std::string& text) {
  ErrorProgress().WriteAside([&text] {
    WriteStandard(StandardStream::Error, "quellan-cli: " + text + "\n");
  });
}

void InstallEngineNotifier() { SetUserNotifier(ToStandardError); }

}  // namespace cli
