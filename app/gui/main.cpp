// Quorvin: start-up reads the settings and lists, then opens the main window.
#include <QApplication>
#include <exception>

#include "gui/app_shell.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorvin");
  quorvin::gui::AppShell shell(QApplication::applicationDirPath().toStdString() + "/");
  if (!shell.Start()) return 0;
  return QApplication::exec();
}
