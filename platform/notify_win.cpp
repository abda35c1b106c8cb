#include <windows.h>

#include "core/engine/notify.h"

void PlatformNotify(const std::wstring& text, const std::wstring& caption,
                    void* owner) {
  MessageBoxW(static_cast<HWND>(owner), text.c_str(), caption.c_str(),
              MB_OK | MB_ICONERROR);
}
