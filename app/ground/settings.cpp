// Reading, checking and writing the "Quorvin.ini" settings file, line by
// line as "key : value".
#include "ground/settings.h"

#include <filesystem>

#include "ground/errors.h"
#include "ground/numbers.h"
#include "ground/platform.h"
#include "ground/text.h"
#include "ground/text_files.h"

namespace quorvin {
namespace {

constexpr const char* kBrokerIdKey = "Broker ID";
constexpr const char* kClearingBoidKey = "Clearing BOID";
constexpr const char* kBoidFormatKey = "Default BOID Format";
constexpr const char* kBackupLocationKey = "Backup Location";

bool IsKnownKey(std::string_view key) {
  return key == kBrokerIdKey || key == kClearingBoidKey || key == kBoidFormatKey ||
         key == kBackupLocationKey;
}

// Fills the fields line by line; throws AppError on a line it cannot read.
void ParseSettings(const std::string& text, Settings& settings) {
  auto lines = SplitAll(text, kCrLf);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.empty()) throw AppError("Line " + std::to_string(i + 1) + " of the settings is empty");
    auto parts = SplitAll(line, " : ");
    std::string_view key = parts[0];
    if (parts.size() < 2) {
      if (IsKnownKey(key)) throw AppError("The setting \"" + std::string(key) + "\" has no value");
      continue;
    }
    std::string value(parts[1]);
    if (key == kBrokerIdKey) {
      settings.BrokerID = value;
    } else if (key == kClearingBoidKey) {
      settings.ClearingBOID = value;
    } else if (key == kBoidFormatKey) {
      settings.DefaultBOIDFormat = value;
    } else if (key == kBackupLocationKey) {
      settings.BackupLocation = WithTrailingSlash(value);
    }
  }
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(platform::PathOf(path), error);
}

}  // namespace

std::string WithTrailingSlash(const std::string& folder) {
  return EndsWith(folder, "/") ? folder : folder + "/";
}

bool ValidateDigitField(Dialogs& dialogs, const std::string& value, int length,
                        const std::string& label) {
  const std::string title = "Wrong " + label;
  const std::string n = std::to_string(length);
  auto fail = [&](const std::string& text) {
    dialogs.Message(text, title, MsgIcon::Critical, MsgButtons::Ok);
    return false;
  };
  auto invalidChar = [&](const char* ch) {
    return fail("Invalid character in " + label + ": '" + ch + "'.\r\nEnter the " + n +
                "-digit numeric " + label + ".");
  };
  if (value.empty()) return fail(label + " cannot be blank.");
  if (!IsNumeric(value) || static_cast<int>(value.size()) != length)
    return fail(label + " should be a " + n + "-digit number.");
  if (value.find('-') != std::string::npos) return invalidChar("-");
  if (value.find('+') != std::string::npos) return invalidChar("+");
  if (value.find('.') != std::string::npos) return invalidChar(".");
  return true;
}

LoadSettingsResult LoadSettings(Dialogs& dialogs, const std::string& iniPath, Settings& settings,
                                const std::function<void()>& showSettingsWindow,
                                const std::function<void()>& loadLists) {
  settings = Settings{};
  if (!FileExists(iniPath)) {
    dialogs.Message("Quorvin initialization file not found.", "INI file not found.",
                    MsgIcon::Critical, MsgButtons::Ok);
    return LoadSettingsResult::EndProgram;
  }
  try {
    ParseSettings(ReadTextFile(iniPath), settings);
  } catch (const AppError& e) {
    // The values read so far stay; the checks and the lists are skipped.
    ShowErrorDescription(dialogs, e.Description());
    return LoadSettingsResult::Continue;
  }

  struct DigitField {
    std::string Settings::*field;
    int length;
    const char* label;
  };
  const DigitField fields[] = {{&Settings::BrokerID, 6, "Broker ID"},
                               {&Settings::ClearingBOID, 16, "Clearing BOID"},
                               {&Settings::DefaultBOIDFormat, 16, "BOID Format"}};
  for (const auto& f : fields) {
    if (ValidateDigitField(dialogs, settings.*f.field, f.length, f.label)) continue;
    showSettingsWindow();
    if (!ValidateDigitField(dialogs, settings.*f.field, f.length, f.label))
      return LoadSettingsResult::EndProgram;
  }

  if (!FolderExists(dialogs, settings.BackupLocation)) {
    dialogs.Message("Provide the Backup Location properly.", "Invalid Backup Location",
                    MsgIcon::Critical, MsgButtons::Ok);
    showSettingsWindow();
    if (!FolderExists(dialogs, settings.BackupLocation)) {
      dialogs.Message("Backup Location was not provided properly.", "Invalid Backup Location",
                      MsgIcon::Critical, MsgButtons::Ok);
      return LoadSettingsResult::EndProgram;
    }
  }
  loadLists();
  return LoadSettingsResult::Continue;
}

std::string SettingsText(const Settings& s) {
  return std::string(kBrokerIdKey) + " : " + s.BrokerID + "\r\n" + kClearingBoidKey + " : " +
         s.ClearingBOID + "\r\n" + kBoidFormatKey + " : " + s.DefaultBOIDFormat + "\r\n" +
         kBackupLocationKey + " : " + s.BackupLocation;
}

bool SaveSettings(Dialogs& dialogs, const std::string& iniPath, const Settings& settings) {
  try {
    WriteTextFile(iniPath, SettingsText(settings));
  } catch (const AppError& e) {
    ShowErrorDescription(dialogs, e.Description());
    return false;
  }
  dialogs.Message("Settings saved successfully.", "Saved successfully.", MsgIcon::Information,
                  MsgButtons::Ok);
  return true;
}

}  // namespace quorvin
