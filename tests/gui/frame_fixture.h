// A shown main frame with its message loop, for one test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "app/shell/main_frame.h"
#include "tests/gui/gui_helpers.h"
#include "winui/message_loop.h"

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(frame.CreateMainWindow(), nullptr);
    ShowWindow(frame.handle(), SW_SHOWNORMAL);
    UpdateWindow(frame.handle());
  }

  void TearDown() override {
    if (IsWindow(frame.handle())) DestroyWindow(frame.handle());
    DropQuit();
  }

  HWND Frame() const { return frame.handle(); }
  HWND ToolBar() const { return frame.Toolbar().ToolBar(); }
  HWND View() const { return frame.View().handle(); }

  winui::MessageLoop loop;
  CMainFrame frame;
};
