// The search as the device view shows it: the session runs it, the view
// turns the window's timer and messages into the session's ticks and
// intake, and shows the rows, the count and the controls.
#include <utility>

#include "app/messages/window_messages.h"
#include "app/view/quellan_view.h"
#include "core/engine/notify.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

void CQuellanView::StartSearch() {
  SetTool(ID_DEVICE_SEARCH, false);
  if (search_->Start() != SearchStart::Started) {
    NotifyUser(L"IP discovery module initialize error.\r\n", APP_CAPTION,
               handle());
    SetTool(ID_DEVICE_SEARCH, true);
    return;
  }
  searchRunning_ = true;
  searchEnded_ = false;
  // The session has emptied the table; the list follows at once.
  list_.Clear();
  SetFoundText();
  ShowWindow(GetDlgItem(handle(), IDC_FOUND_TEXT), SW_HIDE);
  ShowWindow(GetDlgItem(handle(), IDC_FOUND_TEXT), SW_SHOW);
  SetTool(ID_DEVICE_IP_CHANGE, false);
  SetTool(ID_DEVICE_WEB_PAGE, false);
  EnableListControls(false);
}

void CQuellanView::StartTicks(std::chrono::milliseconds period) {
  SetTimer(handle(), SEARCH_TIMER_ID, static_cast<UINT>(period.count()),
           nullptr);
}

void CQuellanView::StopTicks() { KillTimer(handle(), SEARCH_TIMER_ID); }

MessageResult CQuellanView::OnTimer(const Message& m) {
  if (m.wParam != SEARCH_TIMER_ID) return std::nullopt;
  search_->Tick();
  return 0;
}

void CQuellanView::DeliverReplies(std::vector<PendingReply> batch) {
  search_->Deliver(std::move(batch));
}

void CQuellanView::RepliesWaiting() {
  PostMessageW(handle(), WM_ROWS_ADDED, 0, 0);
}

MessageResult CQuellanView::OnRowsWaiting(const Message&) {
  // The rest of a large batch waits for the next message, so the window
  // answers in between.
  if (search_->TakeIn(INTAKE_SLICE))
    PostMessageW(handle(), WM_ROWS_ADDED, 0, 0);
  return 0;
}

void CQuellanView::OnRowsAdded(const RowsAdded& added) {
  list_.Invalidate(added.moved ? 0 : added.firstNew);
  SetFoundText();
  // The list catches up in messages of its own: one message never holds
  // both an intake slice and a list step.
  PostListSync();
}

void CQuellanView::OnCollision() { collisionNotice_.Show(handle()); }

void CQuellanView::OnEnded() {
  searchEnded_ = true;
  SyncList();
}

void CQuellanView::GiveSearchBack() {
  // Only once the list shows every row: select-all and the sort then cover
  // the whole table.
  searchRunning_ = false;
  searchEnded_ = false;
  EnableListControls(true);
  SetTool(ID_DEVICE_SEARCH, true);
}

void CQuellanView::ClearDeviceTable() {
  list_.Clear();
  table_.Clear();
}

void CQuellanView::SetFoundText() {
  SetDlgItemTextW(handle(), IDC_FOUND_TEXT,
                  FoundCountText(table_.Size()).c_str());
}
