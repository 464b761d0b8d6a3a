#pragma once
// The pay-in and pay-out instruction reports: the entry grid, in its current
// order, as the fixed-width paper form the exchange expects.
#include <string>
#include <string_view>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"

namespace quorvin {

inline constexpr const char* kPayInReportFileName = "PAY-IN INSTRUCTIONS";
inline constexpr const char* kPayOutReportFileName = "PAY-OUT INSTRUCTIONS";
inline constexpr int kReportWidth = 82;

// Exactly `width` characters: the text's first `width` characters when it is
// longer, otherwise filled with spaces on the right (or on the left when
// rightAlign).
std::string PadText(std::string_view text, int width, bool rightAlign = false);

// The report texts, CR LF between lines and none after the last. Rows are
// grouped into one account block per run of rows with the same BO ID and
// Client Code. Throws AppError when the grid has no data row.
std::string PayInReportText(const Grid& grid, const std::string& clearingBOID,
                            const Date& printDate);
std::string PayOutReportText(const Grid& grid, const std::string& clearingBOID,
                             const Date& printDate);

// Write the report beside the program (app.programFolder) and open it in the
// text viewer. A failure is shown under the application title and no viewer
// is opened.
void PrintPayInReport(AppContext& app, const Grid& grid);
void PrintPayOutReport(AppContext& app, const Grid& grid);

}  // namespace quorvin
