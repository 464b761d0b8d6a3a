// Sorting the entry grid on its keys, folding the rows of one BO account and
// ISIN into one row with their quantities added, and checking that was done.
#include "work/checks/sort_summary.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>

#include "day/entry_grid.h"
#include "ground/errors.h"
#include "ground/numbers.h"
#include "ground/place_map.h"
#include "work/checks/row_order.h"

namespace quorvin {
namespace {

void RequireColumn(int cols, int column) {
  if (column < 0 || column >= cols) throw AppError("Subscript out of range");
}

// A key over the cells at cells[id * stride]; a numeric key's texts are
// read as numbers (AppError for one that is not), each distinct cell once.
SortKey ReadKey(const std::string* const* cells, size_t stride, int count, bool numeric,
                bool descending, bool interned) {
  SortKey key;
  key.cells = cells;
  key.stride = stride;
  key.numeric = numeric;
  key.descending = descending;
  key.interned = interned;
  if (numeric) {
    key.numbers.resize(count);
    PlaceMap<std::string, double> read;
    for (int id = 0; id < count; ++id) {
      const std::string* text = key.Text(id);
      if (!interned) {
        key.numbers[id] = ToDouble(*text);
        continue;
      }
      bool added = false;
      double& value = read.Get(text, added);
      if (added) value = ToDouble(*text);  // a throw ends the sort, and the map with it
      key.numbers[id] = value;
    }
  }
  return key;
}

std::vector<double> Permuted(const std::vector<double>& values, const std::vector<int>& order) {
  std::vector<double> moved(order.size());
  for (size_t p = 0; p < order.size(); ++p) moved[p] = values[order[p]];
  return moved;
}

bool InOrder(const std::vector<int>& order) {
  for (size_t p = 0; p < order.size(); ++p)
    if (order[p] != static_cast<int>(p)) return false;
  return true;
}

// Puts the grid's rows first.. into the given order, in place, cycle by
// cycle: a row is read once and written once, and no second array of all
// the cells is needed.
void ApplyOrder(Grid& grid, int first, const std::vector<int>& order) {
  std::vector<Cell>& cells = grid.MutableCells();
  const size_t cols = grid.Cols();
  Cell* const rows = cells.data() + static_cast<size_t>(first) * cols;
  auto row = [&](size_t id) { return rows + id * cols; };
  std::vector<Cell> held(cols);
  std::vector<char> placed(order.size(), 0);
  for (size_t p = 0; p < order.size(); ++p) {
    if (placed[p] || order[p] == static_cast<int>(p)) continue;
    std::copy_n(row(p), cols, held.begin());
    size_t to = p;
    for (size_t from = order[to]; from != p; to = from, from = order[to]) {
      std::copy_n(row(from), cols, row(to));
      placed[to] = 1;
    }
    std::copy_n(held.begin(), cols, row(to));
    placed[to] = 1;
  }
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
  // Each distinct quantity cell is read once; one that is not a whole number
  // in range throws every time it is read, as a walk would.
  PlaceMap<std::string, std::int32_t> read;
  auto quantity = [&](int row) {
    Cell text = cells[row * cols + col::kQuantity];
    bool added = false;
    std::int32_t& value = read.Get(text, added);
    if (added) {
      try {
        value = ToInt32(*text);
      } catch (...) {
        read.Clear();
        throw;
      }
    }
    return value;
  };
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
        std::int32_t upper = quantity(r - 1);
        std::int32_t lower = r == bottom ? quantity(r) : sum;
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

// A quantity text that no other text equals as a number: digits without a
// leading zero.
bool PlainWholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 9 || (text[0] == '0' && text.size() > 1)) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// Whether sorting again rows that SortEntries left in order leaves every
// cell as it is. The sort reverses each run of rows equal on all its keys;
// that changes nothing when the rows of such a run are alike in every cell
// but the serial number, which is written again the same. Two quantities
// that differ as texts but might be equal as numbers count as a change.
bool SortingAgainChangesNothing(const Grid& grid) {
  const std::vector<Cell>& cells = grid.Cells();
  const size_t cols = grid.Cols();
  for (size_t r = grid.FixedRows(); r + 1 < static_cast<size_t>(grid.Rows()); ++r) {
    const Cell* a = cells.data() + r * cols;
    const Cell* b = a + cols;
    if (a[col::kBOID] != b[col::kBOID] || a[col::kClientCode] != b[col::kClientCode] ||
        a[col::kISINCode] != b[col::kISINCode])
      continue;
    if (a[col::kQuantity] != b[col::kQuantity]) {
      if (PlainWholeNumber(*a[col::kQuantity]) && PlainWholeNumber(*b[col::kQuantity])) continue;
      return false;
    }
    for (size_t c = 0; c < cols; ++c)
      if (c != col::kSN && a[c] != b[c]) return false;
  }
  return true;
}

}  // namespace

void MergeSortRows(RowTable& table, int low, int high, int keyColumn, bool descending,
                   bool numeric) {
  if (low >= high) return;
  if (low < 0 || high >= static_cast<int>(table.size())) throw AppError("Subscript out of range");
  for (int r = low; r <= high; ++r) RequireColumn(static_cast<int>(table[r].size()), keyColumn);
  const int count = high - low + 1;
  std::vector<const std::string*> cells(count);
  for (int id = 0; id < count; ++id) cells[id] = &table[low + id][keyColumn];
  std::vector<int> order =
      PassOrder({ReadKey(cells.data(), 1, count, numeric, descending, false)}, count);
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
    const std::vector<Cell>& cells = grid.MutableCells();
    std::vector<SortKey> keys;
    for (size_t k = 0; k < keyColumns.size(); ++k) {
      keys.push_back(ReadKey(cells.data() + first * grid.Cols() + keyColumns[k], grid.Cols(), count,
                             numericFlags[k], descendingFlags[k], true));
      if (k == 0 && !numericFlags[k]) keys[k].ranks = &grid.Pool().Ranks();
    }
    GridBatch batch(grid);
    PassSorter sorter(keys, count);
    std::vector<int> order = sorter.IfInOrder();
    if (!order.empty()) {
      ApplyOrder(grid, first, order);
      return true;
    }
    // The rows are first moved together by the first key, so that sorting
    // each group reads rows that lie side by side.
    std::vector<int> starts;
    const std::vector<int> grouped = sorter.GroupOrder(starts);
    ApplyOrder(grid, first, grouped);
    for (size_t k = 0; k < keys.size(); ++k) {
      keys[k].cells = cells.data() + first * grid.Cols() + keyColumns[k];
      if (keys[k].numeric) keys[k].numbers = Permuted(keys[k].numbers, grouped);
    }
    PassSorter inGroups(keys, count);
    std::vector<int> local(count);
    for (int id = 0; id < count; ++id) local[id] = id;
    for (size_t g = 0; g + 1 < starts.size(); ++g)
      inGroups.SortGroup(local, starts[g], starts[g + 1], grouped);
    ApplyOrder(grid, first, local);
    return true;
  } catch (const std::exception& e) {
    ShowErrorDescription(dialogs, e);
    return false;
  }
}

void SortEntries(AppContext& app, Grid& grid) {
  // Rows this sorted and numbered stay so while their rows, key columns and
  // serial numbers (cells and width) are as it left them.
  const std::uint64_t read = Grid::ColumnBit(col::kBOID) | Grid::ColumnBit(col::kClientCode) |
                             Grid::ColumnBit(col::kISINCode) | Grid::ColumnBit(col::kQuantity) |
                             Grid::ColumnBit(col::kSN);
  if ((grid.ChangedColumns() & read) == 0 && grid.Cols() == kEntryColumns &&
      SortingAgainChangesNothing(grid)) {
    return;
  }
  try {
    const bool sorted = SortGridByColumns(
        app.dialogs, grid, {col::kBOID, col::kClientCode, col::kISINCode, col::kQuantity},
        {false, false, false, true}, {false, false, false, true});
    RenumberSerials(grid);
    if (sorted) grid.ForgetChanges(read);
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e);
  }
}

void Summarize(AppContext& app, Grid& grid) {
  try {
    SortEntries(app, grid);
    FoldRuns(grid);
    RenumberInternalRefNos(app, grid);
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e);
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
    ShowErrorDescription(app.dialogs, e);
    return true;
  }
}

}  // namespace quorvin
