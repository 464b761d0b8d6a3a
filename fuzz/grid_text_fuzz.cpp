// The grid text loader on any file: it must never crash, must leave a grid of
// whole rows, and a file it took without complaint must come back unchanged
// through a save and a second load.
#include "day/entry_grid.h"
#include "fuzz_support.h"
#include "ground/grid_text.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

// One row per line, whatever the lines hold; a file that cannot be read
// leaves the reset grid of two rows.
void CheckRows(const Grid& grid, std::string_view text) {
  int lines = 1;
  for (size_t at = text.find("\r\n"); at != text.npos; at = text.find("\r\n", at + 2)) ++lines;
  FUZZ_CHECK(grid.Rows() == (text.empty() ? 2 : lines), std::to_string(grid.Rows()) + " rows");
  for (int r = 0; r < grid.Rows(); ++r)
    FUZZ_CHECK(static_cast<int>(grid.RowCells(r).size()) == grid.Cols(),
               "row " + std::to_string(r));
  for (int c = 0; c < grid.Cols(); ++c)
    FUZZ_CHECK(grid.ColWidth(c) > 0, "column " + std::to_string(c));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietDialogs dialogs;
  Grid grid;
  SetUpEntryGrid(grid);
  const std::string path = WriteScratchFile("grid.txt", AsText(data, size));
  LoadGridText(dialogs, path, grid);
  CheckRows(grid, AsText(data, size));
  if (!dialogs.shown.empty()) {
    FUZZ_CHECK(dialogs.shown.size() == 1 && dialogs.Showed("Error loading file into list."),
               dialogs.shown.front().text);
    return 0;
  }

  const std::string saved = GridToText(grid);
  Grid again;
  SetUpEntryGrid(again);
  LoadGridText(dialogs, WriteScratchFile("again.txt", saved), again);
  FUZZ_CHECK(dialogs.shown.empty(), "a saved grid must load without complaint");
  FUZZ_CHECK(again.Rows() == grid.Rows(), "rows " + std::to_string(again.Rows()));
  for (int r = 0; r < grid.Rows(); ++r)
    FUZZ_CHECK(again.RowCells(r) == grid.RowCells(r), "row " + std::to_string(r));
  FUZZ_CHECK(GridToText(again) == saved, "the second save differs");
  return 0;
}
