// Filling the settings boxes, choosing the backup location, and checking and
// saving what the clerk typed.
#include "windows/settings_window.h"

#include "ground/text.h"
#include "ground/text_files.h"

namespace quorvin {

SettingsBoxes BoxesFromSettings(const Settings& s) {
  return {s.BrokerID, s.ClearingBOID, s.DefaultBOIDFormat, s.BackupLocation};
}

std::string BrowseBackupLocation(AppContext& app, const std::string& boxText) {
  std::string start = Trim(boxText);
  if (start.empty()) start = app.programFolder;
  std::string chosen = app.dialogs.BrowseFolder("Select a backup location.", start);
  return chosen.empty() ? boxText : chosen;
}

bool SaveSettingsBoxes(AppContext& app, SettingsBoxes& boxes) {
  for (std::string* box :
       {&boxes.brokerId, &boxes.clearingBoid, &boxes.boidFormat, &boxes.backupPath})
    *box = Trim(*box);
  if (!ValidateDigitField(app.dialogs, boxes.brokerId, 6, "Broker ID")) return false;
  if (!ValidateDigitField(app.dialogs, boxes.clearingBoid, 16, "Clearing BOID")) return false;
  if (!ValidateDigitField(app.dialogs, boxes.boidFormat, 16, "BOID Format")) return false;
  if (!FolderExists(app.dialogs, boxes.backupPath)) {
    app.dialogs.Message("Provide the Backup Location properly.", "Invalid Backup Location",
                        MsgIcon::Critical, MsgButtons::Ok);
    return false;
  }
  app.settings.BrokerID = boxes.brokerId;
  app.settings.ClearingBOID = boxes.clearingBoid;
  app.settings.DefaultBOIDFormat = boxes.boidFormat;
  app.settings.BackupLocation = WithTrailingSlash(boxes.backupPath);
  // A failed write has been reported; the values stay in effect for this run.
  SaveSettings(app.dialogs, app.IniPath(), app.settings);
  app.LoadLists();
  return true;
}

}  // namespace quorvin
