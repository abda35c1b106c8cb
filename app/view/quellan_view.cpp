#include "app/view/quellan_view.h"

#include <commctrl.h>

#include "app/messages/window_messages.h"
#include "app/view/web_launcher.h"
#include "core/devices/row_sort.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

namespace {

HFONT MakeFont(int height, int weight, const wchar_t* face) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
}

void Place(HWND dialog, int id, const ViewRect& r) {
  if (HWND control = GetDlgItem(dialog, id))
    MoveWindow(control, r.x, r.y, r.width, r.height, FALSE);
}

}  // namespace

const winui::MessageMapEntry<CQuellanView> CQuellanView::MESSAGE_MAP[] = {
    winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
    winui::OnMessage(WM_SIZE, &Self::OnSize),
    winui::OnMessage(WM_PAINT, &Self::OnPaint),
    winui::OnMessage(WM_CTLCOLORSTATIC, &Self::OnCtlColorStatic),
    winui::OnMessage(WM_VIEW_COMMAND, &Self::OnViewCommand),
    winui::OnMessage(WM_TIMER, &Self::OnTimer),
    winui::OnNotify(IDC_DEVICE_LIST, NM_CLICK, &Self::OnListClick),
    winui::OnNotify(IDC_DEVICE_LIST, LVN_COLUMNCLICK, &Self::OnColumnClick),
    winui::OnMessage(WM_CLOSE, &Self::OnClose),
    winui::OnNotify(IDC_DEVICE_LIST, NM_DBLCLK, &Self::OnListDoubleClick),
    winui::OnNotify(IDC_DEVICE_LIST, LVN_ITEMCHANGED, &Self::OnItemChanged),
    winui::OnNotify(IDC_DEVICE_LIST, LVN_GETDISPINFOW, &Self::OnGetDispInfo),
    winui::OnCommandCode(IDC_SELECT_ALL, BN_CLICKED, &Self::OnSelectAll),
    winui::OnMessage(WM_ROWS_ADDED, &Self::OnRowsWaiting),
    winui::OnMessage(WM_MULTI_STEP, &Self::OnMultiStep),
    winui::OnMessage(WM_LIST_SYNC, &Self::OnListSync),
    winui::OnMessage(WM_DESTROY, &Self::OnDestroy),
};

CQuellanView::CQuellanView() : winui::Dialog(IDD_QUELLAN_VIEW) {}

CQuellanView::~CQuellanView() {
  if (listFont_) DeleteObject(listFont_);
  if (labelFont_) DeleteObject(labelFont_);
  if (titleBrush_) DeleteObject(titleBrush_);
}

MessageResult CQuellanView::ProcessMessage(const Message& m) {
  return winui::Dispatch(*this, MESSAGE_MAP, m);
}

MessageResult CQuellanView::OnInitDialog(const Message&) {
  search_ = std::make_unique<SearchSession>(
      table_, static_cast<SearchFrontEnd&>(*this));
  browserPath_ = ResolveBrowserPath();
  listFont_ = MakeFont(-12, 500, L"Verdana");
  labelFont_ = MakeFont(-13, 600, L"Arial");
  list_.Attach(GetDlgItem(handle(), IDC_DEVICE_LIST));
  for (int id :
       {IDC_DEVICE_GROUP, IDC_SELECT_ALL_TEXT, IDC_FOUND_TEXT, IDC_GROUP_TITLE})
    SendDlgItemMessageW(handle(), id, WM_SETFONT,
                        reinterpret_cast<WPARAM>(labelFont_), FALSE);
  list_.SetUp(listFont_);
  titleBrush_ = CreateSolidBrush(RGB(157, 161, 171));
  // The group box must not paint over the title laid on its edge.
  HWND group = GetDlgItem(handle(), IDC_DEVICE_GROUP);
  SetWindowLongW(group, GWL_STYLE,
                 GetWindowLongW(group, GWL_STYLE) | WS_CLIPSIBLINGS);
  return TRUE;
}

MessageResult CQuellanView::OnSize(const Message&) {
  LayOut();
  return 0;
}

void CQuellanView::LayOut() {
  RECT client;
  GetClientRect(handle(), &client);
  laidOutFor_ = {client.right, client.bottom};
  const ViewLayout layout = LayOutView(client.right, client.bottom);
  SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
  Place(handle(), IDC_DEVICE_GROUP, layout.group);
  if (HWND title = GetDlgItem(handle(), IDC_GROUP_TITLE))
    SetWindowPos(title, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Place(handle(), IDC_GROUP_TITLE, layout.groupTitle);
  Place(handle(), IDC_SELECT_ALL, layout.selectAll);
  Place(handle(), IDC_SELECT_ALL_TEXT, layout.selectAllText);
  Place(handle(), IDC_FOUND_TEXT, layout.foundText);
  Place(handle(), IDC_DEVICE_LIST, layout.list);
  if (list_.handle()) {
    int widths[DEVICE_COLUMNS];
    for (int c = 0; c < DEVICE_COLUMNS; ++c) widths[c] = layout.columnWidths[c];
    list_.SetColumnWidths(widths);
  }
  SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
  // The children moved without repainting: what they showed at their old
  // places must go as well.
  RedrawWindow(handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

MessageResult CQuellanView::OnPaint(const Message&) {
  RECT client;
  GetClientRect(handle(), &client);
  // Under Wine the frame's last resize of the view can arrive without a
  // WM_SIZE; the repaint that follows it always comes.
  if (client.right != laidOutFor_.cx || client.bottom != laidOutFor_.cy)
    LayOut();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle(), &paint);
  for (const Band& band : BackgroundBands(client.bottom)) {
    RECT area = {0, band.top, client.right, client.bottom};
    HBRUSH brush = CreateSolidBrush(RGB(band.red, band.green, band.blue));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  }
  HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(dc, white);
  for (const Line& line : WhiteLines(client.right)) {
    MoveToEx(dc, line.left, line.y, nullptr);
    LineTo(dc, line.right, line.y);
  }
  SelectObject(dc, old);
  DeleteObject(white);
  EndPaint(handle(), &paint);
  return 0;
}

MessageResult CQuellanView::OnCtlColorStatic(const Message& m) {
  HDC dc = reinterpret_cast<HDC>(m.wParam);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(157, 161, 171));
  // The group title, blank on each side, sits on the group box's top edge
  // and hides the line behind it; every other text lets the bands through.
  if (reinterpret_cast<HWND>(m.lParam) ==
      GetDlgItem(handle(), IDC_GROUP_TITLE)) {
    SetBkMode(dc, OPAQUE);
    return reinterpret_cast<LRESULT>(titleBrush_);
  }
  return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
}

MessageResult CQuellanView::OnViewCommand(const Message& m) {
  switch (m.wParam) {
    case ID_DEVICE_SEARCH:
      StartSearch();
      break;
    case ID_DEVICE_IP_CHANGE:
      ChangeIpCommand();
      break;
    case ID_DEVICE_WEB_PAGE:
      OpenSelectedWebPage();
      break;
  }
  return 0;
}

MessageResult CQuellanView::OnListClick(const Message&) {
  Apply(::OnListClick(list_.Selected() >= 0));
  return 0;
}

MessageResult CQuellanView::OnListDoubleClick(const Message&) {
  OpenSelectedWebPage();
  return 0;
}

MessageResult CQuellanView::OnItemChanged(const Message& m) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(m.lParam);
  if (change->iItem >= 0 && (change->uChanged & LVIF_STATE) &&
      ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) {
    const bool checked = list_.Checked(change->iItem);
    list_.NoteChecked(change->iItem, checked);
    if (const auto row = TableRowOf(change->iItem))
      table_.SetChecked(*row, checked);
  }
  Apply(::OnItemChanged(searchRunning_, sortInProgress_,
                        table_.CheckedCount() > 0, list_.Selected() >= 0));
  return 0;
}

MessageResult CQuellanView::OnGetDispInfo(const Message& m) {
  list_.FillText(reinterpret_cast<NMLVDISPINFOW*>(m.lParam), table_.Rows());
  return 0;
}

MessageResult CQuellanView::OnSelectAll(const Message&) {
  const bool checked =
      IsDlgButtonChecked(handle(), IDC_SELECT_ALL) == BST_CHECKED;
  // The table first: rows that the list has not written yet take the mark
  // when it writes them.
  for (std::size_t row = 0; row < table_.Size(); ++row)
    table_.SetChecked(row, checked);
  for (int row = 0; row < list_.Count(); ++row) list_.SetChecked(row, checked);
  return 0;
}

MessageResult CQuellanView::OnColumnClick(const Message& m) {
  const auto* click = reinterpret_cast<const NMLISTVIEW*>(m.lParam);
  sortInProgress_ = true;
  const ColumnSortState::Sort sort = sortState_.Click(click->iSubItem);
  list_.SetHeaderFormat(sort.previousColumn, HEADER_PLAIN);
  list_.SetHeaderFormat(sort.column, HeaderFormatFor(sort.direction));
  InvalidateRect(list_.handle(), nullptr, TRUE);
  // The guard stays until the list shows the sorted table (SyncList).
  SortTable(sort.column, sort.direction);
  return 0;
}

MessageResult CQuellanView::OnClose(const Message&) {
  ClearDeviceTable();
  return 0;
}

MessageResult CQuellanView::OnDestroy(const Message&) {
  // The search's threads and the notice reach this window from other
  // threads: they end while its handle is still good.
  search_.reset();
  collisionNotice_.Close();
  return std::nullopt;
}

void CQuellanView::SortTable(int column, int direction) {
  if (SortRows(table_.MutableRows(), column, direction, DEVICE_COLUMNS, true,
               true, PlatformSortKey()))
    list_.Invalidate(0);
  SyncList();
}

void CQuellanView::SyncList() {
  if (list_.SyncStep(table_.MutableRows(), LIST_SYNC_BUDGET)) {
    sortInProgress_ = false;
    if (searchEnded_) GiveSearchBack();
    return;
  }
  PostListSync();
}

void CQuellanView::PostListSync() {
  if (listSyncPosted_) return;
  listSyncPosted_ = true;
  PostMessageW(handle(), WM_LIST_SYNC, 0, 0);
}

MessageResult CQuellanView::OnListSync(const Message&) {
  listSyncPosted_ = false;
  SyncList();
  return 0;
}

std::optional<std::size_t> CQuellanView::TableRowOf(int listRow) const {
  // List row i shows table row i, once the list holds it.
  if (!list_.Holds(listRow) ||
      static_cast<std::size_t>(listRow) >= table_.Size())
    return std::nullopt;
  return static_cast<std::size_t>(listRow);
}

void CQuellanView::OpenSelectedWebPage() {
  const auto row = TableRowOf(list_.Selected());
  if (!row) return;
  const DeviceRow& device = table_.Row(*row);
  OpenWebPage(handle(), browserPath_, device.texts[COLUMN_IP],
              device.texts[COLUMN_HTTP_PORT]);
}

void CQuellanView::SetTool(UINT command, bool enabled) {
  if (frameWindow_)
    SendMessageW(frameWindow_, enabled ? WM_ENABLE_TOOL : WM_DISABLE_TOOL,
                 command, 0);
}

void CQuellanView::Apply(const ToolRequest& request) {
  if (request.changeIp) SetTool(ID_DEVICE_IP_CHANGE, *request.changeIp);
  if (request.webPage) SetTool(ID_DEVICE_WEB_PAGE, *request.webPage);
}

void CQuellanView::EnableListControls(bool enabled) {
  EnableWindow(GetDlgItem(handle(), IDC_DEVICE_LIST), enabled);
  EnableWindow(GetDlgItem(handle(), IDC_SELECT_ALL), enabled);
}
