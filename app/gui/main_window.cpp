#include "gui/main_window.h"

#include "gui/app_shell.h"
#include "gui/qt_text.h"
#include "shell/version.h"

namespace quorvin::gui {

MainWindow::MainWindow(AppShell& shell, QWidget* parent) : QMainWindow(parent), shell_(shell) {
  setObjectName("frmMain");
  setWindowTitle(Q(WindowCaption(" : Pay In")));
  resize(1000, 640);
}

}  // namespace quorvin::gui
