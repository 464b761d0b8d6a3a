#pragma once
// An exact-key index over a list that answers what a walk from the first
// record would: the first record whose key equals the text. Open addressing
// over one flat array, so a lookup in a 100k-record list costs one or two
// cache misses rather than a chase through hash-chain nodes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ground/fast_paths.h"
#include "ground/text_map.h"

namespace quorvin {

class FirstMatchIndex {
 public:
  static constexpr int kNone = -1;

  // keys[i] is record i's key; a default-constructed (null) view leaves record i out.
  // The texts must outlive the index.
  void Build(const std::vector<std::string_view>& keys) {
    size_t capacity = 16;
    while (capacity < keys.size() * 2) capacity *= 2;
    slots_.assign(capacity, Slot{0, kNone, nullptr, 0});
    mask_ = capacity - 1;
    for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
      if (keys[i].data() == nullptr) continue;  // not indexed
      uint32_t h = Hash(keys[i]);
      size_t at = h & mask_;
      for (;; at = (at + 1) & mask_) {
        Slot& s = slots_[at];
        if (s.index == kNone) {
          s = Slot{h, i, keys[i].data(), static_cast<uint32_t>(keys[i].size())};
          break;
        }
        if (s.hash == h && Key(s) == keys[i]) break;  // the first one stays
      }
    }
  }

  // Starts fetching the slot a key of this HashText would be looked for in.
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) FetchAhead(&slots_[static_cast<uint32_t>(hash) & mask_]);
  }

  int Find(std::string_view key) const {
    if (slots_.empty()) return kNone;
    uint32_t h = Hash(key);
    for (size_t at = h & mask_;; at = (at + 1) & mask_) {
      const Slot& s = slots_[at];
      if (s.index == kNone) return kNone;
      if (s.hash == h && Key(s) == key) return s.index;
    }
  }

 private:
  // The key's text is kept in the slot, so that a lookup reads the slot and
  // the text, not a third place; no slot straddles two cache lines.
  struct alignas(32) Slot {
    uint32_t hash;
    int index;
    const char* data;
    uint32_t size;
  };
  static std::string_view Key(const Slot& s) { return {s.data, s.size}; }
  static uint32_t Hash(std::string_view key) { return static_cast<uint32_t>(HashText(key)); }
  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

}  // namespace quorvin
