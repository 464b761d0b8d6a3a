#pragma once
// The texts of a grid's cells, each distinct text kept once. A cell is a
// pointer to its text here, so a row is a few words, rows move cheaply, and
// two cells of one pool hold the same text exactly when they point to the
// same place.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "ground/fast_paths.h"
#include "ground/place_map.h"

namespace quorvin {

using Cell = const std::string*;

class CellPool {
 public:
  CellPool();
  CellPool(const CellPool&) = delete;
  CellPool& operator=(const CellPool&) = delete;

  // The place of a text, added when new; it stays put for the pool's life.
  Cell Intern(std::string_view text);
  // Starts fetching the slot a text of this HashText is looked for in.
  void Prefetch(std::uint64_t hash) const { FetchAhead(&slots_[hash & mask_]); }
  Cell Empty() const { return empty_; }
  // Makes room for this many distinct texts at once.
  void Reserve(size_t texts);
  // The decimal text of n, as Intern(std::to_string(n)) but quicker: serial
  // numbers are written for every row again after each sort.
  Cell Number(int n);
  // Intern(*prefix + std::to_string(n)) for n >= 0, remembered by prefix and
  // number: the Internal Ref. No. of every row is written again after each
  // summary.
  Cell Numbered(Cell prefix, int n);
  size_t Size() const { return texts_.size() + numberTexts_.size(); }

  // The places of some texts of the pool with their rank in the order of
  // their characters, as a sort last found them: two texts that both have a
  // rank compare as their ranks do, without reading their characters. A text
  // never changes, so the ranks hold for the pool's life; a sort replaces
  // them with its own.
  PlaceMap<std::string, std::uint32_t>& Ranks() { return ranks_; }
  // No two pools of the program's life share one.
  std::uint64_t Id() const { return id_; }

 private:
  struct Slot {
    Cell text = nullptr;
    std::uint64_t hash = 0;
  };
  // Plain decimal numbers below this are kept by number rather than hashed.
  static constexpr int kNumbered = 1 << 21;
  static std::uint64_t Hash(std::string_view text);
  // n when the text is how std::to_string writes a number below kNumbered.
  static int NumberedValue(std::string_view text);
  Cell InternHashed(std::string_view text);
  void Grow();
  void Rehash(size_t capacity);

  std::uint64_t id_;
  // Numbers apart from the other texts, so that the codes and names a sort
  // compares lie close together.
  std::deque<std::string> texts_, numberTexts_;
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  Cell empty_;
  std::vector<Cell> numbers_;  // by value, below kNumbered
  PlaceMap<std::string, std::uint32_t> ranks_;
  PlaceMap<std::string, std::vector<Cell>> numbered_;  // by prefix, then number
};

}  // namespace quorvin
