// What is wrong with each row, kept per row and per BO ID + ISIN pair, and
// the list of it all in row order.
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
  ++generation_;
}

void RowProblems::CellChanged(int row, int col) {
  (void)col;
  if (stale_ || row < grid_.FixedRows() || row >= static_cast<int>(own_.size())) return;
  Leave(row);
  ReadRow(row);
  ++generation_;
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
  totalQuantity_ -= quantity_[r];
  const int id = pairOf_[r];
  if (id >= 0) {
    Pair& pair = pairs_[id];
    CountPair(pair, -1);
    --pair.rows;
    pair.sum -= quantity_[r];
    JudgeHolding(pair);
    CountPair(pair, +1);
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
  totalQuantity_ += quantity_[r];
  Join(r);
}

void RowProblems::Join(int r) {
  if (own_[r] & ((1u << col::kBOID) | (1u << col::kISINCode))) return;
  PairKey key{grid_.CellAt(r, col::kBOID), grid_.CellAt(r, col::kISINCode)};
  auto [it, added] = pairIds_.try_emplace(key, static_cast<std::int32_t>(pairs_.size()));
  if (added) pairs_.push_back(Pair{key.boid, key.isin});
  Pair& pair = pairs_[it->second];
  pairOf_[r] = it->second;
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
  quantity_.assign(rows, 0);
  totalQuantity_ = 0;
  pairs_.clear();
  pairIds_.clear();
  counts_.fill(0);
  if (!IsGridEmpty(grid_))
    for (int r = grid_.FixedRows(); r < rows; ++r) ReadRow(r);
  if (report_) LookUpBalances();
  for (Pair& pair : pairs_) {
    JudgeHolding(pair);
    CountPair(pair, +1);
  }
  stale_ = false;
  ++generation_;
}

const std::vector<Problem>& RowProblems::List() {
  Refresh();
  if (listed_ == generation_) return list_;
  list_.clear();
  listed_ = generation_;
  if (IsGridEmpty(grid_)) return list_;
  const int rows = static_cast<int>(own_.size());
  for (int r = grid_.FixedRows(); r < rows; ++r) {
    const std::uint32_t bits = own_[r];
    const Pair* pair = pairOf_[r] >= 0 ? &pairs_[pairOf_[r]] : nullptr;
    const bool pairWrong =
        pair &&
        (pair->rows > 1 || (pair->holding != Holding::None && pair->holding != Holding::Covered));
    if (bits == 0 && !pairWrong) continue;
    auto add = [&](int col, ProblemKind kind) {
      list_.push_back(Problem{r, static_cast<std::uint8_t>(col), kind});
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
  }
  return list_;
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
  return totalQuantity_;
}

double RowProblems::QuantityOfRows(int first, int last) {
  Refresh();
  double sum = 0;
  first = std::max(first, grid_.FixedRows());
  last = std::min(last, static_cast<int>(quantity_.size()) - 1);
  for (int r = first; r <= last; ++r) sum += quantity_[r];
  return sum;
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
