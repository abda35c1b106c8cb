#include "tools/probe/control_report.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/protocol/datagram.h"
#include "core/text/json_string.h"
#include "core/text/utf8.h"
#include "tools/probe/dialogs.h"
#include "tools/probe/ui_messages.h"

namespace probe {

namespace {

LRESULT Answer(HWND control, UINT message, WPARAM wParam = 0) {
  LRESULT answer = 0;
  SendTo(control, message, wParam, 0, &answer);
  return answer;
}

void AddValue(JsonLine& line, HWND control, HANDLE process) {
  if (HasClass(control, WC_IPADDRESSW)) {
    const auto address = ReadIpAddress(control, process);
    if (address) {
      line.Text("address", AddressText(address->value))
          .Number("filled", address->filledFields);
    }
  } else if (HasClass(control, WC_COMBOBOXW)) {
    std::vector<std::string> items;
    for (const std::wstring& item : ComboItems(control)) {
      items.push_back(JsonString(Utf8(item)));
    }
    line.Number("selected", Answer(control, CB_GETCURSEL))
        .Raw("items", JsonArray(items));
  } else if (HasClass(control, WC_BUTTONW)) {
    line.Number("check", Answer(control, BM_GETCHECK));
  } else if (HasClass(control, PROGRESS_CLASSW)) {
    line.Number("position", Answer(control, PBM_GETPOS))
        .Number("low", Answer(control, PBM_GETRANGE, TRUE))
        .Number("high", Answer(control, PBM_GETRANGE, FALSE));
  }
}

// A picture static's window text names its resource, not a text to read.
std::wstring ShownText(HWND control) {
  return IsPicture(control) ? std::wstring() : TextOf(control);
}

}  // namespace

JsonLine DescribeControl(HWND control, HANDLE process, HWND focus) {
  const std::wstring className = ClassOf(control);
  const bool focused =
      focus != nullptr && (focus == control || IsChild(control, focus));
  JsonLine line;
  line.Number("id", ControlId(control))
      .Text("class", className)
      .Text("text", ShownText(control))
      .Bool("enabled", IsWindowEnabled(control) != FALSE)
      .Bool("visible", IsWindowVisible(control) != FALSE)
      .Bool("focused", focused)
      .Number("style",
              static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)));
  AddValue(line, control, process);
  return line;
}

}  // namespace probe
