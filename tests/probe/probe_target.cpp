// The probe's test target: a window shaped like Quellan's main frame (title,
// toolbar with the device commands, a view with the device list and the
// found-count text) that reports every command, click and notification it
// receives in texts the probe can read back.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/probe/target_dialog.h"
#include "tests/probe/target_ids.h"
#include "tests/probe/target_view.h"

namespace {

constexpr int SEARCH = 32777;
constexpr int IP_CHANGE = 32778;
constexpr int WEB_PAGE = 32779;
constexpr int ABOUT = 32780;
constexpr int EXIT = 57665;
constexpr int TOOLBAR_HEIGHT = 40;

HWND view = nullptr;

void AddToolbar(HWND frame) {
  const HWND toolbar = CreateWindowExW(
      0, TOOLBARCLASSNAMEW, nullptr,
      WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NODIVIDER, 0, 0,
      780, TOOLBAR_HEIGHT, frame,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xE800)),
      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  const wchar_t* labels[] = {L"Search", L"Change", L"Web page"};
  const int commands[] = {SEARCH, IP_CHANGE, WEB_PAGE};
  TBBUTTON buttons[3] = {};
  for (int i = 0; i < 3; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = commands[i];
    buttons[i].fsState =
        commands[i] == IP_CHANGE ? BYTE{0} : BYTE{TBSTATE_ENABLED};
    buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    buttons[i].iString = reinterpret_cast<INT_PTR>(labels[i]);
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
}

void OnCommand(HWND frame, int id) {
  LogCommand(view, id);
  if (id == ABOUT) {
    const int answer = MessageBoxW(frame, target::MESSAGE_TEXT, L"Quellan",
                                   MB_OK | MB_ICONERROR);
    ReportEvent(view, L"message box closed " + std::to_wstring(answer));
  } else if (id == IP_CHANGE) {
    std::wstring summary;
    const INT_PTR result = RunTargetDialog(
        frame, [](const std::wstring& event) { ReportEvent(view, event); },
        summary);
    ReportEvent(view, L"dialog " + std::to_wstring(result) +
                          (summary.empty() ? L"" : L" " + summary));
  } else if (id == EXIT) {
    PostMessageW(frame, WM_CLOSE, 0, 0);
  }
}

LRESULT CALLBACK FrameProcedure(HWND frame, UINT message, WPARAM wParam,
                                LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      AddToolbar(frame);
      RECT client{};
      GetClientRect(frame, &client);
      client.top = TOOLBAR_HEIGHT;
      view = CreateTargetView(frame, client);
      return 0;
    }
    case WM_COMMAND:
      OnCommand(frame, LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(1);
      return 0;
    default:
      return DefWindowProcW(frame, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                   ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FrameProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"ProbeTargetFrame";
  RegisterClassW(&windowClass);
  const HWND frame =
      CreateWindowExW(WS_EX_APPWINDOW, windowClass.lpszClassName, L"Quellan",
                      WS_OVERLAPPEDWINDOW, 40, 40, 800, 500, nullptr, nullptr,
                      instance, nullptr);
  ShowWindow(frame, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
