#pragma once
// Owns the shared values and the windows for the program's lifetime.
#include <QPointer>
#include <memory>
#include <string>

#include "day/app_context.h"
#include "gui/qt_dialogs.h"

namespace quorvin::gui {

class MainWindow;

class AppShell {
 public:
  explicit AppShell(std::string programFolder);
  ~AppShell();

  // Start-up: settings, lists, then the main window. False when the program must end.
  bool Start();

  AppContext& Context() { return context_; }
  QtDialogs& Dialogs() { return dialogs_; }
  MainWindow* Main() const;

  // Shows the settings window modally over `parent`.
  void ShowSettingsWindow(QWidget* parent);

 private:
  QtDialogs dialogs_;
  SystemClock clock_;
  AppContext context_;
  QPointer<MainWindow> main_;
};

}  // namespace quorvin::gui
