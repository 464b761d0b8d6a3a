#include "entry/auto_fill.h"

#include <unordered_map>
#include <utility>

#include "entry/entry_grid.h"
#include "shell/grid_text.h"
#include "shell/text.h"

namespace quorvin {

void AutoFill(AppContext& app, Grid& grid, const Date& settlementDate) {
  GridBatch batch(grid);
  const ReferenceLists& lists = app.lists;
  CellPool& pool = grid.Pool();
  // The lists' answers are remembered unless a lookup may show a box.
  const bool remember = !lists.HasSerialOnlyRecords();
  const Cell delivery = pool.Intern(FormatDisplayDate(settlementDate));
  const Cell broker = pool.Intern(app.settings.BrokerID);
  const Cell clearing = pool.Intern(app.settings.ClearingBOID);
  // A cell equal to the one above, written and widened just before, needs no widening.
  auto put = [&grid](int r, int c, Cell cell) {
    grid.SetCell(r, c, cell);
    if (r == 1 || grid.CellAt(r - 1, c) != cell) WidenColumn(grid, r, c, kWidenMargin);
  };
  Cell client = nullptr, boid = nullptr, boName = nullptr;
  std::unordered_map<Cell, std::pair<Cell, Cell>> securities;  // by scrip ID
  InternalRefNoWalk refNos(app, grid);
  for (int r = 1; r < grid.Rows(); ++r) {
    put(r, col::kSN, pool.Number(r));
    put(r, col::kDeliveryDate, delivery);
    put(r, col::kBrokerID, broker);
    put(r, col::kClearingBOID, clearing);
    if (!remember || grid.CellAt(r, col::kClientCode) != client) {
      client = grid.CellAt(r, col::kClientCode);
      boid = pool.Intern(lists.FindBOIDByClientCode(*client));
      boName = pool.Intern(lists.FindBOName(*boid));
    }
    put(r, col::kBOID, boid);
    put(r, col::kBOName, boName);
    const Cell scrip = grid.CellAt(r, col::kScripID);
    auto known = securities.find(scrip);
    if (!remember || known == securities.end()) {
      const Cell isin = pool.Intern(lists.FindISINByScripID(*scrip));
      known = securities.insert_or_assign(scrip, std::pair(isin, pool.Intern(lists.FindISINName(*isin)))).first;
    }
    put(r, col::kISINCode, known->second.first);
    put(r, col::kISINName, known->second.second);
    refNos.Row(r);
  }
}

}  // namespace quorvin
