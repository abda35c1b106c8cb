#include "tests/probe/target_view.h"

#include <commctrl.h>

#include "tests/probe/target_ids.h"

namespace {

constexpr wchar_t VIEW_CLASS[] = L"ProbeTargetView";

HWND AddChild(HWND view, const wchar_t* className, const wchar_t* text,
              DWORD style, int id, int x, int y, int width, int height) {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x,
                         y, width, height, view,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void FillList(HWND list) {
  ListView_SetExtendedListViewStyle(
      list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (int column = 0; column < target::COLUMNS; ++column) {
    LVCOLUMNW format{};
    format.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    format.fmt = LVCFMT_CENTER;
    format.cx = 105;
    format.pszText = const_cast<wchar_t*>(target::HEADINGS[column]);
    format.iSubItem = column;
    ListView_InsertColumn(list, column, &format);
  }
  const HWND header = ListView_GetHeader(list);
  for (int column = 0; column < target::COLUMNS; ++column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    item.fmt = target::HEADER_FORMAT;
    Header_SetItem(header, column, &item);
  }
  for (int row = 0; row < target::ROWS; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(target::CELLS[row][0]);
    ListView_InsertItem(list, &item);
    for (int column = 1; column < target::COLUMNS; ++column) {
      ListView_SetItemText(list, row, column,
                           const_cast<wchar_t*>(target::CELLS[row][column]));
    }
  }
}

void MarkSorted(HWND list, int column) {
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  item.fmt = target::SORTED_HEADER_FORMAT;
  Header_SetItem(ListView_GetHeader(list), column, &item);
}

void OnListNotify(HWND view, const NMHDR& header) {
  if (header.code == LVN_COLUMNCLICK) {
    const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
    MarkSorted(header.hwndFrom, click.iSubItem);
    ReportEvent(view,
                L"column " + std::to_wstring(click.iSubItem) + L" clicked");
  } else if (header.code == NM_CLICK || header.code == NM_DBLCLK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    ReportEvent(
        view, L"row " + std::to_wstring(click.iItem) +
                  (header.code == NM_CLICK ? L" clicked" : L" double-clicked"));
  }
}

LRESULT CALLBACK ViewProcedure(HWND view, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (header.idFrom == target::LIST_ID) OnListNotify(view, header);
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == target::OPTION_ID &&
      HIWORD(wParam) == BN_CLICKED) {
    const LRESULT check =
        SendMessageW(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0);
    ReportEvent(view, L"option " + std::to_wstring(check));
    return 0;
  }
  return DefWindowProcW(view, message, wParam, lParam);
}

}  // namespace

HWND CreateTargetView(HWND frame, const RECT& where) {
  static const ATOM atom = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ViewProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = VIEW_CLASS;
    return RegisterClassW(&windowClass);
  }();
  const HWND view = CreateWindowExW(
      0, MAKEINTATOM(atom), L"", WS_CHILD | WS_VISIBLE, where.left, where.top,
      where.right - where.left, where.bottom - where.top, frame, nullptr,
      GetModuleHandleW(nullptr), nullptr);
  AddChild(view, WC_BUTTONW, L"Select all", BS_AUTOCHECKBOX | WS_DISABLED,
           target::SELECT_ALL_ID, 10, 10, 120, 20);
  AddChild(view, WC_BUTTONW, L"Option", BS_AUTOCHECKBOX, target::OPTION_ID, 140,
           10, 100, 20);
  AddChild(view, WC_STATICW, target::FOUND_TEXT, SS_RIGHT,
           target::FOUND_TEXT_ID, 500, 10, 260, 20);
  const HWND list = AddChild(
      view, WC_LISTVIEWW, L"",
      LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
      target::LIST_ID, 10, 40, 760, 300);
  FillList(list);
  AddChild(view, WC_STATICW, L"", SS_LEFT, target::COMMAND_LOG_ID, 10, 350, 760,
           20);
  AddChild(view, WC_STATICW, L"ready", SS_LEFT, target::EVENT_TEXT_ID, 10, 380,
           760, 20);
  return view;
}

void ReportEvent(HWND view, const std::wstring& event) {
  SetDlgItemTextW(view, target::EVENT_TEXT_ID, event.c_str());
}

void LogCommand(HWND view, int id) {
  wchar_t log[512] = L"";
  GetDlgItemTextW(view, target::COMMAND_LOG_ID, log, 512);
  std::wstring text = log;
  if (!text.empty()) text += L',';
  text += std::to_wstring(id);
  SetDlgItemTextW(view, target::COMMAND_LOG_ID, text.c_str());
  ReportEvent(view, L"command " + std::to_wstring(id));
}
