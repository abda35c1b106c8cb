// A device view hosted by a stand-in frame that records the command enable
// requests the view sends it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/view/quellan_view.h"

struct ToolRequestSeen {
  UINT message;  // WM_ENABLE_TOOL or WM_DISABLE_TOOL
  WPARAM command;
  bool operator==(const ToolRequestSeen& o) const {
    return message == o.message && command == o.command;
  }
};

class ViewFixture {
 public:
  // A view whose client area is `width` x `height`.
  ViewFixture(int width = 740, int height = 500);
  ~ViewFixture();

  HWND frame() const { return frame_; }
  CQuellanView& view() { return *view_; }
  HWND list() const;
  HWND header() const;

  std::vector<ToolRequestSeen> TakeToolRequests();
  // Called with a modal dialog of the view's, each time its loop waits for
  // input.
  void OnDialogIdle(std::function<void(HWND)> handler);
  // Runs this thread's messages for `ms` milliseconds.
  static void Pump(int ms);
  // This process's visible message box captioned "Quellan", or null.
  static HWND FindNotice();

  int Rows() const;
  std::wstring Cell(int row, int column) const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  void Select(int row);  // -1 clears the selection
  void Notify(UINT code, int item = -1, int subItem = 0);
  int HeaderFormat(int column) const;

 private:
  static LRESULT CALLBACK FrameProcedure(HWND, UINT, WPARAM, LPARAM);
  HWND frame_ = nullptr;
  std::unique_ptr<CQuellanView> view_;
};
