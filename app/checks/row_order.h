#pragma once
// The machinery behind the multi-key sort: the row order that a series of
// top-down merge-sort passes leaves, computed without moving a row.
#include <string>
#include <vector>

namespace quorvin {

// One sort key: every row's cell, and for a numeric key its value.
struct SortKey {
  std::vector<const std::string*> texts;
  std::vector<double> numbers;  // filled for numeric keys only
  bool numeric = false;
  bool descending = false;
  // The texts are a grid's cells: equal texts are one and the same string.
  bool interned = false;
};

// The row ids in the order that merge-sort passes leave them, one pass per
// key from the last key to the first.
//
// An ascending pass is a stable sort. A descending pass takes the right
// half's row on a tie, so rows of equal key come out in the reverse of the
// order they went in: it is a stable ascending sort read backwards. The
// passes together therefore give one order on all keys at once, each key
// ascending or descending as the number of descending keys up to and
// including it is even or odd, and rows equal on every key by their position,
// ascending or descending as the number of all descending keys is even or odd.
std::vector<int> PassOrder(const std::vector<SortKey>& keys, int count);

}  // namespace quorvin
