#pragma once
// An open-addressing map from texts to small values for loops that look up
// hundreds of thousands of cells. Keys of up to 16 bytes are kept in the slot
// itself, so a lookup reads one cache line; a caller that knows its next keys
// can have their slots fetched ahead (Prefetch) while it works on others.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ground/fast_paths.h"

namespace quorvin {

// A quick hash for the short texts of cells (codes, numbers, names): eight
// bytes at a time, then mixed so that every bit of the text moves the low
// bits that pick a slot.
inline std::uint64_t HashText(std::string_view text) {
  const char* p = text.data();
  size_t n = text.size();
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (n * 0xC2B2AE3D27D4EB4Full);
  auto mix = [&h](std::uint64_t word) {
    h = (h ^ word) * 0x9FB21C651E98DF25ull;
    h ^= h >> 29;
  };
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    mix(word);
  }
  if (n > 0) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, n);
    mix(word);
  }
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  return h ^ (h >> 33);
}

template <typename Value>
class TextMap {
 public:
  explicit TextMap(size_t expected = 16) { Rehash(Capacity(expected)); }

  static std::uint64_t Hash(std::string_view key) { return HashText(key); }
  void Prefetch(std::uint64_t hash) const { FetchAhead(&slots_[hash & mask_]); }

  // The value under key (whose Hash is hash), or nullptr.
  Value* Find(std::string_view key, std::uint64_t hash) {
    for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
      Slot& slot = slots_[at];
      if (!slot.used) return nullptr;
      if (slot.hash == hash && KeyOf(slot) == key) return &slot.value;
    }
  }
  Value* Find(std::string_view key) { return Find(key, Hash(key)); }

  // Adds a key that is not there yet. A key longer than 16 bytes is kept by
  // reference and must outlive the map.
  Value& Add(std::string_view key, std::uint64_t hash, Value value) {
    if ((size_ + 1) * 2 > slots_.size()) Rehash(slots_.size() * 2);
    ++size_;
    return Place(key, hash, std::move(value));
  }

  size_t Size() const { return size_; }

 private:
  // A slot of up to a cache line starts on one, so that one fetch brings it whole.
  struct alignas(64) Slot {
    std::uint64_t hash = 0;
    const char* longKey = nullptr;
    std::uint32_t size = 0;
    bool used = false;
    char shortKey[16];
    Value value{};
  };

  static size_t Capacity(size_t expected) {
    size_t capacity = 16;
    while (capacity < expected * 2) capacity *= 2;
    return capacity;
  }
  static std::string_view KeyOf(const Slot& slot) {
    return {slot.size <= sizeof slot.shortKey ? slot.shortKey : slot.longKey, slot.size};
  }

  Value& Place(std::string_view key, std::uint64_t hash, Value value) {
    size_t at = hash & mask_;
    while (slots_[at].used) at = (at + 1) & mask_;
    Slot& slot = slots_[at];
    slot.hash = hash;
    slot.size = static_cast<std::uint32_t>(key.size());
    slot.used = true;
    if (key.size() <= sizeof slot.shortKey)
      std::memcpy(slot.shortKey, key.data(), key.size());
    else
      slot.longKey = key.data();
    slot.value = std::move(value);
    return slot.value;
  }

  void Rehash(size_t capacity) {
    std::vector<Slot> old;
    old.reserve(capacity);
    AdviseLargePages(old.data(), capacity * sizeof(Slot));
    old.resize(capacity);
    old.swap(slots_);
    mask_ = capacity - 1;
    for (Slot& slot : old)
      if (slot.used) Place(KeyOf(slot), slot.hash, std::move(slot.value));
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t size_ = 0;
};

}  // namespace quorvin
