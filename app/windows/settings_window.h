#pragma once
// The settings window's rules: the four boxes, Browse and Save.
#include <string>

#include "day/app_context.h"

namespace quorvin {

struct SettingsBoxes {
  std::string brokerId, clearingBoid, boidFormat, backupPath;
};

SettingsBoxes BoxesFromSettings(const Settings& settings);

// Opens the folder browser on the box's folder (or the program's folder when
// the box is blank) and returns the box's new text: the chosen folder, or the
// old text when the clerk cancels.
std::string BrowseBackupLocation(AppContext& app, const std::string& boxText);

// Trims the boxes (in place), checks them and, when all pass, stores them,
// writes the settings file and reloads both lists. False when a check failed.
bool SaveSettingsBoxes(AppContext& app, SettingsBoxes& boxes);

}  // namespace quorvin
