#include "app/view/collision_notice.h"

#include "core/engine/notify.h"
#include "winui/ui_wait.h"

namespace {

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t className[16] = L"";
  GetClassNameW(window, className, 16);
  if (lstrcmpW(className, L"#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

HWND CollisionNotice::Window() const {
  HWND box = nullptr;
  if (const DWORD id = threadId_.load())
    EnumThreadWindows(id, FindBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

void CollisionNotice::Show(HWND owner) {
  Close();
  open_ = true;
  thread_ = std::thread([this, owner] {
    threadId_ = GetCurrentThreadId();
    MessageBoxW(owner, L"IP collision is detected.", APP_CAPTION, MB_OK);
    threadId_ = 0;
    open_ = false;
  });
}

void CollisionNotice::Close() {
  if (!thread_.joinable()) return;
  // The box may not exist yet when the thread has only just started; and
  // while it closes it re-enables its owner, which takes this thread.
  WaitServingSentMessages([this] {
    if (!open_.load()) return true;
    if (HWND box = Window()) PostMessageW(box, WM_COMMAND, IDOK, 0);
    return false;
  });
  thread_.join();
}
