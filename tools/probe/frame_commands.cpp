#include <functional>
#include <optional>
#include <string>

#include "core/text/json_line.h"
#include "tools/probe/commands.h"
#include "tools/probe/mouse_input.h"
#include "tools/probe/remote_memory.h"
#include "tools/probe/toolbar.h"
#include "tools/probe/ui_messages.h"
#include "tools/probe/wait_until.h"

namespace probe {

namespace {

constexpr int FOUND_TEXT_ID = 1003;

JsonLine ToolLine(int id, const ToolButton& button) {
  return JsonLine()
      .Number("id", id)
      .Bool("enabled", IsEnabled(button))
      .Number("state", button.state);
}

// The frame's toolbar button of command `id`, or none with an explanation.
std::optional<ToolButton> ToolButtonOf(HWND frame, int id) {
  auto button = FindToolButton(frame, id);
  if (!button) {
    Complain("no toolbar button has the command " + std::to_string(id));
  }
  return button;
}

// Runs `body` with the device view's control `id`, or explains its absence.
int WithViewControl(const Invocation& invocation, int id,
                    const std::function<int(HWND control)>& body) {
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  const HWND control = GetDlgItem(windows->view, id);
  if (control == nullptr) {
    Complain("the device view has no control " + std::to_string(id));
    return NOT_THERE;
  }
  return body(control);
}

int PrintControlText(const Invocation& invocation, int id, bool withId) {
  return WithViewControl(invocation, id, [&](HWND control) {
    JsonLine line;
    if (withId) line.Number("id", id);
    line.Text("text", TextOf(control)).Print();
    return SUCCESS;
  });
}

}  // namespace

int WaitWindow(const Invocation& invocation) {
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  RECT rect{};
  GetWindowRect(windows->frame, &rect);
  JsonLine()
      .Raw("frame", HandleJson(windows->frame))
      .Raw("view", HandleJson(windows->view))
      .Raw("list", HandleJson(windows->list))
      .Number("pid", windows->processId)
      .Number("left", rect.left)
      .Number("top", rect.top)
      .Number("right", rect.right)
      .Number("bottom", rect.bottom)
      .Print();
  return SUCCESS;
}

int WaitClosed(const Invocation& invocation) {
  const bool closed = WaitUntil(invocation.timeoutMs, [&] {
    return !FindQuellan(invocation.processId).has_value();
  });
  JsonLine().Bool("closed", closed).Print();
  return closed ? SUCCESS : NOT_THERE;
}

int PostCommand(const Invocation& invocation) {
  const int id = invocation.number;
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  if (!PostMessageW(windows->frame, WM_COMMAND, MAKEWPARAM(id, 0), 0)) {
    Complain("the frame takes no messages");
    return NOT_THERE;
  }
  JsonLine()
      .Number("command", id)
      .Raw("frame", HandleJson(windows->frame))
      .Print();
  return SUCCESS;
}

int ToolEnabled(const Invocation& invocation) {
  const int id = invocation.number;
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  const auto button = ToolButtonOf(windows->frame, id);
  if (!button) return NOT_THERE;
  ToolLine(id, *button).Print();
  return SUCCESS;
}

int WaitToolEnabled(const Invocation& invocation) {
  const int id = invocation.number;
  bool wanted = false;
  if (!ParseOnOff(invocation.args[1], wanted)) return USAGE_ERROR;
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  std::optional<ToolButton> button;
  const bool reached = WaitUntil(invocation.timeoutMs, [&] {
    button = FindToolButton(windows->frame, id);
    return button && IsEnabled(*button) == wanted;
  });
  if (!button) button = ToolButtonOf(windows->frame, id);
  if (!button) return NOT_THERE;
  ToolLine(id, *button).Print();
  return reached ? SUCCESS : NOT_THERE;
}

int ClickTool(const Invocation& invocation) {
  const int id = invocation.number;
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  const auto button = ToolButtonOf(windows->frame, id);
  if (!button) return NOT_THERE;
  TargetProcess process(windows->processId);
  const auto rect = process.Usable() ? ToolButtonRect(*button, process.Handle())
                                     : std::nullopt;
  return ClickMiddle(button->toolbar, rect, ToolLine(id, *button),
                     "the toolbar");
}

int ControlEnabled(const Invocation& invocation) {
  const int id = invocation.number;
  return WithViewControl(invocation, id, [id](HWND control) {
    JsonLine()
        .Number("id", id)
        .Bool("enabled", IsWindowEnabled(control) != FALSE)
        .Bool("visible", IsWindowVisible(control) != FALSE)
        .Print();
    return SUCCESS;
  });
}

int ControlText(const Invocation& invocation) {
  return PrintControlText(invocation, invocation.number, true);
}

int FoundText(const Invocation& invocation) {
  return PrintControlText(invocation, FOUND_TEXT_ID, false);
}

int WaitText(const Invocation& invocation) {
  const int id = invocation.number;
  const std::wstring& wanted = invocation.args[1];
  return WithViewControl(invocation, id, [&](HWND control) {
    std::wstring text;
    const bool reached = WaitUntil(invocation.timeoutMs, [&] {
      text = TextOf(control);
      return text == wanted;
    });
    JsonLine().Number("id", id).Text("text", text).Print();
    return reached ? SUCCESS : NOT_THERE;
  });
}

int ControlClick(const Invocation& invocation) {
  const int id = invocation.number;
  return WithViewControl(invocation, id, [id](HWND control) {
    RECT client{};
    return ClickMiddle(
        control,
        GetClientRect(control, &client) ? std::optional<RECT>(client)
                                        : std::nullopt,
        JsonLine().Number("id", id), "control " + std::to_string(id));
  });
}

}  // namespace probe
