#pragma once
// Owns the shared values and the windows for the program's lifetime.
#include <QPointer>
#include <memory>
#include <string>

#include "day/app_context.h"
#include "gui/qt_dialogs.h"
#include "gui/window_placement.h"

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

  // Where the main window's size and place are kept between starts; until
  // this is set (tests, benchmarks) nothing is kept.
  void KeepWindowPlacementIn(const QString& file) { placement_ = WindowPlacement(file); }
  const WindowPlacement& Placement() const { return placement_; }

  // Shows the settings window modally over `parent`.
  void ShowSettingsWindow(QWidget* parent);

 private:
  QtDialogs dialogs_;
  SystemClock clock_;
  AppContext context_;
  WindowPlacement placement_;
  QPointer<MainWindow> main_;
};

}  // namespace quorvin::gui
