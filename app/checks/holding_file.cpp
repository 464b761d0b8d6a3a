#include "checks/holding_file.h"

#include <algorithm>
#include <functional>

#include "shell/errors.h"
#include "shell/text.h"

namespace quorvin {
namespace {

bool ContainsBoth(std::string_view line, std::string_view boid, std::string_view isin) {
  return line.find(boid) != std::string_view::npos && line.find(isin) != std::string_view::npos;
}

// The longest part of a text between spaces; empty for a text of spaces only.
std::string_view LongestPiece(std::string_view text) {
  std::string_view best;
  for (std::string_view piece : SplitAll(text, " "))
    if (piece.size() > best.size()) best = piece;
  return best;
}

// Finds, for many (BOID, ISIN) pairs at once, the first balance line that
// contains both. Every searched text is filed under a space-free piece of it
// (the whole text when it has no space): a text can only occur in a line where
// its piece occurs inside one space-free segment. So each segment is looked up
// window by window for the few piece lengths there are, and only texts whose
// piece turned up are tried on the line. Texts of spaces only are tried on
// every line.
class PairScan {
 public:
  explicit PairScan(size_t pairCount) { texts_.reserve(2 * pairCount); }

  int AddPair(const std::string& boid, const std::string& isin) {
    int b = AddText(boid), i = AddText(isin);
    auto [it, added] = pairIds_.try_emplace({b, i}, static_cast<int>(pairs_.size()));
    if (added) {
      pairs_.push_back({b, i});
      byBoid_[b].push_back(it->second);
      byIsin_[i].push_back(it->second);
    }
    return it->second;
  }

  void Run(const std::vector<std::string_view>& lines) {
    std::vector<int> lengths;
    for (const auto& [piece, id] : pieceIds_) lengths.push_back(static_cast<int>(piece.size()));
    std::sort(lengths.begin(), lengths.end());
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());

    pieceSeen_.assign(pieceNeedles_.size(), -1);
    textSeen_.assign(texts_.size(), -1);
    size_t open = pairs_.size();
    for (int l = kFirstBalanceLine; l < static_cast<int>(lines.size()) && open > 0; ++l) {
      std::string_view line = lines[l];
      found_.clear();
      size_t start = 0;
      while (start <= line.size()) {
        size_t end = std::min(line.find(' ', start), line.size());
        std::string_view segment = line.substr(start, end - start);
        for (int length : lengths) {
          if (length > static_cast<int>(segment.size())) break;
          for (size_t k = 0; k + length <= segment.size(); ++k) {
            auto hit = pieceIds_.find(segment.substr(k, length));
            if (hit != pieceIds_.end()) PieceFound(hit->second, line, l);
          }
        }
        start = end + 1;
      }
      for (int t : everyLine_)
        if (line.find(texts_[t]) != std::string_view::npos) TextFound(t, l);
      open -= Resolve(l);
    }
  }

  // The first line of a pair added by AddPair, or -1.
  int LineOf(int pair) const { return pairs_[pair].line; }

 private:
  struct Pair {
    int boid, isin, line = -1;
  };
  struct PairIdHash {
    size_t operator()(const std::pair<int, int>& p) const {
      return std::hash<long long>()((static_cast<long long>(p.first) << 32) ^ p.second);
    }
  };

  int AddText(const std::string& text) {
    auto known = textIds_.find(text);
    if (known != textIds_.end()) return known->second;
    int id = static_cast<int>(texts_.size());
    texts_.push_back(text);
    textIds_.emplace(texts_.back(), id);
    byBoid_.emplace_back();
    byIsin_.emplace_back();
    std::string_view piece = LongestPiece(texts_.back());
    if (piece.empty()) {
      everyLine_.push_back(id);
    } else {
      auto [p, newPiece] = pieceIds_.try_emplace(piece, static_cast<int>(pieceNeedles_.size()));
      if (newPiece) pieceNeedles_.emplace_back();
      pieceNeedles_[p->second].push_back({id, piece.size() == text.size()});
    }
    return id;
  }

  void PieceFound(int piece, std::string_view line, int l) {
    if (pieceSeen_[piece] == l) return;
    pieceSeen_[piece] = l;
    for (auto [t, whole] : pieceNeedles_[piece])
      if (whole || line.find(texts_[t]) != std::string_view::npos) TextFound(t, l);
  }

  void TextFound(int t, int l) {
    if (textSeen_[t] == l) return;
    textSeen_[t] = l;
    found_.push_back(t);
  }

  // Settles the open pairs of both texts found in line l, walking the side
  // with the shorter lists. Returns how many were settled.
  size_t Resolve(int l) {
    size_t viaBoid = 0, viaIsin = 0;
    for (int t : found_) {
      viaBoid += byBoid_[t].size();
      viaIsin += byIsin_[t].size();
    }
    bool boidSide = viaBoid <= viaIsin;
    auto& lists = boidSide ? byBoid_ : byIsin_;
    size_t settled = 0;
    for (int t : found_) {
      std::vector<int>& open = lists[t];
      for (size_t k = 0; k < open.size();) {
        Pair& pair = pairs_[open[k]];
        int other = boidSide ? pair.isin : pair.boid;
        if (pair.line < 0 && textSeen_[other] == l) {
          pair.line = l;
          ++settled;
        }
        if (pair.line >= 0) {  // settled now or through the other side's list
          open[k] = open.back();
          open.pop_back();
        } else {
          ++k;
        }
      }
    }
    return settled;
  }

  std::vector<std::string> texts_;  // reserved up front: the views below point into it
  std::unordered_map<std::string_view, int> textIds_;
  std::vector<std::vector<int>> byBoid_, byIsin_;  // open pairs of each text
  std::unordered_map<std::string_view, int> pieceIds_;
  std::vector<std::vector<std::pair<int, bool>>> pieceNeedles_;  // (text, text is the piece)
  std::vector<int> everyLine_;
  std::vector<Pair> pairs_;
  std::unordered_map<std::pair<int, int>, int, PairIdHash> pairIds_;
  std::vector<int> pieceSeen_, textSeen_, found_;
};

}  // namespace

HoldingFile::HoldingFile(std::string content) : content_(std::move(content)) {
  lines_ = SplitAll(content_, kCrLf);
}

std::string HoldingFile::ReportDate() const {
  std::string_view first = lines_.empty() ? std::string_view() : lines_[0];
  constexpr std::string_view kLead = "Report for ", kEnd = " :";
  size_t start = first.find(kLead);
  if (start == std::string_view::npos) throw AppError("The report date is missing.");
  start += kLead.size();
  size_t end = first.find(kEnd, start);
  if (end == std::string_view::npos) throw AppError("The report date is missing.");
  return std::string(first.substr(start, end - start));
}

std::vector<int> HoldingFile::FirstBalanceLines(
    const std::vector<std::pair<std::string, std::string>>& pairs) const {
  PairScan scan(pairs.size());
  std::vector<int> ids;
  ids.reserve(pairs.size());
  for (const auto& [boid, isin] : pairs) ids.push_back(scan.AddPair(boid, isin));
  scan.Run(lines_);
  std::vector<int> found;
  found.reserve(pairs.size());
  for (int id : ids) found.push_back(scan.LineOf(id));
  return found;
}

int HoldingFile::FirstBalanceLine(std::string_view boid, std::string_view isin) const {
  for (size_t l = kFirstBalanceLine; l < lines_.size(); ++l)
    if (ContainsBoth(lines_[l], boid, isin)) return static_cast<int>(l);
  return -1;
}

std::string_view BalanceText(std::string_view line) {
  size_t space = line.rfind(' ');
  return space == std::string_view::npos ? line : line.substr(space + 1);
}

}  // namespace quorvin
