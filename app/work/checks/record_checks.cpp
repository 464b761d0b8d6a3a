// The walks behind the four pre-send record checks, and the message box that
// points the clerk at the first failing row.
#include "work/checks/record_checks.h"

#include <array>
#include <exception>
#include <utility>
#include <vector>

#include "day/entry_grid.h"
#include "ground/errors.h"
#include "ground/fast_paths.h"
#include "ground/numbers.h"
#include "ground/text.h"

namespace quorvin {
namespace {

void RequireColumn(const Grid& grid, int column) {
  if (column < 0 || column >= grid.Cols()) throw AppError("Subscript out of range");
}

void RestoreWindow(WindowPort& window, const std::string& savedCaption) {
  window.SetCaption(savedCaption);
  window.SetWaitCursor(false);
}

// A check that cannot read the grid must stop the send rather than wave the
// rows through: it restores the window, shows the description and fails.
template <typename Check>
bool Trapped(AppContext& app, WindowPort& window, const std::string& savedCaption, Check check) {
  try {
    return check();
  } catch (const std::exception& e) {
    RestoreWindow(window, savedCaption);
    ShowErrorDescription(app.dialogs, e);
    return true;
  }
}

// Reports r when it names a data row: restores the pointer, shows the box,
// restores the caption.
bool ReportRow(AppContext& app, WindowPort& window, const std::string& savedCaption, int row,
               const std::string& text, const std::string& title) {
  if (row <= 0) return false;
  window.SetWaitCursor(false);
  app.dialogs.Message(text, title, MsgIcon::Critical, MsgButtons::Ok);
  window.SetCaption(savedCaption);
  return true;
}

// A walk down one column fetches its texts this many rows ahead.
constexpr int kRowsAhead = 16;

// The row whose cell in column decides the check: the first data row for
// which `stop` holds, or -1.
template <typename Stop>
int FirstRowWhere(const Grid& grid, int column, Stop stop) {
  RequireColumn(grid, column);
  const int rows = grid.Rows();
  for (int r = grid.FixedRows(); r < rows; ++r) {
    FetchRowsAhead(grid, r, kRowsAhead, std::array{column}, std::array{column});
    if (stop(grid.Text(r, column))) return r;
  }
  return -1;
}

bool IsBlank(const std::string& cell) {
  return cell.empty() || (cell[0] == ' ' && TrimView(cell).empty());
}

void ShowMissing(Dialogs& dialogs, const Grid& grid, int column, int row) {
  const std::string& heading = grid.Text(0, column);
  dialogs.Message(heading + " is not given in row number " + std::to_string(row) + ".",
                  "Missing " + heading, MsgIcon::Critical, MsgButtons::Ok);
}

// The first column from 1 on that has a blank cell, and its first blank row;
// column -1 when every cell is filled. One walk down the rows: columns to the
// right of the leftmost blank found so far no longer matter, and a cell that
// holds the very text last seen filled in its column is filled too.
std::pair<int, int> FirstMissingField(const Grid& grid) {
  int column = -1, row = -1;
  int limit = grid.Cols();  // columns from here on are not looked at
  std::vector<Cell> filled(grid.Cols(), nullptr);
  const int rows = grid.Rows();
  for (int r = grid.FixedRows(); r < rows && limit > 1; ++r) {
    for (int c = 1; c < limit; ++c) {
      Cell cell = grid.CellAt(r, c);
      if (cell == filled[c]) continue;
      FetchRowsAhead(grid, r, kRowsAhead, std::array{c}, std::array{c});
      if (!IsBlank(*cell)) {
        filled[c] = cell;
        continue;
      }
      column = c;
      row = r;
      limit = c;
      break;
    }
  }
  return {column, row};
}

}  // namespace

bool ColumnIsComplete(Dialogs& dialogs, const Grid& grid, int column) {
  int r = FirstRowWhere(grid, column, IsBlank);
  if (r < 0) return true;
  ShowMissing(dialogs, grid, column, r);
  return false;
}

int FindRowWithText(const Grid& grid, int column, const std::string& text) {
  return FirstRowWhere(grid, column, [&](const std::string& cell) { return cell == text; });
}

int FindRowWithoutPrefix(const Grid& grid, int column, const std::string& prefix) {
  return FirstRowWhere(grid, column,
                       [&](const std::string& cell) { return !StartsWith(cell, prefix); });
}

bool CheckMissingFields(AppContext& app, Grid& grid, WindowPort& window,
                        const std::string& savedCaption) {
  return Trapped(app, window, savedCaption, [&] {
    auto [column, row] = FirstMissingField(grid);
    if (column < 0) return false;
    ShowMissing(app.dialogs, grid, column, row);
    grid.SetCol(column);
    RestoreWindow(window, savedCaption);
    return true;
  });
}

bool CheckBOIDs(AppContext& app, const Grid& grid, WindowPort& window,
                const std::string& savedCaption) {
  return Trapped(app, window, savedCaption, [&] {
    int r = FindRowWithText(grid, col::kBOName, kBONameNotFound);
    return ReportRow(app, window, savedCaption, r,
                     "BOID is not entered correctly in row number " + std::to_string(r) + ".",
                     "Invalid BOID");
  });
}

bool CheckISINCodes(AppContext& app, const Grid& grid, WindowPort& window,
                    const std::string& savedCaption) {
  return Trapped(app, window, savedCaption, [&] {
    int r = FindRowWithText(grid, col::kISINName, kISINNameNotFound);
    return ReportRow(app, window, savedCaption, r,
                     "ISIN Code is not entered correctly in row number " + std::to_string(r) + ".",
                     "Invalid ISIN Code");
  });
}

bool CheckInternalRefNos(AppContext& app, const Grid& grid, WindowPort& window,
                         const std::string& savedCaption) {
  return Trapped(app, window, savedCaption, [&] {
    if (app.kindCode.empty()) throw AppError("The instruction kind is not set.");
    std::string letter = app.kindCode.substr(app.kindCode.size() - 1);
    int r = FindRowWithoutPrefix(grid, col::kInternalRefNo, letter);
    return ReportRow(app, window, savedCaption, r,
                     "For " + app.instructionKind +
                         " entries Internal Ref. No. must start with \"" + letter + "\" ." +
                         std::string(kCrLf) + "Check row number " + std::to_string(r) + ".",
                     "Invalid Internal Ref. No.");
  });
}

bool CheckQuantities(AppContext& app, Grid& grid, WindowPort& window,
                     const std::string& savedCaption) {
  return Trapped(app, window, savedCaption, [&] {
    const int r = FirstRowWhere(grid, col::kQuantity,
                                [](const std::string& cell) { return !IsWholeQuantity(cell); });
    if (!ReportRow(app, window, savedCaption, r,
                   "Quantity is not a whole number in row number " + std::to_string(r) + ".",
                   "Invalid Quantity"))
      return false;
    grid.SetRow(r);
    grid.SetCol(col::kQuantity);
    RestoreWindow(window, savedCaption);
    return true;
  });
}

}  // namespace quorvin
