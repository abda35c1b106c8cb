// Collects what the program would show the user, as "caption: text".
#pragma once

#include <string>
#include <vector>

#include "core/engine/notify.h"

class NoticeCollector {
 public:
  NoticeCollector() : previous_(SetUserNotifier(Collect)) { Notices().clear(); }
  ~NoticeCollector() { SetUserNotifier(previous_); }
  NoticeCollector(const NoticeCollector&) = delete;
  NoticeCollector& operator=(const NoticeCollector&) = delete;

  static std::vector<std::wstring>& Notices() {
    static std::vector<std::wstring> notices;
    return notices;
  }

 private:
  static void Collect(const std::wstring& text, const std::wstring& caption,
                      void*) {
    Notices().push_back(caption + L": " + text);
  }

  UserNotifier previous_;
};
