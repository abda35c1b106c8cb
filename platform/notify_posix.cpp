#include <cstdio>

#include "core/engine/notify.h"

void PlatformNotify(const std::wstring& text, const std::wstring& caption,
                    void*) {
  std::fprintf(stderr, "%ls: %ls\n", caption.c_str(), text.c_str());
}
