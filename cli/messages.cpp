#include "cli/messages.h"

#include <cstdio>

#include "cli/text_formats.h"
#include "core/engine/notify.h"

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
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

void Tell(const std::string& text) {
  std::fprintf(stderr, "quellan-cli: %s\n", text.c_str());
  std::fflush(stderr);
}

void InstallEngineNotifier() { SetUserNotifier(ToStandardError); }

}  // namespace cli
