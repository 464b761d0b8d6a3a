#pragma once
// An open-addressing map keyed by places (pointers), such as a pool's cells:
// one flat array, no node per entry.
#include <cstdint>
#include <vector>

namespace quorvin {

// A hash of a place that moves every bit of it into the low bits that pick a slot.
inline std::uint64_t HashPlace(const void* place) {
  std::uint64_t h = (reinterpret_cast<std::uintptr_t>(place) >> 3) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 31);
}

template <typename Key, typename Value>
class PlaceMap {
 public:
  PlaceMap() { Clear(); }

  void Clear() {
    slots_.assign(16, Slot{});
    mask_ = 15;
    size_ = 0;
  }

  // The value under key, or nullptr.
  const Value* Find(const Key* key) const {
    for (size_t at = Hash(key) & mask_;; at = (at + 1) & mask_) {
      if (slots_[at].key == key) return &slots_[at].value;
      if (!slots_[at].key) return nullptr;
    }
  }

  // The value under key, added value-initialized when new; added tells which.
  Value& Get(const Key* key, bool& added) {
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    size_t at = Hash(key) & mask_;
    while (slots_[at].key && slots_[at].key != key) at = (at + 1) & mask_;
    added = !slots_[at].key;
    if (added) {
      slots_[at] = Slot{key, Value{}};
      ++size_;
    }
    return slots_[at].value;
  }

 private:
  struct Slot {
    const Key* key = nullptr;
    Value value{};
  };
  static std::uint64_t Hash(const Key* key) { return HashPlace(key); }
  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    for (const Slot& slot : old) {
      if (!slot.key) continue;
      size_t at = Hash(slot.key) & mask_;
      while (slots_[at].key) at = (at + 1) & mask_;
      slots_[at] = slot;
    }
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t size_ = 0;
};

}  // namespace quorvin
