#pragma once
// The machinery behind the multi-key sort: keys reduced to ranks, and the row
// order that a series of merge-sort passes leaves, computed without moving a
// row until the end.
#include <cstdint>
#include <string>
#include <vector>

namespace quorvin {

// Dense ranks of one key column: equal keys share a rank and ranks follow the
// key order, so two rows' ranks compare exactly as their keys do.
using Ranks = std::vector<std::uint32_t>;

// Ordinal, byte by byte: texts[id] for every row id.
Ranks TextRanks(const std::vector<const std::string*>& texts);
// Numbers; a text that is not numeric throws AppError.
Ranks NumberRanks(const std::vector<const std::string*>& texts);

struct PassKey {
  Ranks ranks;
  bool descending = false;
};

// The row ids in the order that top-down merge-sort passes leave them, one
// pass per key from the last key to the first. An ascending pass keeps ties
// in order, so a run of ascending passes is one stable sort on those keys
// together; a descending pass (the right half's row goes first on a tie) is
// replayed merge by merge on the ranks.
std::vector<int> PassOrder(const std::vector<PassKey>& keys, int count);

}  // namespace quorvin
