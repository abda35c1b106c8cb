// The workbook reader with any bytes: a whole file (first byte 0) or a
// sheet's XML (any other first byte). Either it is refused with a reason,
// or it gives rows in order, each as wide as the header, none blank, which
// the plan rules then read or refuse by a row.
#include <cstdint>
#include <string>

#include "cli/plan/plan_file.h"
#include "cli/workbook/sheet_cells.h"
#include "cli/workbook/workbook_read.h"
#include "tests/fuzz/require.h"

namespace {

void RequireRows(const std::vector<cli::CsvRecord>& rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    FUZZ_REQUIRE(rows[i].cells.size() == rows[0].cells.size());
    FUZZ_REQUIRE(i == 0 || rows[i].line > rows[i - 1].line);
    bool blank = true;
    for (const std::string& cell : rows[i].cells) blank = blank && cell.empty();
    FUZZ_REQUIRE(!blank);
  }
  const cli::PlanFile plan =
      cli::ReadPlanRecords(rows, "fuzz.xlsx:Sheet1", cli::BlankIp::Kept);
  FUZZ_REQUIRE(plan.ok == plan.errors.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] == 0) {
    const cli::WorkbookCells cells = cli::ReadWorkbookCells(bytes, "");
    FUZZ_REQUIRE(cells.ok == cells.why.empty());
    if (cells.ok) RequireRows(cells.records);
    return 0;
  }
  const cli::SheetCells cells =
      cli::ReadSheetCells(bytes, {"mac", "ip", "02:00:5E:C1:00:01"});
  FUZZ_REQUIRE(cells.ok == cells.why.empty());
  if (cells.ok) RequireRows(cells.rows);
  return 0;
}
