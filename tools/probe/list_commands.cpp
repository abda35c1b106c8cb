#include <functional>
#include <string>
#include <vector>

#include "core/text/json_string.h"
#include "core/text/utf8.h"
#include "tools/probe/commands.h"
#include "tools/probe/header_control.h"
#include "tools/probe/json_line.h"
#include "tools/probe/list_view.h"
#include "tools/probe/mouse_input.h"
#include "tools/probe/remote_memory.h"
#include "tools/probe/wait_until.h"

namespace probe {

namespace {

using ListBody = std::function<int(ListView&, const QuellanWindows&, HANDLE)>;

// Runs `body` with the device list of the frame and the target's memory.
int WithList(const Invocation& invocation, const ListBody& body) {
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  TargetProcess process(windows->processId);
  if (!process.Usable()) {
    Complain("the target's memory can not be opened");
    return NOT_THERE;
  }
  ListView list(windows->list, process.Handle());
  return body(list, *windows, process.Handle());
}

bool HasRow(const ListView& list, int row) {
  if (row < list.RowCount()) return true;
  Complain("the device list has no row " + std::to_string(row));
  return false;
}

bool HasColumn(const ListView& list, int column) {
  if (column < list.ColumnCount()) return true;
  Complain("the device list has no column " + std::to_string(column));
  return false;
}

void PrintRow(const ListRow& row) {
  std::vector<std::string> texts;
  for (const std::wstring& text : row.texts)
    texts.push_back(JsonString(Utf8(text)));
  JsonLine()
      .Number("row", row.index)
      .Raw("texts", JsonArray(texts))
      .Number("check", row.check)
      .Bool("selected", row.selected)
      .Bool("focused", row.focused)
      .Print();
}

int PrintHeaderItem(HWND header, HANDLE process, int column) {
  const auto item = ReadHeaderItem(header, process, column);
  if (!item) {
    Complain("header item " + std::to_string(column) + " can not be read");
    return NOT_THERE;
  }
  JsonLine()
      .Number("column", column)
      .Number("format", item->format)
      .Text("text", item->text)
      .Number("width", item->width)
      .Print();
  return SUCCESS;
}

int ClickRowWith(const Invocation& invocation,
                 bool (*click)(HWND window, POINT at)) {
  int row = 0;
  if (!ParseIndex(invocation.args[0], row)) return USAGE_ERROR;
  return WithList(
      invocation,
      [&](ListView& list, const QuellanWindows& windows, HANDLE) -> int {
        if (!HasRow(list, row)) return NOT_THERE;
        return ClickMiddle(windows.list, list.VisibleRowRect(row),
                           JsonLine().Number("row", row),
                           "row " + std::to_string(row), click);
      });
}

}  // namespace

int Rows(const Invocation& invocation) {
  return WithList(
      invocation, [](ListView& list, const QuellanWindows&, HANDLE) -> int {
        const int count = list.RowCount();
        for (int index = 0; index < count; ++index) {
          const auto row = list.Row(index);
          if (!row) {
            Complain("row " + std::to_string(index) + " can not be read");
            return NOT_THERE;
          }
          PrintRow(*row);
        }
        return SUCCESS;
      });
}

int RowCount(const Invocation& invocation) {
  return WithList(invocation,
                  [](ListView& list, const QuellanWindows&, HANDLE) -> int {
                    JsonLine().Number("rows", list.RowCount()).Print();
                    return SUCCESS;
                  });
}

int CheckRow(const Invocation& invocation) {
  int row = 0;
  bool on = false;
  if (!ParseIndex(invocation.args[0], row) ||
      !ParseOnOff(invocation.args[1], on)) {
    return USAGE_ERROR;
  }
  return WithList(
      invocation, [&](ListView& list, const QuellanWindows&, HANDLE) -> int {
        if (!HasRow(list, row)) return NOT_THERE;
        list.SetCheck(row, on);
        const int check = list.CheckState(row);
        JsonLine().Number("row", row).Number("check", check).Print();
        return check == (on ? 1 : 0) ? SUCCESS : NOT_THERE;
      });
}

int SelectRow(const Invocation& invocation) {
  int row = 0;
  if (!ParseIndex(invocation.args[0], row)) return USAGE_ERROR;
  return WithList(invocation,
                  [&](ListView& list, const QuellanWindows&, HANDLE) -> int {
                    if (!HasRow(list, row)) return NOT_THERE;
                    list.Select(row);
                    const auto state = list.Row(row);
                    const bool selected = state && state->selected;
                    JsonLine()
                        .Number("row", row)
                        .Bool("selected", selected)
                        .Bool("focused", state && state->focused)
                        .Print();
                    return selected ? SUCCESS : NOT_THERE;
                  });
}

int ClickRow(const Invocation& invocation) {
  return ClickRowWith(invocation, PostClick);
}

int DoubleClickRow(const Invocation& invocation) {
  return ClickRowWith(invocation, PostDoubleClick);
}

int ClickHeader(const Invocation& invocation) {
  int column = 0;
  if (!ParseIndex(invocation.args[0], column)) return USAGE_ERROR;
  return WithList(
      invocation,
      [&](ListView& list, const QuellanWindows&, HANDLE process) -> int {
        if (!HasColumn(list, column)) return NOT_THERE;
        const HWND header = list.Header();
        return ClickMiddle(header, HeaderItemRect(header, process, column),
                           JsonLine().Number("column", column),
                           "column " + std::to_string(column));
      });
}

int HeaderFormat(const Invocation& invocation) {
  int column = 0;
  if (!ParseIndex(invocation.args[0], column)) return USAGE_ERROR;
  return WithList(
      invocation,
      [&](ListView& list, const QuellanWindows&, HANDLE process) -> int {
        if (!HasColumn(list, column)) return NOT_THERE;
        return PrintHeaderItem(list.Header(), process, column);
      });
}

int WaitHeaderFormat(const Invocation& invocation) {
  int column = 0;
  long wanted = 0;
  if (!ParseIndex(invocation.args[0], column) ||
      !ParseNumber(invocation.args[1], wanted)) {
    return USAGE_ERROR;
  }
  return WithList(
      invocation,
      [&](ListView& list, const QuellanWindows&, HANDLE process) -> int {
        if (!HasColumn(list, column)) return NOT_THERE;
        const bool reached = WaitUntil(invocation.timeoutMs, [&] {
          const auto item = ReadHeaderItem(list.Header(), process, column);
          return item && item->format == wanted;
        });
        const int printed = PrintHeaderItem(list.Header(), process, column);
        return reached ? printed : NOT_THERE;
      });
}

int Headers(const Invocation& invocation) {
  return WithList(
      invocation,
      [](ListView& list, const QuellanWindows&, HANDLE process) -> int {
        const int columns = list.ColumnCount();
        for (int column = 0; column < columns; ++column) {
          const int result = PrintHeaderItem(list.Header(), process, column);
          if (result != SUCCESS) return result;
        }
        return SUCCESS;
      });
}

}  // namespace probe
