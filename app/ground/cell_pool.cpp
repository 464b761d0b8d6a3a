// How a cell pool keeps each text once: an open-addressed hash table of the
// texts, small whole numbers such as serials kept apart without hashing.
#include "ground/cell_pool.h"

#include <algorithm>
#include <atomic>

#include "ground/fast_paths.h"
#include "ground/text_map.h"

namespace quorvin {

CellPool::CellPool() : slots_(1024), mask_(1023) {
  static std::atomic<std::uint64_t> next{1};
  id_ = next++;
  empty_ = Intern("");
}

std::uint64_t CellPool::Hash(std::string_view text) {
  return HashText(text);
}

int CellPool::NumberedValue(std::string_view text) {
  if (text.empty() || text.size() > 7 || (text[0] == '0' && text.size() > 1)) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n < kNumbered ? n : -1;
}

Cell CellPool::Intern(std::string_view text) {
  int n = NumberedValue(text);
  return n >= 0 ? Number(n) : InternHashed(text);
}

Cell CellPool::InternHashed(std::string_view text) {
  const std::uint64_t h = Hash(text);
  size_t at = h & mask_;
  for (;; at = (at + 1) & mask_) {
    const Slot& slot = slots_[at];
    if (!slot.text) break;
    if (slot.hash == h && *slot.text == text) return slot.text;
  }
  Cell added = &texts_.emplace_back(text);
  slots_[at] = {added, h};
  if (texts_.size() * 2 > slots_.size()) Grow();
  return added;
}

void CellPool::Reserve(size_t texts) {
  size_t capacity = slots_.size();
  while (capacity < texts * 2) capacity *= 2;
  if (capacity > slots_.size()) Rehash(capacity);
}

void CellPool::Grow() {
  Rehash(slots_.size() * 2);
}

void CellPool::Rehash(size_t capacity) {
  std::vector<Slot> old;
  old.reserve(capacity);
  AdviseLargePages(old.data(), capacity * sizeof(Slot));
  old.resize(capacity);
  old.swap(slots_);
  mask_ = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.text) continue;
    size_t at = slot.hash & mask_;
    while (slots_[at].text) at = (at + 1) & mask_;
    slots_[at] = slot;
  }
}

Cell CellPool::Numbered(Cell prefix, int n) {
  bool added = false;
  std::vector<Cell>& known = numbered_.Get(prefix, added);
  if (static_cast<size_t>(n) >= known.size()) known.resize(n + 1, nullptr);
  if (!known[n]) {
    std::string text = *prefix;
    text += std::to_string(n);
    known[n] = Intern(text);
  }
  return known[n];
}

Cell CellPool::Number(int n) {
  if (n < 0 || n >= kNumbered) return InternHashed(std::to_string(n));
  if (static_cast<size_t>(n) >= numbers_.size())
    numbers_.resize(std::min<size_t>(std::max<size_t>(n + 1, 2 * numbers_.size()), kNumbered));
  if (!numbers_[n]) numbers_[n] = &numberTexts_.emplace_back(std::to_string(n));
  return numbers_[n];
}

}  // namespace quorvin
