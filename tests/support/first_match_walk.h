#pragma once
// The list lookups as the clerk's old tool ran them: a walk from the first
// record that stops at the first match. The yardstick for the indexed lookups.
#include <cstddef>
#include <functional>

#include "lists/reference_lists.h"

namespace quorvin::test {

// Each walk returns the index of the first record that matches, -1 when none
// does, or -2 when it reaches a record holding a serial number only first.
struct Walk {
  const ReferenceLists& l;
  int bo(const std::function<bool(const BORecord&)>& match) const {
    for (size_t i = 0; i < l.BOList().size(); ++i) {
      if (l.BOList()[i].serialOnly) return -2;
      if (match(l.BOList()[i])) return static_cast<int>(i);
    }
    return -1;
  }
  int isin(const std::function<bool(const ISINRecord&)>& match) const {
    for (size_t i = 0; i < l.ISINList().size(); ++i) {
      if (l.ISINList()[i].serialOnly) return -2;
      if (match(l.ISINList()[i])) return static_cast<int>(i);
    }
    return -1;
  }
};

}  // namespace quorvin::test
