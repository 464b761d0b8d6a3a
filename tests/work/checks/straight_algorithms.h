#pragma once
// Word-for-word transcriptions of the sort, the summary loop and the holding
// lookup as the clerk's old tool ran them: rows copied cell by cell, rows
// shifted at every merge, the file scanned for every row. Slow, obvious, and
// the yardstick the fast versions are held to.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ground/numbers.h"
#include "ground/text.h"

namespace quorvin::test::straight {

using Table = std::vector<std::vector<std::string>>;

inline void MergeSortRows(Table& table, int low, int high, int keyColumn, int lastColumn,
                          bool descending, bool numeric) {
  if (low >= high) return;
  int mid = (low + high) / 2;
  MergeSortRows(table, low, mid, keyColumn, lastColumn, descending, numeric);
  MergeSortRows(table, mid + 1, high, keyColumn, lastColumn, descending, numeric);
  Table scratch(high - low + 1, std::vector<std::string>(lastColumn + 1));
  for (int r = low; r <= high; ++r)
    for (int c = 0; c <= lastColumn; ++c) scratch[r - low][c] = table[r][c];
  int i = 0, j = mid - low + 1;
  const int leftEnd = mid - low, rightEnd = high - low;
  for (int out = low; out <= high; ++out) {
    bool takeRight;
    if (j > rightEnd) {
      takeRight = false;
    } else if (i > leftEnd) {
      takeRight = true;
    } else {
      if (numeric)
        takeRight = ToDouble(scratch[j][keyColumn]) < ToDouble(scratch[i][keyColumn]);
      else
        takeRight = scratch[j][keyColumn] < scratch[i][keyColumn];
      if (descending) takeRight = !takeRight;
    }
    int from = takeRight ? j++ : i++;
    for (int c = 0; c <= lastColumn; ++c) table[out][c] = scratch[from][c];
  }
}

// Sorts rows 1.. of a table whose row 0 is the header. Throws as a pass does;
// the caller's table is then untouched.
inline void SortGridByColumns(Table& rows, const std::vector<int>& keys,
                              const std::vector<bool>& numeric,
                              const std::vector<bool>& descending) {
  int cols = static_cast<int>(rows[0].size());
  Table table(rows.begin() + 1, rows.end());
  int n = static_cast<int>(table.size());
  for (int k = static_cast<int>(keys.size()) - 1; k >= 0; --k)
    MergeSortRows(table, 0, n - 1, keys[k], cols - 1, descending[k], numeric[k]);
  for (int r = 0; r < n; ++r) rows[r + 1] = table[r];
}

// The summary loop over a sorted table (row 0 the header). Returns the error
// description that stopped it, if any; the table holds the state at that moment.
inline std::optional<std::string> SummaryLoop(Table& rows, int boidCol, int isinCol,
                                              int quantityCol) {
  for (int r = static_cast<int>(rows.size()) - 1; r >= 2; --r) {
    if (rows[r][boidCol] != rows[r - 1][boidCol] || rows[r][isinCol] != rows[r - 1][isinCol])
      continue;
    try {
      std::int32_t upper = ToInt32(rows[r - 1][quantityCol]);
      std::int32_t lower = ToInt32(rows[r][quantityCol]);
      rows[r - 1][quantityCol] = std::to_string(AddInt32(upper, lower));
    } catch (const std::exception& e) {
      return e.what();
    }
    int last = static_cast<int>(rows.size()) - 1;
    if (r != last)
      for (int k = r; k <= last - 1; ++k)
        for (size_t c = 1; c < rows[k].size(); ++c) rows[k][c] = rows[k + 1][c];
    rows.pop_back();
  }
  return std::nullopt;
}

// The first line from line 8 holding both texts, scanned afresh.
inline std::optional<std::string> BalanceLine(const std::string& fileText, const std::string& boid,
                                              const std::string& isin) {
  if (boid.empty()) return std::nullopt;  // a row without a BOID has no balance line
  auto lines = SplitAll(fileText, "\r\n");
  for (size_t l = 8; l < lines.size(); ++l)
    if (lines[l].find(boid) != std::string::npos && lines[l].find(isin) != std::string::npos)
      return std::string(lines[l]);
  return std::nullopt;
}

}  // namespace quorvin::test::straight
