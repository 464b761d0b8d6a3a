// Adding and deleting rows, pasting a copied cell down the selection,
// selecting a whole row and searching a column for a text.
#include "day/row_operations.h"

#include <algorithm>

#include "day/entry_grid.h"
#include "ground/grid_text.h"
#include "ground/text.h"

namespace quorvin {

void AddRow(Grid& grid) {
  int row = grid.Rows();
  grid.SetRows(row + 1);
  grid.SetText(row, 0, std::to_string(row));
  grid.SetCurrent(row, 1);
  grid.SetTopRow(row);
}

void DeleteSelectedRows(Dialogs& dialogs, Grid& grid) {
  if (IsGridEmpty(grid)) return;
  if (dialogs.Message("Are you sure to delete the selected record(s)?", "Delete Confirmation",
                      MsgIcon::Critical, MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  GridBatch batch(grid);
  auto blankRowOne = [&grid] {
    for (int c = 1; c < grid.Cols(); ++c) grid.SetText(1, c, "");
  };
  if (grid.Rows() == 2) {
    blankRowOne();
    return;
  }
  int top = std::max(std::min(grid.Row(), grid.RowSel()), 1);
  int bottom = std::max(grid.Row(), grid.RowSel());
  int last = grid.Rows() - 1;
  if (top == 1 && bottom == last) {
    grid.SetRows(2);
    blankRowOne();
  } else if (bottom == last) {
    grid.SetRows(top);
  } else {
    grid.RemoveRows(top, bottom - top + 1);
    for (int r = top; r < grid.Rows(); ++r) grid.SetText(r, 0, std::to_string(r));
  }
  grid.SetCurrent(std::min(top, grid.Rows() - 1), grid.Col());
}

void PasteCell(Grid& grid, int copiedRow, int copiedCol, bool linkGroups) {
  if (!grid.Valid(copiedRow, copiedCol)) return;
  int c = grid.Col();
  int top = std::min(grid.Row(), grid.RowSel());
  int bottom = std::max(grid.Row(), grid.RowSel());
  std::vector<int> cols{c};
  if (linkGroups && c == copiedCol) {
    if (c == col::kClientCode || c == col::kScripID) cols = {c, c + 1, c + 2};
    if (c == col::kBOID || c == col::kISINCode) cols = {c, c - 1, c + 1};
    if (c == col::kBOName || c == col::kISINName) cols = {c, c - 2, c - 1};
  }
  GridBatch batch(grid);
  for (int r = top; r <= bottom; ++r) {
    for (int k : cols) {
      if (!grid.Valid(r, k)) continue;
      // The copied cell goes into the current column; its partners into their own.
      grid.SetText(r, k, grid.Text(copiedRow, k == c ? copiedCol : k));
      WidenColumn(grid, r, k, kWidenMargin);
    }
  }
}

void SelectWholeRow(Grid& grid, int row) {
  grid.SetSelection(row, 0, row, grid.Cols() - 1);
  grid.SetTopRow(row);
}

int FindRowFrom(const Grid& grid, int col, const std::string& needle, int from) {
  if (col < 0 || col >= grid.Cols()) return -1;
  std::string upper = ToUpper(TrimView(needle));
  const int first = grid.FixedRows(), rows = grid.Rows();
  from = std::clamp(from, first, std::max(rows - 1, first));
  for (int r = from; r < rows; ++r)
    if (ContainsNoCase(grid.Text(r, col), upper)) return r;
  for (int r = first; r < from && r < rows; ++r)
    if (ContainsNoCase(grid.Text(r, col), upper)) return r;
  return -1;
}

void SearchRows(Dialogs& dialogs, Grid& grid, int col, const std::string& needle) {
  std::string upper = ToUpper(TrimView(needle));
  auto matches = [&](int r) { return ContainsNoCase(grid.Text(r, col), upper); };
  int found = -1;
  for (int r = grid.Row() + 1; r < grid.Rows() && found < 0; ++r)
    if (matches(r)) found = r;
  for (int r = 1; r <= grid.Row() && r < grid.Rows() && found < 0; ++r)
    if (matches(r)) found = r;
  if (found > 0) {
    SelectWholeRow(grid, found);
  } else {
    dialogs.Message("No such record found.", "Record not found.", MsgIcon::Critical,
                    MsgButtons::Ok);
  }
}

}  // namespace quorvin
