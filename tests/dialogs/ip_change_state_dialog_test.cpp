#include "app/dialogs/ip_change_state_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "tests/dialogs/dialog_driver.h"
#include "winui/common_controls.h"

namespace {

struct Shown {
  std::wstring counter;
  int position;
  bool completeEnabled;
};

Shown Look(HWND hwnd) {
  return {TextOf(hwnd, IDC_CHANGE_COUNTER),
          static_cast<int>(
              SendDlgItemMessageW(hwnd, IDC_CHANGE_PROGRESS, PBM_GETPOS, 0, 0)),
          IsWindowEnabled(GetDlgItem(hwnd, IDOK)) != FALSE};
}

TEST(IpChangeStateDialog, CountsUpAndEnablesCompleteAtTheTotalOnly) {
  CIPChangeStateDlg dialog(3);
  std::vector<Shown> steps;
  std::vector<LRESULT> answers;
  PBRANGE range{};
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    SendDlgItemMessageW(hwnd, IDC_CHANGE_PROGRESS, PBM_GETRANGE, FALSE,
                        reinterpret_cast<LPARAM>(&range));
    steps.push_back(Look(hwnd));
    for (WPARAM done = 1; done <= 3; ++done) {
      answers.push_back(SendMessageW(hwnd, WM_CHANGE_PROGRESS, done, 0));
      steps.push_back(Look(hwnd));
    }
    PressButton(hwnd, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 3);
  ASSERT_EQ(steps.size(), 4u);
  const wchar_t* counters[] = {L"000 / 003", L"001 / 003", L"002 / 003",
                               L"003 / 003"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(steps[i].counter, counters[i]);
    EXPECT_EQ(steps[i].position, i);
    EXPECT_EQ(steps[i].completeEnabled, i == 3);
  }
  for (LRESULT answer : answers) EXPECT_EQ(answer, 0);
  EXPECT_EQ(dialog.DoneCount(), 3);
  EXPECT_STREQ(dialog.CaptionTitle(), L"IP change state");
}

TEST(IpChangeStateDialog, CountPastTheTotalKeepsCompleteDisabled) {
  CIPChangeStateDlg dialog(3);
  Shown past{}, back{};
  RunDriven(dialog, [&](HWND hwnd) {
    SendMessageW(hwnd, WM_CHANGE_PROGRESS, 5, 0);
    past = Look(hwnd);
    SendMessageW(hwnd, WM_CHANGE_PROGRESS, 3, 0);
    back = Look(hwnd);
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(past.counter, L"005 / 003");
  EXPECT_EQ(past.position, 3);
  EXPECT_FALSE(past.completeEnabled);
  EXPECT_EQ(back.counter, L"003 / 003");
  EXPECT_TRUE(back.completeEnabled);
}

TEST(IpChangeStateDialog, LastCountBelowTheTotalKeepsCompleteDisabled) {
  CIPChangeStateDlg dialog(3);
  Shown last{};
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    SendMessageW(hwnd, WM_CHANGE_PROGRESS, 1, 0);
    SendMessageW(hwnd, WM_CHANGE_PROGRESS, 2, 0);
    last = Look(hwnd);
    PostEscape(hwnd);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(last.counter, L"002 / 003");
  EXPECT_FALSE(last.completeEnabled);
}

TEST(IpChangeStateDialog, TotalZeroShowsZeroOfZeroAndOnlyTheCaptionCloses) {
  CIPChangeStateDlg dialog(0);
  Shown start{};
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    start = Look(hwnd);
    ClickCaptionClose(dialog);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(start.counter, L"000 / 000");
  EXPECT_FALSE(start.completeEnabled);
}

TEST(IpChangeStateDialog, EnterDoesNothingWhileCompleteIsDisabled) {
  CIPChangeStateDlg dialog(2);
  bool openAfterEnter = false;
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    MSG enter{hwnd, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    IsDialogMessageW(hwnd, &enter);
    openAfterEnter = IsWindow(hwnd) && IsWindowVisible(hwnd);
    PostEscape(hwnd);
  });
  EXPECT_TRUE(openAfterEnter);
  EXPECT_EQ(result, IDCANCEL);
}

struct Feed {
  HWND dialog;
  WPARAM total;
};

DWORD WINAPI FeedProgress(void* parameter) {
  const auto* feed = static_cast<const Feed*>(parameter);
  for (WPARAM done = 1; done <= feed->total; ++done) {
    SendMessageW(feed->dialog, WM_CHANGE_PROGRESS, done, 0);
  }
  return 0;
}

// Serves the messages that other threads send until `thread` has ended.
void PumpUntilEnded(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

TEST(IpChangeStateDialog, AWorkerThreadFeedsTheCountsSynchronously) {
  CIPChangeStateDlg dialog(5);
  Shown end{};
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    Feed feed{hwnd, 5};
    HANDLE thread = CreateThread(nullptr, 0, FeedProgress, &feed, 0, nullptr);
    PumpUntilEnded(thread);
    CloseHandle(thread);
    end = Look(hwnd);
    PressButton(hwnd, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(end.counter, L"005 / 005");
  EXPECT_EQ(end.position, 5);
  EXPECT_TRUE(end.completeEnabled);
}

TEST(IpChangeStateDialog, CaptionCloseButtonEndsWithTwoWhileRunning) {
  CIPChangeStateDlg dialog(3);
  EXPECT_EQ(RunDriven(dialog,
                      [&](HWND hwnd) {
                        SendMessageW(hwnd, WM_CHANGE_PROGRESS, 1, 0);
                        ClickCaptionClose(dialog);
                      }),
            IDCANCEL);
}

TEST(IpChangeStateDialog, EscapeEndsWithTwo) {
  CIPChangeStateDlg dialog(3);
  EXPECT_EQ(RunDriven(dialog, [&](HWND hwnd) { PostEscape(hwnd); }), IDCANCEL);
}

}  // namespace
