#pragma once
// The program's start before the main window opens: where its own files live,
// the settings, then the lists.
#include <functional>
#include <string>

#include "day/app_context.h"
#include "ground/platform.h"

namespace quorvin {

// Start-up before the main window: reads and checks the settings (opening the
// settings window through showSettingsWindow when a value is wrong) and loads
// the lists. EndProgram means the main window must not open.
inline LoadSettingsResult StartUp(AppContext& app,
                                  const std::function<void()>& showSettingsWindow) {
  // A write past the file-size limit must fail like any other write (the
  // clerk is told, the old file stays) instead of ending the program.
  platform::IgnoreFileSizeSignal();
  return LoadSettings(app.dialogs, app.IniPath(), app.settings, showSettingsWindow,
                      [&app] { app.LoadLists(); });
}

// The user's configuration folder, ending with "/": $XDG_CONFIG_HOME when it
// is an absolute path, otherwise $HOME/.config.
std::string ConfigHome(const char* xdgConfigHome, const char* home);

// The program folder (Quorvin.ini and the report files), ending with "/": the
// executable's folder when a Quorvin.ini is there (a development build, a
// folder copied to a stick), otherwise the user's own "quorvin" folder under
// configHome, so that one installed program serves every user in place.
std::string ChooseProgramFolder(const std::string& executableFolder, const std::string& configHome);

// Makes the program folder when it is missing and, on the first start, a
// Quorvin.ini with the four keys and blank values: start-up then asks for the
// broker's identity and a data folder. Throws AppError when it cannot.
void PrepareProgramFolder(const std::string& programFolder);

// A private demo in `folder`: a copy of the demo data in folder/data/ and a
// Quorvin.ini (from the demo's template) pointing there. Returns the program
// folder to start on (folder itself). Throws AppError when it cannot.
std::string PrepareDemoFolder(const std::string& demoSource, const std::string& folder);

}  // namespace quorvin
