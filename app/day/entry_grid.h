#pragma once
// The entry grid's layout and the small rules every step of the day shares:
// the columns, the emptiness test, the reset, the serial numbers and the
// Internal Ref. No.
#include <string>
#include <unordered_map>

#include "day/app_context.h"
#include "ground/grid.h"

namespace quorvin {

namespace col {
inline constexpr int kSN = 0, kBrokerID = 1, kClearingBOID = 2, kTradeDate = 3, kDeliveryDate = 4,
                     kClientCode = 5, kBOID = 6, kBOName = 7, kScripID = 8, kISINCode = 9,
                     kISINName = 10, kQuantity = 11, kInternalRefNo = 12;
}
inline constexpr int kEntryColumns = 13;

extern const char* const kEntryTitles[kEntryColumns];

// 2 rows, 13 columns, the titles in row 0, every column its title's width plus
// 200 twips, "1" in row 1.
void SetUpEntryGrid(Grid& grid);

// True for fewer than 2 rows, or 2 rows whose data row is blank from column 1 on.
bool IsGridEmpty(const Grid& grid);

// Back to one blank data row numbered "1"; column widths stay.
void ClearEntryGrid(Grid& grid);

// Column 0 of every data row = its row index, widened where it does not fit.
void RenumberSerials(Grid& grid);

// The kind letter ("I"/"O"), the Broker ID, the trade date as "ddmmyy" and the
// counter, e.g. "I204513081226" + "3". Empty when the trade date is not a date.
std::string InternalRefNo(const AppContext& app, const std::string& tradeDate, int counter);

// InternalRefNo without the counter; throws as it does.
std::string InternalRefNoPrefix(const AppContext& app, const std::string& tradeDate);

// Numbers column 12 of every row with a trade date and a BO ID: the counter
// starts at 1 and rises at each row whose BO ID differs from the row above.
void RenumberInternalRefNos(const AppContext& app, Grid& grid);

// The same walk a row at a time, for routines that fill the rows above first.
class InternalRefNoWalk {
 public:
  InternalRefNoWalk(const AppContext& app, Grid& grid);
  // Rows 1, 2, 3... in turn; throws AppError at a trade date that is not a date.
  void Row(int r);

 private:
  const AppContext& app_;
  Grid& grid_;
  int counter_ = 1;
  std::unordered_map<Cell, Cell> prefixes_;  // by trade date
  Cell lastDate_ = nullptr, last_ = nullptr, lastBoid_ = nullptr, widened_ = nullptr;
  bool boidBlank_ = false;
  int lastCounter_ = 0;
};

}  // namespace quorvin
