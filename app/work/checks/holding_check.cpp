// The Check Holding button's walk: asks for the holding report, looks up each
// grid row's balance in it, and lists the rows that fail in the message window.
#include "work/checks/holding_check.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <limits>
#include <memory>

#include "day/entry_grid.h"
#include "day/row_operations.h"
#include "ground/errors.h"
#include "ground/fast_paths.h"
#include "ground/numbers.h"
#include "ground/platform.h"
#include "ground/text.h"
#include "ground/text_files.h"
#include "ground/version.h"

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
  // True when the window ran its events just now.
  bool At(int row) {
    if ((++count_ & 255) != 0) return false;
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return false;
    last_ = now;
    SelectWholeRow(grid_, row);
    window_.ProcessPendingEvents();
    return true;
  }

 private:
  Grid& grid_;
  WindowPort& window_;
  unsigned count_ = 0;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace

namespace {

struct RowVerdict {
  bool covered;
  bool boxShown;  // the window may have run events meanwhile
};

RowVerdict CheckRow(AppContext& app, std::optional<std::string_view> line, std::string_view boid,
                    std::string_view isin, std::int32_t quantity) {
  try {
    std::string& message = app.holdingMessage;
    if (!line) {
      message.append(boid).append(" ").append(isin).append(" holding balance missing.");
      message.append(kCrLf);
      return {false, false};
    }
    std::string_view balance = BalanceText(*line);
    if (quantity > ToDouble(balance)) {
      message.append(boid).append(" ").append(isin).append(" holding insufficient. ");
      message.append(app.instructionKind).append(" quantity : ");
      message.append(std::to_string(quantity)).append(" Holding balance : ");
      message.append(balance).append(kCrLf);
      return {false, false};
    }
    return {true, false};
  } catch (const std::exception& e) {
    ShowErrorDescription(app.dialogs, e);
    return {false, true};
  }
}

}  // namespace

bool CheckHoldingOfRow(AppContext& app, std::optional<std::string_view> line, std::string_view boid,
                       std::string_view isin, std::int32_t quantity) {
  return CheckRow(app, line, boid, isin, quantity).covered;
}

namespace {

// A walk down the grid fetches the texts it reads 16 rows ahead; of them
// only the BOID is too long to sit in its string.
constexpr int kCellsAhead = 16;
constexpr int kReadColumns[] = {col::kBOID, col::kISINCode, col::kQuantity};
constexpr int kLongColumns[] = {col::kBOID};

// Whether two cells hold the same text; the same place in the pool is.
bool SameText(Cell a, Cell b) {
  return a == b || *a == *b;
}

// The BOID, ISIN and quantity of every data row as they were before the file
// was searched, the texts copied. Until the window runs events the grid is
// still exactly this, and the walk reads it here; afterwards the walk reads
// the grid and tells from the copies whether a row still holds what the file
// was searched for.
class RowsAsRead {
 public:
  explicit RowsAsRead(const Grid& grid) {
    const int first = grid.FixedRows(), rows = grid.Rows();
    const size_t count = rows > first ? static_cast<size_t>(rows - first) : 0;
    pairs_.reserve(count);
    quantities_.reserve(count);
    std::string_view boid;
    for (int r = first; r < rows; ++r) {
      FetchRowsAhead(grid, r, kCellsAhead, kReadColumns, kLongColumns);
      // The same place in the pool is the same text: the BOID of the row
      // above, the rows coming sorted, is not copied again.
      if (r == first || grid.CellAt(r, col::kBOID) != grid.CellAt(r - 1, col::kBOID))
        boid = Copy(grid.Text(r, col::kBOID));
      pairs_.emplace_back(boid, Copy(grid.Text(r, col::kISINCode)));
      const std::string& quantity = grid.Text(r, col::kQuantity);
      quantities_.push_back(IsNumeric(quantity) ? ToDouble(quantity) : kNotANumber);
    }
  }
  RowsAsRead(const RowsAsRead&) = delete;
  RowsAsRead& operator=(const RowsAsRead&) = delete;

  // Of the k-th data row.
  const std::vector<std::pair<std::string_view, std::string_view>>& Pairs() const { return pairs_; }
  // Nothing for a quantity that is not a number.
  std::optional<double> Quantity(size_t k) const {
    if (std::isnan(quantities_[k])) return std::nullopt;
    return quantities_[k];
  }

 private:
  // A number's text never reads as this.
  static constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
  static constexpr size_t kBlock = 1 << 16;

  // Copies go into blocks that never move, so the views stay valid.
  std::string_view Copy(std::string_view text) {
    if (text.empty()) return {};  // a blank cell: nothing to copy
    if (text.size() > left_) {
      blocks_.emplace_back(new char[std::max(text.size(), kBlock)]);
      at_ = blocks_.back().get();
      left_ = std::max(text.size(), kBlock);
    }
    std::memcpy(at_, text.data(), text.size());
    std::string_view copy(at_, text.size());
    at_ += text.size();
    left_ -= text.size();
    return copy;
  }

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* at_ = nullptr;
  size_t left_ = 0;
  std::vector<std::pair<std::string_view, std::string_view>> pairs_;
  std::vector<double> quantities_;
};

}  // namespace

namespace {

// The trade dates of the rows, each once.
std::vector<Date> TradeDates(const Grid& grid) {
  std::vector<Date> dates;
  if (grid.Cols() <= col::kTradeDate) return dates;
  Cell last = nullptr;
  for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
    Cell cell = grid.CellAt(r, col::kTradeDate);
    if (cell == last) continue;
    last = cell;
    if (auto d = ParseDate(*cell); d && std::find(dates.begin(), dates.end(), *d) == dates.end())
      dates.push_back(*d);
  }
  return dates;
}

}  // namespace

bool HoldingReportDateAccepted(AppContext& app, const Grid& grid, const std::string& reportDate) {
  std::optional<Date> report = ParseDate(Trim(reportDate));
  std::vector<Date> trades = TradeDates(grid);
  if (!report || trades.empty()) return true;
  for (const Date& t : trades)
    if (*report == t || *report == DayBefore(t)) return true;
  std::string tradeText;
  for (const Date& t : trades) {
    if (!tradeText.empty()) tradeText += ", ";
    tradeText += FormatDisplayDate(t);
  }
  return app.dialogs.Message("The holding report is of " + FormatDisplayDate(*report) +
                                 ", but the trades are of " + tradeText + "." + std::string(kCrLf) +
                                 "Check the rows with this report?",
                             "Holding Report Date", MsgIcon::Question,
                             MsgButtons::YesNoDefaultNo) == MsgAnswer::Yes;
}

bool CheckHoldingFile(AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
                      const std::string& path, const std::string& savedCaption) {
  const int first = grid.FixedRows();
  int row = -1;  // the row being checked, for the error path
  try {
    std::error_code error;
    auto size = std::filesystem::file_size(platform::PathOf(path), error);
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
    if (!HoldingReportDateAccepted(app, grid, reportDate)) {
      RestoreWindow(window, savedCaption);
      return true;
    }
    // The next choice for this day and kind opens on this report.
    if (!app.holdingDay.empty()) app.holdingFiles[app.holdingDay] = path;
    app.holdingMessage.clear();
    window.SetCaption(WindowCaption(" : ...Checking balance on " + reportDate));
    if (grid.Cols() <= col::kQuantity) throw AppError("Subscript out of range");

    const RowsAsRead asRead(grid);
    const auto& pairs = asRead.Pairs();
    const std::vector<int> balanceLines = file.FirstBalanceLines(pairs);

    bool failed = false;
    int firstFailing = -1;
    std::int32_t running = 0;
    WalkDisplay display(grid, window);
    bool unchanged = true;  // no event has run since the rows were read
    for (row = first; row < grid.Rows(); ++row) {
      if (display.At(row)) unchanged = false;
      const size_t k = static_cast<size_t>(row - first);
      std::string boidCopy, isinCopy;  // for a row that changed since the file was searched
      std::string_view boid, isin;
      double quantity;
      bool sameAsAbove;
      int l;
      if (unchanged && k < pairs.size()) {
        boid = pairs[k].first;
        isin = pairs[k].second;
        std::optional<double> q = asRead.Quantity(k);
        quantity = q ? *q : ToDouble(grid.Text(row, col::kQuantity));  // throws as it did
        sameAsAbove = k > 0 && pairs[k - 1] == pairs[k];
        l = balanceLines[k];
      } else {
        // Rows are re-read: the window may have run events.
        FetchRowsAhead(grid, row, kCellsAhead, kReadColumns, kLongColumns);
        const std::string& boidCell = grid.Text(row, col::kBOID);
        const std::string& isinCell = grid.Text(row, col::kISINCode);
        quantity = ToDouble(grid.Text(row, col::kQuantity));
        sameAsAbove = row > first && SameText(grid.CellAt(row - 1, col::kBOID), &boidCell) &&
                      SameText(grid.CellAt(row - 1, col::kISINCode), &isinCell);
        if (k < pairs.size() && pairs[k].first == boidCell && pairs[k].second == isinCell) {
          boid = pairs[k].first;
          isin = pairs[k].second;
          l = balanceLines[k];
        } else {
          boid = boidCopy = boidCell;
          isin = isinCopy = isinCell;
          l = file.FirstBalanceLine(boid, isin);
        }
      }
      running = RoundToInt32(sameAsAbove ? running + quantity : quantity);
      std::optional<std::string_view> line;
      if (l >= 0) line = file.Lines()[l];
      // A balance that is not a number gets a box: show the row it is about.
      if (line && !IsNumeric(BalanceText(*line))) SelectWholeRow(grid, row);
      RowVerdict verdict = CheckRow(app, line, boid, isin, running);
      if (verdict.boxShown) unchanged = false;
      if (!verdict.covered) {
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
  auto remembered = app.holdingFiles.find(app.holdingDay);
  auto path = app.dialogs.OpenFile(
      kHoldingFileDialogTitle, kHoldingFileFilter, 1,
      remembered != app.holdingFiles.end() ? remembered->second : app.settings.BackupLocation);
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
