// The workbook functions of a build without the workbook libraries (the
// static Windows build, for now): a workbook is refused, never half made.
#include "cli/workbook/workbook_read.h"
#include "cli/workbook/workbook_write.h"

namespace cli {
namespace {

const std::string COMPOUND_MAGIC = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

}  // namespace

const bool WORKBOOKS_WRITTEN = false;

WorkbookWritten WriteWorkbook(const std::string&,
                              const std::vector<WorkbookSheet>&) {
  return {false, "this build of quellan-cli writes no workbooks"};
}

bool LooksLikeWorkbook(const std::string& bytes) {
  return bytes.compare(0, 4, "PK\x03\x04") == 0 ||
         bytes.compare(0, COMPOUND_MAGIC.size(), COMPOUND_MAGIC) == 0;
}

WorkbookCells ReadWorkbookCells(const std::string&, const std::string&) {
  WorkbookCells cells;
  cells.why = "this build of quellan-cli reads no workbooks: save it as CSV";
  return cells;
}

}  // namespace cli
