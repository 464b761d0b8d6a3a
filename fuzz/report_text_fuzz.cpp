// The pay-in and pay-out report texts for any grid the clerk could have: the
// input is read as grid text into the entry grid. No crash; every line of the
// form is exactly as wide as the paper form allows; there is one instruction
// line per row and one account block per run of rows of one account.
#include "day/entry_grid.h"
#include "fuzz_support.h"
#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/text.h"
#include "work/reports/instruction_reports.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

// Lines of the report that are not rows: rules, titles, headings.
constexpr int kHeadLines = 11, kPayInTail = 1, kPayOutTail = 7;

bool HasLineBreak(const Grid& grid) {
  for (int r = 0; r < grid.Rows(); ++r)
    for (const std::string& cell : grid.RowCells(r))
      if (cell.find_first_of("\r\n") != std::string::npos) return true;
  return false;
}

void CheckReport(const Grid& grid, bool payOut) {
  std::string text;
  try {
    text = payOut ? PayOutReportText(grid, "1204510000067342", Date{2026, 12, 8})
                  : PayInReportText(grid, "1204510000067342", Date{2026, 12, 8});
  } catch (const AppError& e) {
    FUZZ_CHECK(grid.Rows() < 2, e.Description());
    return;
  }
  FUZZ_CHECK(grid.Rows() >= 2, "a report of no rows");
  FUZZ_CHECK(!EndsWith(text, "\r\n"), "no line end after the last line");
  // Cells holding line breaks of their own would split the form's lines.
  if (HasLineBreak(grid)) return;
  auto lines = SplitAll(text, kCrLf);
  int blocks = 1;
  for (int r = 2; r < grid.Rows(); ++r)
    if (grid.Text(r, col::kBOID) != grid.Text(r - 1, col::kBOID) ||
        grid.Text(r, col::kClientCode) != grid.Text(r - 1, col::kClientCode))
      ++blocks;
  const int rows = grid.Rows() - 1;
  // Each block: its account line, and a rule before every block but the first.
  const size_t expected =
      kHeadLines + rows + blocks + (blocks - 1) + (payOut ? kPayOutTail : kPayInTail);
  FUZZ_CHECK(lines.size() == expected,
             std::to_string(lines.size()) + " lines, expected " + std::to_string(expected));
  for (std::string_view line : lines)
    FUZZ_CHECK(line.size() <= static_cast<size_t>(kReportWidth), std::string(line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietDialogs dialogs;
  Grid grid;
  SetUpEntryGrid(grid);
  LoadGridText(dialogs, WriteScratchFile("rows.txt", AsText(data, size)), grid);
  CheckReport(grid, false);
  CheckReport(grid, true);
  // A grid with the header row only, as an import of no trades leaves it.
  grid.SetRows(1);
  CheckReport(grid, false);
  return 0;
}
