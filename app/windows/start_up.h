#pragma once
// The program's start before the main window opens: settings first, then the lists.
#include <csignal>
#include <functional>

#include "day/app_context.h"

namespace quorvin {

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
