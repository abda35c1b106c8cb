// The column header of a list view in another process.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace probe {

struct HeaderItem {
  int format;  // HDF_* flags: alignment, string, sort arrows
  int width;
  std::wstring text;
};

std::optional<HeaderItem> ReadHeaderItem(HWND header, HANDLE process,
                                         int column);
// The item's rectangle in the header's client coordinates.
std::optional<RECT> HeaderItemRect(HWND header, HANDLE process, int column);

}  // namespace probe
