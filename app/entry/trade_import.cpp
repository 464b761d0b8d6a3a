#include "entry/trade_import.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "entry/entry_grid.h"
#include "shell/errors.h"
#include "shell/grid_text.h"
#include "shell/text.h"
#include "shell/text_files.h"
#include "shell/version.h"

namespace quorvin {
namespace {

constexpr size_t kScripField = 1, kSideField = 3, kQuantityField = 4, kClientField = 6,
                 kTradeDateField = 10;

// The trade date as the broker's system writes it, in the grid's form.
std::string TradeDateText(std::string_view field) {
  auto date = ParseDate(field);
  if (!date) throw AppError("Type mismatch");
  // Through "dd-mm-yyyy" and back, as the dates always took this way.
  auto again = ParseDate(FormatDate(*date, "dd-mm-yyyy"));
  return FormatDisplayDate(*again);
}

std::string LineFailure(size_t line, const std::string& what) {
  return "Line " + std::to_string(line + 1) + " of the trade file " + what;
}

// Splits at every "|" into `fields`, reusing its room from line to line.
void SplitFields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  size_t start = 0;
  for (size_t bar; (bar = line.find('|', start)) != std::string_view::npos; start = bar + 1)
    fields.push_back(line.substr(start, bar - start));
  fields.push_back(line.substr(start));
}

// A trade file repeats a few trade dates; each distinct text is converted once.
class TradeDates {
 public:
  const std::string& Text(std::string_view field) {
    if (!known_ || field != field_) {
      text_ = TradeDateText(field);
      field_ = field;
      known_ = true;
    }
    return text_;
  }

 private:
  bool known_ = false;
  std::string_view field_;  // into the file's text, which outlives the import
  std::string text_;
};

// The imported rows, built apart and handed to the grid once. The grid ends
// as writing and widening each cell in place would leave it: the header row,
// the imported rows, and, after a failure, the blank rows reserved for every
// line of the file (row 1 keeping the "1" of the cleared grid when no row
// came in). Columns grow to their widest cell; widening never narrows, so the
// order of the cells does not matter.
class ImportedRows {
 public:
  explicit ImportedRows(Grid& grid) : grid_(grid), widths_(grid.Cols()) {
    for (int c = 0; c < grid.Cols(); ++c) widths_[c] = grid.ColWidth(c);
  }

  // Called once the file's lines are known: the grid is then sized for all of them.
  void Reserve(size_t lines) {
    reserved_ = lines + 1;
    rows_.reserve(reserved_);
    rows_.push_back(grid_.RowCells(0));
  }

  Grid::CellRow& Add() { return rows_.emplace_back(grid_.Cols()); }
  int Count() const { return static_cast<int>(rows_.size()) - 1; }

  // The columns an imported row writes; only those are widened.
  void Widen(const Grid::CellRow& row) {
    static constexpr int kWritten[] = {col::kSN,         col::kScripID,  col::kQuantity,
                                       col::kClientCode, col::kBOID,     col::kBOName,
                                       col::kTradeDate,  col::kISINCode, col::kISINName};
    const TextMeasure& measure = grid_.Measure();
    for (int c : kWritten) {
      const std::string& text = row[c];
      if (static_cast<long long>(text.size()) * measure.MaxCharWidthTwips() + kWidenMargin <=
          widths_[c])
        continue;
      widths_[c] = std::max(widths_[c], measure.WidthTwips(text) + kWidenMargin);
    }
  }

  // failed: the import stopped at a line; the reserved rows stay.
  void Finish(bool failed) {
    if (reserved_ > 0) {
      if (failed) {
        if (rows_.size() == 1) rows_.push_back(grid_.RowCells(1));
        rows_.resize(std::max(rows_.size(), reserved_), Grid::CellRow(grid_.Cols()));
      }
      rows_.shrink_to_fit();
      grid_.ReplaceRows(std::move(rows_));
    }
    for (int c = 0; c < grid_.Cols(); ++c) grid_.SetColWidth(c, widths_[c]);
  }

 private:
  Grid& grid_;
  std::vector<int> widths_;
  std::vector<Grid::CellRow> rows_;
  size_t reserved_ = 0;
};

}  // namespace

TradeFileName ParseTradeFileName(const std::string& fileName) {
  TradeFileName result;
  size_t underscore = fileName.find('_');
  std::string first = ToLower(fileName.substr(0, underscore));
  if (first == "payin") result.kind = "Pay In";
  if (first == "payout") result.kind = "Pay Out";
  if (result.kind.empty() || underscore == std::string::npos) return result;
  std::string rest = fileName.substr(underscore + 1);
  rest = ToLower(rest.substr(0, rest.find('_')));
  result.settlementDate = ParseDate(rest.substr(0, rest.find(".txt")));
  return result;
}

std::string TradeSide(const AppContext& app) {
  return app.kindCode == "PI" ? "S" : "B";
}

bool ImportTrades(AppContext& app, Grid& grid, const std::string& path, const std::string& side,
                  const std::function<void(int)>& progress) {
  if (!IsGridEmpty(grid) &&
      app.dialogs.Message("Unsaved data will be lost.\r\nAre you sure to continue?",
                          "Confirm Loading", MsgIcon::Question,
                          MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;
  std::string failure;
  {
    GridBatch batch(grid);
    ClearEntryGrid(grid);
    const ReferenceLists& lists = app.lists;
    ImportedRows rows(grid);
    try {
      std::string text = ReadTextFile(path);
      auto lines = SplitAll(text, kCrLf);
      rows.Reserve(lines.size());
      std::vector<std::string_view> fields;
      TradeDates dates;
      for (size_t i = 0; i < lines.size(); ++i) {
        if (progress && i % 65536 == 0) progress(static_cast<int>(i * 100 / lines.size()));
        if (lines[i].find('|') == std::string_view::npos) continue;
        SplitFields(lines[i], fields);
        if (fields.size() <= kSideField) throw AppError(LineFailure(i, "has fewer than 4 fields"));
        if (fields[kSideField] != side) continue;
        if (fields.size() <= kTradeDateField)
          throw AppError(LineFailure(i, "has fewer than 11 fields"));
        const std::string& tradeDate = dates.Text(fields[kTradeDateField]);
        std::string client(fields[kClientField]), scrip(fields[kScripField]);
        const int number = rows.Count() + 1;
        Grid::CellRow& row = rows.Add();
        row[col::kSN] = std::to_string(number);
        row[col::kQuantity] = fields[kQuantityField];
        row[col::kBOID] = lists.FindBOIDByClientCode(client);
        row[col::kBOName] = lists.FindBOName(row[col::kBOID]);
        row[col::kTradeDate] = tradeDate;
        row[col::kISINCode] = lists.FindISINByScripID(scrip);
        row[col::kISINName] = lists.FindISINName(row[col::kISINCode]);
        row[col::kClientCode] = std::move(client);
        row[col::kScripID] = std::move(scrip);
        rows.Widen(row);
      }
      rows.Finish(false);
    } catch (const AppError& e) {
      rows.Finish(true);
      failure = e.Description();
    }
  }
  // Shown once the grid's view may read the rows again.
  if (!failure.empty()) ShowErrorDescription(app.dialogs, failure);
  return true;
}

}  // namespace quorvin
