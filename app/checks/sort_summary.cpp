#include "checks/sort_summary.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <string_view>

#include "entry/entry_grid.h"
#include "shell/errors.h"
#include "shell/numbers.h"

namespace quorvin {
namespace {

void RequireColumn(int cols, int column) {
  if (column < 0 || column >= cols) throw AppError("Subscript out of range");
}

// One key of a row, as a merge pass compares it.
template <typename Key>
struct Keyed {
  Key key;
  int id;
};

// The top-down merge sort of one pass, on (key, row id) pairs so that the
// rows themselves move only once, at the end. Same splits, same comparisons,
// same tie rule as moving the rows would give.
template <typename Key>
void MergeSort(std::vector<Keyed<Key>>& items, std::vector<Keyed<Key>>& scratch, int low, int high,
               bool descending) {
  if (low >= high) return;
  int mid = low + (high - low) / 2;
  MergeSort(items, scratch, low, mid, descending);
  MergeSort(items, scratch, mid + 1, high, descending);
  std::copy(items.begin() + low, items.begin() + high + 1, scratch.begin() + low);
  int i = low, j = mid + 1;
  for (int out = low; out <= high; ++out) {
    bool takeRight;
    if (j > high) {
      takeRight = false;
    } else if (i > mid) {
      takeRight = true;
    } else {
      takeRight = scratch[j].key < scratch[i].key;
      if (descending) takeRight = !takeRight;
    }
    items[out] = takeRight ? scratch[j++] : scratch[i++];
  }
}

// Runs one pass over `order` (row ids in their current sequence).
template <typename Key, typename KeyOf>
void MergePass(std::vector<int>& order, bool descending, KeyOf keyOf) {
  std::vector<Keyed<Key>> items(order.size()), scratch(order.size());
  for (size_t p = 0; p < order.size(); ++p) items[p] = {keyOf(order[p]), order[p]};
  MergeSort(items, scratch, 0, static_cast<int>(items.size()) - 1, descending);
  for (size_t p = 0; p < order.size(); ++p) order[p] = items[p].id;
}

// The cells of one key column, by row id: numbers converted once, or the texts.
struct KeyColumn {
  bool numeric = false, descending = false;
  std::vector<double> numbers;
  std::vector<std::string_view> texts;

  int Compare(int a, int b) const {
    if (numeric) return numbers[a] < numbers[b] ? -1 : (numbers[b] < numbers[a] ? 1 : 0);
    return texts[a].compare(texts[b]);
  }
};

KeyColumn ReadKeyColumn(const RowTable& rows, int first, int count, int column, bool numeric,
                        bool descending) {
  KeyColumn key;
  key.numeric = numeric;
  key.descending = descending;
  if (numeric) {
    key.numbers.resize(count);
    for (int id = 0; id < count; ++id) key.numbers[id] = ToDouble(rows[first + id][column]);
  } else {
    key.texts.resize(count);
    for (int id = 0; id < count; ++id) key.texts[id] = rows[first + id][column];
  }
  return key;
}

// The row order the passes give, least significant key first. A pass on an
// ascending key keeps ties in order, so a run of ascending passes equals one
// stable sort on those keys together; a descending pass does not keep ties
// and is replayed merge by merge.
std::vector<int> PassOrder(const std::vector<KeyColumn>& keys, int count) {
  std::vector<int> order(count);
  for (int id = 0; id < count; ++id) order[id] = id;
  int k = static_cast<int>(keys.size()) - 1;
  while (k >= 0) {
    const KeyColumn& key = keys[k];
    if (key.descending) {
      if (key.numeric)
        MergePass<double>(order, true, [&](int id) { return key.numbers[id]; });
      else
        MergePass<std::string_view>(order, true, [&](int id) { return key.texts[id]; });
      --k;
      continue;
    }
    int top = k;
    while (top > 0 && !keys[top - 1].descending) --top;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      for (int g = top; g <= k; ++g) {
        int c = keys[g].Compare(a, b);
        if (c) return c < 0;
      }
      return false;
    });
    k = top - 1;
  }
  return order;
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
  RequireColumn(grid.Cols(), col::kQuantity);
  RequireColumn(grid.Cols(), col::kISINCode);
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
  KeyColumn key = ReadKeyColumn(table, low, high - low + 1, keyColumn, numeric, descending);
  std::vector<int> order = PassOrder({key}, high - low + 1);
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
    std::vector<KeyColumn> keys;
    for (size_t k = 0; k < keyColumns.size(); ++k)
      keys.push_back(
          ReadKeyColumn(rows, first, count, keyColumns[k], numericFlags[k], descendingFlags[k]));
    std::vector<int> order = PassOrder(keys, count);
    keys.clear();  // the views point into the rows about to move
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
