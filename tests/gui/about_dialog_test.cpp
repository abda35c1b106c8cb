#include "app/dialogs/about_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/gui/gui_helpers.h"

namespace {

TEST(AboutDialog, ShowsTheRunningProgramsVersion) {
  CAboutDlg about;
  wchar_t text[128] = L"";
  LOGFONTW font{};
  LONG style = 0;
  OwnerWindow owner(RECT{100, 100, 700, 600}, [&](HWND hwnd) {
    HWND version = GetDlgItem(hwnd, IDC_ABOUT_VERSION);
    GetWindowTextW(version, text, 128);
    style = GetWindowLongW(version, GWL_STYLE);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(version, WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(about.RunModal(owner.handle()), IDOK);
  EXPECT_STREQ(text, L"Quellan Application ver 1.0.0.1");
  EXPECT_EQ(style & SS_TYPEMASK, SS_CENTER);
  EXPECT_STREQ(font.lfFaceName, L"Arial");
  EXPECT_EQ(font.lfHeight, -10);
  EXPECT_EQ(font.lfWeight, 600);
  EXPECT_STREQ(about.CaptionTitle(), L"About");
}

TEST(AboutDialog, RunningProgramVersionComesFromItsVersionBlock) {
  EXPECT_EQ(RunningProgramVersion(), L"1.0.0.1");
}

TEST(AboutDialog, EscapeEndsWithTwo) {
  CAboutDlg about;
  OwnerWindow owner(RECT{100, 100, 700, 600}, [&](HWND hwnd) {
    SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(about.RunModal(owner.handle()), IDCANCEL);
}

}  // namespace
