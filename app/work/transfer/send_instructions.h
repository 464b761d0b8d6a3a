#pragma once
// The Send button: the pre-send checks, the probe for a file the exchange
// already holds, the upload of the day's instruction file and a time-stamped
// copy of every attempt in the backup location's folder "Sent".
#include <functional>
#include <string>
#include <vector>

#include "day/app_context.h"
#include "ground/dates.h"
#include "ground/grid.h"
#include "ground/ports.h"
#include "work/checks/holding_check.h"
#include "work/transfer/ftp_transfer.h"

namespace quorvin {

inline constexpr const char* kSentFolderName = "Sent";
inline constexpr const char* kAlreadySentMessage =
    "File already sent. Your sent file will be shown now.";
inline constexpr const char* kSendSucceededMessage = "Records sent to MGX successfully.";
inline constexpr const char* kSendFailedMessage = "Records were not sent to MGX.";

// One scripted transfer from the backup location with these operation lines:
// returns the client's output and leaves the work files for the clean-up, as
// RunTransfer does. Tests hand in their own to play the server's part.
using TransferRunner = std::function<std::string(
    WindowPort& window, const std::string& backupLocation, const std::vector<std::string>& lines)>;

// RunTransfer against this exchange.
TransferRunner TransferTo(const ExchangeEndpoint& endpoint);

// The whole Send button: confirmation, checks (the holding check for a pay-in
// only), probe, the grid written to the day's instruction file, upload, report
// and archive. savedCaption receives the window's caption, which every ending
// path restores together with the normal pointer. Never throws: an unexpected
// failure shows its description under the application title.
void SendInstructions(AppContext& app, Grid& grid, WindowPort& window,
                      HoldingMessageView& holdingView, const Date& settlementDate,
                      std::string& savedCaption, const ExchangeEndpoint& endpoint = {});

// The same with the transfer supplied.
void SendInstructionsThrough(AppContext& app, Grid& grid, WindowPort& window,
                             HoldingMessageView& holdingView, const Date& settlementDate,
                             std::string& savedCaption, const TransferRunner& transfer);

// Asks the exchange for the day's file. True (the send must stop) only when
// a whole copy came over: the fetch completed and its length is the server's
// size. The copy lands in the download work file first and then replaces the
// day's file, which is shown in the text viewer; a differing earlier local
// file is kept as LocalCopyPath. In every other outcome (file missing, server
// unreachable, login refused, a part of a file, an error) the day's file is
// left as it was and the answer is false.
bool CheckAlreadySent(AppContext& app, WindowPort& window, const Date& settlementDate,
                      const std::string& savedCaption, const TransferRunner& transfer);

// Uploads the day's file under its partial name, checks its size there and
// renames it to its final name; reports the outcome (with the reply that
// decided a failure as the box's details), removes the work files and writes
// the grid to a new archive file. Returns whether the exchange holds it whole.
bool SendToExchange(AppContext& app, const Grid& grid, WindowPort& window,
                    const Date& settlementDate, const std::string& savedCaption,
                    const TransferRunner& transfer);

// L + "Sent/" + "10-Dec-2026_PI_204513_08-Dec-26_02-03-59PM.txt"
std::string SentArchivePath(const AppContext& app, const Date& settlementDate, const DateTime& now);

// Where the probe keeps a local day's file that the server's copy replaced:
// "10-Dec-2026_PI_204513_local.txt" beside it.
std::string LocalCopyPath(const AppContext& app, const Date& settlementDate);

}  // namespace quorvin
