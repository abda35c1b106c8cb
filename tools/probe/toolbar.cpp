#include "tools/probe/toolbar.h"

#include <commctrl.h>

#include "tools/probe/remote_memory.h"
#include "tools/probe/ui_messages.h"
#include "tools/probe/window_find.h"

namespace probe {

std::optional<ToolButton> FindToolButton(HWND frame, int commandId) {
  for (HWND toolbar : DescendantsOfClass(frame, TOOLBARCLASSNAMEW)) {
    LRESULT index = -1;
    LRESULT state = -1;
    if (SendTo(toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(commandId), 0,
               &index) &&
        index >= 0 &&
        SendTo(toolbar, TB_GETSTATE, static_cast<WPARAM>(commandId), 0,
               &state) &&
        state != -1) {
      return ToolButton{toolbar, static_cast<int>(index),
                        static_cast<BYTE>(state)};
    }
  }
  return std::nullopt;
}

bool IsEnabled(const ToolButton& button) {
  return (button.state & TBSTATE_ENABLED) != 0;
}

std::optional<RECT> ToolButtonRect(const ToolButton& button, HANDLE process) {
  return RemoteRect(button.toolbar, TB_GETITEMRECT,
                    static_cast<WPARAM>(button.index), process);
}

}  // namespace probe
