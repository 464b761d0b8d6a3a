// Works out the order the sort passes leave the rows in: numbers each
// column's texts, ranks the keys and sorts row ids instead of rows.
#include "work/checks/row_order.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "ground/fast_paths.h"
#include "ground/text_map.h"

namespace quorvin {
namespace {

// Numbers the distinct texts of a column in order of first appearance, with
// one flat open-addressing table that grows with the distinct texts (not the
// rows), so that equal texts are found without sorting every row's text.
class TextIds {
 public:
  TextIds() : slots_(1024), mask_(1023) {}

  // interned: equal texts are the same string, so the place is hashed.
  int Id(const std::string* text, bool interned) {
    std::uint64_t h = interned ? HashPlace(text) : HashText(*text);
    for (size_t at = h & mask_;; at = (at + 1) & mask_) {
      Slot& slot = slots_[at];
      if (slot.id < 0) {
        slot = {h, static_cast<int>(distinct_.size())};
        distinct_.push_back(text);
        if (distinct_.size() * 2 > slots_.size()) Grow();
        return static_cast<int>(distinct_.size()) - 1;
      }
      if (slot.hash == h && (distinct_[slot.id] == text || *distinct_[slot.id] == *text))
        return slot.id;
    }
  }

  const std::vector<const std::string*>& Distinct() const { return distinct_; }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    int id = -1;
  };

  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (const Slot& slot : old) {
      if (slot.id < 0) continue;
      size_t at = slot.hash & mask_;
      while (slots_[at].id >= 0) at = (at + 1) & mask_;
      slots_[at] = slot;
    }
  }

  std::vector<Slot> slots_;
  std::vector<const std::string*> distinct_;
  size_t mask_;
};

// A text's first 16 bytes as two big-endian words and its size, so that most
// comparisons in a sort need not leave the array being sorted.
struct TextKey {
  std::uint64_t high, low;
  std::uint32_t size, id;
  const std::string* text;
};

TextKey MakeTextKey(const std::string* text, std::uint32_t id) {
  char head[16] = {};
  std::memcpy(head, text->data(), std::min<size_t>(text->size(), 16));
  return {BigEndianWord(head), BigEndianWord(head + 8), static_cast<std::uint32_t>(text->size()),
          id, text};
}

bool TextKeyLess(const TextKey& a, const TextKey& b) {
  if (a.high != b.high) return a.high < b.high;
  if (a.low != b.low) return a.low < b.low;
  if (a.size <= 16 && b.size <= 16) return a.size < b.size;
  return *a.text < *b.text;
}

// Dense ranks of the first key's cells: equal keys share a rank and ranks
// follow the key order.
std::vector<std::uint32_t> KeyRanks(const SortKey& key, int count, std::uint32_t& rankCount) {
  std::vector<std::uint32_t> ranks(count);
  if (key.numeric) {
    std::vector<double> values(key.numbers.begin(), key.numbers.begin() + count);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    for (int id = 0; id < count; ++id)
      ranks[id] = static_cast<std::uint32_t>(
          std::lower_bound(values.begin(), values.end(), key.numbers[id]) - values.begin());
    rankCount = static_cast<std::uint32_t>(values.size());
    return ranks;
  }
  TextIds ids;
  std::vector<int> idOf(count);
  for (int id = 0; id < count; ++id) idOf[id] = ids.Id(key.Text(id), key.interned);
  const auto& distinct = ids.Distinct();
  std::vector<TextKey> byText(distinct.size());
  for (size_t d = 0; d < distinct.size(); ++d)
    byText[d] = MakeTextKey(distinct[d], static_cast<std::uint32_t>(d));
  std::sort(byText.begin(), byText.end(), TextKeyLess);
  std::vector<std::uint32_t> rankOfId(distinct.size());
  for (size_t r = 0; r < byText.size(); ++r) rankOfId[byText[r].id] = static_cast<std::uint32_t>(r);
  for (int id = 0; id < count; ++id) ranks[id] = rankOfId[idOf[id]];
  rankCount = static_cast<std::uint32_t>(distinct.size());
  if (key.interned && key.ranks) {
    key.ranks->Clear();
    bool added = false;
    for (size_t d = 0; d < distinct.size(); ++d) key.ranks->Get(distinct[d], added) = rankOfId[d];
  }
  return ranks;
}

int CompareOn(const SortKey& key, int a, int b) {
  if (key.numeric) {
    double x = key.numbers[a], y = key.numbers[b];
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  const std::string *x = key.Text(a), *y = key.Text(b);
  if (x == y) return 0;
  if (key.ranks) {
    const std::uint32_t *rx = key.ranks->Find(x), *ry = rx ? key.ranks->Find(y) : nullptr;
    if (ry) return *rx < *ry ? -1 : 1;
  }
  int c = x->compare(*y);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

PassSorter::PassSorter(const std::vector<SortKey>& keys, int count)
    : keys_(keys), count_(std::max(count, 0)), direction_(keys.size()) {
  int sign = 1;
  for (size_t k = 0; k < keys.size(); ++k) {
    if (keys[k].descending) sign = -sign;
    direction_[k] = sign;
  }
  positionDirection_ = sign;
}

int PassSorter::CompareFrom(size_t first, int a, int b) const {
  for (size_t k = first; k < keys_.size(); ++k)
    if (int c = CompareOn(keys_[k], a, b)) return c * direction_[k];
  return 0;
}

std::vector<int> PassSorter::IfInOrder() const {
  std::vector<int> order(count_);
  for (int id = 0; id < count_; ++id) order[id] = id;
  int runStart = 0;  // of the rows equal on every key so far
  for (int id = 1; id < count_; ++id) {
    int c = CompareFrom(0, id - 1, id);
    if (c > 0) return {};
    if (c == 0) continue;
    if (positionDirection_ < 0) std::reverse(order.begin() + runStart, order.begin() + id);
    runStart = id;
  }
  if (positionDirection_ < 0) std::reverse(order.begin() + runStart, order.end());
  return order;
}

std::vector<int> PassSorter::GroupOrder(std::vector<int>& starts) const {
  std::uint32_t rankCount = 0;
  std::vector<std::uint32_t> ranks = KeyRanks(keys_[0], count_, rankCount);
  if (direction_[0] < 0)
    for (std::uint32_t& r : ranks) r = rankCount - 1 - r;
  starts.assign(rankCount + 1, 0);
  for (int id = 0; id < count_; ++id) ++starts[ranks[id] + 1];
  for (size_t r = 1; r < starts.size(); ++r) starts[r] += starts[r - 1];
  std::vector<int> next(starts.begin(), starts.end() - 1);
  std::vector<int> order(count_);
  for (int id = 0; id < count_; ++id) order[next[ranks[id]]++] = id;
  return order;
}

void PassSorter::SortGroup(std::vector<int>& ids, int from, int to,
                           const std::vector<int>& position) const {
  if (to - from < 2 || (keys_.size() < 2 && positionDirection_ > 0)) return;
  auto before = [&](int a, int b) {
    if (int c = CompareFrom(1, a, b)) return c < 0;
    return positionDirection_ > 0 ? position[a] < position[b] : position[a] > position[b];
  };
  // Most groups are a handful of rows: an insertion sort, without sort's set-up.
  if (to - from > 16) {
    std::sort(ids.begin() + from, ids.begin() + to, before);
    return;
  }
  for (int i = from + 1; i < to; ++i) {
    int id = ids[i], j = i;
    for (; j > from && before(id, ids[j - 1]); --j) ids[j] = ids[j - 1];
    ids[j] = id;
  }
}

std::vector<int> PassOrder(const std::vector<SortKey>& keys, int count) {
  std::vector<int> order(std::max(count, 0));
  for (int id = 0; id < count; ++id) order[id] = id;
  if (keys.empty() || count < 2) return order;
  PassSorter sorter(keys, count);
  std::vector<int> sorted = sorter.IfInOrder();
  if (!sorted.empty()) return sorted;
  std::vector<int> starts;
  sorted = sorter.GroupOrder(starts);
  for (size_t g = 0; g + 1 < starts.size(); ++g)
    sorter.SortGroup(sorted, starts[g], starts[g + 1], order);
  return sorted;
}

}  // namespace quorvin
