// Setting up and clearing the entry grid, renumbering its serials, and
// building each row's Internal Ref. No. from the broker and trade date.
#include "day/entry_grid.h"

#include "ground/dates.h"
#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/text.h"

namespace quorvin {

const char* const kEntryTitles[kEntryColumns] = {
    "S/N",         "Broker ID", "Clearing BOID",    "Trade Date", "Delivery Date",
    "Client Code", "BO ID",     "BO Name",          "Scrip ID",   "ISIN Code",
    "ISIN Name",   "Quantity",  "Internal Ref. No."};

void SetUpEntryGrid(Grid& grid) {
  GridBatch batch(grid);
  grid.SetCols(kEntryColumns);
  grid.SetRows(2);
  for (int c = 0; c < kEntryColumns; ++c) {
    grid.SetText(0, c, kEntryTitles[c]);
    grid.SetColWidth(c, grid.Measure().WidthTwips(kEntryTitles[c]) + kWidenMargin);
    grid.SetText(1, c, "");
  }
  grid.SetText(1, 0, "1");
}

bool IsGridEmpty(const Grid& grid) {
  if (grid.Rows() < 2) return true;
  if (grid.Rows() > 2) return false;
  for (int c = 1; c < grid.Cols(); ++c)
    if (!TrimView(grid.Text(1, c)).empty()) return false;
  return true;
}

void ClearEntryGrid(Grid& grid) {
  ResetToOneBlankRow(grid);
}

void RenumberSerials(Grid& grid) {
  GridBatch batch(grid);
  for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
    grid.SetCell(r, col::kSN, grid.Pool().Number(r));
    WidenColumn(grid, r, col::kSN, kWidenMargin);
  }
}

std::string InternalRefNoPrefix(const AppContext& app, const std::string& tradeDate) {
  auto date = ParseDate(tradeDate);
  if (!date) throw AppError("Type mismatch");
  return app.kindCode.substr(app.kindCode.size() - 1) + app.settings.BrokerID +
         FormatDate(*date, "ddmmyy");
}

std::string InternalRefNo(const AppContext& app, const std::string& tradeDate, int counter) {
  return InternalRefNoPrefix(app, tradeDate) + std::to_string(counter);
}

InternalRefNoWalk::InternalRefNoWalk(const AppContext& app, Grid& grid) : app_(app), grid_(grid) {}

void InternalRefNoWalk::Row(int r) {
  const Cell tradeDate = grid_.CellAt(r, col::kTradeDate);
  const Cell boid = grid_.CellAt(r, col::kBOID);
  if (boid != lastBoid_) {
    lastBoid_ = boid;
    boidBlank_ = TrimView(*boid).empty();
  }
  if (boidBlank_ || TrimView(*tradeDate).empty()) return;
  if (r > 1 && grid_.CellAt(r - 1, col::kBOID) != boid) ++counter_;
  if (tradeDate != lastDate_ || counter_ != lastCounter_) {
    auto known = prefixes_.find(tradeDate);
    if (known == prefixes_.end())
      known =
          prefixes_.emplace(tradeDate, grid_.Pool().Intern(InternalRefNoPrefix(app_, *tradeDate)))
              .first;
    last_ = grid_.Pool().Numbered(known->second, counter_);
    lastDate_ = tradeDate;
    lastCounter_ = counter_;
  }
  grid_.SetCell(r, col::kInternalRefNo, last_);
  // Widening for a text once is enough: widths only grow during the walk.
  if (last_ != widened_) WidenColumn(grid_, r, col::kInternalRefNo, kWidenMargin);
  widened_ = last_;
}

void RenumberInternalRefNos(const AppContext& app, Grid& grid) {
  GridBatch batch(grid);
  InternalRefNoWalk walk(app, grid);
  for (int r = 1; r < grid.Rows(); ++r) walk.Row(r);
}

}  // namespace quorvin
