#pragma once
// The values the whole program shares for its lifetime: the settings, the two
// reference lists, the instruction kind and its code, the list kind and the
// holding message, with the ports every handler reports through.
#include <csignal>
#include <functional>
#include <string>

#include "lists/list_answers.h"
#include "lists/reference_lists.h"
#include "shell/memory_hints.h"
#include "shell/ports.h"
#include "shell/settings.h"

namespace quorvin {

inline constexpr const char* kPayIn = "Pay In";
inline constexpr const char* kPayOut = "Pay Out";

struct AppContext {
  AppContext(Dialogs& dialogs, const Clock& clock, std::string programFolder)
      : dialogs(dialogs), clock(clock), programFolder(std::move(programFolder)), lists(dialogs) {
    KeepFreedMemoryForReuse();
  }

  Dialogs& dialogs;
  const Clock& clock;
  std::string programFolder;  // ends with "/"

  Settings settings;
  ReferenceLists lists;
  ListAnswers answers;          // the lists' answers for the entry grid's cells
  std::string instructionKind;  // "Pay In" or "Pay Out"; empty until the first kind change
  std::string kindCode;         // "PI" or "PO"
  std::string listKind;         // "BO" or "ISIN"
  std::string holdingMessage;

  std::string IniPath() const { return programFolder + kSettingsFileName; }
  std::string DataPath(const std::string& fileName) const {
    return settings.BackupLocation + fileName;
  }
  // BO.txt and ISIN.txt from the backup location.
  void LoadLists() { LoadListsFrom(settings.BackupLocation); }
  void LoadListsFrom(const std::string& folder) {
    lists.LoadBOList(folder + "BO.txt");
    lists.LoadISINList(folder + "ISIN.txt");
  }
};

// Start-up before the main window: reads and checks the settings (opening the
// settings window through showSettingsWindow when a value is wrong) and loads
// the lists. EndProgram means the main window must not open.
inline LoadSettingsResult StartUp(AppContext& app,
                                  const std::function<void()>& showSettingsWindow) {
  // A write past the file-size limit must fail like any other write (the
  // clerk is told, the old file stays) instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  return LoadSettings(app.dialogs, app.IniPath(), app.settings, showSettingsWindow,
                      [&app] { app.LoadLists(); });
}

}  // namespace quorvin
