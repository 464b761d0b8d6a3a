// What is wrong with each row, kept per row and per BO ID + ISIN pair, and
// the list of it all in row order, published row by row.
#include "windows/row_problems.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <string_view>

#include "day/entry_grid.h"
#include "day/reference_lists.h"
#include "ground/numbers.h"
#include "ground/text.h"

namespace quorvin {
namespace {

// Bits of a row's own problems: bit c for a blank column c (1 to 12), then these.
constexpr std::uint32_t kBlankBits = 0x1FFE;
constexpr int kUnknownBOIDBit = 13, kUnknownISINBit = 14, kWrongRefBit = 15, kBadQuantityBit = 16,
              kDeliveryBit = 17;

bool IsBlank(const std::string& cell) {
  return cell.empty() || (cell[0] == ' ' && TrimView(cell).empty());
}

}  // namespace

RowProblems::RowProblems(const AppContext& app, Grid& grid) : app_(app), grid_(grid) {
  grid_.AddListener(this);
}

RowProblems::~RowProblems() {
  grid_.RemoveListener(this);
}

void RowProblems::SetSettlementDate(const Date& date) {
  if (settlementDate_ == date) return;
  settlementDate_ = date;
  settlementText_ = FormatDisplayDate(date);
  GridReset();
}

void RowProblems::KindChanged() {
  GridReset();
}

void RowProblems::UseHoldingReport(std::shared_ptr<const HoldingFile> report) {
  report_ = std::move(report);
  GridReset();
}

void RowProblems::GridReset() {
  stale_ = true;
}

void RowProblems::CellChanged(int row, int col) {
  (void)col;
  if (stale_ || row < grid_.FixedRows() || row >= static_cast<int>(own_.size())) return;
  // The rows of the pair the row leaves and of the one it joins show the
  // pair's row count and, when short, its sum: they are published again
  // only when that changed.
  const int was = pairOf_[row];
  const PairLook wasLook = LookOf(was);
  Leave(row);
  ReadRow(row);
  const int id = PairOfCells(row);
  const PairLook idLook = LookOf(id);
  if (id >= 0) Join(row, id);
  MarkChanged(row);
  if (was >= 0 && LookOf(was) != wasLook) MarkPairChanged(was);
  if (id >= 0 && id != was && LookOf(id) != idLook) MarkPairChanged(id);
}

void RowProblems::MarkChanged(int r) {
  if (wholeListChanged_ || marked_[r]) return;
  marked_[r] = 1;
  changed_.push_back(r);
}

void RowProblems::MarkPairChanged(int id) {
  for (int r = pairs_[id].first; r >= 0; r = nextInPair_[r]) MarkChanged(r);
}

RowProblems::PairLook RowProblems::LookOf(int id) const {
  if (id < 0) return {};
  const Pair& pair = pairs_[id];
  return PairLook{std::max(pair.rows, 1), pair.holding,
                  pair.holding == Holding::Short ? pair.sum : 0};
}

std::uint32_t RowProblems::OwnProblems(int r) const {
  std::uint32_t bits = 0;
  const int cols = std::min(grid_.Cols(), kEntryColumns);
  for (int c = 1; c < cols; ++c)
    if (IsBlank(grid_.Text(r, c))) bits |= 1u << c;
  if (cols < kEntryColumns) return bits;
  if (grid_.Text(r, col::kBOName) == kBONameNotFound) bits |= 1u << kUnknownBOIDBit;
  if (grid_.Text(r, col::kISINName) == kISINNameNotFound) bits |= 1u << kUnknownISINBit;
  const std::string& ref = grid_.Text(r, col::kInternalRefNo);
  if (!app_.kindCode.empty() && !(bits & (1u << col::kInternalRefNo)) &&
      !StartsWith(ref, app_.kindCode.substr(app_.kindCode.size() - 1)))
    bits |= 1u << kWrongRefBit;
  const std::string& quantity = grid_.Text(r, col::kQuantity);
  if (!(bits & (1u << col::kQuantity)) && !IsWholeQuantity(quantity)) bits |= 1u << kBadQuantityBit;
  const std::string& delivery = grid_.Text(r, col::kDeliveryDate);
  if (settlementDate_ && !(bits & (1u << col::kDeliveryDate)) && delivery != settlementText_ &&
      ParseDate(delivery) != settlementDate_)
    bits |= 1u << kDeliveryBit;
  return bits;
}

void RowProblems::Count(std::uint32_t bits, int sign) {
  counts_[static_cast<int>(ProblemKind::BlankField)] += sign * std::popcount(bits & kBlankBits);
  const std::pair<int, ProblemKind> singles[] = {{kUnknownBOIDBit, ProblemKind::UnknownBOID},
                                                 {kUnknownISINBit, ProblemKind::UnknownISIN},
                                                 {kWrongRefBit, ProblemKind::WrongRefKind},
                                                 {kBadQuantityBit, ProblemKind::BadQuantity},
                                                 {kDeliveryBit, ProblemKind::WrongDeliveryDate}};
  for (auto [bit, kind] : singles)
    if (bits & (1u << bit)) counts_[static_cast<int>(kind)] += sign;
}

void RowProblems::CountPair(const Pair& pair, int sign) {
  if (pair.rows > 1) counts_[static_cast<int>(ProblemKind::NotSummarized)] += sign * pair.rows;
  if (pair.holding == Holding::Short || pair.holding == Holding::Unreadable)
    counts_[static_cast<int>(ProblemKind::HoldingShort)] += sign * pair.rows;
  if (pair.holding == Holding::Missing)
    counts_[static_cast<int>(ProblemKind::HoldingMissing)] += sign * pair.rows;
}

void RowProblems::JudgeHolding(Pair& pair) {
  if (!report_ || pair.rows == 0) {
    pair.holding = Holding::None;
    return;
  }
  if (pair.balanceLine == -2) pair.balanceLine = report_->FirstBalanceLine(*pair.boid, *pair.isin);
  if (pair.balanceLine < 0) {
    pair.holding = Holding::Missing;
    return;
  }
  std::string_view balance = BalanceText(report_->Lines()[pair.balanceLine]);
  if (!IsNumeric(balance))
    pair.holding = Holding::Unreadable;
  else
    pair.holding = pair.sum > ToDouble(balance) ? Holding::Short : Holding::Covered;
}

void RowProblems::Leave(int r) {
  Count(own_[r], -1);
  own_[r] = 0;
  quantities_.Add(r, -quantity_[r]);
  const int id = pairOf_[r];
  if (id >= 0) {
    Pair& pair = pairs_[id];
    CountPair(pair, -1);
    --pair.rows;
    pair.sum -= quantity_[r];
    JudgeHolding(pair);
    CountPair(pair, +1);
    const int prev = prevInPair_[r], next = nextInPair_[r];
    (prev >= 0 ? nextInPair_[prev] : pair.first) = next;
    if (next >= 0) prevInPair_[next] = prev;
    prevInPair_[r] = nextInPair_[r] = -1;
  }
  pairOf_[r] = -1;
  quantity_[r] = 0;
}

void RowProblems::ReadRow(int r) {
  own_[r] = OwnProblems(r);
  Count(own_[r], +1);
  if (grid_.Cols() < kEntryColumns) return;
  const std::string& quantity = grid_.Text(r, col::kQuantity);
  quantity_[r] = IsNumeric(quantity) ? ToDouble(quantity) : 0;
  if (!stale_) quantities_.Add(r, quantity_[r]);
}

int RowProblems::PairOfCells(int r) {
  if (grid_.Cols() < kEntryColumns || (own_[r] & ((1u << col::kBOID) | (1u << col::kISINCode))))
    return -1;
  PairKey key{grid_.CellAt(r, col::kBOID), grid_.CellAt(r, col::kISINCode)};
  auto [it, added] = pairIds_.try_emplace(key, static_cast<std::int32_t>(pairs_.size()));
  if (added) pairs_.push_back(Pair{key.boid, key.isin});
  return it->second;
}

void RowProblems::Join(int r, int id) {
  Pair& pair = pairs_[id];
  pairOf_[r] = id;
  prevInPair_[r] = -1;
  nextInPair_[r] = pair.first;
  if (pair.first >= 0) prevInPair_[pair.first] = r;
  pair.first = r;
  if (stale_) {  // a whole re-read: judged once every row is in
    ++pair.rows;
    pair.sum += quantity_[r];
    return;
  }
  CountPair(pair, -1);
  ++pair.rows;
  pair.sum += quantity_[r];
  JudgeHolding(pair);
  CountPair(pair, +1);
}

void RowProblems::LookUpBalances() {
  std::vector<std::pair<std::string_view, std::string_view>> wanted;
  std::vector<Pair*> of;
  for (Pair& pair : pairs_)
    if (pair.balanceLine == -2) {
      wanted.emplace_back(*pair.boid, *pair.isin);
      of.push_back(&pair);
    }
  if (wanted.empty()) return;
  const std::vector<int> lines = report_->FirstBalanceLines(wanted);
  for (size_t i = 0; i < of.size(); ++i) of[i]->balanceLine = lines[i];
}

void RowProblems::Rebuild() {
  const int rows = grid_.Rows();
  own_.assign(rows, 0);
  pairOf_.assign(rows, -1);
  nextInPair_.assign(rows, -1);
  prevInPair_.assign(rows, -1);
  quantity_.assign(rows, 0);
  pairs_.clear();
  pairIds_.clear();
  counts_.fill(0);
  if (!IsGridEmpty(grid_))
    for (int r = grid_.FixedRows(); r < rows; ++r) {
      ReadRow(r);
      if (const int id = PairOfCells(r); id >= 0) Join(r, id);
    }
  quantities_.Assign(quantity_);
  if (report_) LookUpBalances();
  for (Pair& pair : pairs_) {
    JudgeHolding(pair);
    CountPair(pair, +1);
  }
  stale_ = false;
  wholeListChanged_ = true;
  changed_.clear();
}

int RowProblems::RowLines(int r, Problem* lines) const {
  if (r < grid_.FixedRows() || r >= static_cast<int>(own_.size()) || IsGridEmpty(grid_)) return 0;
  const std::uint32_t bits = own_[r];
  const Pair* pair = pairOf_[r] >= 0 ? &pairs_[pairOf_[r]] : nullptr;
  int n = 0;
  auto add = [&](int col, ProblemKind kind) {
    lines[n++] = Problem{r, static_cast<std::uint8_t>(col), kind};
  };
  for (int c = 1; c < kEntryColumns; ++c)
    if (bits & (1u << c)) add(c, ProblemKind::BlankField);
  if (bits & (1u << kDeliveryBit)) add(col::kDeliveryDate, ProblemKind::WrongDeliveryDate);
  if (bits & (1u << kUnknownBOIDBit)) add(col::kBOID, ProblemKind::UnknownBOID);
  if (bits & (1u << kUnknownISINBit)) add(col::kISINCode, ProblemKind::UnknownISIN);
  if (bits & (1u << kBadQuantityBit)) add(col::kQuantity, ProblemKind::BadQuantity);
  if (bits & (1u << kWrongRefBit)) add(col::kInternalRefNo, ProblemKind::WrongRefKind);
  if (pair && pair->rows > 1) add(col::kBOID, ProblemKind::NotSummarized);
  if (pair && pair->holding == Holding::Missing) add(col::kQuantity, ProblemKind::HoldingMissing);
  if (pair && (pair->holding == Holding::Short || pair->holding == Holding::Unreadable))
    add(col::kQuantity, ProblemKind::HoldingShort);
  return n;
}

int RowProblems::LineCount(int r) const {
  Problem lines[kMostLinesOfARow];
  return RowLines(r, lines);
}

std::optional<Problem> RowProblems::At(int line) const {
  if (line < 0 || line >= listed_) return std::nullopt;
  const int r = lines_.Find(line);
  Problem lines[kMostLinesOfARow];
  const int k = line - lines_.Before(r);
  if (k >= RowLines(r, lines)) return std::nullopt;
  return lines[k];
}

void RowProblems::PublishAll(ProblemListFollower* follower) {
  if (follower) follower->ListAboutToReset();
  const int rows = static_cast<int>(own_.size());
  shown_.assign(rows, 0);
  listed_ = 0;
  for (int r = grid_.FixedRows(); r < rows; ++r) listed_ += shown_[r] = LineCount(r);
  lines_.Assign(shown_);
  marked_.assign(rows, 0);
  changed_.clear();
  wholeListChanged_ = false;
  if (follower) follower->ListReset();
}

void RowProblems::Publish(ProblemListFollower* follower) {
  Refresh();
  if (wholeListChanged_) return PublishAll(follower);
  // In row order, so that the lines before a row's are those published already.
  std::sort(changed_.begin(), changed_.end());
  for (const int r : changed_) {
    marked_[r] = 0;
    const ProblemLinesChange change{lines_.Before(r), shown_[r], LineCount(r)};
    if (follower) follower->LinesAboutToChange(change);
    shown_[r] = change.after;
    lines_.Add(r, change.after - change.before);
    listed_ += change.after - change.before;
    if (follower) follower->LinesChanged(change);
  }
  changed_.clear();
}

int RowProblems::Count(ProblemKind kind) {
  Refresh();
  return IsGridEmpty(grid_) ? 0 : counts_[static_cast<int>(kind)];
}

int RowProblems::Total() {
  int total = 0;
  for (int k = 0; k < kProblemKinds; ++k) total += Count(static_cast<ProblemKind>(k));
  return total;
}

double RowProblems::TotalQuantity() {
  Refresh();
  return quantities_.Before(quantities_.Size());
}

double RowProblems::QuantityOfRows(int first, int last) {
  Refresh();
  first = std::max(first, grid_.FixedRows());
  last = std::min(last, static_cast<int>(quantity_.size()) - 1);
  return first > last ? 0 : quantities_.Before(last + 1) - quantities_.Before(first);
}

const char* RowProblems::KindName(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::BlankField:
      return "Blank field";
    case ProblemKind::UnknownBOID:
      return "Unknown BO ID";
    case ProblemKind::UnknownISIN:
      return "Unknown ISIN";
    case ProblemKind::WrongRefKind:
      return "Internal Ref. No. of the other kind";
    case ProblemKind::BadQuantity:
      return "Quantity not a whole number";
    case ProblemKind::WrongDeliveryDate:
      return "Delivery Date not the settlement date";
    case ProblemKind::NotSummarized:
      return "Not summarized";
    case ProblemKind::HoldingShort:
      return "Holding short";
    case ProblemKind::HoldingMissing:
      return "Holding missing";
  }
  return "";
}

std::string RowProblems::Describe(const Problem& p) const {
  if (!grid_.Valid(p.row, p.col)) return {};
  switch (p.kind) {
    case ProblemKind::BlankField:
      return grid_.Text(0, p.col) + " is not given.";
    case ProblemKind::UnknownBOID:
      return "BO ID is not in the BO list.";
    case ProblemKind::UnknownISIN:
      return "ISIN Code is not in the ISIN list.";
    case ProblemKind::WrongRefKind:
      return "Internal Ref. No. must start with \"" +
             (app_.kindCode.empty() ? std::string() : app_.kindCode.substr(1)) + "\" for " +
             app_.instructionKind + ".";
    case ProblemKind::BadQuantity:
      return "Quantity \"" + grid_.Text(p.row, p.col) + "\" is not a whole number from 1 up.";
    case ProblemKind::WrongDeliveryDate:
      return "Delivery Date " + grid_.Text(p.row, p.col) + " is not the settlement date " +
             settlementText_ + ".";
    case ProblemKind::NotSummarized: {
      const int id = pairOf_[p.row];
      return "BO ID and ISIN are on " + std::to_string(id >= 0 ? pairs_[id].rows : 0) +
             " rows: Summarize.";
    }
    case ProblemKind::HoldingShort:
    case ProblemKind::HoldingMissing: {
      const int id = pairOf_[p.row];
      if (id < 0 || !report_) return {};
      const Pair& pair = pairs_[id];
      if (pair.holding == Holding::Missing) return "No holding balance in the report.";
      std::string balance(BalanceText(report_->Lines()[pair.balanceLine]));
      if (pair.holding == Holding::Unreadable)
        return "Holding balance \"" + balance + "\" is not a number.";
      char sum[32];
      std::snprintf(sum, sizeof sum, "%.0f", pair.sum);
      return "Holding insufficient: " + app_.instructionKind + " quantity " + sum +
             ", holding balance " + balance + ".";
    }
  }
  return {};
}

}  // namespace quorvin
