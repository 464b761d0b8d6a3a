// frmList driven through its widgets, found by their system names.
#include "gui/list_window.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QtTest>

#include "ground/version.h"
#include "gui_support.h"

using namespace quorvin;
using namespace quorvin::gui;
using quorvin::test::Find;

class ListWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::DemoInstall> install_;
  std::unique_ptr<AppShell> shell_;
  std::unique_ptr<ListWindow> w_;
  QTableView* grid_ = nullptr;
  QLineEdit* editor_ = nullptr;

  QRect CellRect(int gridRow, int col) {
    return grid_->visualRect(grid_->model()->index(gridRow - 1, col));
  }
  void ClickCell(int gridRow, int col) {
    grid_->scrollTo(grid_->model()->index(gridRow - 1, col));
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, CellRect(gridRow, col).center());
  }
  QString Cell(int row, int col) { return QString::fromStdString(w_->List().Text(row, col)); }
  // A closed message box leaves no window active on the offscreen platform;
  // a desktop gives the activation back to the window below it.
  void Reactivate() {
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
  }
  QWidget* Button(const char* name) { return Find<QWidget>(w_.get(), name); }
  static QString Caption(QWidget* button) { return button->property("Caption").toString(); }
  static void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
  }

 private slots:
  void init() {
    install_ = std::make_unique<test::DemoInstall>();
    shell_ = std::make_unique<AppShell>(install_->ProgramFolder());
    QVERIFY(shell_->Start());
    shell_->Context().listKind = "BO";
    w_ = std::make_unique<ListWindow>(shell_->Context(), shell_->Main());
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    w_->activateWindow();
    grid_ = Find<QTableView>(w_.get(), "flxList");
    editor_ = Find<QLineEdit>(w_.get(), "txtEditor");
    QVERIFY(grid_ && editor_);
  }
  void cleanup() {
    w_.reset();
    shell_.reset();
    install_.reset();
  }

  void opensOnTheBOListWithEveryControlNamedAndCaptioned() {
    QVERIFY(w_->isModal());
    QCOMPARE(w_->windowTitle(), QString::fromStdString(WindowCaption(" : List of BOs")));
    auto* combo = Find<QComboBox>(w_.get(), "cmbListOf");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), "List of BOs");
    QCOMPARE(combo->itemText(1), "List of ISINs");
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(Find<QLabel>(w_.get(), "lblSelect")->text(), "Select BO :");
    QCOMPARE(Find<QLineEdit>(w_.get(), "txtItem")->toolTip(),
             "Type the significant letters and Press <ENTER>.");
    QCOMPARE(grid_->toolTip(),
             "List of BOs. Press INSERT key to add a new row or DELETE key to remove the "
             "selected row(s).");
    const QList<std::pair<const char*, QStringList>> buttons = {
        {"btnAdd", {"Add", "Add a new row in the list."}},
        {"btnRemove", {"Remove", "Remove the selected row from the list."}},
        {"btnSave", {"Save", "Save the list."}},
        {"btnReload", {"&Reload", "Reload the list."}},
        {"btnSaveAsBackup", {"Save As Backup", "Save the list."}},
        {"btnLoadBackup", {"Load From Backup", "Load the list from backup."}},
        {"btnUpdateList",
         {"Send",
          "Send the list of BOs to MGX. These BOs will be included in the holding reports you "
          "receive from MGX."}},
        {"btnClose", {"Close", "Close the list and get back to data entry."}},
        {"btnLoad_Backup", {"Load", "Load the selected backup in the list."}},
        {"btnDelete_Backup", {"Delete", ""}},
        {"btnCancel_Backup", {"Cancel", "Cancel loading any backup."}},
    };
    for (const auto& [name, texts] : buttons) {
      QWidget* b = Button(name);
      QVERIFY2(b, name);
      QCOMPARE(Caption(b), texts[0]);
      QCOMPARE(b->toolTip(), texts[1]);
    }
    QVERIFY(!Find<QGroupBox>(w_.get(), "frameBackup")->isVisible());
    QVERIFY(!editor_->isVisible());
    QCOMPARE(grid_->model()->columnCount(), 4);
    QCOMPARE(grid_->model()->rowCount(), 36);
    QCOMPARE(grid_->model()->headerData(2, Qt::Horizontal).toString(), "BO Name");
    QCOMPARE(grid_->model()->index(0, 0).data().toString(), "1");

    QAbstractItemModelTester tester(grid_->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    combo->setCurrentIndex(1);
    QCOMPARE(w_->windowTitle(), QString::fromStdString(WindowCaption(" : List of ISINs")));
    QCOMPARE(Find<QLabel>(w_.get(), "lblSelect")->text(), "Select ISIN :");
    QCOMPARE(Caption(Button("btnUpdateList")), "Receive");
    QCOMPARE(Button("btnUpdateList")->toolTip(), "Get the latest list of ISINs from MGX.");
    QCOMPARE(grid_->model()->columnCount(), 5);
    QCOMPARE(grid_->model()->headerData(4, Qt::Horizontal).toString(), "Scrip Code");
    QCOMPARE(shell_->Context().listKind, std::string("ISIN"));
  }

  void theEditorSitsOverTheCellAndCompletesBOIDs() {
    ClickCell(2, 1);
    QTest::keyClick(grid_, Qt::Key_Return);
    QVERIFY(editor_->isVisible());
    QCOMPARE(editor_->geometry(), CellRect(2, 1));
    QCOMPARE(editor_->selectedText(), Cell(2, 1));
    QTest::keyClicks(editor_, "777");
    QTest::keyClick(editor_, Qt::Key_Return);
    QVERIFY(!editor_->isVisible());
    QCOMPARE(Cell(2, 1), "1204510000000777");
    QVERIFY(grid_->hasFocus());

    // Too long: the message, and the edit goes on with the text.
    QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, CellRect(2, 2).center());
    QVERIFY(editor_->isVisible());
    QCOMPARE(editor_->geometry(), CellRect(2, 2));
    QTest::keyClick(editor_, Qt::Key_Escape);
    QVERIFY(!editor_->isVisible());
    QVERIFY2(w_->isVisible(), "Esc ends the edit, not the window");
    ClickCell(3, 1);
    QTest::keyClick(grid_, Qt::Key_Return);
    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClicks(editor_, "12345678901234567");
    QTest::keyClick(editor_, Qt::Key_Return);
    QCOMPARE(seen, QStringList{"Quorvin|BOID length can not be greater than 16."});
    QVERIFY(editor_->isVisible());
    QCOMPARE(editor_->text(), "12345678901234567");

    // Moving the focus elsewhere drops the edit without writing.
    const QString before = Cell(3, 1);
    Reactivate();
    Find<QLineEdit>(w_.get(), "txtItem")->setFocus();
    QTRY_VERIFY(!editor_->isVisible());
    QCOMPARE(Cell(3, 1), before);
  }

  void endingAnEditLeavesTheCurrentCellWhereItWas() {
    Reactivate();
    ClickCell(4, 2);
    QTest::keyClick(grid_, Qt::Key_Return);
    QVERIFY(editor_->hasFocus());
    QTest::keyClick(editor_, Qt::Key_Escape);
    QVERIFY(!editor_->isVisible());
    QCOMPARE(w_->List().Row(), 4);
    QCOMPARE(w_->List().Col(), 2);
    QCOMPARE(grid_->currentIndex(), grid_->model()->index(3, 2));
    QVERIFY(grid_->hasFocus());
  }

  void insertAndDeleteFollowTheControlTheyAreReleasedOn() {
    grid_->setFocus();
    QTest::keyClick(grid_, Qt::Key_Insert);
    QCOMPARE(w_->List().Rows(), 38);
    QVERIFY(editor_->isVisible());
    QCOMPARE(editor_->geometry(), CellRect(37, 1));
    QTest::keyClick(editor_, Qt::Key_Escape);

    auto* item = Find<QLineEdit>(w_.get(), "txtItem");
    item->setFocus();
    QTest::keyClick(item, Qt::Key_Insert);
    QCOMPARE(w_->List().Rows(), 39);
    QTest::keyClick(editor_, Qt::Key_Escape);
    item->setFocus();
    QTest::keyClick(item, Qt::Key_Delete);  // no question from the search box
    QCOMPARE(w_->List().Rows(), 39);

    QStringList seen;
    test::AnswerNextBox(QMessageBox::Yes, &seen);
    Button("btnClose")->setFocus();
    QTest::keyClick(Button("btnClose"), Qt::Key_Delete);
    QCOMPARE(seen,
             QStringList{"Delete Confirmation|Are you sure to delete the selected record(s)?"});
    QCOMPARE(w_->List().Rows(), 38);
    QVERIFY(w_->isVisible());

    Click(Button("btnAdd"));
    QCOMPARE(w_->List().Rows(), 39);
    QVERIFY(editor_->isVisible());
  }

  void searchFindsTheRowAndSaysSoWhenItCannot() {
    auto* item = Find<QLineEdit>(w_.get(), "txtItem");
    const std::string wanted = w_->List().Text(20, 2);
    item->setFocus();
    QTest::keyClicks(item, QString::fromStdString(wanted));
    QTest::keyClick(item, Qt::Key_Return);
    QCOMPARE(w_->List().Row(), 20);
    QCOMPARE(w_->List().ColSel(), 2);
    QVERIFY(grid_->selectionModel()->isSelected(grid_->model()->index(19, 2)));
    QVERIFY(item->hasFocus());
    QCOMPARE(item->selectedText(), QString::fromStdString(wanted));

    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    QTest::keyClicks(item, "no such holder");
    QTest::keyClick(item, Qt::Key_Return);
    QCOMPARE(seen, QStringList{"BO Not Found.|There is no such BO in the list."});
    QVERIFY2(w_->isVisible(), "Enter in the search box must not close the window");
  }

  void theBackupPanelTakesTheWindowOverUntilLoadOrCancel() {
    install_->Data().Write("2026-12-01_08-00-00_BO.txt",
                           "S/N~BO ID~BO Name~Client Code\r\n1~1204510000000001~Backed up~C1");
    auto* panel = Find<QGroupBox>(w_.get(), "frameBackup");
    auto* list = Find<QListWidget>(w_.get(), "lstBackups");
    Click(Button("btnLoadBackup"));
    QVERIFY(panel->isVisible());
    QCOMPARE(Find<QLabel>(w_.get(), "lblTitle_Backup")->text(), "List of BOs");
    QCOMPARE(list->toolTip(), "List of backups");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), "2026-12-01_08-00-00");
    QCOMPARE(list->currentRow(), 1);
    for (const char* name : {"btnSave", "btnClose", "btnUpdateList", "btnAdd"})
      QVERIFY2(!Button(name)->isEnabled(), name);
    QVERIFY(!grid_->isEnabled());
    QVERIFY(!Find<QComboBox>(w_.get(), "cmbListOf")->isEnabled());
    QVERIFY(Button("btnLoad_Backup")->isEnabled());

    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    Click(Button("btnDelete_Backup"));
    QCOMPARE(seen, QStringList{"Deletion Failed|This is currently the main file. You cannot "
                               "delete this."});

    Reactivate();
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    QVERIFY(!panel->isVisible());
    QVERIFY(Button("btnSave")->isEnabled());
    QVERIFY(grid_->isEnabled());
    QCOMPARE(Cell(1, 2), "Backed up");

    Click(Button("btnLoadBackup"));
    Click(Button("btnCancel_Backup"));
    QVERIFY(!panel->isVisible());
    QVERIFY(Button("btnClose")->isEnabled());
  }

  void saveWritesTheMainFileAndCloseDropsUnsavedEdits() {
    w_->List().SetText(1, 2, "Saved Name");
    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    Click(Button("btnSave"));
    QCOMPARE(seen, QStringList{"Saved.|Saved successfully."});
    QVERIFY(install_->Data().Read("BO.txt").find("~Saved Name~") != std::string::npos);

    w_->List().SetText(1, 2, "Never Saved");
    QTest::keyClick(w_.get(), Qt::Key_Escape);
    QVERIFY(w_->isVisible());
    Click(Button("btnClose"));
    QVERIFY(!w_->isVisible());
    QVERIFY(install_->Data().Read("BO.txt").find("Never Saved") == std::string::npos);
  }
};

QTEST_MAIN(ListWindowTest)
#include "list_window_test.moc"
