#pragma once
// The depository's holding report as the balance check reads it: line 0
// carries the report date, lines 8 on are balance lines. A balance line
// belongs to a BOID and ISIN when it contains both texts anywhere; the first
// such line counts.
#include <string>
#include <string_view>
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

  // For every (BOID, ISIN) pair, the index of its first balance line, or -1.
  // An empty BOID has none: every line contains it, so it would take some
  // other account's balance. About one pass over the file, however many
  // pairs there are.
  std::vector<int> FirstBalanceLines(
      const std::vector<std::pair<std::string_view, std::string_view>>& pairs) const;

  // The same for one pair, line by line.
  int FirstBalanceLine(std::string_view boid, std::string_view isin) const;

 private:
  std::string content_;
  std::vector<std::string_view> lines_;
};

// The balance of a line: the text after its last space (the whole line when
// it has none; empty when the line ends in a space).
std::string_view BalanceText(std::string_view line);

}  // namespace quorvin
