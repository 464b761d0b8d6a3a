// The list window's dated backups: Save As Backup and the backup panel.

#include <cerrno>
#include <cstring>

#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/platform.h"
#include "ground/text_files.h"
#include "windows/list_window.h"

namespace quorvin {

void ListController::SaveAsBackup() {
  Guard([&] {
    AbandonEdit();
    if (RefuseBlankRow()) return;
    std::string target = app_.DataPath(BackupStamp(app_.clock.Now()) + "_" + mainListFile_);
    if (!CopyTextFile(app_.dialogs, MainListPath(), target)) return;
    app_.dialogs.Message("Backup taken successfully.", "Backup succeeded.", MsgIcon::Information,
                         MsgButtons::Ok);
  });
}

void ListController::OpenBackupPanel() {
  if (busy_) return;
  AbandonEdit();
  view_.SetControlsEnabled(false);
  panelOpen_ = true;
  view_.ShowBackupPanel(true, "List of " + app_.listKind + "s");
  Guard([&] { FillBackupList(); });
}

void ListController::FillBackupList() {
  // A panel left with another kind's entries would load the wrong list: it
  // always shows this kind's files, none when there are none.
  backups_.clear();
  selectedBackup_ = -1;
  ShowBackups();
  backups_ = ListBackupEntries(app_.settings.BackupLocation, mainListFile_);
  selectedBackup_ = static_cast<int>(backups_.size()) - 1;
  ShowBackups();
}

void ListController::ShowBackups() {
  std::vector<std::string> entries;
  entries.reserve(backups_.size());
  for (const BackupEntry& b : backups_) entries.push_back(b.entry);
  view_.ShowBackupEntries(entries, selectedBackup_);
}

void ListController::SelectBackup(int index) {
  selectedBackup_ = index >= 0 && index < static_cast<int>(backups_.size()) ? index : -1;
}

void ListController::LoadBackup() {
  if (!panelOpen_ || selectedBackup_ < 0) return;
  Guard([&] {
    // The file behind the entry, not one rebuilt from its text: names that do
    // not follow the stamp form load the file that was listed.
    LoadGridText(app_.dialogs, app_.DataPath(backups_[selectedBackup_].fileName), grid_);
  });
  CloseBackupPanel();
}

void ListController::DeleteBackup() {
  if (!panelOpen_ || selectedBackup_ < 0) return;
  Guard([&] {
    const BackupEntry chosen = backups_[selectedBackup_];
    if (chosen.entry == mainListFile_ || chosen.fileName == mainListFile_) {
      app_.dialogs.Message("This is currently the main file. You cannot delete this.",
                           "Deletion Failed", MsgIcon::Critical, MsgButtons::Ok);
      return;
    }
    if (app_.dialogs.Message("Are you sure to delete the selected backup?", "Delete Confirmation",
                             MsgIcon::Critical, MsgButtons::YesNo) != MsgAnswer::Yes)
      return;
    std::string path = app_.DataPath(chosen.fileName);
    if (!platform::RemoveFile(path)) throw AppError("File not found: " + path);
    app_.dialogs.Message("Backup deleted successfully.", "Delete Succeeded", MsgIcon::Information,
                         MsgButtons::Ok);
    backups_.erase(backups_.begin() + selectedBackup_);
    selectedBackup_ = backups_.empty() ? -1 : 0;
    ShowBackups();
  });
}

void ListController::CloseBackupPanel() {
  view_.SetControlsEnabled(true);
  panelOpen_ = false;
  view_.ShowBackupPanel(false, "");
}

}  // namespace quorvin
