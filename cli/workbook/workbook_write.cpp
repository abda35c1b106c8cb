#include "cli/workbook/workbook_write.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "cli/format/text_encoding.h"

namespace cli {
namespace {

// Column widths in characters: wide enough for a heading with its
// autofilter button, never wider than a screen's half.
constexpr double MIN_WIDTH = 8;
constexpr double MAX_WIDTH = 60;
// Room for the autofilter button and a margin.
constexpr double WIDTH_MARGIN = 3;

struct WorkbookClose {
  void operator()(lxw_workbook* workbook) const {
    if (workbook) workbook_close(workbook);
  }
};

// The characters a text shows: UTF-8 lead bytes.
std::size_t Characters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(),
      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

lxw_error WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column,
                    const SheetCell& cell, lxw_format* format) {
  switch (cell.kind) {
    case CellKind::Blank:
      return format ? worksheet_write_blank(sheet, row, column, format)
                    : LXW_NO_ERROR;
    case CellKind::Number:
      return worksheet_write_number(
          sheet, row, column, std::strtod(cell.value.c_str(), nullptr), format);
    case CellKind::Flag:
      return worksheet_write_boolean(sheet, row, column, cell.value == "true",
                                     format);
    case CellKind::Text:
      break;
  }
  // A string cell, never a formula, whatever the text starts with.
  return worksheet_write_string(sheet, row, column,
                                ValidUtf8(cell.value).c_str(), format);
}

lxw_error WriteSheet(lxw_workbook* workbook, const WorkbookSheet& sheet) {
  lxw_worksheet* worksheet =
      workbook_add_worksheet(workbook, ValidUtf8(sheet.name).c_str());
  if (!worksheet) return LXW_ERROR_MEMORY_MALLOC_FAILED;
  lxw_format* bold = workbook_add_format(workbook);
  format_set_bold(bold);
  std::vector<double> widths;
  for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
    const SheetRow& cells = sheet.rows[r];
    if (widths.size() < cells.size()) widths.resize(cells.size(), MIN_WIDTH);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const lxw_error error = WriteCell(worksheet, static_cast<lxw_row_t>(r),
                                        static_cast<lxw_col_t>(c), cells[c],
                                        r == sheet.headerRow ? bold : nullptr);
      if (error != LXW_NO_ERROR) return error;
      widths[c] =
          std::max(widths[c], static_cast<double>(Characters(cells[c].value)) +
                                  WIDTH_MARGIN);
    }
  }
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const auto column = static_cast<lxw_col_t>(c);
    worksheet_set_column(worksheet, column, column,
                         std::min(widths[c], MAX_WIDTH), nullptr);
  }
  if (sheet.headerRow < sheet.rows.size() && !widths.empty()) {
    const auto header = static_cast<lxw_row_t>(sheet.headerRow);
    worksheet_freeze_panes(worksheet, header + 1, 0);
    return worksheet_autofilter(worksheet, header, 0,
                                static_cast<lxw_row_t>(sheet.rows.size() - 1),
                                static_cast<lxw_col_t>(widths.size() - 1));
  }
  return LXW_NO_ERROR;
}

}  // namespace

WorkbookWritten WriteWorkbook(const std::string& path,
                              const std::vector<WorkbookSheet>& sheets) {
  WorkbookWritten result;
  // Each row goes to disk as it is written, not into a tree of every cell
  // until the end: a workbook of 65536 devices costs a third of the memory.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  std::unique_ptr<lxw_workbook, WorkbookClose> workbook(
      workbook_new_opt(path.c_str(), &options));
  if (!workbook) {
    result.why = "cannot make a workbook";
    return result;
  }
  for (const WorkbookSheet& sheet : sheets) {
    const lxw_error error = WriteSheet(workbook.get(), sheet);
    if (error != LXW_NO_ERROR) {
      result.why = lxw_strerror(error);
      return result;
    }
  }
  const lxw_error closed = workbook_close(workbook.release());
  result.ok = closed == LXW_NO_ERROR;
  if (!result.ok) result.why = lxw_strerror(closed);
  return result;
}

}  // namespace cli
