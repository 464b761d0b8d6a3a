#pragma once
// The record checks the send sequence runs before anything leaves the desk:
// no blank field, no unknown BOID, no unknown ISIN Code, every Internal Ref.
// No. carrying the letter of the instruction kind, and every Quantity a whole
// number from 1 up. Each returns
// failed; the failing check has already told the clerk why.
#include <string>

#include "day/app_context.h"
#include "ground/grid.h"
#include "ground/ports.h"

namespace quorvin {

// False at the first data row whose cell is blank after trimming spaces, after
// showing "<heading> is not given in row number <n>." titled "Missing <heading>".
bool ColumnIsComplete(Dialogs& dialogs, const Grid& grid, int column);

// The first data row whose cell equals text exactly, or -1.
int FindRowWithText(const Grid& grid, int column, const std::string& text);

// The first data row whose cell does not begin with prefix (case-sensitive), or -1.
int FindRowWithoutPrefix(const Grid& grid, int column, const std::string& prefix);

// Columns 1 to Cols - 1 in order; the current column moves to the blank field.
bool CheckMissingFields(AppContext& app, Grid& grid, WindowPort& window,
                        const std::string& savedCaption);
// A BO Name holding "BO NAME NOT FOUND".
bool CheckBOIDs(AppContext& app, const Grid& grid, WindowPort& window,
                const std::string& savedCaption);
// An ISIN Name holding "ISIN NAME NOT FOUND".
bool CheckISINCodes(AppContext& app, const Grid& grid, WindowPort& window,
                    const std::string& savedCaption);
// An Internal Ref. No. not starting with the last letter of the kind code.
bool CheckInternalRefNos(AppContext& app, const Grid& grid, WindowPort& window,
                         const std::string& savedCaption);

// A Quantity that is not a whole number from 1 up (such as "1,000", "abc" or
// "0"): the sums and the exchange take nothing else. The current cell moves to it.
bool CheckQuantities(AppContext& app, Grid& grid, WindowPort& window,
                     const std::string& savedCaption);

}  // namespace quorvin
