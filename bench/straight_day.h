#pragma once
// The pay-in day as the clerk's old tool ran it, step for step: lookups that
// walk the lists from the first record, widening that measures every cell, a
// merge sort that copies whole rows cell by cell, a summary that shifts every
// row below a merge up by one, and a holding check that reads the file again
// for every row. The yardstick for speed and, at sizes where it finishes, for
// results.
//
// Steps whose program version already is that plain walk (the record checks,
// the summarized test, the report, the save) are not repeated here; the
// pipeline calls the program's own.
#include <string>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"
#include "ground/ports.h"
#include "work/checks/holding_check.h"

namespace quorvin::bench::straight {

bool ImportTrades(AppContext& app, Grid& grid, const std::string& path, const std::string& side);
void SortEntries(AppContext& app, Grid& grid);
void AutoFill(AppContext& app, Grid& grid, const Date& settlementDate);
void Summarize(AppContext& app, Grid& grid);
bool CheckHoldingFile(AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
                      const std::string& path, const std::string& savedCaption);

}  // namespace quorvin::bench::straight
