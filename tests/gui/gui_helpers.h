// Helpers for driving the shell's real windows in-process.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

struct SentMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Records every message sent to a window of this thread while it lives.
// `onMessage`, when given, runs for each of them before it is delivered.
class SentMessageLog {
 public:
  explicit SentMessageLog(
      std::function<void(const SentMessage&)> onMessage = nullptr);
  ~SentMessageLog();
  SentMessageLog(const SentMessageLog&) = delete;
  SentMessageLog& operator=(const SentMessageLog&) = delete;

  int Count(HWND hwnd, UINT message) const;
  std::vector<SentMessage> Of(HWND hwnd, UINT message) const;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

  HHOOK hook_;
  std::function<void(const SentMessage&)> onMessage_;
  std::vector<SentMessage> messages_;
};

// Takes the commands that the frame sends the device view, so that a test
// sees them without the view running them.
class ViewCommandTrap {
 public:
  explicit ViewCommandTrap(HWND view);
  ~ViewCommandTrap();
  ViewCommandTrap(const ViewCommandTrap&) = delete;
  ViewCommandTrap& operator=(const ViewCommandTrap&) = delete;

  const std::vector<WPARAM>& Commands() const { return commands_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam, UINT_PTR id, DWORD_PTR self);

  HWND view_;
  std::vector<WPARAM> commands_;
};

// A plain visible top-level window that serves as the owner of modal
// dialogs. The first time a modal dialog it owns goes idle (WM_ENTERIDLE),
// `onIdle` runs with the dialog's handle.
class OwnerWindow {
 public:
  OwnerWindow(RECT where, std::function<void(HWND dialog)> onIdle);
  ~OwnerWindow();
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;

  HWND handle() const { return hwnd_; }
  bool Probed() const { return probed_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam);

  HWND hwnd_ = nullptr;
  std::function<void(HWND)> onIdle_;
  bool probed_ = false;
};

// The screen point of window coordinates (x, y), packed as the non-client
// mouse messages carry it.
LPARAM ScreenPointParam(HWND window, int x, int y);
COLORREF WindowPixel(HWND window, int x, int y);
COLORREF ClientPixel(HWND window, int x, int y);
COLORREF Grey(int level);
// Runs the messages already waiting in the thread's queue, but not
// WM_QUIT, which stays for a loop to find.
void RunPendingMessages();
// Forgets a WM_QUIT that a closed window left for a loop.
void DropQuit();
