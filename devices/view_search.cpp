// The search cycle of the device view: start, the one-second ticks, the
// batches of replies, and the end at the third tick.
#include <algorithm>
#include <iterator>
#include <utility>

#include "app/shell_messages.h"
#include "devices/quellan_view.h"
#include "discovery/engine.h"
#include "discovery/notify.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

std::int32_t CQuellanView::OnDiscoveryDatagram(const std::uint8_t* buffer,
                                               std::int32_t,
                                               const net::Endpoint&) {
  CQuellanView* view = activeView.load();
  if (!view || !IsWindowVisible(view->handle())) return 0;
  PendingReply entry;
  if (MakePendingReply(buffer, &entry))
    view->replyQueue.Append(std::move(entry));
  return 0;
}

void CQuellanView::StartSearch() {
  table.ArmCollisionCheck();
  searching = true;
  SetTool(ID_DEVICE_SEARCH, false);
  if (DiscoveryStart(OnDiscoveryDatagram) != 1) {
    NotifyUser(L"IP discovery module initialize error.\r\n", kAppCaption,
               handle());
    SetTool(ID_DEVICE_SEARCH, true);
    // Left set, the flag would keep the check boxes from updating the
    // commands until the next search.
    searching = false;
    return;
  }
  engineRunning = true;
  // The previous search's worker ends here at the latest: it never waits for
  // this thread, so this is prompt.
  KillTimer(handle(), END_WAIT_TIMER_ID);
  searchWorker.reset();
  ClearDeviceTable();
  SetFoundText();
  ShowWindow(GetDlgItem(handle(), IDC_FOUND_TEXT), SW_HIDE);
  ShowWindow(GetDlgItem(handle(), IDC_FOUND_TEXT), SW_SHOW);
  SetTool(ID_DEVICE_IP_CHANGE, false);
  SetTool(ID_DEVICE_WEB_PAGE, false);
  DiscoverySend(CMD_SEARCH, nullptr);
  EnableListControls(false);
  searchTicks = 0;
  SetTimer(handle(), SEARCH_TIMER_ID, SEARCH_TICK_MS, nullptr);
  searchWorker = std::make_unique<SearchWorker>(
      replyQueue, searching, [this](std::vector<PendingReply> batch) {
        DeliverReplies(std::move(batch));
      });
  searchWorker->Start();
}

void CQuellanView::DeliverReplies(std::vector<PendingReply> batch) {
  {
    std::lock_guard<std::mutex> hold(readyLock);
    for (PendingReply& entry : batch) readyReplies.push_back(std::move(entry));
  }
  PostMessageW(handle(), WM_ROWS_ADDED, 0, 0);
}

MessageResult CQuellanView::OnTimer(const Message& m) {
  if (m.wParam == END_WAIT_TIMER_ID) {
    const bool workerDone =
        !searchWorker || !searchWorker->Running() ||
        GetTickCount() - endWaitStart >=
            static_cast<DWORD>(SearchWorker::kBatchWait.count());
    if (workerDone && list.InSync(table.MutableRows())) GiveSearchBack();
    return 0;
  }
  if (m.wParam != SEARCH_TIMER_ID) return std::nullopt;
  if (++searchTicks == SEARCH_TICKS) EndSearch();
  return 0;
}

void CQuellanView::EndSearch() {
  KillTimer(handle(), SEARCH_TIMER_ID);
  DiscoveryStop();
  engineRunning = false;
  EnableListControls(true);
  searching = false;
  searchTicks = 0;
  SortTable(COLUMN_IP, -1);
  // The search command comes back once the worker has taken its last look
  // (or after 200 ms at most) and the list shows the whole table; the wait
  // is watched by a timer so that the window keeps answering meanwhile.
  if ((searchWorker && searchWorker->Running()) ||
      !list.InSync(table.MutableRows())) {
    endWaitStart = GetTickCount();
    SetTimer(handle(), END_WAIT_TIMER_ID, END_WAIT_POLL_MS, nullptr);
  } else {
    GiveSearchBack();
  }
}

void CQuellanView::GiveSearchBack() {
  KillTimer(handle(), END_WAIT_TIMER_ID);
  SetTool(ID_DEVICE_SEARCH, true);
}

MessageResult CQuellanView::OnRowsAdded(const Message&) {
  std::vector<PendingReply> slice;
  bool more = false;
  {
    std::lock_guard<std::mutex> hold(readyLock);
    const std::size_t count = std::min(readyReplies.size(), kIntakeSlice);
    slice.assign(std::make_move_iterator(readyReplies.begin()),
                 std::make_move_iterator(readyReplies.begin() + count));
    readyReplies.erase(readyReplies.begin(), readyReplies.begin() + count);
    more = !readyReplies.empty();
  }
  const std::size_t before = table.Size();
  for (const PendingReply& entry : slice)
    if (table.Add(entry) == Intake::Collision) collisionNotice.Show(handle());
  list.Invalidate(before);
  SetFoundText();
  SortTable(COLUMN_IP, -1);
  // The rest of a large batch waits for the next message, so the window
  // answers in between.
  if (more)
    PostMessageW(handle(), WM_ROWS_ADDED, 0, 0);
  else if (searchWorker)
    searchWorker->BatchSorted();
  return 0;
}

void CQuellanView::ClearDeviceTable() {
  list.Clear();
  table.Clear();
}

void CQuellanView::SetFoundText() {
  SetDlgItemTextW(handle(), IDC_FOUND_TEXT,
                  FoundCountText(table.Size()).c_str());
}
