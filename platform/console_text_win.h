// The Windows side of the console text: how a handle is written to.
#pragma once

#include <windows.h>

#include <string>

enum class TextForm {
  Bytes,  // a file, a pipe, the null device: the UTF-8 bytes
  Wide,   // a console: UTF-16 through WriteConsoleW
};

TextForm FormFor(HANDLE handle);
std::wstring WideFromUtf8(const std::string& text);
// False when the console took none of it.
bool WriteConsoleText(HANDLE console, const std::wstring& text);
