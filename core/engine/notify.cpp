#include "core/engine/notify.h"

#include <atomic>

namespace {
std::atomic<UserNotifier> installedNotifier{nullptr};
}

void NotifyUser(const std::wstring& text, const std::wstring& caption,
                void* owner) {
  UserNotifier notifier = installedNotifier.load();
  (notifier ? notifier : PlatformNotify)(text, caption, owner);
}

UserNotifier SetUserNotifier(UserNotifier notifier) {
  return installedNotifier.exchange(notifier);
}
