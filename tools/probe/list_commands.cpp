#include <functional>
#include <string>
#include <vector>

#include "core/text/json_line.h"
#include "core/text/json_string.h"
#include "core/text/utf8.h"
#include "tools/probe/commands.h"
#include "tools/probe/header_control.h"
#include "tools/probe/list_view.h"
#include "tools/probe/mouse_input.h"
#include "tools/probe/remote_memory.h"
#include "tools/probe/wait_until.h"

namespace probe {

namespace {

// What a command needs the device list to have: the row or the column that
// its first argument names, or nothing in particular.
enum class ListItem { Any, Row, Column };

using ListBody = std::function<int(ListView& list, HANDLE process)>;

// Runs `body` with the device list of the frame and the target's memory, or
// explains why there is none or why it lacks the `item` asked for.
int WithList(const Invocation& invocation, ListItem item,
             const ListBody& body) {
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  TargetProcess process(windows->processId);
  if (!process.Usable()) {
    Complain("the target's memory can not be opened");
    return NOT_THERE;
  }
  ListView list(windows->list, process.Handle());
  const bool row = item == ListItem::Row;
  if (item != ListItem::Any &&
      invocation.number >= (row ? list.RowCount() : list.ColumnCount())) {
    Complain(std::string("the device list has no ") +
             (row ? "row " : "column ") + std::to_string(invocation.number));
    return NOT_THERE;
  }
  return body(list, process.Handle());
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
  const int row = invocation.number;
  return WithList(invocation, ListItem::Row, [&](ListView& list, HANDLE) {
    return ClickMiddle(list.Window(), list.VisibleRowRect(row),
                       JsonLine().Number("row", row),
                       "row " + std::to_string(row), click);
  });
}

}  // namespace

int Rows(const Invocation& invocation) {
  return WithList(invocation, ListItem::Any, [](ListView& list, HANDLE) -> int {
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
  return WithList(invocation, ListItem::Any, [](ListView& list, HANDLE) {
    JsonLine().Number("rows", list.RowCount()).Print();
    return SUCCESS;
  });
}

int CheckRow(const Invocation& invocation) {
  const int row = invocation.number;
  bool on = false;
  if (!ParseOnOff(invocation.args[1], on)) return USAGE_ERROR;
  return WithList(invocation, ListItem::Row, [&](ListView& list, HANDLE) {
    list.SetCheck(row, on);
    const int check = list.CheckState(row);
    JsonLine().Number("row", row).Number("check", check).Print();
    return check == (on ? 1 : 0) ? SUCCESS : NOT_THERE;
  });
}

int SelectRow(const Invocation& invocation) {
  const int row = invocation.number;
  return WithList(invocation, ListItem::Row, [&](ListView& list, HANDLE) {
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
  const int column = invocation.number;
  return WithList(
      invocation, ListItem::Column, [&](ListView& list, HANDLE process) {
        const HWND header = list.Header();
        return ClickMiddle(header, HeaderItemRect(header, process, column),
                           JsonLine().Number("column", column),
                           "column " + std::to_string(column));
      });
}

int HeaderFormat(const Invocation& invocation) {
  return WithList(
      invocation, ListItem::Column, [&](ListView& list, HANDLE process) {
        return PrintHeaderItem(list.Header(), process, invocation.number);
      });
}

int WaitHeaderFormat(const Invocation& invocation) {
  const int column = invocation.number;
  long wanted = 0;
  if (!ParseNumber(invocation.args[1], wanted)) return USAGE_ERROR;
  return WithList(
      invocation, ListItem::Column, [&](ListView& list, HANDLE process) {
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
      invocation, ListItem::Any, [](ListView& list, HANDLE process) -> int {
        const int columns = list.ColumnCount();
        for (int column = 0; column < columns; ++column) {
          const int result = PrintHeaderItem(list.Header(), process, column);
          if (result != SUCCESS) return result;
        }
        return SUCCESS;
      });
}

}  // namespace probe
