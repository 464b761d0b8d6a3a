#pragma once
// The depository's holding report as the balance check reads it: line 0
// carries the report date, lines 8 on are balance lines. A balance line
// belongs to a BOID and ISIN when it contains both texts anywhere; the first
// such line counts.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quorvin {

inline constexpr int kFirstBalanceLine = 8;

class HoldingFile {
 public:
  // The file's whole text, split at CR LF.
  explicit HoldingFile(std::string content);
  HoldingFile(const HoldingFile&) = delete;
  HoldingFile& operator=(const HoldingFile&) = delete;

  const std::vector<std::string_view>& Lines() const { return lines_; }

  // The text of line 0 between the first "Report for " and the next " :".
  // Throws AppError when either is missing.
  std::string ReportDate() const;

  // Finds the first balance line of every pair in about one pass over the
  // file, however many pairs there are, so that BalanceLine answers at once.
  void IndexPairs(const std::vector<std::pair<std::string, std::string>>& pairs);

  // The first line from line 8 on containing both texts, or nullopt. Pairs
  // that were not indexed are looked up line by line.
  std::optional<std::string_view> BalanceLine(const std::string& boid,
                                              const std::string& isin) const;

 private:
  struct PairHash {
    size_t operator()(const std::pair<std::string, std::string>& p) const;
  };

  std::string content_;
  std::vector<std::string_view> lines_;
  // Line index, or -1 for none, of every indexed pair.
  std::unordered_map<std::pair<std::string, std::string>, int, PairHash> found_;
};

// The balance of a line: the text after its last space (the whole line when
// it has none; empty when the line ends in a space).
std::string_view BalanceText(std::string_view line);

}  // namespace quorvin
