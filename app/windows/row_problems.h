#pragma once
// Every problem of the entry grid's rows at once, kept up to date as the
// clerk edits: blank fields, BO IDs and ISIN Codes the lists do not know,
// Internal Ref. No. of the other kind, quantities that are not whole numbers
// from 1 up, BO ID + ISIN pairs on more than one row, Delivery Dates that are
// not the settlement date and, once a holding report is in use, every pair it
// does not cover.
//
// Each row keeps what is wrong with it and which BO ID + ISIN pair it belongs
// to; each pair keeps its row count, its total quantity and its balance line.
// An edit of one cell re-reads that row only, so the cost of an edit does not
// grow with the day. A change of many rows at once (a load, a sort) is
// re-read whole, when next asked.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"
#include "work/checks/holding_file.h"

namespace quorvin {

enum class ProblemKind : std::uint8_t {
  BlankField,
  UnknownBOID,
  UnknownISIN,
  WrongRefKind,
  BadQuantity,
  WrongDeliveryDate,
  NotSummarized,
  HoldingShort,
  HoldingMissing,
};
inline constexpr int kProblemKinds = 9;

struct Problem {
  std::int32_t row;
  std::uint8_t col;  // the cell to fix
  ProblemKind kind;
};

class RowProblems : public GridListener {
 public:
  RowProblems(const AppContext& app, Grid& grid);
  ~RowProblems() override;
  RowProblems(const RowProblems&) = delete;
  RowProblems& operator=(const RowProblems&) = delete;

  // The rows are read again for a new settlement date or instruction kind.
  void SetSettlementDate(const Date& date);
  void KindChanged();
  // A holding report the clerk chose, or nullptr for none.
  void UseHoldingReport(std::shared_ptr<const HoldingFile> report);
  bool HasHoldingReport() const { return report_ != nullptr; }

  // Every problem, in row order, then in the order of the kinds.
  const std::vector<Problem>& List();
  int Count(ProblemKind kind);
  int Total();
  // Changes whenever the list may have changed.
  std::uint64_t Generation() const { return generation_; }

  // The sum of the Quantity column (cells that are numbers) over every data
  // row, and over rows first..last.
  double TotalQuantity();
  double QuantityOfRows(int first, int last);

  // "Client Code is not given.", "BO ID is not in the BO list." ...
  std::string Describe(const Problem& problem) const;
  // "Blank field", "Unknown BO ID" ... as the counts name them.
  static const char* KindName(ProblemKind kind);

  // GridListener
  void GridAboutToReset() override {}
  void GridReset() override;
  void CellChanged(int row, int col) override;
  void ColumnWidthChanged(int) override {}
  void CurrentCellChanged() override {}

 private:
  enum class Holding : std::uint8_t { None, Covered, Short, Missing, Unreadable };
  struct Pair {
    Cell boid = nullptr, isin = nullptr;
    int rows = 0;
    double sum = 0;
    int balanceLine = -2;  // -2 not looked up yet, -1 none
    Holding holding = Holding::None;
  };
  struct PairKey {
    Cell boid, isin;
    bool operator==(const PairKey&) const = default;
  };
  struct PairHash {
    size_t operator()(const PairKey& k) const {
      return std::hash<const void*>{}(k.boid) * 31 + std::hash<const void*>{}(k.isin);
    }
  };

  void Rebuild();
  void Refresh() {
    if (stale_) Rebuild();
  }
  // Reads row r again: its own problems, its pair and its quantity.
  void ReadRow(int r);
  std::uint32_t OwnProblems(int r) const;
  void Join(int r);
  void Leave(int r);
  void Count(std::uint32_t bits, int sign);
  void CountPair(const Pair& pair, int sign);
  void JudgeHolding(Pair& pair);
  // Balance lines of the pairs not looked up yet, in one pass over the report.
  void LookUpBalances();

  const AppContext& app_;
  Grid& grid_;
  std::string settlementText_;
  std::optional<Date> settlementDate_;
  std::shared_ptr<const HoldingFile> report_;

  bool stale_ = true;
  std::uint64_t generation_ = 1;
  std::uint64_t listed_ = 0;          // the generation `list_` was made for
  std::vector<std::uint32_t> own_;    // per grid row: bit per problem of its own
  std::vector<std::int32_t> pairOf_;  // per grid row: its pair, or -1
  std::vector<double> quantity_;      // per grid row: its Quantity, 0 when not a number
  double totalQuantity_ = 0;
  std::vector<Pair> pairs_;
  std::unordered_map<PairKey, std::int32_t, PairHash> pairIds_;
  std::array<int, kProblemKinds> counts_{};
  std::vector<Problem> list_;
};

}  // namespace quorvin
