// The Send button's sequence: checks, the probe for a file already at the
// exchange, the upload, and a copy of each attempt kept in "Sent".
#include "work/transfer/send_instructions.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>

#include "day/instruction_files.h"
#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/platform.h"
#include "ground/text_files.h"
#include "ground/version.h"
#include "work/checks/record_checks.h"
#include "work/checks/sort_summary.h"
#include "work/transfer/remote_files.h"

namespace quorvin {
namespace {

constexpr const char* kSendingCaption = "...Sending records to MGX...Please wait.";

void ShowProgress(WindowPort& window, const std::string& savedCaption) {
  window.SetWaitCursor(true);
  window.SetCaption(savedCaption + kSendingCaption);
}

void RestoreWindow(WindowPort& window, const std::string& savedCaption) {
  window.SetWaitCursor(false);
  window.SetCaption(savedCaption);
}

// The file's bytes, or nullopt when there is no file to read.
std::optional<std::string> ReadIfPresent(const std::string& path) {
  try {
    return ReadTextFileIfPresent(path);
  } catch (const AppError&) {
    return std::nullopt;
  }
}

// The work files hold the password; after a failed transfer they go if they can.
void DeleteTransferFilesQuietly(const std::string& backupLocation) {
  try {
    DeleteTransferFiles(backupLocation);
  } catch (const std::exception&) {
  }
}

void DeleteTransferFilesReporting(Dialogs& dialogs, const std::string& backupLocation) {
  try {
    DeleteTransferFiles(backupLocation);
  } catch (const std::exception& e) {
    ShowErrorDescription(dialogs, e);
  }
}

// Two attempts within one second would share a stamp; the later one gets a
// number rather than replacing the earlier record.
std::string UnusedArchivePath(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::symlink_status(platform::PathOf(path), error)))
    return path;
  const std::string stem = path.substr(0, path.size() - 4);  // without ".txt"
  for (int n = 2;; ++n) {
    std::string candidate = stem + "_" + std::to_string(n) + ".txt";
    if (!std::filesystem::exists(
            std::filesystem::symlink_status(platform::PathOf(candidate), error)))
      return candidate;
  }
}

// The grid as it was offered to the exchange, in a new file of "Sent".
void ArchiveAttempt(AppContext& app, const Grid& grid, const Date& settlementDate) {
  const std::string folder = app.settings.BackupLocation + kSentFolderName;
  std::error_code error;
  if (!FolderExists(app.dialogs, folder) &&
      !std::filesystem::create_directory(platform::PathOf(folder), error)) {
    ShowErrorDescription(app.dialogs, error.message() + ": " + folder);
    return;
  }
  SaveGridText(app.dialogs, grid,
               UnusedArchivePath(SentArchivePath(app, settlementDate, app.clock.Now())));
}

}  // namespace

TransferRunner TransferTo(const ExchangeEndpoint& endpoint) {
  return [endpoint](WindowPort& window, const std::string& backupLocation,
                    const std::vector<std::string>& lines) {
    return RunTransfer(window, backupLocation, lines, endpoint);
  };
}

std::string SentArchivePath(const AppContext& app, const Date& settlementDate,
                            const DateTime& now) {
  return app.settings.BackupLocation + kSentFolderName + "/" + FormatDisplayDate(settlementDate) +
         "_" + app.kindCode + "_" + app.settings.BrokerID + "_" +
         FormatDate(now.date, "dd-mmm-yy") + "_" + FormatTime(now, "hh-nn-ssAMPM") + ".txt";
}

std::string LocalCopyPath(const AppContext& app, const Date& settlementDate) {
  std::string path = InstructionFilePath(app, settlementDate);
  return path.substr(0, path.size() - 4) + "_local.txt";
}

bool CheckAlreadySent(AppContext& app, WindowPort& window, const Date& settlementDate,
                      const std::string& savedCaption, const TransferRunner& transfer) {
  const std::string& location = app.settings.BackupLocation;
  const std::string path = InstructionFilePath(app, settlementDate);
  const std::string day = FormatDisplayDate(settlementDate);
  const std::string name = InstructionFileName(app, settlementDate);

  // The server's copy lands in a work file of its own; the clerk's saved
  // file is touched only once a whole copy is here.
  std::optional<std::string> fetched;
  try {
    std::string out = transfer(window, location, ProbeInstructionLines(day, name));
    std::optional<std::string> copy = ReadIfPresent(location + kDownloadFileName);
    const DownloadOutcome got = DownloadedWhole(out, InstructionRemotePath(day, name),
                                                copy ? static_cast<long long>(copy->size()) : -1);
    // Only a whole copy proves the exchange holds the file; no answer, a
    // refused login, a missing file or a part of one all mean "not sent before".
    if (got.state == Download::kWhole && copy && !copy->empty()) fetched = std::move(copy);
  } catch (const std::exception& e) {
    DeleteTransferFilesQuietly(location);
    ShowErrorDescription(app.dialogs, e);
    return false;
  }
  DeleteTransferFilesReporting(app.dialogs, location);
  if (!fetched) return false;

  const std::optional<std::string> before = ReadIfPresent(path);
  try {
    if (before && !before->empty() && *before != *fetched)
      WriteTextFile(LocalCopyPath(app, settlementDate), *before);
    WriteTextFile(path, *fetched);
  } catch (const std::exception& e) {
    // The clerk's file stays as it was; the send stops all the same, since
    // the exchange holds the day's file.
    RestoreWindow(window, savedCaption);
    ShowErrorDescription(app.dialogs, e);
    return true;
  }
  window.SetWaitCursor(false);
  app.dialogs.Message(kAlreadySentMessage, kAppTitle, MsgIcon::Critical, MsgButtons::Ok);
  app.dialogs.ViewTextFile(path);
  window.SetCaption(savedCaption);
  return true;
}

bool SendToExchange(AppContext& app, const Grid& grid, WindowPort& window,
                    const Date& settlementDate, const std::string& savedCaption,
                    const TransferRunner& transfer) {
  const std::string& location = app.settings.BackupLocation;
  const std::string day = FormatDisplayDate(settlementDate);
  const std::string name = InstructionFileName(app, settlementDate);
  const std::string remote = InstructionRemotePath(day, name);
  StepOutcome step;
  try {
    const long long bytes = static_cast<long long>(
        ReadTextFile(InstructionFilePath(app, settlementDate)).size());
    // Up under the partial name and checked, then given the final name: the
    // exchange never sees a part of the file under the name it reads.
    step = UploadedWhole(transfer(window, location, SendInstructionLines(day, name)), remote, bytes);
    if (step.done)
      step = RenamedWhole(transfer(window, location, RenameLines(PartialName(remote), remote)),
                          PartialName(remote), remote, bytes);
  } catch (const std::exception&) {
    DeleteTransferFilesQuietly(location);
    throw;
  }

  const bool sent = step.done;
  // The script holds the password: it goes before the clerk is shown the
  // outcome, not after a box that may stay open until the session ends.
  DeleteTransferFilesReporting(app.dialogs, location);
  window.SetCaption(savedCaption + "..." + (sent ? kSendSucceededMessage : kSendFailedMessage));
  window.SetWaitCursor(false);
  if (sent) {
    app.dialogs.Message(kSendSucceededMessage, "Send succeeded", MsgIcon::Information,
                        MsgButtons::Ok);
  } else {
    app.dialogs.MessageWithDetails(kSendFailedMessage, "Send failed", MsgIcon::Critical,
                                   MsgButtons::Ok, step.why);
  }
  window.SetCaption(savedCaption);

  ArchiveAttempt(app, grid, settlementDate);
  return sent;
}

void SendInstructionsThrough(AppContext& app, Grid& grid, WindowPort& window,
                             HoldingMessageView& holdingView, const Date& settlementDate,
                             std::string& savedCaption, const TransferRunner& transfer) {
  bool captionSaved = false;
  try {
    const std::string day = FormatDisplayDate(settlementDate);
    const std::string kind = app.instructionKind;
    if (app.dialogs.Message(
            "Are you sure to send the entered records to MGX as " + kind + " file of " + day + " ?",
            kind + " of " + day + " Send Confirmation", MsgIcon::Question,
            MsgButtons::YesNo) != MsgAnswer::Yes)
      return;

    window.SetWaitCursor(true);
    savedCaption = window.Caption();
    captionSaved = true;
    ShowProgress(window, savedCaption);

    // Each failing check has told the clerk why and handed the window back.
    if (CheckMissingFields(app, grid, window, savedCaption)) return;
    if (CheckBOIDs(app, grid, window, savedCaption)) return;
    if (CheckISINCodes(app, grid, window, savedCaption)) return;
    if (CheckInternalRefNos(app, grid, window, savedCaption)) return;
    // Quantities the sort and the sums can read; with them sorted, the
    // summarized test below sees every pair of the same BO ID and ISIN.
    if (CheckQuantities(app, grid, window, savedCaption)) return;
    SortEntries(app, grid);
    if (CheckSummarized(app, grid, window, savedCaption)) return;
    if (kind == kPayIn) {
      if (ChooseAndCheckHolding(app, grid, window, holdingView, savedCaption)) return;
      // The holding check hands the window back; the transfers still take a while.
      ShowProgress(window, savedCaption);
    }
    if (CheckAlreadySent(app, window, settlementDate, savedCaption, transfer)) return;

    if (!SaveGridText(app.dialogs, grid, InstructionFilePath(app, settlementDate))) {
      // The file does not hold the grid's rows; uploading it would send something else.
      RestoreWindow(window, savedCaption);
      return;
    }
    SendToExchange(app, grid, window, settlementDate, savedCaption, transfer);
  } catch (const std::exception& e) {
    window.SetWaitCursor(false);
    if (captionSaved) window.SetCaption(savedCaption);
    ShowErrorDescription(app.dialogs, e);
  }
}

void SendInstructions(AppContext& app, Grid& grid, WindowPort& window,
                      HoldingMessageView& holdingView, const Date& settlementDate,
                      std::string& savedCaption, const ExchangeEndpoint& endpoint) {
  // With an exchange that cannot be reached as configured, nothing is started.
  if (!endpoint.unusable.empty()) return ShowErrorDescription(app.dialogs, endpoint.unusable);
  SendInstructionsThrough(app, grid, window, holdingView, settlementDate, savedCaption,
                          TransferTo(endpoint));
}

}  // namespace quorvin
