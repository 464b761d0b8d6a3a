#pragma once
// Auto-Fill: completes the rows the clerk typed or imported, from the settings,
// the settlement date and the two reference lists.
#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"

namespace quorvin {

// Fills the automatic columns of every data row: S/N, Broker ID, Clearing
// BOID, Delivery Date (the settlement date), BO ID and BO Name from the client
// code, ISIN Code and ISIN Name from the scrip ID, and the Internal Ref. No.
// Throws AppError when a trade date cannot be read as a date.
void AutoFill(AppContext& app, Grid& grid, const Date& settlementDate);

}  // namespace quorvin
