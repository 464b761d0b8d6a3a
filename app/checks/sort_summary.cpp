#include "checks/sort_summary.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>

#include "checks/row_order.h"
#include "entry/entry_grid.h"
#include "shell/errors.h"
#include "shell/numbers.h"

namespace quorvin {
namespace {

void RequireColumn(int cols, int column) {
  if (column < 0 || column >= cols) throw AppError("Subscript out of range");
}

PassKey ReadKey(const RowTable& rows, int first, int count, int column, bool numeric,
                bool descending) {
  std::vector<const std::string*> texts(count);
  for (int id = 0; id < count; ++id) texts[id] = &rows[first + id][column];
  return {numeric ? NumberRanks(texts) : TextRanks(texts), descending};
}

// Moves rows first..first + order.size() - 1 into the given order.
void ApplyOrder(RowTable& rows, int first, const std::vector<int>& order) {
  RowTable sorted(order.size());
  for (size_t p = 0; p < order.size(); ++p) sorted[p] = std::move(rows[first + order[p]]);
  std::move(sorted.begin(), sorted.end(), rows.begin() + first);
}

bool SameAccount(const Grid::CellRow& a, const Grid::CellRow& b) {
  return a[col::kBOID] == b[col::kBOID] && a[col::kISINCode] == b[col::kISINCode];
}

// Folds the runs of the sorted grid (see Summarize). Throws the failing
// step's error after leaving the grid in the walk's state at that step.
void FoldRuns(Grid& grid) {
  RequireColumn(grid.Cols(), col::kQuantity);  // the last column read
  GridBatch batch(grid);
  RowTable& rows = grid.MutableRows();
  const int first = grid.FixedRows(), n = grid.Rows();
  if (n - first < 2) return;

  std::vector<char> keep(n, 1);
  std::optional<AppError> failure;
  for (int bottom = n - 1; bottom > first && !failure;) {
    int top = bottom;
    while (top > first && SameAccount(rows[top - 1], rows[top])) --top;
    // The walk's steps r = bottom .. top + 1 each merge row r into row r - 1.
    std::int32_t sum = 0;
    int r = bottom;
    try {
      for (; r > top; --r) {
        std::int32_t upper = ToInt32(rows[r - 1][col::kQuantity]);
        std::int32_t lower = r == bottom ? ToInt32(rows[r][col::kQuantity]) : sum;
        sum = AddInt32(upper, lower);
        keep[r] = 0;
      }
      if (top < bottom) rows[top][col::kQuantity] = std::to_string(sum);
    } catch (const AppError& e) {
      if (r < bottom) rows[r][col::kQuantity] = std::to_string(sum);
      failure = e;
    }
    bottom = top - 1;
  }

  // Close the gaps; column 0 stays at its position, as the walk never moved it.
  int out = first;
  for (int in = first; in < n; ++in) {
    if (!keep[in]) continue;
    if (out != in) {
      std::swap(rows[out], rows[in]);
      std::swap(rows[out][col::kSN], rows[in][col::kSN]);
    }
    ++out;
  }
  grid.SetRows(out);
  if (failure) throw *failure;
}

}  // namespace

void MergeSortRows(RowTable& table, int low, int high, int keyColumn, bool descending,
                   bool numeric) {
  if (low >= high) return;
  if (low < 0 || high >= static_cast<int>(table.size())) throw AppError("Subscript out of range");
  for (int r = low; r <= high; ++r) RequireColumn(static_cast<int>(table[r].size()), keyColumn);
  const int count = high - low + 1;
  std::vector<int> order =
      PassOrder({ReadKey(table, low, count, keyColumn, numeric, descending)}, count);
  ApplyOrder(table, low, order);
}

bool SortGridByColumns(Dialogs& dialogs, Grid& grid, const std::vector<int>& keyColumns,
                       const std::vector<bool>& numericFlags,
                       const std::vector<bool>& descendingFlags) {
  try {
    if (numericFlags.size() != keyColumns.size() || descendingFlags.size() != keyColumns.size())
      throw AppError("Subscript out of range");
    for (int column : keyColumns) RequireColumn(grid.Cols(), column);
    const int first = grid.FixedRows(), count = grid.Rows() - first;
    if (count < 2) return true;
    RowTable& rows = grid.MutableRows();
    std::vector<PassKey> keys;
    for (size_t k = 0; k < keyColumns.size(); ++k)
      keys.push_back(
          ReadKey(rows, first, count, keyColumns[k], numericFlags[k], descendingFlags[k]));
    std::vector<int> order = PassOrder(keys, count);
    GridBatch batch(grid);
    ApplyOrder(rows, first, order);
    return true;
  } catch (const std::exception& e) {
    ShowErrorDescription(dialogs, e.what());
    return false;
  }
}

void SortEntries(AppContext& app, Grid& grid) {
  try {
    SortGridByColumns(app.dialogs, grid,
                      {col::kBOID, col::kClientCode, col::kISINCode, col::kQuantity},
                      {false, false, false, true}, {false, false, false, true});
    RenumberSerials(grid);
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e.what());
  }
}

void Summarize(AppContext& app, Grid& grid) {
  try {
    SortEntries(app, grid);
    FoldRuns(grid);
    RenumberInternalRefNos(app, grid);
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e.what());
  }
}

void SummarizeWithConfirmation(AppContext& app, Grid& grid) {
  if (app.dialogs.Message("Are you sure to summarize individual BOs ISIN quantities?",
                          "Confirm Summarize", MsgIcon::Question,
                          MsgButtons::YesNo) == MsgAnswer::Yes)
    Summarize(app, grid);
}

bool CheckSummarized(AppContext& app, Grid& grid, WindowPort& window,
                     const std::string& savedCaption) {
  try {
    RequireColumn(grid.Cols(), col::kBOID);
    RequireColumn(grid.Cols(), col::kISINCode);
    for (int i = grid.FixedRows(); i + 1 < grid.Rows(); ++i) {
      if (!SameAccount(grid.RowCells(i), grid.RowCells(i + 1))) continue;
      window.SetCaption(savedCaption);
      window.SetWaitCursor(false);
      app.dialogs.Message("Please summarize records before sending.", "Not Summarized.",
                          MsgIcon::Critical, MsgButtons::Ok);
      grid.SetSelection(i, 0, i, grid.Cols() - 1);
      return true;
    }
    return false;
  } catch (const std::exception& e) {
    // Rows that cannot be compared must not be sent as summarized.
    window.SetCaption(savedCaption);
    window.SetWaitCursor(false);
    ShowErrorDescription(app.dialogs, e.what());
    return true;
  }
}

}  // namespace quorvin
