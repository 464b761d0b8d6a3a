// The clerk's gestures on a large day in the real main window, timed:
//
//   window_day DAY_FOLDER [--shots PREFIX] [--no-buttons]
//   window_day DAY_FOLDER --fix-pass
//   window_day --self-check [--fix-pass]   (ctest: a 5,000-line day of its own)
//
// DAY_FOLDER holds gen_day's files. The program starts as it does for a clerk
// (settings file, BO and ISIN lists from its data folder, the main window),
// on a program folder made for the run under the temporary folder. Then:
//
//   - "Load Payin" is clicked and the file dialog is answered with the day's
//     trade file; timed from the click until the grid view has every row and
//     has painted them;
//   - Ctrl+End on the grid, the scroll bar dragged to either end, a click on a
//     cell near the end, and Enter to open the in-cell editor (then Escape),
//     each timed from the gesture until its effect is on the screen;
//   - a Quantity typed over in the editor with the problems pane shown, each
//     time making a problem of the row or putting it right again; timed from
//     the Enter until the grid, the pane's list and counts and the status line
//     show the edit;
//   - "Auto-Fill" and "Summarize" through their buttons (unless --no-buttons).
//
// --fix-pass instead loads the day, auto-fills, summarizes and checks it
// against the day's holding report, then puts every problem right from the
// problems pane with the keyboard alone, as a clerk would: F8 to the pane,
// Enter to the cell, then the Quantity lowered to the holding balance (Enter,
// the digits, Enter) or the row deleted (Delete, Enter on its question). It
// counts the keys and the time, and checks the day again at the end.
//
// One line per measure; the exit status is 1 when a target is missed and 2
// when the window did not do what the gesture asks (or could not be set up).
// --shots PREFIX saves the window as PREFIX-load.png, PREFIX-end.png and
// PREFIX-editor.png.
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "day/entry_grid.h"
#include "day_files.h"
#include "ground/fast_paths.h"
#include "gui/app_shell.h"
#include "gui/main_window.h"
#include "modal_script.h"

namespace quorvin::bench {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr double kLoadTargetMs = 3000;
constexpr double kGestureTargetMs = 100;
constexpr int kGestureRuns = 3;
constexpr double kEditTargetMs = 50;
constexpr int kEditRuns = 5;  // of each edit
// Nothing here should take anywhere near this; past it the run is a failure, not a hang.
constexpr int kSettleTimeoutMs = 30000;

// Counts paint events per widget and notes when the entry grid's model last
// changed, so that a measure ends on the paint that shows the change.
class Watcher : public QObject {
 public:
  explicit Watcher(QAbstractItemModel* model) {
    auto changed = [this] {
      ++changes;
      lastChange = Clock::now();
    };
    connect(model, &QAbstractItemModel::modelReset, this, [this, changed] {
      changed();
      lastReset = lastChange;
    });
    connect(model, &QAbstractItemModel::dataChanged, this, changed);
    connect(model, &QAbstractItemModel::layoutChanged, this, changed);
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
      if (firstReset == Clock::time_point{}) firstReset = Clock::now();
    });
    qApp->installEventFilter(this);
  }
  ~Watcher() override { qApp->removeEventFilter(this); }

  void Forget() {
    changes = 0;
    firstReset = lastReset = lastChange = Clock::time_point{};
    paints.clear();
  }
  // Paints of w that began after `after`.
  int PaintsAfter(const QWidget* w, Clock::time_point after) const {
    int n = 0;
    for (const auto& [widget, at] : paints)
      if (widget == w && at >= after) ++n;
    return n;
  }

  int changes = 0;
  Clock::time_point firstReset, lastReset, lastChange;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType())
      paints.emplace_back(static_cast<QWidget*>(watched), Clock::now());
    return false;
  }

 private:
  std::vector<std::pair<const QWidget*, Clock::time_point>> paints;
};

// Processes events until `done` holds, then once more so that nothing the
// gesture queued is left. False after kSettleTimeoutMs.
bool Settle(const std::function<bool()>& done) {
  const auto start = Clock::now();
  auto spin = [] {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    // The program's event loop deletes what a handler let go of (deleteLater)
    // once the handler returns; no loop runs here, so that is asked for, as
    // QTest::qWait does.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  while (!done()) {
    if (MsSince(start) > kSettleTimeoutMs) return false;
    spin();
  }
  spin();
  return true;
}

struct Result {
  std::string name;
  std::vector<double> ms;
  double target = 0;  // 0: no target
  std::string note;

  double Judged() const {  // the median of the runs
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0 : sorted[sorted.size() / 2];
  }
  bool Met() const { return target <= 0 || Judged() < target; }
};

class WindowDay {
 public:
  WindowDay(const std::string& dayFolder, std::string shots, bool buttons, bool fixPass = false)
      : day_(dayFolder), shots_(std::move(shots)), buttons_(buttons), fixPass_(fixPass) {}
  ~WindowDay() {
    modals_.reset();
    watcher_.reset();
    shell_.reset();
    if (!program_.empty()) std::filesystem::remove_all(program_);
  }

  // 0 all targets met, 1 a target missed, 2 the window went wrong.
  int Run() {
    if (!SetUp()) return 2;
    if (!Load()) return 2;
    if (fixPass_) return FixPass();
    Shot("load");
    // The file dialog had the focus; the clerk's keys go to the main window again.
    w_->activateWindow();
    if (!QTest::qWaitForWindowActive(w_)) return Fail("the main window is not active"), 2;
    if (!ScrollToEnd() || !ScrollBarEnds()) return 2;
    Shot("end");
    if (!SelectCell() || !OpenEditor() || !EditQuantity()) return 2;
    if (buttons_ && (!ClickButton("btnAutoFields", "auto-fill", false) ||
                     !ClickButton("btnSummarize", "summarize", true)))
      return 2;
    return Report();
  }

 private:
  bool Fail(const std::string& what) {
    std::fprintf(stderr, "window_day: %s\n", what.c_str());
    return false;
  }

  bool SetUp() {
    const std::string trade = day_ + "payin_10-Dec-2026.txt";
    for (const char* name : {"BO.txt", "ISIN.txt", "payin_10-Dec-2026.txt"})
      if (!std::filesystem::exists(day_ + name)) return Fail("no " + day_ + name);
    trade_ = trade;
    char folder[] = "/tmp/window_day.XXXXXX";
    if (!mkdtemp(folder)) return Fail("cannot make a program folder under /tmp");
    program_ = std::string(folder) + "/";
    const std::string data = program_ + "data/";
    std::filesystem::create_directories(data);
    // The program keeps its lists in its data folder and may write there; the
    // day folder is only read.
    for (const char* name : {"BO.txt", "ISIN.txt"})
      std::filesystem::copy_file(day_ + name, data + name);
    std::ofstream(program_ + "Quorvin.ini", std::ios::binary)
        << "Broker ID : " << kDayBrokerID << "\r\nClearing BOID : " << kDayClearingBOID
        << "\r\nDefault BOID Format : " << kDayBOIDFormat << "\r\nBackup Location : " << data;

    // Any box during start-up (a list it cannot read, say) is answered and
    // reported as a problem rather than waited on.
    modals_ = std::make_unique<test::ModalScript>();
    const auto start = Clock::now();
    shell_ = std::make_unique<gui::AppShell>(program_);
    if (!shell_->Start()) return Fail("the program did not start");
    startMs_ = MsSince(start);
    if (!NoProblems("start-up")) return false;
    w_ = shell_->Main();
    view_ = w_->findChild<QTableView*>("flxEntries");
    editor_ = w_->findChild<QLineEdit*>("txtEditor");
    if (!view_ || !editor_) return Fail("the main window has no flxEntries or txtEditor");
    w_->resize(1280, 720);
    w_->activateWindow();
    if (!QTest::qWaitForWindowExposed(w_)) return Fail("the main window was not shown");
    watcher_ = std::make_unique<Watcher>(view_->model());
    return true;
  }

  bool NoProblems(const std::string& step) {
    const QStringList problems = modals_->TakeProblems();
    if (problems.isEmpty()) return true;
    return Fail(step + ": " + problems.join("; ").toStdString());
  }

  const Grid& G() const { return w_->Entries(); }
  int DataRows() const { return G().Rows() - G().FixedRows(); }
  bool ViewHasEveryRow() const {
    return view_->model()->rowCount() == DataRows() &&
           view_->verticalHeader()->count() == DataRows();
  }
  // The window is back in the clerk's hands: enabled, no wait cursor, no box.
  bool AtRest() const {
    return w_->isEnabled() && !QApplication::overrideCursor() && !QApplication::activeModalWidget();
  }

  bool ClickWidget(QWidget* b) {
    if (!b || !b->isEnabled()) return false;
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    return true;
  }

  // Clicks a button whose handler changes the grid, and waits for the paint
  // that shows the change.
  bool ClickAndShow(const char* button, Result& result, double* handlerMs = nullptr) {
    watcher_->Forget();
    const auto start = clickStart_ = Clock::now();
    if (!ClickWidget(w_->Button(button) ? w_->Button(button)->Widget() : nullptr))
      return Fail(std::string(button) + " is missing or disabled");
    if (handlerMs) *handlerMs = MsSince(start);
    QWidget* viewport = view_->viewport();
    const bool shown = Settle([&] {
      return watcher_->changes > 0 && ViewHasEveryRow() && AtRest() &&
             watcher_->PaintsAfter(viewport, watcher_->lastChange) > 0;
    });
    result.ms.push_back(MsSince(start));
    if (!shown) {
      QWidget* modal = QApplication::activeModalWidget();
      return Fail(std::string(button) + ": the grid was not shown within the time (model changes " +
                  std::to_string(watcher_->changes) + ", view rows " +
                  std::to_string(view_->verticalHeader()->count()) + " of " +
                  std::to_string(DataRows()) + ", window enabled " +
                  std::to_string(w_->isEnabled()) + ", wait cursor " +
                  std::to_string(QApplication::overrideCursor() != nullptr) + ", modal " +
                  (modal ? modal->metaObject()->className() : "none") + ", paints since " +
                  std::to_string(watcher_->PaintsAfter(viewport, watcher_->lastChange)) + ")");
    }
    return true;
  }

  bool Load() {
    Result load{"load payin (click to rows painted)", {}, kLoadTargetMs, ""};
    modals_->File(QString::fromStdString(trade_));
    double handlerMs = 0;
    const bool ok = ClickAndShow("btnLoadFromBTFile", load, &handlerMs);
    auto after = [this](Clock::time_point at) {
      return std::chrono::duration<double, std::milli>(at - clickStart_).count();
    };
    const double dialogMs = after(watcher_->firstReset), resetMs = after(watcher_->lastReset);
    if (!ok || !NoProblems("load payin")) return false;
    const QStringList seen = modals_->TakeSeen();
    if (seen != QStringList{"File|Choose Text FIle"})
      return Fail("load payin: unexpected windows: " + seen.join("; ").toStdString());
    if (DataRows() < 1 || G().Text(1, col::kClientCode).empty())
      return Fail("load payin: the grid holds no trades");
    if (view_->rowAt(0) != 0 || !view_->indexAt(QPoint(2, 2)).isValid())
      return Fail("load payin: the view does not show the first row at the top");
    char note[200];
    std::snprintf(note, sizeof note,
                  "file dialog answered at %.0f ms, rows in the grid at %.0f ms, handler "
                  "returned at %.0f ms",
                  dialogMs, resetMs, handlerMs);
    load.note = note;
    results_.push_back(load);
    loadedRows_ = DataRows();
    return true;
  }

  int LastRowShown() const {
    const int bottom = view_->rowAt(view_->viewport()->height() - 1);
    return bottom >= 0 ? bottom : view_->model()->rowCount() - 1;
  }
  bool LastRowVisible() const {
    const int last = view_->model()->rowCount() - 1;
    const QRect r = view_->visualRect(view_->model()->index(last, 0));
    return r.isValid() && r.bottom() <= view_->viewport()->height() && r.top() >= 0;
  }

  // A key on the grid, waiting until `done` and a paint of the viewport after the key.
  bool KeyAndShow(Qt::Key key, Qt::KeyboardModifiers mods, const std::function<bool()>& done,
                  double* ms) {
    view_->setFocus();
    watcher_->Forget();
    const auto start = Clock::now();
    QTest::keyClick(view_, key, mods);
    const bool ok =
        Settle([&] { return done() && watcher_->PaintsAfter(view_->viewport(), start) > 0; });
    *ms = MsSince(start);
    return ok;
  }

  bool ScrollToEnd() {
    Result end{"scroll to the last row (Ctrl+End)", {}, kGestureTargetMs, ""};
    for (int run = 0; run < kGestureRuns; ++run) {
      double ms = 0;
      if (!KeyAndShow(
              Qt::Key_Home, Qt::ControlModifier, [&] { return view_->rowAt(0) == 0; }, &ms))
        return Fail("Ctrl+Home did not bring the first row to the top");
      if (!KeyAndShow(
              Qt::Key_End, Qt::ControlModifier, [&] { return LastRowVisible(); }, &ms))
        return Fail("Ctrl+End did not show the last row");
      end.ms.push_back(ms);
    }
    if (G().Row() != G().Rows() - 1)
      return Fail("Ctrl+End: the program's current row is " + std::to_string(G().Row()) +
                  ", not the last, " + std::to_string(G().Rows() - 1));
    results_.push_back(end);
    return true;
  }

  bool DragBar(int value, const std::function<bool()>& done, double* ms) {
    QScrollBar* bar = view_->verticalScrollBar();
    watcher_->Forget();
    const auto start = Clock::now();
    // As a drag of the thumb ends: the bar moves and the view follows.
    bar->setSliderPosition(value);
    const bool ok =
        Settle([&] { return done() && watcher_->PaintsAfter(view_->viewport(), start) > 0; });
    *ms = MsSince(start);
    return ok;
  }

  bool ScrollBarEnds() {
    Result top{"scroll bar to the top", {}, kGestureTargetMs, ""};
    Result bottom{"scroll bar to the end", {}, kGestureTargetMs, ""};
    QScrollBar* bar = view_->verticalScrollBar();
    for (int run = 0; run < kGestureRuns; ++run) {
      double ms = 0;
      if (!DragBar(
              bar->minimum(), [&] { return view_->rowAt(0) == 0; }, &ms))
        return Fail("the scroll bar at its top does not show the first row");
      top.ms.push_back(ms);
      if (!DragBar(
              bar->maximum(), [&] { return LastRowVisible(); }, &ms))
        return Fail("the scroll bar at its end does not show the last row");
      bottom.ms.push_back(ms);
    }
    if (G().TopRow() != G().FixedRows() + view_->rowAt(0))
      return Fail("the program's top row " + std::to_string(G().TopRow()) +
                  " is not the one shown");
    results_.push_back(top);
    results_.push_back(bottom);
    return true;
  }

  // Clicks cell (table row, Client Code) near the end, as shown now.
  bool SelectCell() {
    Result select{"select a row (click on a cell)", {}, kGestureTargetMs, ""};
    for (int run = 0; run < kGestureRuns; ++run) {
      const int row = LastRowShown() - 1 - run;
      const QModelIndex cell = view_->model()->index(row, col::kClientCode);
      const QRect rect = view_->visualRect(cell);
      if (!rect.isValid()) return Fail("the cell to click is not on the screen");
      watcher_->Forget();
      const auto start = Clock::now();
      QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, rect.center());
      const int gridRow = row + G().FixedRows();
      const bool ok = Settle([&] {
        return G().Row() == gridRow && G().Col() == col::kClientCode &&
               view_->currentIndex() == cell && watcher_->PaintsAfter(view_->viewport(), start) > 0;
      });
      select.ms.push_back(MsSince(start));
      if (!ok) return Fail("the clicked cell did not become the current one");
    }
    results_.push_back(select);
    return true;
  }

  bool OpenEditor() {
    Result open{"open the in-cell editor (Enter)", {}, kGestureTargetMs, ""};
    const int row = G().Row(), col = G().Col();
    const QString text = QString::fromStdString(G().Text(row, col));
    for (int run = 0; run < kGestureRuns; ++run) {
      watcher_->Forget();
      const auto start = Clock::now();
      QTest::keyClick(view_, Qt::Key_Return);
      const bool ok = Settle([&] {
        return editor_->isVisible() && editor_->hasFocus() && editor_->text() == text &&
               watcher_->PaintsAfter(editor_, start) > 0;
      });
      open.ms.push_back(MsSince(start));
      if (!ok)
        return Fail("Enter did not open the editor over the cell with its text (shown " +
                    std::to_string(editor_->isVisible()) + ", focused " +
                    std::to_string(editor_->hasFocus()) + ", text \"" +
                    editor_->text().toStdString() + "\" for \"" + text.toStdString() +
                    "\", painted " + std::to_string(watcher_->PaintsAfter(editor_, start)) + ")");
      const QRect cell = view_->visualRect(view_->model()->index(row - G().FixedRows(), col));
      if (editor_->geometry() != cell) return Fail("the editor does not lie over its cell");
      if (run == 0) Shot("editor");
      QTest::keyClick(editor_, Qt::Key_Escape);
      if (!Settle([&] { return !editor_->isVisible(); }))
        return Fail("Escape did not close the editor");
      if (G().Text(row, col) != text.toStdString()) return Fail("Escape changed the cell");
    }
    results_.push_back(open);
    return true;
  }

  // Types over the Quantity of a row whose problems the pane shows, "0" and
  // the old quantity by turns, and Enter.
  bool EditQuantity() {
    // A problem coming adds lines to the pane's list, one put right removes them.
    Result make{"edit a cell: a problem made", {}, kEditTargetMs, ""};
    Result putRight{"edit a cell: the problem put right", {}, kEditTargetMs, ""};
    gui::ProblemsPane* pane = w_->Problems();
    auto* status = w_->findChild<QLabel*>("lblStatus");
    auto* counts = w_->findChild<QLabel*>("lblProblemCounts");
    if (!pane || !status || !counts) return Fail("the main window has no problems pane or status");
    if (!pane->isVisible()) return Fail("the problems pane is not shown");
    QTableView* list = pane->List();
    int refreshes = 0;
    QObject::connect(pane, &gui::ProblemsPane::refreshed, list, [&refreshes] { ++refreshes; });
    if (!Settle([&] { return list->model()->rowCount() > 0; }))
      return Fail("the problems pane lists nothing");
    // A row halfway down the list, its lines on the screen: the lines after
    // it move when its problems come and go.
    const int line = list->model()->rowCount() / 2;
    list->scrollTo(list->model()->index(line, 0), QAbstractItemView::PositionAtCenter);
    QApplication::processEvents();
    const int row = list->model()->index(line, 0).data().toInt();
    if (row < G().FixedRows() || row >= G().Rows())
      return Fail("the pane's middle line has no row");
    const QModelIndex cell = view_->model()->index(row - G().FixedRows(), col::kQuantity);
    view_->scrollTo(cell);
    QApplication::processEvents();
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, view_->visualRect(cell).center());
    if (!Settle([&] { return G().Row() == row && G().Col() == col::kQuantity; }))
      return Fail("the Quantity cell to edit did not become the current one");
    const std::string old = G().Text(row, col::kQuantity);
    for (int run = 0; run < 2 * kEditRuns; ++run) {
      const std::string text = run % 2 == 0 ? "0" : old;
      QTest::keyClick(view_, Qt::Key_Return);
      if (!Settle([&] { return editor_->isVisible() && editor_->hasFocus(); }))
        return Fail("Enter did not open the editor over the Quantity");
      QTest::keyClicks(editor_, QString::fromStdString(text));
      const QString statusBefore = status->text(), countsBefore = counts->text();
      const int refreshesBefore = refreshes;
      watcher_->Forget();
      const auto start = Clock::now();
      QTest::keyClick(editor_, Qt::Key_Return);
      const bool ok = Settle([&] {
        return G().Text(row, col::kQuantity) == text && !editor_->isVisible() &&
               refreshes > refreshesBefore && status->text() != statusBefore &&
               counts->text() != countsBefore &&
               watcher_->PaintsAfter(view_->viewport(), start) > 0 &&
               watcher_->PaintsAfter(list->viewport(), start) > 0 &&
               watcher_->PaintsAfter(status, start) > 0 && watcher_->PaintsAfter(counts, start) > 0;
      });
      (run % 2 == 0 ? make : putRight).ms.push_back(MsSince(start));
      if (!ok)
        return Fail("the edit of row " + std::to_string(row) + " to \"" + text +
                    "\" was not shown (grid \"" + G().Text(row, col::kQuantity) + "\", refreshed " +
                    std::to_string(refreshes - refreshesBefore) + ", status \"" +
                    status->text().toStdString() + "\", counts \"" + counts->text().toStdString() +
                    "\")");
    }
    char note[80];
    std::snprintf(note, sizeof note, "row %d, %d problems listed", row, list->model()->rowCount());
    make.note = putRight.note = note;
    results_.push_back(make);
    results_.push_back(putRight);
    view_->setFocus();
    return true;
  }

  // Keys as the clerk types them, counted.
  void Key(QWidget* to, Qt::Key key) {
    QTest::keyClick(to, key);
    ++keys_;
  }
  void Type(QWidget* to, const QString& text) {
    QTest::keyClicks(to, text);
    keys_ += static_cast<int>(text.size());
  }
  // Check with the day's holding report: the holding message when some pairs
  // are not covered, else the box that says the check is complete.
  bool Check(const char* step, bool failures) {
    modals_->File(QString::fromStdString(day_ + "11DPA6UX.TXT"));
    if (failures)
      modals_->Holding();
    else
      modals_->Box(QMessageBox::Ok);
    if (!ClickWidget(w_->Button("btnCheck")->Widget())) return Fail("Check is disabled");
    if (!Settle([&] { return AtRest(); }) || !NoProblems(step)) return false;
    const QStringList seen = modals_->TakeSeen();
    const QString last = failures ? "Holding|" : "Information|";
    if (seen.size() != 2 || !seen[0].startsWith("File|") || !seen[1].startsWith(last) ||
        (!failures && !seen[1].endsWith("|Holding balance checking completed.")))
      return Fail(std::string(step) + ": unexpected windows: " + seen.join("; ").toStdString());
    return true;
  }

  int FixPass() {
    if (!ClickButton("btnAutoFields", "auto-fill", false) ||
        !ClickButton("btnSummarize", "summarize", true))
      return 2;
    if (!Check("check", true)) return 2;
    // The holding message had the focus; the clerk's keys go to the main window again.
    w_->activateWindow();
    if (!QTest::qWaitForWindowActive(w_)) return Fail("the main window is not active"), 2;
    view_->setFocus();
    gui::ProblemsPane* pane = w_->Problems();
    QAbstractItemModel* lines = pane->List()->model();
    pane->RefreshNow();
    const int found = lines->rowCount(), rows = DataRows();
    RowProblems& problems = w_->Controller().Problems();
    std::string kinds;
    for (int k = 0; k < kProblemKinds; ++k)
      if (const int n = problems.Count(static_cast<ProblemKind>(k)); n > 0)
        kinds += std::string("  ") + RowProblems::KindName(static_cast<ProblemKind>(k)) + ": " +
                 std::to_string(n) + "\n";
    const auto start = Clock::now();
    int lowered = 0, deleted = 0;
    for (int guard = 0; lines->rowCount() > 0 && guard < 4 * found; ++guard) {
      Key(QApplication::focusWidget() ? QApplication::focusWidget() : w_, Qt::Key_F8);
      QTableView* list = pane->List();
      if (!list->hasFocus() || !list->currentIndex().isValid())
        return Fail("F8 did not put the focus on a problem (focus on " +
                    std::string(QApplication::focusWidget()
                                    ? qPrintable(QApplication::focusWidget()->objectName())
                                    : "nothing") +
                    ")"),
               2;
      const QString wrong = list->model()->index(list->currentIndex().row(), 4).data().toString();
      Key(list, Qt::Key_Return);
      if (!view_->hasFocus()) return Fail("Enter on the pane did not go to the grid"), 2;
      // "Holding insufficient: Pay In quantity 500, holding balance 300."
      const QString balance = wrong.section("holding balance ", 1).chopped(1);
      bool number = false;
      const long long left = balance.toLongLong(&number);
      if (G().Col() == col::kQuantity && number && left >= 1) {
        Key(view_, Qt::Key_Return);
        if (!editor_->isVisible()) return Fail("Enter did not open the Quantity's editor"), 2;
        editor_->selectAll();
        Type(editor_, QString::number(left));
        Key(editor_, Qt::Key_Return);
        ++lowered;
      } else {
        modals_->Box(QMessageBox::Yes);
        Key(view_, Qt::Key_Delete);
        ++keys_;  // Enter on "Delete Confirmation"
        if (!NoProblems("delete")) return 2;
        modals_->TakeSeen();
        // The window system gives the main window back its activation after the box.
        w_->activateWindow();
        if (!QTest::qWaitForWindowActive(w_)) return Fail("the main window is not active"), 2;
        ++deleted;
      }
      pane->RefreshNow();
    }
    const double passMs = MsSince(start);
    if (lines->rowCount() > 0) return Fail("problems are left after the pass"), 2;
    if (!Check("check again", false)) return 2;
    std::printf("day: %s\n", day_.c_str());
    std::printf("rows after the summary: %d, problems in the pane: %d\n", rows, found);
    std::printf("%s", kinds.c_str());
    std::printf("put right from the pane: %d quantities lowered to the balance, %d rows deleted\n",
                lowered, deleted);
    std::printf("keys: %d (%.1f a problem); the program's time for the pass: %.0f ms\n", keys_,
                static_cast<double>(keys_) / std::max(found, 1), passMs);
    std::printf("Check again: \"Holding balance checking completed.\"\n");
    return 0;
  }

  bool ClickButton(const char* button, const char* name, bool confirm) {
    Result result{name, {}, 0, ""};
    if (confirm) modals_->Box(QMessageBox::Yes);
    const int before = DataRows();
    if (!ClickAndShow(button, result) || !NoProblems(name)) return false;
    modals_->TakeSeen();
    char note[80];
    std::snprintf(note, sizeof note, "rows %d -> %d", before, DataRows());
    result.note = note;
    results_.push_back(result);
    return true;
  }

  void Shot(const char* what) {
    if (shots_.empty()) return;
    const QString path = QString::fromStdString(shots_ + "-" + what + ".png");
    if (!w_->grab().save(path))
      std::fprintf(stderr, "window_day: cannot save %s\n", qPrintable(path));
  }

  int Report() {
    std::printf("day: %s\n", day_.c_str());
    std::printf("start-up (settings, lists, main window): %.0f ms\n", startMs_);
    std::printf("rows in the grid after the load: %d (and the header row)\n", loadedRows_);
    bool met = true;
    for (const Result& r : results_) {
      std::string runs;
      for (double ms : r.ms) {
        if (!runs.empty()) runs += ' ';
        runs += std::to_string(static_cast<int>(ms + 0.5));
      }
      std::printf("%-40s %8.1f ms", (r.name + ":").c_str(), r.Judged());
      if (r.ms.size() > 1) std::printf("  (median of %zu runs: %s)", r.ms.size(), runs.c_str());
      if (r.target > 0) std::printf("  target < %.0f ms: %s", r.target, r.Met() ? "met" : "MISSED");
      if (!r.note.empty()) std::printf("  [%s]", r.note.c_str());
      std::printf("\n");
      met = met && r.Met();
    }
    std::fflush(stdout);
    return met ? 0 : 1;
  }

  std::string day_, shots_, trade_, program_;
  bool buttons_, fixPass_;
  int keys_ = 0;
  double startMs_ = 0;
  int loadedRows_ = 0;
  Clock::time_point clickStart_;
  std::unique_ptr<test::ModalScript> modals_;
  std::unique_ptr<gui::AppShell> shell_;
  std::unique_ptr<Watcher> watcher_;
  gui::MainWindow* w_ = nullptr;
  QTableView* view_ = nullptr;
  QLineEdit* editor_ = nullptr;
  std::vector<Result> results_;
};

}  // namespace
}  // namespace quorvin::bench

int main(int argc, char* argv[]) {
  quorvin::KeepFreedMemoryForReuse();  // as the program's main does
  std::string day, shots;
  bool buttons = true, selfCheck = false, fixPass = false, bad = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--shots" && i + 1 < argc)
      shots = argv[++i];
    else if (a == "--no-buttons")
      buttons = false;
    else if (a == "--self-check")
      selfCheck = true;
    else if (a == "--fix-pass")
      fixPass = true;
    else if (!a.empty() && a[0] != '-' && day.empty())
      day = a;
    else
      bad = true;
  }
  if (bad || day.empty() == !selfCheck) {
    std::fprintf(stderr,
                 "usage: window_day DAY_FOLDER [--shots PREFIX] [--no-buttons]\n"
                 "       window_day DAY_FOLDER --fix-pass\n"
                 "       window_day --self-check [--fix-pass]\n");
    return 2;
  }
  // Measured without a screen unless another platform is asked for.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorvin");
  if (!selfCheck) {
    if (day.back() != '/') day += '/';
    quorvin::bench::WindowDay run(day, shots, buttons, fixPass);
    return run.Run();
  }
  // A small day of its own: every gesture must do what it asks; the times are
  // shown but not judged, as a busy machine may stretch them.
  char folder[] = "/tmp/window_day_check.XXXXXX";
  if (!mkdtemp(folder)) return 2;
  int status = 2;
  try {
    quorvin::bench::DayShape shape;
    shape.tradeLines = 5000;
    quorvin::bench::WriteDay(std::string(folder) + "/", shape);
    quorvin::bench::WindowDay run(std::string(folder) + "/", shots, buttons, fixPass);
    status = run.Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "window_day: %s\n", e.what());
  }
  std::filesystem::remove_all(folder);
  std::printf("window_day self-check: %s\n", status == 2 ? "FAILED" : "passed");
  return status == 2 ? 1 : 0;
}
