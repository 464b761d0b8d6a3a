#include "entry/trade_import.h"

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

// The first fields of a line split at "|", as many as `out` holds; returns
// how many fields the line has in all (at least those).
template <size_t N>
size_t SplitFields(std::string_view line, std::string_view (&out)[N]) {
  size_t count = 0, start = 0;
  for (;;) {
    size_t bar = line.find('|', start);
    if (count < N)
      out[count] = line.substr(start, bar == std::string_view::npos ? bar : bar - start);
    ++count;
    if (bar == std::string_view::npos) return count;
    start = bar + 1;
  }
}

std::string LineFailure(size_t line, const std::string& what) {
  return "Line " + std::to_string(line + 1) + " of the trade file " + what;
}

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
    auto put = [&grid](int r, int c, std::string text) {
      grid.SetText(r, c, std::move(text));
      WidenColumn(grid, r, c, kWidenMargin);
    };
    try {
      std::string text = ReadTextFile(path);
      auto lines = SplitAll(text, kCrLf);
      grid.SetRows(static_cast<int>(lines.size()) + 1);
      int row = 1;
      // Trade files repeat one trade date over and over: convert each text once.
      std::string lastDateField, lastDate;
      std::string_view fields[kTradeDateField + 1];
      for (size_t i = 0; i < lines.size(); ++i) {
        if (progress && i % 65536 == 0) progress(static_cast<int>(i * 100 / lines.size()));
        if (lines[i].find('|') == std::string_view::npos) continue;
        size_t count = SplitFields(lines[i], fields);
        if (count <= kSideField) throw AppError(LineFailure(i, "has fewer than 4 fields"));
        if (fields[kSideField] != side) continue;
        if (count <= kTradeDateField) throw AppError(LineFailure(i, "has fewer than 11 fields"));
        if (lastDate.empty() || fields[kTradeDateField] != lastDateField) {
          lastDate = TradeDateText(fields[kTradeDateField]);
          lastDateField = std::string(fields[kTradeDateField]);
        }
        const std::string& tradeDate = lastDate;
        std::string client(fields[kClientField]), scrip(fields[kScripField]);
        put(row, col::kSN, std::to_string(row));
        put(row, col::kScripID, scrip);
        put(row, col::kQuantity, std::string(fields[kQuantityField]));
        put(row, col::kClientCode, client);
        put(row, col::kBOID, lists.FindBOIDByClientCode(client));
        put(row, col::kBOName, lists.FindBOName(grid.Text(row, col::kBOID)));
        put(row, col::kTradeDate, tradeDate);
        put(row, col::kISINCode, lists.FindISINByScripID(scrip));
        put(row, col::kISINName, lists.FindISINName(grid.Text(row, col::kISINCode)));
        ++row;
      }
      grid.SetRows(row);
    } catch (const AppError& e) {
      failure = e.Description();
    }
  }
  // Shown once the grid's view may read the rows again.
  if (!failure.empty()) ShowErrorDescription(app.dialogs, failure);
  return true;
}

}  // namespace quorvin
