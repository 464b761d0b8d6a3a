#include "entry/entry_grid.h"

#include "shell/dates.h"
#include "shell/errors.h"
#include "shell/grid_text.h"
#include "shell/text.h"

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
    grid.SetText(r, col::kSN, std::to_string(r));
    WidenColumn(grid, r, col::kSN, kWidenMargin);
  }
}

std::string InternalRefNo(const AppContext& app, const std::string& tradeDate, int counter) {
  auto date = ParseDate(tradeDate);
  if (!date) throw AppError("Type mismatch");
  return app.kindCode.substr(app.kindCode.size() - 1) + app.settings.BrokerID +
         FormatDate(*date, "ddmmyy") + std::to_string(counter);
}

void RenumberInternalRefNos(const AppContext& app, Grid& grid) {
  GridBatch batch(grid);
  int counter = 1;
  for (int r = 1; r < grid.Rows(); ++r) {
    const std::string& tradeDate = grid.Text(r, col::kTradeDate);
    const std::string& boId = grid.Text(r, col::kBOID);
    if (TrimView(tradeDate).empty() || TrimView(boId).empty()) continue;
    if (r > 1 && grid.Text(r - 1, col::kBOID) != boId) ++counter;
    grid.SetText(r, col::kInternalRefNo, InternalRefNo(app, tradeDate, counter));
    WidenColumn(grid, r, col::kInternalRefNo, kWidenMargin);
  }
}

}  // namespace quorvin
