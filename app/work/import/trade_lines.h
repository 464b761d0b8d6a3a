#pragma once
// Walks the text of a trade file line by line (lines end at LF, with or
// without a CR before it; a CR alone stays in its line), noting
// on the way where the first fields of each line end, so that a line is read
// once however many of its fields are wanted. Sixteen bytes are looked at a
// time for the "|" and CR that matter.
#include <bit>
#include <cstdint>
#include <string_view>

#include "ground/fast_paths.h"

namespace quorvin {

class TradeLines {
 public:
  // The "|" of a line noted at most; fields 0 to kBars can be read.
  static constexpr int kBars = 11;

  explicit TradeLines(std::string_view text) : text_(text) {}

  // Moves to the next line; false after the last (a text has one line more
  // than it has line ends).
  bool Next() {
    if (next_ > text_.size()) return false;
    start_ = next_;
    bars_ = 0;
    const size_t lineFeed = Scan(start_);
    const bool crlf = lineFeed < text_.size() && lineFeed > start_ && text_[lineFeed - 1] == '\r';
    end_ = crlf ? lineFeed - 1 : lineFeed;
    next_ = lineFeed + 1;
    return true;
  }

  std::string_view Line() const { return text_.substr(start_, end_ - start_); }
  size_t End() const { return end_; }  // where the line ends in the text
  // How many "|" the line has, counting up to kBars.
  int Bars() const { return bars_; }
  // Field k, for k <= Bars().
  std::string_view Field(int k) const {
    size_t from = k == 0 ? start_ : bar_[k - 1] + 1;
    size_t to = k < bars_ ? bar_[k] : end_;
    return text_.substr(from, to - from);
  }

 private:
  // Notes the bars from `at` on and returns where the line's LF is (the
  // text's size for the last line).
  size_t Scan(size_t at) {
    const char* data = text_.data();
    const size_t size = text_.size();
    for (; at + 16 <= size; at += 16) {
      const unsigned bars = EqualBytes16(data + at, '|');
      const unsigned lineFeeds = EqualBytes16(data + at, '\n');
      if (lineFeeds != 0) {
        const size_t end = at + static_cast<size_t>(std::countr_zero(lineFeeds));
        NoteBars(at, bars & ((1u << (end - at)) - 1));
        return end;
      }
      NoteBars(at, bars);
    }
    for (; at < size; ++at) {
      if (data[at] == '|' && bars_ < kBars) bar_[bars_++] = static_cast<std::uint32_t>(at);
      if (data[at] == '\n') return at;
    }
    return size;
  }

  // The bars marked in a 16-byte chunk starting at `at`.
  void NoteBars(size_t at, unsigned marks) {
    for (; marks != 0 && bars_ < kBars; marks &= marks - 1)
      bar_[bars_++] = static_cast<std::uint32_t>(at + static_cast<size_t>(std::countr_zero(marks)));
  }

  std::string_view text_;
  size_t next_ = 0, start_ = 0, end_ = 0;
  int bars_ = 0;
  std::uint32_t bar_[kBars];
};

}  // namespace quorvin
