#pragma once
// The trade-file import as the clerk's old tool ran it: every cell written
// and its column widened in place, the lists walked for every lookup. The
// yardstick for the program's import.
#include <optional>
#include <string>
#include <string_view>

#include "day/app_context.h"
#include "day/entry_grid.h"
#include "ground/dates.h"
#include "ground/errors.h"
#include "ground/grid.h"
#include "ground/grid_text.h"
#include "ground/text.h"
#include "ground/text_files.h"
#include "support/first_match_walk.h"

namespace quorvin::test::straight {

// Measures the cell every time.
inline void Widen(Grid& grid, int row, int col) {
  int needed = grid.Measure().WidthTwips(grid.Text(row, col)) + kWidenMargin;
  if (grid.ColWidth(col) < needed) grid.SetColWidth(col, needed);
}

inline void Put(Grid& grid, int row, int col, std::string text) {
  grid.SetText(row, col, std::move(text));
  Widen(grid, row, col);
}

// Field 10 read as a date, written "dd-mm-yyyy", read again and written "dd-MMM-yyyy".
inline std::string TradeDateText(std::string_view field) {
  auto date = ParseDate(field);
  if (!date) throw AppError("Type mismatch");
  auto again = ParseDate(FormatDate(*date, "dd-mm-yyyy"));
  return FormatDisplayDate(*again);
}

inline bool ImportTrades(AppContext& app, Grid& grid, const std::string& path,
                         const std::string& side) {
  if (!IsGridEmpty(grid) &&
      app.dialogs.Message("Unsaved data will be lost.\r\nAre you sure to continue?",
                          "Confirm Loading", MsgIcon::Question,
                          MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;
  ClearEntryGrid(grid);
  WalkLookups find(app.lists, app.dialogs);
  std::optional<size_t> reading;  // the line being read
  try {
    std::string text = ReadTextFile(path);
    auto lines = SplitAll(text, kCrLf);
    grid.SetRows(static_cast<int>(lines.size()) + 1);
    int row = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
      reading = i;
      auto fields = SplitAll(lines[i], "|");
      if (fields.size() < 2) continue;
      auto failure = [&](const char* what) {
        return AppError("Line " + std::to_string(i + 1) + " of the trade file " + what);
      };
      if (fields.size() < 4) throw failure("has fewer than 4 fields");
      if (fields[3] != side) continue;
      if (fields.size() < 11) throw failure("has fewer than 11 fields");
      // The date is read before any cell of its row is written: a line whose
      // date cannot be read leaves its row blank.
      std::string tradeDate = TradeDateText(fields[10]);
      std::string scrip(fields[1]), client(fields[6]);
      Put(grid, row, col::kSN, std::to_string(row));
      Put(grid, row, col::kScripID, scrip);
      Put(grid, row, col::kQuantity, std::string(fields[4]));
      Put(grid, row, col::kClientCode, client);
      Put(grid, row, col::kBOID, find.FindBOIDByClientCode(client));
      Put(grid, row, col::kBOName, find.FindBOName(grid.Text(row, col::kBOID)));
      Put(grid, row, col::kTradeDate, tradeDate);
      Put(grid, row, col::kISINCode, find.FindISINByScripID(scrip));
      Put(grid, row, col::kISINName, find.FindISINName(grid.Text(row, col::kISINCode)));
      ++row;
    }
    grid.SetRows(row);
  } catch (const AppError& e) {
    // A failing line leaves a row for each line read, itself included.
    if (reading) grid.SetRows(static_cast<int>(*reading) + 2);
    ShowErrorDescription(app.dialogs, e.Description());
  }
  return true;
}

}  // namespace quorvin::test::straight
