// The notice "IP collision is detected.": a message box on a thread of its
// own, so that neither the intake nor the user-interface thread waits for the
// user. At most one is open; a new collision closes the old notice first.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

class CollisionNotice {
 public:
  CollisionNotice() = default;
  ~CollisionNotice() { Close(); }
  CollisionNotice(const CollisionNotice&) = delete;
  CollisionNotice& operator=(const CollisionNotice&) = delete;

  void Show(HWND owner);
  // Closes an open notice and waits for its thread.
  void Close();
  bool Open() const { return open_.load(); }
  // The notice's window, or null.
  HWND Window() const;

 private:
  std::thread thread_;
  std::atomic<DWORD> threadId_{0};
  std::atomic<bool> open_{false};
};
