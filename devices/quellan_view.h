// The device view: the child dialog that fills the main frame's client area.
// It owns the device table and runs the search, the IP changes and the web
// page command on it; the list control only shows the table.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/collision_notice.h"
#include "devices/device_list.h"
#include "devices/device_table.h"
#include "devices/reply_queue.h"
#include "devices/search_worker.h"
#include "devices/view_logic.h"
#include "discovery/net.h"
#include "winui/dialog.h"

class MultiChangePass;
class CIPChangeStateDlg;

// SearchWorker to view: a batch of replies waits to be taken in.
constexpr UINT WM_ROWS_ADDED = WM_USER + 10;
// Multi-change pass to view: wParam devices are done.
constexpr UINT WM_MULTI_STEP = WM_USER + 11;
// View to itself: bring the list a step closer to the table.
constexpr UINT WM_LIST_SYNC = WM_USER + 12;
// Replies taken in, and list cells written, per message: small enough that
// the window answers between two steps even with thousands of devices.
constexpr std::size_t kIntakeSlice = 500;
constexpr int kListSyncBudget = 1500;
constexpr UINT_PTR SEARCH_TIMER_ID = 10000;
constexpr UINT SEARCH_TICK_MS = 1000;
constexpr int SEARCH_TICKS = 3;
// Watches the end of a search for the worker's last look.
constexpr UINT_PTR END_WAIT_TIMER_ID = 10001;
constexpr UINT END_WAIT_POLL_MS = 10;

class CQuellanView : public winui::Dialog {
 public:
  CQuellanView();
  ~CQuellanView() override;

  void SetFrame(HWND frame) { frameWindow = frame; }
  HWND Frame() const { return frameWindow; }

  // Hands a batch of replies to the view from any thread; the view takes
  // them in on its own thread.
  void DeliverReplies(std::vector<PendingReply> batch);

  const DeviceTable& Table() const { return table; }
  bool Searching() const { return searching.load(); }
  const std::wstring& BrowserPath() const { return browserPath; }

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CQuellanView;
  winui::MessageResult OnInitDialog(const winui::Message& m);
  winui::MessageResult OnSize(const winui::Message& m);
  winui::MessageResult OnPaint(const winui::Message& m);
  winui::MessageResult OnCtlColorStatic(const winui::Message& m);
  winui::MessageResult OnViewCommand(const winui::Message& m);
  winui::MessageResult OnTimer(const winui::Message& m);
  winui::MessageResult OnListClick(const winui::Message& m);
  winui::MessageResult OnColumnClick(const winui::Message& m);
  winui::MessageResult OnClose(const winui::Message& m);
  winui::MessageResult OnListDoubleClick(const winui::Message& m);
  winui::MessageResult OnItemChanged(const winui::Message& m);
  winui::MessageResult OnSelectAll(const winui::Message& m);
  winui::MessageResult OnRowsAdded(const winui::Message& m);
  winui::MessageResult OnMultiStep(const winui::Message& m);
  winui::MessageResult OnListSync(const winui::Message& m);

  // The search cycle.
  static std::int32_t OnDiscoveryDatagram(const std::uint8_t* buffer,
                                          std::int32_t senderLength,
                                          const net::Endpoint& sender);
  void StartSearch();
  void EndSearch();
  void GiveSearchBack();
  void ClearDeviceTable();
  void SetFoundText();

  // The IP change.
  void ChangeIpCommand();
  void ChangeSingleDevice(std::size_t row);
  void ChangeMultipleDevices();

  void LayOut();
  void OpenSelectedWebPage();
  void SortTable(int column, int direction);
  void SyncList();
  // The table row of what the list shows at `listRow`: the list may lag
  // behind the table for a moment while it catches up.
  std::optional<std::size_t> TableRowOf(int listRow) const;
  void SetTool(UINT command, bool enabled);
  void Apply(const ToolRequest& request);
  void EnableListControls(bool enabled);

  static const winui::MessageMapEntry<CQuellanView> kMessageMap[];
  static std::atomic<CQuellanView*> activeView;

  HWND frameWindow = nullptr;
  std::wstring browserPath;
  HFONT listFont = nullptr;
  HFONT labelFont = nullptr;
  HBRUSH titleBrush = nullptr;
  SIZE laidOutFor{-1, -1};
  DeviceListControl list;
  DeviceTable table;
  ColumnSortState sortState;
  bool sortInProgress = false;
  std::atomic<bool> searching{false};
  int searchTicks = 0;
  DWORD endWaitStart = 0;
  bool engineRunning = false;
  bool listSyncPosted = false;

  ReplyQueue replyQueue;
  std::unique_ptr<SearchWorker> searchWorker;
  // Batches that the worker has posted and the view has not taken in yet.
  std::mutex readyLock;
  std::vector<PendingReply> readyReplies;
  CollisionNotice collisionNotice;

  std::unique_ptr<MultiChangePass> multiChange;
  CIPChangeStateDlg* progressDialog = nullptr;
  std::vector<std::size_t> multiTargets;
  std::vector<DeviceInfo> multiBodies;
};
