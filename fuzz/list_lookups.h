#pragma once
// The list lookups as the plain walk that defines them, from the first record
// after the header, an empty text matching nothing: the program answers from
// indexes and caches, and must answer the same.
#include <string>
#include <vector>

#include "day/reference_lists.h"
#include "ground/text.h"

namespace quorvin::fuzz {

// The walk's answer: the index of the record it stops at, -1 for no match,
// and whether it failed on a record holding a serial only.
struct Walk {
  int match = -1;
  bool failed = false;
};

template <typename Record, typename Matches>
Walk WalkList(const std::vector<Record>& records, const std::string& text, Matches matches) {
  if (text.empty()) return {};
  for (int i = 1; i < static_cast<int>(records.size()); ++i) {
    if (records[i].serialOnly) return {-1, true};
    if (matches(records[i])) return {i, false};
  }
  return {};
}

inline bool ContainsUpper(const std::string& haystack, const std::string& needle) {
  return ToUpper(haystack).find(ToUpper(needle)) != std::string::npos;
}

}  // namespace quorvin::fuzz
