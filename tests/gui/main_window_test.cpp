// frmMain driven through its widgets, found by their system names.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <cstdio>

#include "day/entry_grid.h"
#include "ground/version.h"
#include "gui/qt_text.h"
#include "gui_support.h"

using namespace quorvin;
using namespace quorvin::gui;
using quorvin::test::Find;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::DemoInstall> install_;
  std::unique_ptr<AppShell> shell_;
  MainWindow* w_ = nullptr;
  QTableView* grid_ = nullptr;

  void ClickCell(int gridRow, int col) {
    QModelIndex index = grid_->model()->index(gridRow - 1, col);
    grid_->scrollTo(index);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->visualRect(index).center());
  }
  QRect CellRect(int gridRow, int col) {
    return grid_->visualRect(grid_->model()->index(gridRow - 1, col));
  }
  void Click(const char* button) {
    QWidget* b = w_->Button(button)->Widget();
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
  }
  void TypeIntoEditor(const QString& text) {
    auto* editor = Find<QLineEdit>(w_, "txtEditor");
    QVERIFY(editor->isVisible());
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
  }

 private slots:
  void init() {
    install_ = std::make_unique<test::DemoInstall>();
    shell_ = std::make_unique<AppShell>(install_->ProgramFolder());
    QVERIFY(shell_->Start());
    w_ = shell_->Main();
    QVERIFY(w_);
    grid_ = Find<QTableView>(w_, "flxEntries");
    QVERIFY(grid_);
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    w_->activateWindow();
  }
  void cleanup() {
    shell_.reset();
    install_.reset();
  }

  void startsWithEveryControlNamedAndCaptioned() {
    QCOMPARE(w_->windowTitle(), QString::fromStdString(WindowCaption(" : Pay In")));
    QCOMPARE(grid_->model()->columnCount(), 13);
    QCOMPARE(grid_->model()->rowCount(), 1);
    QCOMPARE(grid_->model()->headerData(12, Qt::Horizontal).toString(), "Internal Ref. No.");
    QCOMPARE(Find<QRadioButton>(w_, "optPayIn")->text(), "Pay In Date :");
    QVERIFY(Find<QRadioButton>(w_, "optPayIn")->isChecked());
    QCOMPARE(Find<QDateEdit>(w_, "dtpPayInOrPayOut")->date(), QDate::currentDate());
    QCOMPARE(Find<QDateEdit>(w_, "dtpPayInOrPayOut")->displayFormat(), "dd-MMM-yyyy");
    QCOMPARE(Find<QCheckBox>(w_, "chkFreeEntry")->toolTip(),
             "Check to enter anything anywhere in the above table.");
    QCOMPARE(w_->Button("btnLoadFromBTFile")->Caption(), "Load Payin");
    QVERIFY(w_->Button("btnCheck")->Widget()->isEnabled());
    QCOMPARE(w_->Button("btnAutoFields")->Widget()->toolTip(),
             "Fill the automatic fields i.e. Broker ID, Clearing BOID, Deliver Date, and Internal "
             "Ref. No.");
    QCOMPARE(grid_->toolTip(),
             "Pay In entries. Press INSERT key to add a new row or DELETE key to remove the "
             "selected row(s).");
    for (const char* name : {"btnSearch", "btnSummarize", "btnReport", "btnSave", "btnReload",
                             "btnSend", "btnList", "btnSettings", "btnExit"})
      QVERIFY2(Find<QWidget>(w_, name), name);
    auto* menu = Find<QMenu>(w_, "mnuCopyCell");
    QVERIFY(menu);
    QStringList items;
    for (QAction* a : menu->actions()) items << a->text();
    QCOMPARE(items, (QStringList{"Copy", "Paste", "Delete"}));
  }

  void gridModelIsSound() {
    QAbstractItemModelTester tester(grid_->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    w_->Entries().SetRows(40);
    w_->Entries().SetText(7, 3, "08-Dec-2026");
    ClearEntryGrid(w_->Entries());
    QCOMPARE(grid_->model()->rowCount(), 1);
  }

  void enterOpensTheEditorExactlyOverTheCellAndWritesThroughTheLists() {
    ClickCell(1, col::kClientCode);
    QTest::keyClick(grid_, Qt::Key_Return);
    auto* editor = Find<QLineEdit>(w_, "txtEditor");
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->geometry(), CellRect(1, col::kClientCode));
    TypeIntoEditor("C1001");
    QVERIFY(!editor->isVisible());
    const Grid& g = w_->Entries();
    QCOMPARE(QString::fromStdString(g.Text(1, col::kClientCode)), "C1001");
    QVERIFY(!g.Text(1, col::kBOID).empty());
    QVERIFY(g.Text(1, col::kBOName) != "BO NAME NOT FOUND");
    QVERIFY(grid_->hasFocus());
  }

  void escapeAndDoubleClickFollowTheColumnTable() {
    auto* editor = Find<QLineEdit>(w_, "txtEditor");
    ClickCell(1, col::kClearingBOID);
    QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {},
                       CellRect(1, col::kClearingBOID).center());
    QVERIFY(!editor->isVisible());
    QTest::keyClick(grid_, Qt::Key_Return);
    QVERIFY(editor->isVisible());
    QTest::keyClicks(editor, "999");
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!editor->isVisible());
    QVERIFY(w_->Entries().Text(1, col::kClearingBOID).empty());

    ClickCell(1, col::kQuantity);
    QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, CellRect(1, col::kQuantity).center());
    QVERIFY(editor->isVisible());
    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClicks(editor, "12x");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(seen, QStringList{"Invalid Entry.|Quantity must be numeric."});
    QVERIFY(editor->isVisible());  // left open for the correction
  }

  void endingAnEditLeavesTheCurrentCellWhereItWas() {
    Grid& g = w_->Entries();
    g.SetRows(4);
    auto* editor = Find<QLineEdit>(w_, "txtEditor");
    auto expectAt = [&](int row, int col) {
      QCOMPARE(g.Row(), row);
      QCOMPARE(g.Col(), col);
      QCOMPARE(grid_->currentIndex(), grid_->model()->index(row - 1, col));
      QVERIFY(grid_->hasFocus());
    };
    ClickCell(2, col::kClientCode);
    QTest::keyClick(grid_, Qt::Key_Return);
    QVERIFY(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!editor->isVisible());
    expectAt(2, col::kClientCode);

    QTest::keyClick(grid_, Qt::Key_Return);
    TypeIntoEditor("C1001");
    QVERIFY(!editor->isVisible());
    expectAt(2, col::kClientCode);

    ClickCell(3, col::kTradeDate);
    QTest::keyClick(grid_, Qt::Key_Return);
    auto* picker = Find<QDateEdit>(w_, "dtpDate");
    QVERIFY(picker->isVisible());
    QVERIFY(picker->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!picker->isVisible());
    expectAt(3, col::kTradeDate);

    // A scroll drops the edit; the cell stays.
    g.SetColWidth(col::kISINName, 30000);  // wider than the window
    QScrollBar* bar = grid_->horizontalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    ClickCell(1, col::kScripID);
    QTest::keyClick(grid_, Qt::Key_Return);
    QVERIFY(editor->hasFocus());
    QVERIFY(bar->maximum() > bar->value());
    bar->setValue(bar->maximum());
    QVERIFY(!editor->isVisible());
    expectAt(1, col::kScripID);
  }

  void insertAddsARowAndTheDatePickerWritesTheCell() {
    grid_->setFocus();
    QTest::keyClick(grid_, Qt::Key_Insert);
    QCOMPARE(w_->Entries().Rows(), 3);
    auto* picker = Find<QDateEdit>(w_, "dtpDate");
    QVERIFY(picker->isVisible());
    // Over the cell, and wide enough for the whole date beside its button.
    const QRect cell = CellRect(2, col::kTradeDate);
    QCOMPARE(picker->geometry().topLeft(), cell.topLeft());
    QCOMPARE(picker->height(), cell.height());
    QVERIFY(picker->width() >= std::max(cell.width(), picker->sizeHint().width()));
    picker->setDate(QDate(2026, 12, 7));
    QCOMPARE(QString::fromStdString(w_->Entries().Text(2, col::kTradeDate)), "07-Dec-2026");
    QTest::keyClick(picker, Qt::Key_Return);
    QVERIFY(!picker->isVisible());

    QWidget* exit = w_->Button("btnExit")->Widget();
    exit->setFocus();
    QTest::keyClick(exit, Qt::Key_Insert);
    QCOMPARE(w_->Entries().Rows(), 4);
    QCOMPARE(w_->Entries().Col(), col::kTradeDate);
    QVERIFY(!picker->isVisible());

    // Delete from an option button, answered Yes; from the search box nothing happens.
    auto* search = Find<QLineEdit>(w_, "txtSearch");
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Delete);
    QCOMPARE(w_->Entries().Rows(), 4);
    auto* option = Find<QRadioButton>(w_, "optPayIn");
    option->setFocus();
    test::AnswerNextBox(QMessageBox::Yes);
    QTest::keyClick(option, Qt::Key_Delete);
    QCOMPARE(w_->Entries().Rows(), 3);
  }

  void refusedKindChangeKeepsPayIn() {
    w_->Entries().SetText(1, col::kClientCode, "C1001");
    QStringList seen;
    test::AnswerNextBox(QMessageBox::No, &seen);
    Find<QRadioButton>(w_, "optPayOut")->click();
    QCOMPARE(seen.size(), 1);
    QVERIFY(seen[0].startsWith("Confirm Loading|Unsaved data will be lost."));
    QVERIFY(Find<QRadioButton>(w_, "optPayIn")->isChecked());
    QVERIFY(!Find<QRadioButton>(w_, "optPayOut")->isChecked());
    QCOMPARE(QString::fromStdString(w_->Entries().Text(1, col::kClientCode)), "C1001");

    test::AnswerNextBox(QMessageBox::Yes);
    Find<QRadioButton>(w_, "optPayOut")->click();
    QCOMPARE(w_->windowTitle(), QString::fromStdString(WindowCaption(" : Pay Out")));
    QCOMPARE(w_->Button("btnLoadFromBTFile")->Caption(), "Load Payout");
    QVERIFY(!w_->Button("btnCheck")->Widget()->isEnabled());
    QVERIFY(IsGridEmpty(w_->Entries()));
  }

  // Typed rows are never lost without a word: Exit asks, No keeps the window.
  void exitWithUnsavedRowsAsksFirst() {
    w_->Entries().SetText(1, col::kClientCode, "C1001");
    QStringList seen;
    test::AnswerNextBox(QMessageBox::No, &seen);
    Click("btnExit");
    QCOMPARE(seen,
             QStringList{"Confirm Exit|Unsaved data will be lost.\nAre you sure to continue?"});
    QVERIFY(w_->isVisible());
    test::AnswerNextBox(QMessageBox::Yes);
    Click("btnExit");
    QVERIFY(!w_->isVisible());
  }

  // A pipe in the place of BO.txt must not hold the start: the list's load
  // message, then the main window.
  void aPipeForAListStillOpensTheMainWindow() {
    test::DemoInstall install;
    const std::string bo = install.Data().File("BO.txt");
#ifdef _WIN32
    QSKIP("needs POSIX: a named pipe in a list's place");
#else
    QVERIFY(std::remove(bo.c_str()) == 0);
    QVERIFY(::mkfifo(bo.c_str(), 0600) == 0);
#endif
    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    AppShell shell(install.ProgramFolder());
    QVERIFY(shell.Start());
    QVERIFY(shell.Main() && shell.Main()->isVisible());
    QCOMPARE(seen.size(), 1);
    QVERIFY2(
        seen[0].startsWith("Error loading list of BOs.|") && seen[0].contains("Not a plain file"),
        qPrintable(seen[0]));
  }

  void popupMenuCopiesDownTheSelection() {
    Grid& g = w_->Entries();
    g.SetRows(4);
    g.SetText(1, col::kScripID, "ALPHATEX");
    g.SetText(1, col::kISINCode, "MG1");
    g.SetText(1, col::kISINName, "Alpha");
    ClickCell(1, col::kScripID);
    auto* menu = Find<QMenu>(w_, "mnuCopyCell");
    menu->actions()[0]->trigger();
    ClickCell(2, col::kScripID);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      CellRect(3, col::kScripID).center());
    menu->actions()[1]->trigger();
    QCOMPARE(QString::fromStdString(g.Text(3, col::kScripID)), "ALPHATEX");
    QCOMPARE(QString::fromStdString(g.Text(3, col::kISINName)), "Alpha");
    QCOMPARE(QString::fromStdString(g.Text(2, col::kISINCode)), "MG1");
  }

  void resizeAbandonsTheEdit() {
    ClickCell(1, col::kScripID);
    QTest::keyClick(grid_, Qt::Key_Return);
    auto* editor = Find<QLineEdit>(w_, "txtEditor");
    QVERIFY(editor->isVisible());
    w_->resize(w_->width() - 50, w_->height() - 30);
    QVERIFY(!editor->isVisible());
  }

  void listAndSettingsOpenModally() {
    for (const char* button : {"btnList", "btnSettings"}) {
      QString opened;
      QTimer::singleShot(0, [&opened] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
          opened = modal->objectName();
          modal->close();
        }
      });
      Click(button);
      QCOMPARE(opened, QString(button) == "btnList" ? "frmList" : "frmSettings");
    }
    QCOMPARE(QString::fromStdString(shell_->Context().listKind), "BO");
  }

  void problemsPaneMovesOnlyTheLinesOfTheEditedRow() {
    QAbstractItemModel* lines = Find<QTableView>(w_, "lstProblems")->model();
    QAbstractItemModelTester tester(lines, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto shown = [&] {
      QStringList out;
      w_->Problems()->RefreshNow();
      for (int i = 0; i < lines->rowCount(); ++i)
        out << lines->index(i, 0).data().toString() + " " + lines->index(i, 4).data().toString();
      return out;
    };
    Grid& g = w_->Entries();
    g.SetRows(3);
    g.SetText(1, col::kClientCode, "C1001");
    g.SetText(2, col::kClientCode, "C1002");
    const QStringList before = shown();
    g.SetText(1, col::kClientCode, "");
    QStringList after = shown();
    const int added = after.indexOf("1 Client Code is not given.");
    QVERIFY(added >= 0 && added <= before.lastIndexOf(QRegularExpression("1 .*")));
    after.removeAt(added);
    QCOMPARE(after, before);
    g.SetText(1, col::kClientCode, "C1001");
    QCOMPARE(shown(), before);
  }

  void remembersItsPlaceUnlessNoScreenShowsIt() {
    test::TempFolder config;
    const QString file = QPath(config.File("window.ini"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect onScreen(screen.topLeft() + QPoint(30, 40),
                         w_->minimumSize().expandedTo(QSize(640, 480)));
    struct Case {
      QRect left;
      bool maximized;
      QRect comesBack;  // empty: anywhere on the primary screen
    };
    const Case cases[] = {{onScreen, false, onScreen},
                          {onScreen, true, onScreen},
                          {onScreen.translated(screen.width() + 5000, 0), false, QRect()}};
    shell_.reset();
    for (const Case& c : cases) {
      for (int start = 0; start < 2; ++start) {
        AppShell shell(install_->ProgramFolder());
        shell.KeepWindowPlacementIn(file);
        QVERIFY(shell.Start());
        MainWindow* w = shell.Main();
        if (start == 0) {  // the clerk leaves the window so
          w->setGeometry(c.left);
          if (c.maximized) w->showMaximized();
          w->close();
          continue;
        }
        QCOMPARE(w->isMaximized(), c.maximized);
        if (c.comesBack.isEmpty())
          QVERIFY(screen.contains(w->geometry().topLeft()));
        else
          QCOMPARE(c.maximized ? w->normalGeometry() : w->geometry(), c.comesBack);
      }
    }
  }

  void saveAndReloadThroughTheButtons() {
    w_->Entries().SetText(1, col::kClientCode, "C1001");
    test::AnswerNextBox(QMessageBox::Yes);
    QStringList seen;
    QTimer::singleShot(0, [&seen] { test::AnswerNextBox(QMessageBox::Ok, &seen); });
    Click("btnSave");
    QCOMPARE(seen.size(), 1);
    QVERIFY(seen[0].startsWith("File Saved.|Pay In file of "));
    w_->Entries().SetText(1, col::kClientCode, "changed");
    test::AnswerNextBox(QMessageBox::Yes);
    Click("btnReload");
    QCOMPARE(QString::fromStdString(w_->Entries().Text(1, col::kClientCode)), "C1001");
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
