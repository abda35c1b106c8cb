#include "winui/centre.h"

#include <algorithm>

namespace winui {

void CentreWindow(HWND window) {
  RECT own{};
  GetWindowRect(window, &own);
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;

  HWND owner = GetWindow(window, GW_OWNER);
  bool overOwner =
      owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner);
  HMONITOR monitor =
      MonitorFromWindow(overOwner ? owner : window, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  const RECT area = info.rcWork;

  RECT reference = area;
  if (overOwner) GetWindowRect(owner, &reference);

  LONG left = (reference.left + reference.right) / 2 - width / 2;
  LONG top = (reference.top + reference.bottom) / 2 - height / 2;
  left = std::max(area.left, std::min(left, area.right - width));
  top = std::max(area.top, std::min(top, area.bottom - height));
  SetWindowPos(window, nullptr, left, top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace winui
