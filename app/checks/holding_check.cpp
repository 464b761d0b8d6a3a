#include "checks/holding_check.h"

#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <limits>

#include "entry/entry_grid.h"
#include "entry/row_operations.h"
#include "shell/errors.h"
#include "shell/numbers.h"
#include "shell/text.h"
#include "shell/text_files.h"
#include "shell/version.h"

namespace quorvin {
namespace {

void RestoreWindow(WindowPort& window, const std::string& savedCaption) {
  window.SetCaption(savedCaption);
  window.SetWaitCursor(false);
}

// Lets the window show how far the walk has come a few times a second,
// rather than repainting for every row.
class WalkDisplay {
 public:
  WalkDisplay(Grid& grid, WindowPort& window) : grid_(grid), window_(window) {}
  void At(int row) {
    if ((++count_ & 255) != 0) return;
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    SelectWholeRow(grid_, row);
    window_.ProcessPendingEvents();
  }

 private:
  Grid& grid_;
  WindowPort& window_;
  unsigned count_ = 0;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace

bool CheckHoldingOfRow(AppContext& app, std::optional<std::string_view> line,
                       const std::string& boid, const std::string& isin, std::int32_t quantity) {
  try {
    if (!line) {
      app.holdingMessage += boid + " " + isin + " holding balance missing." + std::string(kCrLf);
      return false;
    }
    std::string_view balance = BalanceText(*line);
    if (quantity > ToDouble(balance)) {
      app.holdingMessage += boid + " " + isin + " holding insufficient. " + app.instructionKind +
                            " quantity : " + std::to_string(quantity) +
                            " Holding balance : " + std::string(balance) + std::string(kCrLf);
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e.what());
    return false;
  }
}

bool CheckHoldingFile(AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
                      const std::string& path, const std::string& savedCaption) {
  const int first = grid.FixedRows();
  int row = -1;  // the row being checked, for the error path
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
    HoldingFile file(ReadTextFile(path));
    std::string reportDate = file.ReportDate();
    app.holdingMessage.clear();
    window.SetCaption(WindowCaption(" : ...Checking balance on " + reportDate));
    if (grid.Cols() <= col::kQuantity) throw AppError("Subscript out of range");

    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(grid.Rows());
    for (int r = first; r < grid.Rows(); ++r)
      pairs.emplace_back(grid.Text(r, col::kBOID), grid.Text(r, col::kISINCode));
    const std::vector<int> balanceLines = file.FirstBalanceLines(pairs);

    bool failed = false;
    int firstFailing = -1;
    std::int32_t running = 0;
    WalkDisplay display(grid, window);
    // Rows are re-read on every step: the window may run events during the walk.
    for (row = first; row < grid.Rows(); ++row) {
      display.At(row);
      std::string boid = grid.Text(row, col::kBOID), isin = grid.Text(row, col::kISINCode);
      double quantity = ToDouble(grid.Text(row, col::kQuantity));
      bool sameAsAbove = row > first && grid.Text(row - 1, col::kBOID) == boid &&
                         grid.Text(row - 1, col::kISINCode) == isin;
      running = RoundToInt32(sameAsAbove ? running + quantity : quantity);
      size_t k = static_cast<size_t>(row - first);
      int l = k < pairs.size() && pairs[k].first == boid && pairs[k].second == isin
                  ? balanceLines[k]
                  : file.FirstBalanceLine(boid, isin);
      std::optional<std::string_view> line;
      if (l >= 0) line = file.Lines()[l];
      // A balance that is not a number gets a box: show the row it is about.
      if (line && !IsNumeric(BalanceText(*line))) SelectWholeRow(grid, row);
      if (!CheckHoldingOfRow(app, line, boid, isin, running)) {
        if (firstFailing < 0) firstFailing = row;
        failed = true;
      }
    }
    row = -1;
    if (failed)
      SelectWholeRow(grid, firstFailing);
    else if (grid.Rows() > first)
      SelectWholeRow(grid, grid.Rows() - 1);
    if (!app.holdingMessage.empty()) view.ShowModal(app.holdingMessage);
    RestoreWindow(window, savedCaption);
    return failed;
  } catch (const std::exception&) {
    if (row >= first && row < grid.Rows()) SelectWholeRow(grid, row);
    RestoreWindow(window, savedCaption);
    app.dialogs.Message("Error checking BO account holding balance.", "Holding Check Error.",
                        MsgIcon::Critical, MsgButtons::Ok);
    return true;
  }
}

bool ChooseAndCheckHolding(AppContext& app, Grid& grid, WindowPort& window,
                           HoldingMessageView& view, const std::string& savedCaption) {
  auto path = app.dialogs.OpenFile(kHoldingFileDialogTitle, kHoldingFileFilter, 1);
  if (!path) {
    window.SetCaption(savedCaption);
    window.SetWaitCursor(false);
    app.dialogs.Message("You must select a holding file(DPA6UX.TXT) before sending to MGX.",
                        "Holding Not Checked.", MsgIcon::Critical, MsgButtons::Ok);
    return true;
  }
  return CheckHoldingFile(app, grid, window, view, *path, savedCaption);
}

void CheckHoldingClicked(AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
                         std::string& savedCaption) {
  savedCaption = window.Caption();
  if (!ChooseAndCheckHolding(app, grid, window, view, savedCaption))
    app.dialogs.Message("Holding balance checking completed.", "Checking Complete.",
                        MsgIcon::Information, MsgButtons::Ok);
}

}  // namespace quorvin
