#include "checks/row_order.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "shell/numbers.h"

namespace quorvin {
namespace {

// A text's first 16 bytes as two big-endian words, so that most comparisons
// need not leave the array being sorted.
struct TextKey {
  std::uint64_t high, low;
  std::uint32_t size, id;
  const char* data;
};

std::uint64_t BigEndianWord(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, 8);
  return __builtin_bswap64(word);
}

TextKey MakeTextKey(const std::string& text, std::uint32_t id) {
  char head[16] = {};
  std::memcpy(head, text.data(), std::min<size_t>(text.size(), 16));
  return {BigEndianWord(head), BigEndianWord(head + 8), static_cast<std::uint32_t>(text.size()), id,
          text.data()};
}

int CompareTextKeys(const TextKey& a, const TextKey& b) {
  if (a.high != b.high) return a.high < b.high ? -1 : 1;
  if (a.low != b.low) return a.low < b.low ? -1 : 1;
  if (a.size <= 16 && b.size <= 16) return a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
  return std::string_view(a.data, a.size).compare(std::string_view(b.data, b.size));
}

// Ranks from ids sorted by key; `same` tells whether two neighbours are equal.
template <typename Item, typename Same>
Ranks DenseRanks(const std::vector<Item>& sorted, Same same) {
  Ranks ranks(sorted.size());
  std::uint32_t rank = 0;
  for (size_t k = 0; k < sorted.size(); ++k) {
    if (k > 0 && !same(sorted[k - 1], sorted[k])) ++rank;
    ranks[sorted[k].id] = rank;
  }
  return ranks;
}

// Ranks of the pair (major, minor), major first.
Ranks CombineRanks(const Ranks& major, const Ranks& minor) {
  struct Item {
    std::uint64_t key;
    std::uint32_t id;
  };
  std::vector<Item> items(major.size());
  for (size_t id = 0; id < items.size(); ++id)
    items[id] = {(std::uint64_t{major[id]} << 32) | minor[id], static_cast<std::uint32_t>(id)};
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.key < b.key; });
  return DenseRanks(items, [](const Item& a, const Item& b) { return a.key == b.key; });
}

// A stable counting sort of `order` by rank.
void StableSortByRank(std::vector<int>& order, const Ranks& ranks) {
  std::vector<std::uint32_t> start(order.size() + 1, 0);
  for (int id : order) ++start[ranks[id] + 1];
  for (size_t r = 1; r < start.size(); ++r) start[r] += start[r - 1];
  std::vector<int> sorted(order.size());
  for (int id : order) sorted[start[ranks[id]]++] = id;
  order.swap(sorted);
}

struct Ranked {
  std::uint32_t rank;
  int id;
};

// One pass of the top-down merge sort: same splits, same comparisons and the
// same tie rule as moving whole rows would give.
void MergeSort(std::vector<Ranked>& items, std::vector<Ranked>& scratch, int low, int high,
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
      takeRight = scratch[j].rank < scratch[i].rank;
      if (descending) takeRight = !takeRight;
    }
    items[out] = takeRight ? scratch[j++] : scratch[i++];
  }
}

void MergePass(std::vector<int>& order, const Ranks& ranks, bool descending) {
  std::vector<Ranked> items(order.size()), scratch(order.size());
  for (size_t p = 0; p < order.size(); ++p) items[p] = {ranks[order[p]], order[p]};
  MergeSort(items, scratch, 0, static_cast<int>(items.size()) - 1, descending);
  for (size_t p = 0; p < order.size(); ++p) order[p] = items[p].id;
}

}  // namespace

Ranks TextRanks(const std::vector<const std::string*>& texts) {
  std::vector<TextKey> keys(texts.size());
  for (size_t id = 0; id < texts.size(); ++id)
    keys[id] = MakeTextKey(*texts[id], static_cast<std::uint32_t>(id));
  std::sort(keys.begin(), keys.end(),
            [](const TextKey& a, const TextKey& b) { return CompareTextKeys(a, b) < 0; });
  return DenseRanks(keys,
                    [](const TextKey& a, const TextKey& b) { return CompareTextKeys(a, b) == 0; });
}

Ranks NumberRanks(const std::vector<const std::string*>& texts) {
  struct Item {
    double value;
    std::uint32_t id;
  };
  std::vector<Item> items(texts.size());
  for (size_t id = 0; id < texts.size(); ++id)
    items[id] = {ToDouble(*texts[id]), static_cast<std::uint32_t>(id)};
  std::sort(items.begin(), items.end(),
            [](const Item& a, const Item& b) { return a.value < b.value; });
  return DenseRanks(items, [](const Item& a, const Item& b) { return a.value == b.value; });
}

std::vector<int> PassOrder(const std::vector<PassKey>& keys, int count) {
  std::vector<int> order(count);
  for (int id = 0; id < count; ++id) order[id] = id;
  int k = static_cast<int>(keys.size()) - 1;
  while (k >= 0) {
    if (keys[k].descending) {
      MergePass(order, keys[k].ranks, true);
      --k;
      continue;
    }
    int top = k;
    while (top > 0 && !keys[top - 1].descending) --top;
    Ranks group = keys[top].ranks;
    for (int g = top + 1; g <= k; ++g) group = CombineRanks(group, keys[g].ranks);
    StableSortByRank(order, group);
    k = top - 1;
  }
  return order;
}

}  // namespace quorvin
