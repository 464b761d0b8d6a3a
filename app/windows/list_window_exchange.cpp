// The list window's exchange with the exchange server: the BO list goes up,
// the exchange's ISIN list comes down.

#include <cerrno>
#include <cstring>
#include <functional>

#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/platform.h"
#include "ground/text_files.h"
#include "windows/list_window.h"
#include "work/lists/list_exchange.h"
#include "work/transfer/ftp_transfer.h"
#include "work/transfer/remote_files.h"

namespace quorvin {
namespace {

constexpr const char* kISINFile = "ISIN.txt";

// Runs a clean-up step; its failure is told after the outcome, not instead of it.
std::string CleanUp(const std::function<void()>& step) {
  try {
    step();
  } catch (const AppError& e) {
    return e.Description();
  }
  return {};
}

// Sets busy for the length of a transfer and puts the caption back on an
// unexpected failure, whatever the step it happened in.
// The list window's controls stay disabled while a transfer runs.
class ControlsLocked {
 public:
  explicit ControlsLocked(ListView& view) : view_(view) { view_.SetControlsEnabled(false); }
  ~ControlsLocked() { view_.SetControlsEnabled(true); }
  ControlsLocked(const ControlsLocked&) = delete;
  ControlsLocked& operator=(const ControlsLocked&) = delete;

 private:
  ListView& view_;
};

class TransferScope {
 public:
  TransferScope(WindowPort& window, bool& busy, const std::string& progress)
      : window_(window), busy_(busy), saved_(window.Caption()) {
    busy_ = true;
    window_.SetCaption(progress);
    window_.SetWaitCursor(true);
  }
  ~TransferScope() {
    busy_ = false;
    if (!ended_) {
      window_.SetWaitCursor(false);
      window_.SetCaption(saved_);
    }
  }
  const std::string& SavedCaption() const { return saved_; }
  void Ended() { ended_ = true; }

 private:
  WindowPort& window_;
  bool& busy_;
  std::string saved_;
  bool ended_ = false;
};

}  // namespace

void ListController::EndTransfer(const std::string& savedCaption, const std::string& suffix,
                                 const std::string& text, const std::string& title, MsgIcon icon,
                                 const std::string& details) {
  view_.SetCaption(savedCaption + suffix);
  view_.SetWaitCursor(false);
  // The outcome is shown over a window the clerk can use again.
  view_.SetControlsEnabled(true);
  app_.dialogs.MessageWithDetails(text, title, icon, MsgButtons::Ok, details);
  view_.SetCaption(savedCaption);
}

void ListController::SendBOList() {
  if (busy_) return;
  Guard([&] {
    if (!endpoint.unusable.empty()) throw AppError(endpoint.unusable);
    if (RefuseBlankRow()) return;
    const std::string location = app_.settings.BackupLocation;
    const std::string& brokerId = app_.settings.BrokerID;
    const std::string remote = BOListRemoteName(brokerId);
    const std::string partial = PartialName(remote);
    const std::string upload = app_.DataPath(remote);
    const DateTime now = app_.clock.Now();
    TransferScope scope(view_, busy_, "Sending list of BOs to MGX...Please wait...");
    ControlsLocked locked(view_);
    auto run = [&](const std::vector<std::string>& lines) {
      return RunTransfer(view_, location, lines, endpoint);
    };

    // The grid as shown goes up, unsaved edits included; "BO.txt" stays as saved.
    // Without a fresh upload file there is nothing to send, and the server's
    // current list must not be touched for a put that cannot follow.
    const std::string text = GridToText(grid_);
    WriteTextFile(upload, text);
    const auto bytes = static_cast<long long>(text.size());

    // The new list goes up beside the current one and is checked whole; only
    // then is the earlier upload moved into the archive (or found to be
    // absent) and the new one given its place. At every failure the exchange
    // keeps a whole current list, the earlier or the new one.
    StepOutcome step = UploadedWhole(run(UploadLines(remote, remote)), remote, bytes);
    bool archived = false;
    if (step.done && !EarlierListMovedAside(run(ArchiveBOListLines(brokerId, now)), brokerId, now,
                                            archived, step.why))
      step.done = false;
    if (step.done) {
      step = RenamedWhole(run(RenameLines(partial, remote)), partial, remote, bytes);
      // The earlier list goes back where the exchange reads it.
      if (!step.done && archived) {
        try {
          run({"rename " + ArchivedBOListName(brokerId, now) + " " + remote});
        } catch (const AppError&) {
        }
      }
    }
    const bool sent = step.done;
    scope.Ended();
    // The work files (the script holds the password) and the upload file go
    // before the outcome is shown, not after a box that may stay open until
    // the session ends.
    const std::string cleanUpFailure = CleanUp([&] {
      DeleteTransferFiles(location);
      platform::RemoveFile(upload);
    });
    if (sent) {
      EndTransfer(scope.SavedCaption(), "...List of BOs sent to MGX successfully.",
                  "List of BOs sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
    } else {
      EndTransfer(scope.SavedCaption(), "...List of BOs not sent to MGX.",
                  "List of BOs not sent to MGX.", "Send failed", MsgIcon::Critical, step.why);
    }
    if (!cleanUpFailure.empty()) throw AppError(cleanUpFailure);
  });
}

void ListController::ReceiveISINList() {
  if (busy_) return;
  Guard([&] {
    if (!endpoint.unusable.empty()) throw AppError(endpoint.unusable);
    const std::string location = app_.settings.BackupLocation;
    const std::string main = app_.DataPath(kISINFile);
    const std::string download = location + kDownloadFileName;
    TransferScope scope(view_, busy_, "Receiving list of ISINs from MGX...Please wait...");
    ControlsLocked locked(view_);

    // Without a backup of the list before it a received list could not be
    // undone, so no backup means no download.
    const std::string backup =
        app_.DataPath(BackupStamp(app_.clock.Now()) + "_" + std::string(kISINFile));
    const std::optional<std::string> previous = ReadTextFileIfPresent(main);
    if (previous) WriteTextFile(backup, *previous);

    // The list comes down into a work file; the main file is touched only
    // once a whole list that loads is here.
    std::string out = RunTransfer(view_, location, DownloadLines(kISINFile), endpoint);
    const std::optional<std::string> copy = ReadTextFileIfPresent(download);
    const DownloadOutcome got =
        DownloadedWhole(out, kISINFile, copy ? static_cast<long long>(copy->size()) : -1);
    scope.Ended();
    // A list that does not load (empty, cut short) is no list: it is refused
    // like any failed receive, and the list in the grid and the file stays.
    Grid received(2, grid_.Cols(), grid_.FixedRows());
    const bool ok = got.state == Download::kWhole && LoadGridText(app_.dialogs, download, received);
    if (ok) {
      // The new list takes the main file's place whole, with the mode every other file gets.
      WriteTextFile(main, *copy);
    } else if (previous) {
      // Nothing was changed; the backup of an unchanged list goes.
      platform::RemoveFile(backup);
    }
    // Files are put right before the outcome is shown, so that a session
    // ending over the box leaves no password behind.
    const std::string cleanUpFailure = CleanUp([&] { DeleteTransferFiles(location); });
    if (ok) {
      LoadGridText(app_.dialogs, main, grid_);
      app_.lists.LoadISINList(main);  // in use at once, as after Save
      EndTransfer(scope.SavedCaption(), "...List of ISINs received from MGX successfully.",
                  "List of ISINs received from MGX successfully.", "Recieve succeeded",
                  MsgIcon::Information);
    } else {
      EndTransfer(scope.SavedCaption(), "...List of ISINs not received from MGX.",
                  "List of ISINs not received from MGX.", "Receive failed", MsgIcon::Critical,
                  got.state == Download::kWhole ? "" : got.why);
    }
    if (!cleanUpFailure.empty()) throw AppError(cleanUpFailure);
  });
}

}  // namespace quorvin
