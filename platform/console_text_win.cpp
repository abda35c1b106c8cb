#include "platform/console_text_win.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>

#include "platform/console_text.h"

namespace {

// Older consoles refuse one large write (it goes through a 64 KB shared
// buffer), so the text goes in pieces of this many characters.
constexpr std::size_t CONSOLE_PIECE = 8192;

}  // namespace

TextForm FormFor(HANDLE handle) {
  // Only a console has a console mode.
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) ? TextForm::Wide : TextForm::Bytes;
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

bool WriteConsoleText(HANDLE console, const std::wstring& text) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t piece = std::min(CONSOLE_PIECE, text.size() - at);
    // A surrogate pair stays in one piece.
    if (at + piece < text.size() && text[at + piece - 1] >= 0xD800 &&
        text[at + piece - 1] < 0xDC00)
      --piece;
    DWORD written = 0;
    if (!WriteConsoleW(console, text.data() + at, static_cast<DWORD>(piece),
                       &written, nullptr) ||
        written == 0)
      return at > 0;
    at += written;
  }
  return true;
}

void WriteStandard(StandardStream stream, const std::string& text) {
  const bool output = stream == StandardStream::Output;
  std::FILE* file = output ? stdout : stderr;
  const HANDLE handle =
      GetStdHandle(output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (FormFor(handle) == TextForm::Wide) {
    // Whatever the C library still holds for this stream goes first.
    std::fflush(file);
    if (WriteConsoleText(handle, WideFromUtf8(text))) return;
  }
  std::fputs(text.c_str(), file);
  std::fflush(file);
}

bool IsTerminal(StandardStream stream) {
  return FormFor(GetStdHandle(stream == StandardStream::Output
                                  ? STD_OUTPUT_HANDLE
                                  : STD_ERROR_HANDLE)) == TextForm::Wide;
}

void WriteStandardBytes(const std::string& bytes) {
  // The C library would write each '\n' as "\r\n".
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}
