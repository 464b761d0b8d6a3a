// The main window's unsaved work: the question on leaving, the day's file
// written by someone else since, and the recovery copy of rows not yet saved.
#include <filesystem>
#include <system_error>
#include <vector>

#include "day/instruction_files.h"
#include "ground/errors.h"
#include "ground/grid_text.h"
#include "ground/platform.h"
#include "ground/text.h"
#include "windows/main_controller.h"

namespace quorvin {
namespace {

// The recovery copy of a day's rows: a hidden file beside the day's file.
constexpr std::string_view kRecoverySuffix = ".unsaved";

std::string RecoveryName(const std::string& dayFileName) {
  return "." + dayFileName + std::string(kRecoverySuffix);
}

void RemoveQuietly(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(platform::PathOf(path), ignored);
}

}  // namespace

void MainController::MarkClean() {
  cleanEdits_ = grid_.Edits();
  DropRecoveryCopy();
}

void MainController::RememberDayFile() {
  dayFile_ = InstructionFilePath(app_, view_.SettlementDate());
  dayFileTime_ = LastWriteTime(dayFile_);
}

void MainController::DropRecoveryCopy() {
  if (!recoveryPath_.empty()) RemoveQuietly(recoveryPath_);
  recoveryPath_.clear();
}

bool MainController::ConfirmExit() {
  if (HasUnsavedChanges() &&
      app_.dialogs.Message("Unsaved data will be lost.\r\nAre you sure to continue?",
                           "Confirm Exit", MsgIcon::Question, MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes)
    return false;
  DropRecoveryCopy();
  return true;
}

void MainController::KeepRecoveryCopy() {
  const Settings& s = app_.settings;
  if (!HasUnsavedChanges() || s.BackupLocation.empty() || s.BrokerID.empty()) return;
  const std::string path =
      app_.DataPath(RecoveryName(InstructionFileName(app_, view_.SettlementDate())));
  if (path == recoveryPath_ && grid_.Edits() == recoveryEdits_) return;
  try {
    WriteTextFile(path, GridToText(grid_));
  } catch (const AppError&) {
    return;  // a folder that takes no file: Save will say so in words
  }
  if (!recoveryPath_.empty() && recoveryPath_ != path) RemoveQuietly(recoveryPath_);
  recoveryPath_ = path;
  recoveryEdits_ = grid_.Edits();
}

void MainController::OfferRecovery() {
  const Settings& s = app_.settings;
  if (s.BackupLocation.empty() || s.BrokerID.empty()) return;
  std::error_code error;
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(platform::PathOf(s.BackupLocation), error))
    names.push_back(platform::Utf8Of(entry.path().filename()));
  for (const std::string& name : names) {
    // ".dd-MMM-yyyy_PI_<broker>.txt.unsaved"
    const std::string suffix = "_" + s.BrokerID + ".txt" + std::string(kRecoverySuffix);
    if (name.size() != 1 + 11 + 3 + suffix.size() || name[0] != '.' || !name.ends_with(suffix))
      continue;
    const std::optional<Date> date = ParseDate(name.substr(1, 11));
    const std::string code = name.substr(12, 4);
    if (!date || (code != "_PI_" && code != "_PO_")) continue;
    const std::string kind = code == "_PI_" ? kPayIn : kPayOut;
    const std::string path = app_.DataPath(name);
    if (app_.dialogs.Message(
            "Quorvin ended before the " + kind + " rows of " + FormatDisplayDate(*date) +
                " were saved." + std::string(kCrLf) + "Restore them?",
            "Unsaved Rows Found", MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
      RemoveQuietly(path);
      continue;
    }
    ChangeKind(kind);
    view_.SetSettlementDate(*date);
    LoadGridText(app_.dialogs, path, grid_);
    // Restored rows are still unsaved; their copy stays until a Save.
    recoveryPath_ = path;
    recoveryEdits_ = grid_.Edits();
    return;
  }
}

}  // namespace quorvin
