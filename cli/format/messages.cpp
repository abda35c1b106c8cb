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

}  // namespace

void Emit(const std::string& text) {
  WriteStandard(StandardStream::Output, text);
}

void Tell(const std::string& text) {
  WriteStandard(StandardStream::Error, "quellan-cli: " + text + "\n");
}

void InstallEngineNotifier() { SetUserNotifier(ToStandardError); }

}  // namespace cli
