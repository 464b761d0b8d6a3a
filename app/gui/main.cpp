// Quorvin: start-up finds the program folder, reads the settings and lists,
// then opens the main window. "quorvin --demo" starts the demo day instead.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <memory>

#include "ground/exchange.h"
#include "ground/fast_paths.h"
#include "gui/app_shell.h"
#include "gui/demo_session.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/window_support.h"
#include "windows/start_up.h"

namespace {

// Asked to end (the session ends, Ctrl+C): the program closes as if the clerk
// closed it, so that what it started (the demo's emulator and folder) goes too.
std::atomic<bool> endRequested{false};
extern "C" void RequestEnd(int) {
  endRequested = true;
}

}  // namespace

int main(int argc, char* argv[]) {
  // A day's import, sorts and files each fill arrays of tens of megabytes:
  // freed ones are kept for the next instead of being handed back and
  // cleared again by the system. Set once, for the whole program.
  quorvin::KeepFreedMemoryForReuse();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorvin");
  const bool demo = QApplication::arguments().contains(QStringLiteral("--demo"));
  const QString executableFolder = QApplication::applicationDirPath();

#ifdef Q_OS_WIN
  // The user's roaming application data, as Windows names it.
  const std::string configHome = quorvin::gui::SPath(qEnvironmentVariable("APPDATA")) + "/";
#else
  const std::string configHome =
      quorvin::ConfigHome(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
#endif
  std::unique_ptr<quorvin::gui::DemoSession> demoSession;
  std::string programFolder;
  try {
    if (demo) {
      demoSession = std::make_unique<quorvin::gui::DemoSession>(executableFolder);
      programFolder = demoSession->ProgramFolder();
      quorvin::gui::SetCaptionSuffix(QStringLiteral(" (demo)"));
    } else {
      programFolder =
          quorvin::ChooseProgramFolder(quorvin::gui::SPath(executableFolder), configHome);
      quorvin::PrepareProgramFolder(programFolder);
    }
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Quorvin"),
                          QString::fromLocal8Bit(quorvin::DescribeFailure(e).c_str()));
    return 1;
  }

  quorvin::gui::AppShell shell(programFolder);
  // The window's size and place are the user's, in the user's configuration
  // folder wherever the program keeps its settings (beside a development
  // build, say). The demo leaves nothing in the home and keeps none.
  if (!demo)
    shell.KeepWindowPlacementIn(
        quorvin::gui::QPath(configHome + "quorvin/" + quorvin::gui::kWindowPlacementFileName));
#ifdef Q_OS_WIN
  // What the administrator sets for every user of the machine.
  const std::string exchangeConfig =
      quorvin::gui::SPath(qEnvironmentVariable("ProgramData")) + "/Quorvin/exchange.ini";
#else
  const std::string exchangeConfig = quorvin::kExchangeConfigPath;
#endif
  shell.Context().exchange =
      demo ? demoSession->Exchange() : quorvin::ReadExchangeConfig(exchangeConfig);
  if (!shell.Start()) return 0;
  std::signal(SIGTERM, RequestEnd);
  std::signal(SIGINT, RequestEnd);
  QTimer endWatch;
  QObject::connect(&endWatch, &QTimer::timeout, [&shell] {
    if (!endRequested) return;
    if (shell.Main()) shell.Main()->EndSession();
    QApplication::quit();
  });
  endWatch.start(200);
  return QApplication::exec();
}
