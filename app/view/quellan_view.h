// The device view: the child dialog that fills the main frame's client area.
// It owns the device table and runs the search, the IP changes and the web
// page command on it; the list control only shows the table.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/view/collision_notice.h"
#include "app/view/device_list.h"
#include "app/view/view_logic.h"
#include "core/devices/device_table.h"
#include "core/devices/multi_change.h"
#include "core/devices/search_session.h"
#include "winui/dialog.h"

class CIPChangeStateDlg;

// Replies taken in, and list rows inserted or check marks set, per message:
// small enough that the window answers between two steps even with
// thousands of devices, on a machine busy with their replies.
constexpr std::size_t INTAKE_SLICE = 1000;
constexpr int LIST_SYNC_BUDGET = 400;
constexpr UINT_PTR SEARCH_TIMER_ID = 10000;

class CQuellanView : public winui::Dialog, private SearchFrontEnd {
 public:
  CQuellanView();
  ~CQuellanView() override;

  void SetFrame(HWND frame) { frameWindow_ = frame; }
  HWND Frame() const { return frameWindow_; }

  // Hands a batch of replies to the view from any thread, as the search
  // does; the view takes them in on its own thread.
  void DeliverReplies(std::vector<PendingReply> batch);

  const DeviceTable& Table() const { return table_; }
  bool Searching() const { return searchRunning_; }
  const std::wstring& BrowserPath() const { return browserPath_; }

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
  winui::MessageResult OnGetDispInfo(const winui::Message& m);
  winui::MessageResult OnSelectAll(const winui::Message& m);
  winui::MessageResult OnRowsWaiting(const winui::Message& m);
  winui::MessageResult OnMultiStep(const winui::Message& m);
  winui::MessageResult OnListSync(const winui::Message& m);
  winui::MessageResult OnDestroy(const winui::Message& m);

  // The search, run by the session; the view shows what it reports.
  void StartSearch();
  void StartTicks(std::chrono::milliseconds period) override;
  void StopTicks() override;
  void RepliesWaiting() override;
  void OnRowsAdded(const RowsAdded& added) override;
  void OnCollision() override;
  void OnEnded() override;
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
  // The next list step, as a message of its own.
  void PostListSync();
  // The table row that the list shows at `listRow`, if the list holds that
  // row yet: it may lag behind the table while it catches up.
  std::optional<std::size_t> TableRowOf(int listRow) const;
  void SetTool(UINT command, bool enabled);
  void Apply(const ToolRequest& request);
  void EnableListControls(bool enabled);

  static const winui::MessageMapEntry<CQuellanView> MESSAGE_MAP[];

  HWND frameWindow_ = nullptr;
  std::wstring browserPath_;
  HFONT listFont_ = nullptr;
  HFONT labelFont_ = nullptr;
  HBRUSH titleBrush_ = nullptr;
  SIZE laidOutFor_{-1, -1};
  DeviceListControl list_;
  DeviceTable table_;
  ColumnSortState sortState_;
  // Set from a column click until the list shows the sorted table: the
  // item changes that the list's own writes cause are not the user's.
  bool sortInProgress_ = false;
  bool listSyncPosted_ = false;

  std::unique_ptr<SearchSession> search_;
  // From the search command until the list shows every row found.
  bool searchRunning_ = false;
  bool searchEnded_ = false;
  CollisionNotice collisionNotice_;

  MultiChangePlan multiPlan_;
  CIPChangeStateDlg* progressDialog_ = nullptr;
};
