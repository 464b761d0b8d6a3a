// The plain-walk versions of the import, Auto-Fill, sort, summary and
// holding check, run on the grid so the benchmark can time and compare them.
#include "straight_day.h"

#include <cmath>
#include <exception>
#include <filesystem>
#include <limits>
#include <optional>

#include "day/entry_grid.h"
#include "day/row_operations.h"
#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/numbers.h"
#include "ground/text.h"
#include "ground/text_files.h"
#include "ground/version.h"
#include "support/first_match_walk.h"
#include "work/checks/straight_algorithms.h"
#include "work/import/straight_import.h"

namespace quorvin::bench::straight {
namespace {

using Table = test::straight::Table;

using test::WalkLookups;
using test::straight::Put;

Table CopyCells(const Grid& grid) {
  Table table(grid.Rows(), std::vector<std::string>(grid.Cols()));
  for (int r = 0; r < grid.Rows(); ++r)
    for (int c = 0; c < grid.Cols(); ++c) table[r][c] = grid.Text(r, c);
  return table;
}

bool SortGridByColumns(Dialogs& dialogs, Grid& grid, const std::vector<int>& keys,
                       const std::vector<bool>& numeric, const std::vector<bool>& descending) {
  try {
    Table table = CopyCells(grid);
    test::straight::SortGridByColumns(table, keys, numeric, descending);
    for (int r = 1; r < grid.Rows(); ++r)
      for (int c = 0; c < grid.Cols(); ++c) grid.SetText(r, c, table[r][c]);
    return true;
  } catch (const std::exception& e) {
    ShowErrorDescription(dialogs, e.what());
    return false;
  }
}

}  // namespace

bool ImportTrades(AppContext& app, Grid& grid, const std::string& path, const std::string& side) {
  return test::straight::ImportTrades(app, grid, path, side);
}

void SortEntries(AppContext& app, Grid& grid) {
  SortGridByColumns(app.dialogs, grid,
                    {col::kBOID, col::kClientCode, col::kISINCode, col::kQuantity},
                    {false, false, false, true}, {false, false, false, true});
  for (int r = 1; r < grid.Rows(); ++r) Put(grid, r, col::kSN, std::to_string(r));
}

void AutoFill(AppContext& app, Grid& grid, const Date& settlementDate) {
  WalkLookups find(app.lists, app.dialogs);
  int counter = 1;
  for (int r = 1; r < grid.Rows(); ++r) {
    Put(grid, r, col::kSN, std::to_string(r));
    Put(grid, r, col::kDeliveryDate, FormatDisplayDate(settlementDate));
    Put(grid, r, col::kBrokerID, app.settings.BrokerID);
    Put(grid, r, col::kClearingBOID, app.settings.ClearingBOID);
    Put(grid, r, col::kBOID, find.FindBOIDByClientCode(grid.Text(r, col::kClientCode)));
    Put(grid, r, col::kBOName, find.FindBOName(grid.Text(r, col::kBOID)));
    Put(grid, r, col::kISINCode, find.FindISINByScripID(grid.Text(r, col::kScripID)));
    Put(grid, r, col::kISINName, find.FindISINName(grid.Text(r, col::kISINCode)));
    if (Trim(grid.Text(r, col::kTradeDate)).empty() || Trim(grid.Text(r, col::kBOID)).empty())
      continue;
    if (r > 1 && grid.Text(r - 1, col::kBOID) != grid.Text(r, col::kBOID)) ++counter;
    Put(grid, r, col::kInternalRefNo, InternalRefNo(app, grid.Text(r, col::kTradeDate), counter));
  }
}

void Summarize(AppContext& app, Grid& grid) {
  try {
    SortEntries(app, grid);
    Table table = CopyCells(grid);
    auto failure = test::straight::SummaryLoop(table, col::kBOID, col::kISINCode, col::kQuantity);
    grid.ReplaceRows(std::move(table));
    if (failure) throw AppError(*failure);
    RenumberInternalRefNos(app, grid);
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e.what());
  }
}

bool CheckHoldingFile(AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
                      const std::string& path, const std::string& savedCaption) {
  try {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error) throw AppError(error.message());
    if (size == 0) {
      window.SetWaitCursor(false);
      window.SetCaption(savedCaption);
      app.dialogs.Message("The selected file is empty." + std::string(kCrLf) +
                              "Please properly select the holding file (11DPA6UX.TXT).",
                          "Empty File.", MsgIcon::Critical, MsgButtons::Ok);
      return true;
    }
    const std::string text = ReadTextFile(path);
    auto lines = SplitAll(text, kCrLf);
    std::string first = lines.empty() ? std::string() : std::string(lines[0]);
    size_t start = first.find("Report for "), end = std::string::npos;
    if (start != std::string::npos) end = first.find(" :", start + 11);
    if (end == std::string::npos) throw AppError("The report date is missing.");
    std::string reportDate = first.substr(start + 11, end - start - 11);

    app.holdingMessage.clear();
    window.SetCaption(WindowCaption(" : ...Checking balance on " + reportDate));
    bool failed = false;
    int firstFailing = -1;
    std::int32_t running = 0;
    for (int r = 1; r < grid.Rows(); ++r) {
      SelectWholeRow(grid, r);
      const std::string boid = grid.Text(r, col::kBOID), isin = grid.Text(r, col::kISINCode);
      double quantity = ToDouble(grid.Text(r, col::kQuantity));
      bool sameAsAbove =
          r > 1 && grid.Text(r - 1, col::kBOID) == boid && grid.Text(r - 1, col::kISINCode) == isin;
      running = RoundToInt32(sameAsAbove ? running + quantity : quantity);
      // The whole file again, for every row.
      std::optional<std::string> line = test::straight::BalanceLine(ReadTextFile(path), boid, isin);
      std::optional<std::string_view> found;
      if (line) found = *line;
      if (!CheckHoldingOfRow(app, found, boid, isin, running)) {
        if (firstFailing < 0) firstFailing = r;
        failed = true;
      }
    }
    if (failed) SelectWholeRow(grid, firstFailing);
    if (!app.holdingMessage.empty()) view.ShowModal(app.holdingMessage);
    window.SetCaption(savedCaption);
    window.SetWaitCursor(false);
    return failed;
  } catch (const std::exception&) {
    window.SetCaption(savedCaption);
    window.SetWaitCursor(false);
    app.dialogs.Message("Error checking BO account holding balance.", "Holding Check Error.",
                        MsgIcon::Critical, MsgButtons::Ok);
    return true;
  }
}

}  // namespace quorvin::bench::straight
