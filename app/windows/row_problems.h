#pragma once
// Every problem of the entry grid's rows at once, kept up to date as the
// clerk edits: blank fields, BO IDs and ISIN Codes the lists do not know,
// Internal Ref. No. of the other kind, quantities that are not whole numbers
// from 1 up, BO ID + ISIN pairs on more than one row, Delivery Dates that are
// not the settlement date and, once a holding report is in use, every pair it
// does not cover.
//
// Each row keeps what is wrong with it and which BO ID + ISIN pair it belongs
// to; each pair keeps its rows, its total quantity and its balance line. An
// edit of one cell re-reads that row only, and the rows of its pair when what
// they show of the pair changed, so the cost of an edit does not grow with
// the day. A change of many rows at once (a load, a sort) is re-read whole,
// when next asked.
//
// The list is made of each row's lines, its problems, and is published to
// the view row by row: a row whose problems changed tells where its lines lie
// and how many it had and has, so that a view moves only those lines.
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
#include "ground/prefix_sums.h"
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
  bool operator==(const Problem&) const = default;
};

// One row's lines in the published list: [line, line + before) become
// [line, line + after); lines of the same place that stay may read otherwise.
struct ProblemLinesChange {
  int line, before, after;
};

// A view of the published list, told of each change as it is made.
class ProblemListFollower {
 public:
  virtual ~ProblemListFollower() = default;
  virtual void ListAboutToReset() = 0;  // every line is about to change
  virtual void ListReset() = 0;
  virtual void LinesAboutToChange(const ProblemLinesChange& change) = 0;
  virtual void LinesChanged(const ProblemLinesChange& change) = 0;
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

  // Brings the published list up to the rows: every problem, in row order,
  // then in the order of the kinds. The follower, if any, is told of each
  // row whose lines change, in row order, or of the whole list once after a
  // change of many rows.
  void Publish(ProblemListFollower* follower = nullptr);
  // The published list: Listed() lines; At(line) is nullopt only for a line
  // of a row whose problems changed since, or out of the list.
  int Listed() const { return listed_; }
  std::optional<Problem> At(int line) const;

  // The counts of the rows as they are now.
  int Count(ProblemKind kind);
  int Total();

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
    std::int32_t first = -1;  // its rows, linked through nextInPair_ and prevInPair_
  };
  // What the rows of a pair show of it: the lines it adds and their texts.
  struct PairLook {
    int rows = 1;  // when more than one
    Holding holding = Holding::None;
    double sum = 0;  // when short
    bool operator==(const PairLook&) const = default;
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

  // Room for every line a row can have.
  static constexpr int kMostLinesOfARow = 20;

  void Rebuild();
  void Refresh() {
    if (stale_) Rebuild();
  }
  // Reads row r again: its own problems and its quantity; then its pair.
  void ReadRow(int r);
  std::uint32_t OwnProblems(int r) const;
  // The pair of row r as its cells stand, made when new; -1 for none.
  int PairOfCells(int r);
  PairLook LookOf(int id) const;
  void Join(int r, int id);
  void Leave(int r);
  // Row r's lines are published again at the next Publish.
  void MarkChanged(int r);
  void MarkPairChanged(int id);
  // Row r's problems as they are now, in list order, into lines; their count.
  int RowLines(int r, Problem* lines) const;
  int LineCount(int r) const;
  void PublishAll(ProblemListFollower* follower);
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
  std::vector<std::uint32_t> own_;                     // per grid row: bit per problem of its own
  std::vector<std::int32_t> pairOf_;                   // per grid row: its pair, or -1
  std::vector<std::int32_t> nextInPair_, prevInPair_;  // per grid row, -1 at the ends
  std::vector<double> quantity_;   // per grid row: its Quantity, 0 when not a number
  PrefixSums<double> quantities_;  // of quantity_
  std::vector<Pair> pairs_;
  std::unordered_map<PairKey, std::int32_t, PairHash> pairIds_;
  std::array<int, kProblemKinds> counts_{};

  // The published list: per grid row the lines it shows and their sums.
  bool wholeListChanged_ = true;
  std::vector<int> shown_;
  PrefixSums<int> lines_;
  int listed_ = 0;
  std::vector<std::uint8_t> marked_;   // per grid row: in changed_
  std::vector<std::int32_t> changed_;  // rows to publish again, in no order
};

}  // namespace quorvin
