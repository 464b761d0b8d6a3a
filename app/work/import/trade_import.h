#pragma once
// The broker's trade file: one trade per line, fields separated by "|".
// Field 1 is the scrip ID, 3 the side ("B" or "S"), 4 the quantity, 6 the
// client code and 10 the trade date.
#include <functional>
#include <optional>
#include <string>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"

namespace quorvin {

// What a trade file's name says: "payin_10-Dec-2026.txt" is a pay-in file of
// that settlement date. kind is empty for a name of neither kind; date is
// empty when the part after the first "_" is not a date.
struct TradeFileName {
  std::string kind;  // "Pay In", "Pay Out" or ""
  std::optional<Date> settlementDate;
};
TradeFileName ParseTradeFileName(const std::string& fileName);

// The lines of a trade file that hold anything, and those among them with
// the 11 fields of a trade. Throws AppError when the file cannot be read.
struct TradeFileShape {
  size_t lines = 0, tradeLines = 0;
};
TradeFileShape ScanTradeFile(const std::string& path);

// "S" (the clients' sells) for a pay-in, "B" for a pay-out.
std::string TradeSide(const AppContext& app);

// Replaces the grid's rows with the trades of one side. Asks "Confirm
// Loading" first when the grid holds data; false when the clerk says No. A
// line that cannot be read stops the import with its description shown; the
// rows imported before it stay.
// progress, when given, hears the share of lines read so far (0 to 100) now and then.
bool ImportTrades(AppContext& app, Grid& grid, const std::string& path, const std::string& side,
                  const std::function<void(int)>& progress = {});

}  // namespace quorvin
