#pragma once
// The four settings and the settings file "Quorvin.ini" beside the program.
#include <functional>
#include <string>

#include "ground/ports.h"

namespace quorvin {

struct Settings {
  std::string BrokerID;           // 6 digits
  std::string ClearingBOID;       // 16 digits
  std::string DefaultBOIDFormat;  // 16 digits, the BOID completion template
  std::string BackupLocation;     // the data folder, always ending with "/"
};

inline constexpr const char* kSettingsFileName = "Quorvin.ini";

// Checks a digit field; on failure shows its one message and returns false.
bool ValidateDigitField(Dialogs& dialogs, const std::string& value, int length,
                        const std::string& label);

// "folder" + "/" unless it ends with one already.
std::string WithTrailingSlash(const std::string& folder);

enum class LoadSettingsResult { Continue, EndProgram };

// Reads and checks the settings file. showSettingsWindow opens the settings
// window modally (it may change `settings`); loadLists loads the two lists
// from the backup location once everything has passed.
LoadSettingsResult LoadSettings(Dialogs& dialogs, const std::string& iniPath, Settings& settings,
                                const std::function<void()>& showSettingsWindow,
                                const std::function<void()>& loadLists);

// Writes the settings file and confirms; a write failure is shown in place of
// the confirmation. Returns whether the file was written.
bool SaveSettings(Dialogs& dialogs, const std::string& iniPath, const Settings& settings);

std::string SettingsText(const Settings& settings);

}  // namespace quorvin
