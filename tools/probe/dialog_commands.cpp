#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "core/protocol/datagram.h"
#include "core/text/json_line.h"
#include "core/text/utf8.h"
#include "tools/probe/commands.h"
#include "tools/probe/control_report.h"
#include "tools/probe/dialogs.h"
#include "tools/probe/mouse_input.h"
#include "tools/probe/remote_memory.h"
#include "tools/probe/ui_messages.h"
#include "tools/probe/wait_until.h"

namespace probe {

namespace {

// The process whose dialogs count: the one given, or the frame's.
DWORD TargetProcessId(const Invocation& invocation) {
  if (invocation.processId != 0) return invocation.processId;
  const auto windows = AwaitQuellan(invocation);
  return windows ? windows->processId : 0;
}

// The dialog the user can act on, waited for; with `messageBoxOnly`, only
// a message box counts.
HWND AwaitDialog(const Invocation& invocation, bool messageBoxOnly) {
  const DWORD processId = TargetProcessId(invocation);
  if (processId == 0) return nullptr;
  HWND dialog = nullptr;
  WaitUntil(invocation.timeoutMs, [&] {
    const std::vector<HWND> open = OpenDialogs(processId);
    dialog = open.empty() ? nullptr : open.front();
    return dialog != nullptr && (!messageBoxOnly || IsMessageBox(dialog));
  });
  if (dialog == nullptr || (messageBoxOnly && !IsMessageBox(dialog))) {
    Complain(messageBoxOnly ? "no message box" : "no dialog");
    return nullptr;
  }
  return dialog;
}

// Runs `body` with the open dialog and its control `id`, or explains the
// absence of either.
int WithDialogControl(
    const Invocation& invocation, int id,
    const std::function<int(HWND dialog, HWND control)>& body) {
  const HWND dialog = AwaitDialog(invocation, false);
  if (dialog == nullptr) return NOT_THERE;
  const HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) {
    Complain("the dialog has no control " + std::to_string(id));
    return NOT_THERE;
  }
  return body(dialog, control);
}

std::string ButtonsOf(HWND messageBox) {
  std::vector<std::string> buttons;
  for (HWND child : ChildControls(messageBox)) {
    if (!IsPushButton(child) || !IsWindowVisible(child)) continue;
    const LONG_PTR kind = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
    buttons.push_back(JsonLine()
                          .Number("id", ControlId(child))
                          .Text("text", TextOf(child))
                          .Bool("enabled", IsWindowEnabled(child) != FALSE)
                          .Bool("default", kind == BS_DEFPUSHBUTTON)
                          .Str());
  }
  return JsonArray(buttons);
}

bool HasIcon(HWND messageBox) {
  for (HWND child : ChildControls(messageBox)) {
    if (IsPicture(child) && IsWindowVisible(child)) return true;
  }
  return false;
}

// Presses a button the way a click on it reaches the dialog: push buttons
// notify the dialog, check boxes and radio buttons also change their state.
void Press(HWND dialog, int id, HWND control) {
  if (control != nullptr && !IsPushButton(control)) {
    PostMessageW(control, BM_CLICK, 0, 0);
    return;
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}

}  // namespace

int DescribeDialog(const Invocation& invocation) {
  const HWND dialog = AwaitDialog(invocation, false);
  if (dialog == nullptr) return NOT_THERE;
  TargetProcess process(ProcessOf(dialog));
  RECT rect{};
  GetWindowRect(dialog, &rect);
  JsonLine()
      .Raw("dialog", HandleJson(dialog))
      .Text("title", TextOf(dialog))
      .Bool("message_box", IsMessageBox(dialog))
      .Raw("owner", HandleJson(GetWindow(dialog, GW_OWNER)))
      .Number("left", rect.left)
      .Number("top", rect.top)
      .Number("right", rect.right)
      .Number("bottom", rect.bottom)
      .Print();
  const HWND focus = FocusOf(dialog);
  const HANDLE memory = process.Usable() ? process.Handle() : nullptr;
  for (HWND control : ChildControls(dialog)) {
    DescribeControl(control, memory, focus).Print();
  }
  return SUCCESS;
}

int DescribeMessageBox(const Invocation& invocation) {
  const HWND box = AwaitDialog(invocation, true);
  if (box == nullptr) return NOT_THERE;
  JsonLine()
      .Raw("dialog", HandleJson(box))
      .Text("title", TextOf(box))
      .Text("text", MessageBoxText(box))
      .Bool("icon", HasIcon(box))
      .Raw("buttons", ButtonsOf(box))
      .Print();
  return SUCCESS;
}

int DialogSetText(const Invocation& invocation) {
  const int id = invocation.number;
  const std::wstring& text = invocation.args[1];
  return WithDialogControl(invocation, id, [&](HWND, HWND control) {
    SendTo(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const std::wstring now = TextOf(control);
    JsonLine().Number("id", id).Text("text", now).Print();
    return now == text ? SUCCESS : NOT_THERE;
  });
}

int DialogSetAddress(const Invocation& invocation) {
  const int id = invocation.number;
  std::uint32_t address = 0;
  if (!ParseAddress(Utf8(invocation.args[1]), &address)) return USAGE_ERROR;
  return WithDialogControl(invocation, id, [&](HWND dialog, HWND control) {
    TargetProcess process(ProcessOf(dialog));
    SendTo(control, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
    const auto now = process.Usable() ? ReadIpAddress(control, process.Handle())
                                      : std::nullopt;
    if (!now) {
      Complain("control " + std::to_string(id) + " holds no IP address");
      return NOT_THERE;
    }
    JsonLine()
        .Number("id", id)
        .Text("address", AddressText(now->value))
        .Number("filled", now->filledFields)
        .Print();
    return now->value == address ? SUCCESS : NOT_THERE;
  });
}

int DialogSelectEntry(const Invocation& invocation) {
  const int id = invocation.number;
  long index = 0;
  if (!ParseNumber(invocation.args[1], index) || index < 0) return USAGE_ERROR;
  return WithDialogControl(invocation, id, [&](HWND dialog, HWND combo) {
    LRESULT selected = CB_ERR;
    SendTo(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, &selected);
    if (selected != index) {
      Complain("combo box " + std::to_string(id) + " has no entry " +
               std::to_string(index));
      return NOT_THERE;
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    const std::vector<std::wstring> items = ComboItems(combo);
    JsonLine()
        .Number("id", id)
        .Number("selected", selected)
        .Text("text", static_cast<std::size_t>(index) < items.size()
                          ? items[static_cast<std::size_t>(index)]
                          : std::wstring())
        .Print();
    return SUCCESS;
  });
}

int DialogClick(const Invocation& invocation) {
  const int id = invocation.number;
  return WithDialogControl(invocation, id, [id](HWND dialog, HWND control) {
    const bool clickable = AcceptsClicks(control);
    if (clickable) Press(dialog, id, control);
    JsonLine().Number("id", id).Bool("clicked", clickable).Print();
    if (!clickable) Complain("control " + std::to_string(id) + " is disabled");
    return clickable ? SUCCESS : NOT_THERE;
  });
}

int Dismiss(const Invocation& invocation) {
  const int id = invocation.args.empty() ? IDOK : invocation.number;
  const HWND dialog = AwaitDialog(invocation, false);
  if (dialog == nullptr) return NOT_THERE;
  const HWND control = GetDlgItem(dialog, id);
  if (control != nullptr && !AcceptsClicks(control)) {
    Complain("button " + std::to_string(id) + " is disabled");
    return NOT_THERE;
  }
  Press(dialog, id, control);
  const bool closed = WaitUntil(invocation.timeoutMs, [&] {
    return !IsWindow(dialog) || !IsWindowVisible(dialog);
  });
  JsonLine()
      .Raw("dialog", HandleJson(dialog))
      .Number("id", id)
      .Bool("closed", closed)
      .Print();
  return closed ? SUCCESS : NOT_THERE;
}

}  // namespace probe
