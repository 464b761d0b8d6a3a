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

// cell(id) is row id's key cell.
template <typename Cell>
SortKey ReadKey(Cell cell, int count, bool numeric, bool descending) {
  SortKey key;
  key.numeric = numeric;
  key.descending = descending;
  key.texts.resize(count);
  for (int id = 0; id < count; ++id) key.texts[id] = &cell(id);
  if (numeric) {
    key.numbers.resize(count);
    for (int id = 0; id < count; ++id) key.numbers[id] = ToDouble(*key.texts[id]);
  }
  return key;
}

bool InOrder(const std::vector<int>& order) {
  for (size_t p = 0; p < order.size(); ++p)
    if (order[p] != static_cast<int>(p)) return false;
  return true;
}

// Puts the grid's rows first.. into the given order: in place, cycle by
// cycle, when few rows move (a grid sorted before), else gathered into a new
// array.
void ApplyOrder(Grid& grid, int first, const std::vector<int>& order) {
  std::vector<Cell>& cells = grid.MutableCells();
  const size_t cols = grid.Cols();
  auto row = [&](size_t id) { return cells.begin() + (first + id) * cols; };
  size_t moved = 0;
  for (size_t p = 0; p < order.size(); ++p) moved += order[p] != static_cast<int>(p);
  if (moved == 0) return;
  if (moved < order.size() / 4) {
    std::vector<Cell> held(cols);
    std::vector<char> placed(order.size(), 0);
    for (size_t p = 0; p < order.size(); ++p) {
      if (placed[p] || order[p] == static_cast<int>(p)) continue;
      std::copy(row(p), row(p) + cols, held.begin());
      size_t to = p;
      for (size_t from = order[to]; from != p; to = from, from = order[to]) {
        std::copy(row(from), row(from) + cols, row(to));
        placed[to] = 1;
      }
      std::copy(held.begin(), held.end(), row(to));
      placed[to] = 1;
    }
    return;
  }
  std::vector<Cell> sorted(cells.begin(), cells.begin() + first * cols);
  sorted.reserve(cells.size());
  constexpr size_t kAhead = 8;
  for (size_t p = 0; p < order.size(); ++p) {
    if (p + kAhead < order.size()) __builtin_prefetch(&*row(order[p + kAhead]));
    sorted.insert(sorted.end(), row(order[p]), row(order[p]) + cols);
  }
  cells.swap(sorted);
}

bool SameAccount(const Grid& grid, int a, int b) {
  return grid.SameText(a, col::kBOID, b, col::kBOID) &&
         grid.SameText(a, col::kISINCode, b, col::kISINCode);
}

// Folds the runs of the sorted grid (see Summarize). Throws the failing
// step's error after leaving the grid in the walk's state at that step.
void FoldRuns(Grid& grid) {
  RequireColumn(grid.Cols(), col::kQuantity);  // the last column read
  GridBatch batch(grid);
  std::vector<Cell>& cells = grid.MutableCells();
  const size_t cols = grid.Cols();
  auto quantity = [&](int row) -> const std::string& { return *cells[row * cols + col::kQuantity]; };
  auto setQuantity = [&](int row, std::int32_t sum) {
    cells[row * cols + col::kQuantity] = grid.Pool().Intern(std::to_string(sum));
  };
  const int first = grid.FixedRows(), n = grid.Rows();
  if (n - first < 2) return;

  std::vector<char> keep(n, 1);
  std::optional<AppError> failure;
  for (int bottom = n - 1; bottom > first && !failure;) {
    int top = bottom;
    while (top > first && SameAccount(grid, top - 1, top)) --top;
    // The walk's steps r = bottom .. top + 1 each merge row r into row r - 1.
    std::int32_t sum = 0;
    int r = bottom;
    try {
      for (; r > top; --r) {
        std::int32_t upper = ToInt32(quantity(r - 1));
        std::int32_t lower = r == bottom ? ToInt32(quantity(r)) : sum;
        sum = AddInt32(upper, lower);
        keep[r] = 0;
      }
      if (top < bottom) setQuantity(top, sum);
    } catch (const AppError& e) {
      if (r < bottom) setQuantity(r, sum);
      failure = e;
    }
    bottom = top - 1;
  }

  // Close the gaps; column 0 stays at its position, as the walk never moved it.
  int out = first;
  for (int in = first; in < n; ++in) {
    if (!keep[in]) continue;
    if (out != in)
      for (size_t c = 0; c < cols; ++c)
        if (c != col::kSN) cells[out * cols + c] = cells[in * cols + c];
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
  auto cell = [&](int id) -> const std::string& { return table[low + id][keyColumn]; };
  std::vector<int> order = PassOrder({ReadKey(cell, count, numeric, descending)}, count);
  if (InOrder(order)) return;
  RowTable sorted(order.size());
  for (size_t p = 0; p < order.size(); ++p) sorted[p] = std::move(table[low + order[p]]);
  std::move(sorted.begin(), sorted.end(), table.begin() + low);
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
    std::vector<SortKey> keys;
    for (size_t k = 0; k < keyColumns.size(); ++k) {
      auto cell = [&](int id) -> const std::string& { return grid.Text(first + id, keyColumns[k]); };
      keys.push_back(ReadKey(cell, count, numericFlags[k], descendingFlags[k]));
      keys.back().interned = true;
    }
    std::vector<int> order = PassOrder(keys, count);
    GridBatch batch(grid);
    ApplyOrder(grid, first, order);
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
      if (!SameAccount(grid, i, i + 1)) continue;
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
