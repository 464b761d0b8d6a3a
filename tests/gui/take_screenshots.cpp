// Renders the windows of a demo day into docs/ for the README:
//   QT_QPA_PLATFORM=offscreen build/tests/gui/take_screenshots docs
// (or under xvfb-run with the X11 platform). Every picture shows what the
// program itself computed for the demo data: the imported rows, the rows after
// Auto-Fill and Summarize, the holding check's findings and the report.
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "day/entry_grid.h"
#include "gui/holding_message_window.h"
#include "gui/list_window.h"
#include "gui/settings_window.h"
#include "gui/text_viewer.h"
#include "gui_support.h"
#include "work/checks/holding_check.h"
#include "work/checks/sort_summary.h"
#include "work/entry/auto_fill.h"
#include "work/import/trade_import.h"
#include "work/reports/instruction_reports.h"

using namespace quorvin;
using namespace quorvin::gui;

namespace {

void Save(QWidget* w, const QString& folder, const char* name) {
  QApplication::processEvents();
  w->grab().save(folder + "/" + name);
}

// Keeps the holding check's message instead of showing it modally.
struct KeptHoldingMessage : HoldingMessageView {
  void ShowModal(const std::string& text) override { message = text; }
  std::string message;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qapp(argc, argv);
  QString out = argc > 1 ? argv[1] : "docs";
  QDir().mkpath(out);
  test::DemoInstall install;
  AppShell shell(install.ProgramFolder());
  if (!shell.Start()) return 1;
  MainWindow* w = shell.Main();
  AppContext& app = shell.Context();
  Grid& grid = w->Entries();

  // Load Payin: the trade file's sells, sorted.
  w->resize(1280, 720);
  w->SetSettlementDate(Date{2026, 12, 10});
  ImportTrades(app, grid, install.Data().File("payin_10-Dec-2026.txt"), "S");
  SortEntries(app, grid);
  grid.SetCurrent(1, col::kClientCode);
  Save(w, out, "main-window-loaded.png");

  // Auto-Fill, then the in-cell editor over a quantity.
  AutoFill(app, grid, Date{2026, 12, 10});
  grid.SetCurrent(3, col::kQuantity);
  Save(w, out, "main-window.png");
  w->Controller().BeginCellEdit(EditGesture::Enter);
  Save(w, out, "main-window-editing.png");
  w->HideEditors();

  // The smallest screen a clerk may have, with the date picker open; and a large one.
  w->resize(1024, 768);
  grid.SetCurrent(2, col::kTradeDate);
  QApplication::processEvents();
  w->Controller().BeginCellEdit(EditGesture::Enter);
  Save(w, out, "main-window-1024.png");
  w->HideEditors();
  // A common laptop screen, the problems pane below the grid.
  w->resize(1366, 768);
  Save(w, out, "main-window-1366.png");
  w->resize(1920, 1080);
  Save(w, out, "main-window-1920.png");

  // Summarize: one row per account and security, every column in view.
  Summarize(app, grid);
  w->resize(1440, 720);
  grid.SetCurrent(1, col::kSN);
  Save(w, out, "main-window-summarized.png");

  // Check against the demo holding report: what the holding message window shows.
  KeptHoldingMessage kept;
  CheckHoldingFile(app, grid, *w, kept, install.Data().File("11DPA6UX.TXT"), w->Caption());
  HoldingMessageWindow holding(kept.message);
  holding.show();
  Save(&holding, out, "holding-message.png");
  holding.close();

  PrintPayInReport(app, grid);  // opens the viewer through the dialogs port
  QApplication::processEvents();
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* viewer = qobject_cast<TextViewer*>(top)) {
      viewer->resize(820, 600);
      Save(viewer, out, "report-viewer.png");
      viewer->close();
    }

  SettingsWindow settings(app, w);
  settings.show();
  Save(&settings, out, "settings-window.png");
  settings.close();

  app.listKind = "BO";
  ListWindow list(app, w);
  list.show();
  Save(&list, out, "list-window.png");
  list.close();
  return 0;
}
