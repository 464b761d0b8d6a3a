#include "checks/record_checks.h"

#include <exception>

#include "entry/entry_grid.h"
#include "shell/errors.h"
#include "shell/text.h"

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
    ShowErrorDescription(app.dialogs, e.what());
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

}  // namespace

bool ColumnIsComplete(Dialogs& dialogs, const Grid& grid, int column) {
  RequireColumn(grid, column);
  for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
    if (!TrimView(grid.Text(r, column)).empty()) continue;
    const std::string& heading = grid.Text(0, column);
    dialogs.Message(heading + " is not given in row number " + std::to_string(r) + ".",
                    "Missing " + heading, MsgIcon::Critical, MsgButtons::Ok);
    return false;
  }
  return true;
}

int FindRowWithText(const Grid& grid, int column, const std::string& text) {
  RequireColumn(grid, column);
  for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
    if (grid.Text(r, column) == text) return r;
  return -1;
}

int FindRowWithoutPrefix(const Grid& grid, int column, const std::string& prefix) {
  RequireColumn(grid, column);
  for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
    if (!StartsWith(grid.Text(r, column), prefix)) return r;
  return -1;
}

bool CheckMissingFields(AppContext& app, Grid& grid, WindowPort& window,
                        const std::string& savedCaption) {
  return Trapped(app, window, savedCaption, [&] {
    for (int c = 1; c < grid.Cols(); ++c) {
      if (ColumnIsComplete(app.dialogs, grid, c)) continue;
      grid.SetCol(c);
      RestoreWindow(window, savedCaption);
      return true;
    }
    return false;
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

}  // namespace quorvin
