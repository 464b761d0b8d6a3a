#include "entry/auto_fill.h"

#include "entry/entry_grid.h"
#include "shell/grid_text.h"
#include "shell/text.h"

namespace quorvin {

void AutoFill(AppContext& app, Grid& grid, const Date& settlementDate) {
  GridBatch batch(grid);
  const ReferenceLists& lists = app.lists;
  const std::string delivery = FormatDisplayDate(settlementDate);
  auto put = [&grid](int r, int c, std::string text) {
    grid.SetText(r, c, std::move(text));
    WidenColumn(grid, r, c, kWidenMargin);
  };
  int counter = 1;
  for (int r = 1; r < grid.Rows(); ++r) {
    put(r, col::kSN, std::to_string(r));
    put(r, col::kDeliveryDate, delivery);
    put(r, col::kBrokerID, app.settings.BrokerID);
    put(r, col::kClearingBOID, app.settings.ClearingBOID);
    put(r, col::kBOID, lists.FindBOIDByClientCode(grid.Text(r, col::kClientCode)));
    put(r, col::kBOName, lists.FindBOName(grid.Text(r, col::kBOID)));
    put(r, col::kISINCode, lists.FindISINByScripID(grid.Text(r, col::kScripID)));
    put(r, col::kISINName, lists.FindISINName(grid.Text(r, col::kISINCode)));
    const std::string& tradeDate = grid.Text(r, col::kTradeDate);
    if (TrimView(tradeDate).empty() || TrimView(grid.Text(r, col::kBOID)).empty()) continue;
    if (r > 1 && grid.Text(r - 1, col::kBOID) != grid.Text(r, col::kBOID)) ++counter;
    put(r, col::kInternalRefNo, InternalRefNo(app, tradeDate, counter));
  }
}

}  // namespace quorvin
