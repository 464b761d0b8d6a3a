#pragma once
// The machinery behind the multi-key sort: the row order that a series of
// top-down merge-sort passes leaves, computed without moving a row.
#include <cstdint>
#include <string>
#include <vector>

#include "ground/place_map.h"

namespace quorvin {

// One sort key: every row's cell, and for a numeric key its value. Row id's
// cell is *cells[id * stride], so that a key can be read straight from a
// grid's rows.
struct SortKey {
  const std::string* const* cells = nullptr;
  size_t stride = 1;
  std::vector<double> numbers;  // filled for numeric keys only
  bool numeric = false;
  bool descending = false;
  // The texts are a grid's cells: equal texts are one and the same string.
  bool interned = false;
  // For interned texts: their pool's ranks, read to compare two texts and
  // set when the rows are grouped by this key.
  PlaceMap<std::string, std::uint32_t>* ranks = nullptr;

  const std::string* Text(int id) const { return cells[static_cast<size_t>(id) * stride]; }
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

// The same order found in steps, so that a caller can move its rows between
// them and have the later steps read rows that lie together.
class PassSorter {
 public:
  PassSorter(const std::vector<SortKey>& keys, int count);

  // When the rows are in key order already (a grid sorted before): the final
  // order, which only turns runs of rows equal on every key round when the
  // position runs backwards. Empty otherwise.
  std::vector<int> IfInOrder() const;

  // The rows grouped by the first key, the groups in that key's final
  // direction and each group in row order; starts receives where each group
  // begins, and the row count at the end.
  std::vector<int> GroupOrder(std::vector<int>& starts) const;

  // Sorts ids[from, to), rows equal on the first key, by the other keys and
  // then by position[id] (the row's place before any move).
  void SortGroup(std::vector<int>& ids, int from, int to, const std::vector<int>& position) const;

 private:
  int CompareFrom(size_t first, int a, int b) const;

  const std::vector<SortKey>& keys_;
  int count_;
  std::vector<int> direction_;  // each key's direction in the final order
  int positionDirection_ = 1;
};

}  // namespace quorvin
