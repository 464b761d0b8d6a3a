#pragma once
// The holding balance check: every row of the entry grid against the
// depository's holding report. Failing rows are listed in the holding message
// (AppContext::holdingMessage) and shown in the holding message window.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "day/app_context.h"
#include "ground/grid.h"
#include "ground/ports.h"
#include "work/checks/holding_file.h"

namespace quorvin {

// The holding message window, "frmHoldingMessage".
class HoldingMessageView {
 public:
  virtual ~HoldingMessageView() = default;
  // Closes the window if it is open, opens it anew on `text` and returns when
  // the clerk has closed it.
  virtual void ShowModal(const std::string& text) = 0;
};

inline constexpr const char* kHoldingFileDialogTitle = "Choose Holding FIle (11DPA6UX.TXT)";
inline constexpr const char* kHoldingFileFilter = "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*";

// The "Check" button: saves the caption into savedCaption, lets the clerk pick
// the file, checks it, and confirms with "Checking Complete." when nothing failed.
void CheckHoldingClicked(AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
                         std::string& savedCaption);

// True when the report's date is a trade date of the rows or the day before
// one (or either is unknown); otherwise asks whether to use it, default No.
bool HoldingReportDateAccepted(AppContext& app, const Grid& grid, const std::string& reportDate);

// The file dialog, opened on the report used last for app.holdingDay, then
// CheckHoldingFile. Returns failed.
bool ChooseAndCheckHolding(AppContext& app, Grid& grid, WindowPort& window,
                           HoldingMessageView& view, const std::string& savedCaption);

// Checks every data row against the file, walking the selection down the rows.
// Neighbouring rows of one BOID and ISIN are checked with their running sum.
// The file is read once. Returns failed; the window caption and pointer are
// restored on every path.
bool CheckHoldingFile(AppContext& app, Grid& grid, WindowPort& window, HoldingMessageView& view,
                      const std::string& path, const std::string& savedCaption);

// Whether balanceLine, the first balance line of boid and isin (nullopt when
// the file has none), covers quantity; appends a line to the holding message
// when it does not. A balance that is not a number is shown as its error
// description and the row counts as not covered, with no line added.
bool CheckHoldingOfRow(AppContext& app, std::optional<std::string_view> balanceLine,
                       std::string_view boid, std::string_view isin, std::int32_t quantity);

}  // namespace quorvin
