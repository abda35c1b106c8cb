// The three large picture buttons of the main frame (search, IP change, web
// page) with their normal, hot and disabled pictures, and the balloon tips
// that explain each button while the pointer rests on it.
#pragma once

#include <windows.h>

#include "winui/common_controls.h"

constexpr UINT TOOL_ID_SEARCH = 20000;
constexpr UINT TOOL_ID_IP_CHANGE = 20001;
constexpr UINT TOOL_ID_WEB_PAGE = 20002;
constexpr int NO_TOOL = -1;

class CommandToolbar {
 public:
  CommandToolbar() = default;
  CommandToolbar(const CommandToolbar&) = delete;
  CommandToolbar& operator=(const CommandToolbar&) = delete;
  ~CommandToolbar();

  HWND Create(HWND frame_, DWORD style, UINT id);
  void InstallImages();
  void CreateTips(HWND frame_);
  void Enable(UINT commandId, bool enabled);
  void HideTips();
  // Shows the tip of the button under the pointer, or none.
  void TrackPointer();
  void Forget() { toolBar_ = nullptr; }

  HWND ToolBar() const { return toolBar_; }
  HWND ToolTip() const { return toolTip_; }
  int TrackedTool() const { return trackedTool_; }
  // Right edge of the last and of the first button, and the button height.
  int BandWidth() const;
  int FirstButtonRight() const;
  int ButtonHeight() const;

 private:
  void RequestTip(int tool, POINT where);

  int trackedTool_ = NO_TOOL;
  HWND toolTip_ = nullptr;
  HWND toolBar_ = nullptr;
  HWND frame_ = nullptr;
  HIMAGELIST images[3]{};
};
