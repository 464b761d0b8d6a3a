// The Auto-Fill button: writes every data row's automatic columns from the
// settings, the settlement date and the BO and ISIN lists.
#include "work/entry/auto_fill.h"

#include "day/entry_grid.h"
#include "ground/grid_text.h"
#include "ground/text.h"

namespace quorvin {

void AutoFill(AppContext& app, Grid& grid, const Date& settlementDate) {
  GridBatch batch(grid);
  CellPool& pool = grid.Pool();
  ListAnswers& answers = app.answers;
  answers.Use(app.lists, pool);
  // A row with the client code or scrip ID of the row above has its answers;
  // unless a lookup may show a box, when every row asks.
  const bool remember = !app.lists.HasSerialOnlyRecords();
  const Cell delivery = pool.Intern(FormatDisplayDate(settlementDate));
  const Cell broker = pool.Intern(app.settings.BrokerID);
  const Cell clearing = pool.Intern(app.settings.ClearingBOID);
  // A cell equal to the one above, written and widened just before, needs no widening.
  auto put = [&grid](int r, int c, Cell cell) {
    grid.SetCell(r, c, cell);
    if (r == 1 || grid.CellAt(r - 1, c) != cell) WidenColumn(grid, r, c, kWidenMargin);
  };
  Cell client = nullptr, scrip = nullptr;
  ListAnswers::Account account{};
  ListAnswers::Security security{};
  InternalRefNoWalk refNos(app, grid);
  for (int r = 1; r < grid.Rows(); ++r) {
    put(r, col::kSN, pool.Number(r));
    put(r, col::kDeliveryDate, delivery);
    put(r, col::kBrokerID, broker);
    put(r, col::kClearingBOID, clearing);
    if (!remember || grid.CellAt(r, col::kClientCode) != client) {
      client = grid.CellAt(r, col::kClientCode);
      account = answers.ForClient(client);
    }
    put(r, col::kBOID, account.boid);
    put(r, col::kBOName, account.boName);
    if (!remember || grid.CellAt(r, col::kScripID) != scrip) {
      scrip = grid.CellAt(r, col::kScripID);
      security = answers.ForScrip(scrip);
    }
    put(r, col::kISINCode, security.isinCode);
    put(r, col::kISINName, security.isinName);
    refNos.Row(r);
  }
}

}  // namespace quorvin
