// Renders the windows of a demo day into docs/ for the README:
//   QT_QPA_PLATFORM=offscreen build/tests/gui/take_screenshots docs
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "checks/holding_check.h"
#include "checks/sort_summary.h"
#include "entry/auto_fill.h"
#include "entry/entry_grid.h"
#include "entry/trade_import.h"
#include "gui/holding_message_window.h"
#include "gui/settings_window.h"
#include "gui/text_viewer.h"
#include "gui_support.h"
#include "reports/instruction_reports.h"

using namespace quorvin;
using namespace quorvin::gui;

namespace {

void Save(QWidget* w, const QString& folder, const char* name) {
  w->grab().save(folder + "/" + name);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qapp(argc, argv);
  QString out = argc > 1 ? argv[1] : "docs";
  QDir().mkpath(out);
  test::DemoInstall install;
  AppShell shell(install.ProgramFolder());
  if (!shell.Start()) return 1;
  MainWindow* w = shell.Main();
  w->resize(1280, 720);
  AppContext& app = shell.Context();
  Grid& grid = w->Entries();
  // The demo day: the trade file's sells, sorted and filled.
  w->SetSettlementDate(Date{2026, 12, 10});
  ImportTrades(app, grid, install.Data().File("payin_10-Dec-2026.txt"), "S");
  SortEntries(app, grid);
  AutoFill(app, grid, Date{2026, 12, 10});
  grid.SetCurrent(3, col::kQuantity);
  QApplication::processEvents();
  Save(w, out, "main-window.png");

  w->Controller().BeginCellEdit(EditGesture::Enter);
  QApplication::processEvents();
  Save(w, out, "main-window-editing.png");
  w->HideEditors();
  // The smallest screen a clerk may have, with the date picker open.
  w->resize(1024, 768);
  grid.SetCurrent(2, col::kTradeDate);
  QApplication::processEvents();
  w->Controller().BeginCellEdit(EditGesture::Enter);
  QApplication::processEvents();
  Save(w, out, "main-window-1024.png");
  w->HideEditors();
  w->resize(1920, 1080);
  QApplication::processEvents();
  Save(w, out, "main-window-1920.png");
  w->resize(1280, 720);

  SettingsWindow settings(app, w);
  settings.show();
  QApplication::processEvents();
  Save(&settings, out, "settings-window.png");
  settings.close();

  PrintPayInReport(app, grid);  // opens the viewer through the dialogs port
  QApplication::processEvents();
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* viewer = qobject_cast<TextViewer*>(top)) {
      viewer->resize(820, 600);
      QApplication::processEvents();
      Save(viewer, out, "report-viewer.png");
      viewer->close();
    }

  // The holding check's findings for the demo day.
  HoldingMessageWindow holding(
      "1204510017048184 MG1481NORT86 holding insufficient. Pay In quantity : 1550 Holding "
      "balance : 1510\r\n1204510021113076 MG1407LOTU49 holding balance missing.\r\n");
  holding.show();
  QApplication::processEvents();
  Save(&holding, out, "holding-message.png");
  return 0;
}
