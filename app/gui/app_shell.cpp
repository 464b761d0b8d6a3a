// Starting the program: the start-up checks, then the main window, with an
// offer to recover unsaved rows; and opening the settings window on demand.
#include "gui/app_shell.h"

#include "ground/errors.h"
#include "gui/main_window.h"
#include "gui/settings_window.h"
#include "windows/start_up.h"

namespace quorvin::gui {

AppShell::AppShell(std::string programFolder)
    : context_(dialogs_, clock_, std::move(programFolder)) {}

AppShell::~AppShell() {
  delete main_;
}

MainWindow* AppShell::Main() const {
  return main_;
}

void AppShell::ShowSettingsWindow(QWidget* parent) {
  SettingsWindow window(context_, parent);
  window.exec();
}

bool AppShell::Start() {
  try {
    if (StartUp(context_, [this] { ShowSettingsWindow(nullptr); }) ==
        LoadSettingsResult::EndProgram)
      return false;
    main_ = new MainWindow(*this);
    dialogs_.SetFallbackParent(main_);
    placement_.Restore(main_);
    main_->show();
    main_->Controller().OfferRecovery();
    return true;
  } catch (const std::exception& e) {
    ShowErrorDescription(dialogs_, e);
    return false;
  }
}

}  // namespace quorvin::gui
