#include "tests/view/view_fixture.h"

#include <commctrl.h>

#include "app/messages/window_messages.h"
#include "res/resource.h"

namespace {
std::vector<ToolRequestSeen> toolRequests;
std::function<void(HWND)> dialogIdle;
}  // namespace

LRESULT CALLBACK ViewFixture::FrameProcedure(HWND hwnd, UINT message,
                                             WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENABLE_TOOL || message == WM_DISABLE_TOOL) {
    toolRequests.push_back({message, wParam});
    return 0;
  }
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && dialogIdle) {
    dialogIdle(reinterpret_cast<HWND>(lParam));
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

ViewFixture::ViewFixture(int width, int height) {
  static ATOM atom = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FrameProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuellanViewTestFrame";
    return RegisterClassW(&windowClass);
  }();
  (void)atom;
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
  InitCommonControlsEx(&controls);
  frame_ =
      CreateWindowExW(0, L"QuellanViewTestFrame", L"view test",
                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700, nullptr,
                      nullptr, GetModuleHandleW(nullptr), nullptr);
  view_ = std::make_unique<CQuellanView>();
  view_->CreateChild(frame_);
  view_->SetFrame(frame_);
  RECT outer, inner;
  GetWindowRect(view_->handle(), &outer);
  GetClientRect(view_->handle(), &inner);
  const int extraW = (outer.right - outer.left) - inner.right;
  const int extraH = (outer.bottom - outer.top) - inner.bottom;
  SetWindowPos(view_->handle(), nullptr, 0, 0, width + extraW, height + extraH,
               SWP_NOZORDER | SWP_SHOWWINDOW);
  Pump(50);
  toolRequests.clear();
}

ViewFixture::~ViewFixture() {
  dialogIdle = nullptr;
  view_.reset();
  DestroyWindow(frame_);
  Pump(20);
}

HWND ViewFixture::list() const {
  return GetDlgItem(view_->handle(), IDC_DEVICE_LIST);
}

HWND ViewFixture::header() const {
  return reinterpret_cast<HWND>(SendMessageW(list(), LVM_GETHEADER, 0, 0));
}

void ViewFixture::OnDialogIdle(std::function<void(HWND)> handler) {
  dialogIdle = std::move(handler);
}

std::vector<ToolRequestSeen> ViewFixture::TakeToolRequests() {
  std::vector<ToolRequestSeen> seen;
  seen.swap(toolRequests);
  return seen;
}

void ViewFixture::Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

HWND ViewFixture::FindNotice() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM result) -> BOOL {
        wchar_t className[16] = L"", title[32] = L"";
        GetClassNameW(window, className, 16);
        GetWindowTextW(window, title, 32);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() &&
            lstrcmpW(className, L"#32770") == 0 &&
            lstrcmpW(title, L"Quellan") == 0 && IsWindowVisible(window)) {
          *reinterpret_cast<HWND*>(result) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

int ViewFixture::Rows() const {
  return static_cast<int>(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring ViewFixture::Cell(int row, int column) const {
  wchar_t text[256] = L"";
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

bool ViewFixture::Checked(int row) const {
  const LRESULT state = SendMessageW(list(), LVM_GETITEMSTATE, row, 0xF000);
  return ((state & 0xF000) >> 12) == 2;
}

void ViewFixture::SetChecked(int row, bool checked) {
  LVITEMW item{};
  item.stateMask = 0xF000;
  item.state = checked ? 0x2000 : 0x1000;
  SendMessageW(list(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ViewFixture::Select(int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageW(list(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&item));
  if (row < 0) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ViewFixture::Notify(UINT code, int item, int subItem) {
  NMLISTVIEW notice{};
  notice.hdr.hwndFrom = list();
  notice.hdr.idFrom = IDC_DEVICE_LIST;
  notice.hdr.code = code;
  notice.iItem = item;
  notice.iSubItem = subItem;
  SendMessageW(view_->handle(), WM_NOTIFY, IDC_DEVICE_LIST,
               reinterpret_cast<LPARAM>(&notice));
}

int ViewFixture::HeaderFormat(int column) const {
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(header(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
  return item.fmt;
}
