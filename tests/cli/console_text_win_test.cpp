// How the Windows build writes its text: wide characters to a console, the
// UTF-8 bytes to anything else.
#include "platform/console_text_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct OwnedHandle {
  HANDLE handle;
  ~OwnedHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

std::wstring TempFilePath() {
  wchar_t folder[MAX_PATH] = L"";
  wchar_t path[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"qct", 0, path);
  return path;
}

TEST(ConsoleText, FilesPipesAndTheNullDeviceTakeBytes) {
  const std::wstring path = TempFilePath();
  {
    OwnedHandle file{CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY,
                                 nullptr)};
    ASSERT_NE(file.handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FormFor(file.handle), TextForm::Bytes);
  }
  DeleteFileW(path.c_str());

  HANDLE read = nullptr, write = nullptr;
  ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
  OwnedHandle reader{read}, writer{write};
  EXPECT_EQ(FormFor(writer.handle), TextForm::Bytes);

  OwnedHandle null{CreateFileW(L"NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               0, nullptr)};
  ASSERT_NE(null.handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FormFor(null.handle), TextForm::Bytes);
}

TEST(ConsoleText, Utf8BecomesTheSameCharactersWide) {
  const struct {
    std::string utf8;
    std::wstring wide;
  } CASES[] = {
      {"", L""},
      {"CAM-A 1.0\n", L"CAM-A 1.0\n"},
      // A model name of 8-bit characters as the reports carry them.
      {"Kamera S\xC3\xBC"
       "d \xC2\xB0",
       L"Kamera S\u00FCd \u00B0"},
      {"\xE2\x80\xBA \xF0\x9F\x93\xB7", L"\u203A \U0001F4F7"},
  };
  for (const auto& c : CASES) EXPECT_EQ(WideFromUtf8(c.utf8), c.wide);
}

HANDLE OpenConsoleOutput() {
  return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     0, nullptr);
}

// The process's console: the one it was started with, or a new one. Under
// Wine a console program whose output goes to files has a console that
// cannot be opened and refuses a second one until it lets the first go.
HANDLE ConsoleOutput() {
  const HANDLE console = OpenConsoleOutput();
  if (console != INVALID_HANDLE_VALUE) return console;
  FreeConsole();
  if (!AllocConsole()) return INVALID_HANDLE_VALUE;
  return OpenConsoleOutput();
}

TEST(ConsoleText, AConsoleTakesWideCharacters) {
  OwnedHandle console{ConsoleOutput()};
  ASSERT_NE(console.handle, INVALID_HANDLE_VALUE) << GetLastError();
  EXPECT_EQ(FormFor(console.handle), TextForm::Wide);

  // What the console holds afterwards is the text itself, whatever its code
  // page.
  CONSOLE_SCREEN_BUFFER_INFO before{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(console.handle, &before));
  const std::wstring text = L"Kamera S\u00FCd \u203A";
  ASSERT_TRUE(WriteConsoleText(console.handle, text));
  std::wstring shown(text.size(), L'\0');
  DWORD read = 0;
  ASSERT_TRUE(ReadConsoleOutputCharacterW(console.handle, shown.data(),
                                          static_cast<DWORD>(shown.size()),
                                          before.dwCursorPosition, &read));
  EXPECT_EQ(shown, text);
}

}  // namespace
