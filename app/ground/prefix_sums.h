#pragma once
// Sums of the first values of an array that changes one value at a time
// (a binary indexed tree): a change, a sum of the first i values and, for
// counts, the value a running total reaches a given number in, each in
// O(log n). A list made of every row's lines then follows one row's change
// without being made again, and the lines still find their rows.
#include <bit>
#include <cstddef>
#include <vector>

namespace quorvin {

template <typename T>
class PrefixSums {
 public:
  // Starts again on these values, in O(n).
  void Assign(const std::vector<T>& values) {
    tree_.assign(values.size() + 1, T{});
    for (size_t k = 1; k < tree_.size(); ++k) {
      tree_[k] += values[k - 1];
      const size_t up = k + (k & (0 - k));
      if (up < tree_.size()) tree_[up] += tree_[k];
    }
  }
  int Size() const { return tree_.empty() ? 0 : static_cast<int>(tree_.size() - 1); }

  // values[i] += delta
  void Add(int i, T delta) {
    for (size_t k = static_cast<size_t>(i) + 1; k < tree_.size(); k += k & (0 - k))
      tree_[k] += delta;
  }
  // values[0] + ... + values[i - 1]; i may be up to Size().
  T Before(int i) const {
    T sum{};
    for (size_t k = static_cast<size_t>(i); k > 0; k -= k & (0 - k)) sum += tree_[k];
    return sum;
  }
  // For values of no less than 0: the i with Before(i) <= at < Before(i + 1),
  // that is the value whose span holds the at-th unit; Size() when at reaches
  // the total.
  int Find(T at) const {
    size_t i = 0;
    for (size_t step = tree_.size() > 1 ? std::bit_floor(tree_.size() - 1) : 0; step > 0;
         step >>= 1)
      if (i + step < tree_.size() && tree_[i + step] <= at) {
        i += step;
        at -= tree_[i];
      }
    return static_cast<int>(i);
  }

 private:
  std::vector<T> tree_;  // tree_[k] sums values (k - lowest bit of k, k]
};

}  // namespace quorvin
