// A demo day in the real main window with the keyboard alone: Tab and
// Shift+Tab to move, Space on a button, Enter and Esc in boxes and windows
// (the one path typed into the file dialog aside).
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

#include "day/entry_grid.h"
#include "glimmet.h"
#include "ground/grid_text.h"
#include "gui_support.h"

using namespace quorvin;
using namespace quorvin::gui;

class KeyboardDayTest : public QObject {
  Q_OBJECT

  std::unique_ptr<test::DemoInstall> install_;
  std::unique_ptr<AppShell> shell_;
  MainWindow* w_ = nullptr;
  QTimer modals_;
  QPointer<QWidget> answered_;
  QStringList seen_;                        // "title" of every box, in turn
  QList<Qt::Key> answers_;                  // the key for the next box; Enter when none is queued
  std::function<void(QWidget*)> onWindow_;  // the next modal window that is no box

  static QWidget* Focus() { return QApplication::focusWidget(); }
  static QString FocusName() { return Focus() ? Focus()->objectName() : QString("<none>"); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
    QVERIFY2(Focus(), "nothing has the focus");
    QTest::keyClick(Focus(), key, mods);
  }
  // Tab until `name` has the focus, as the clerk would.
  void TabTo(const char* name) {
    for (int i = 0; i < 40 && FocusName() != name; ++i) Key(Qt::Key_Tab);
    QCOMPARE(FocusName(), QString(name));
  }
  // Tab pressed `tabs` times: the controls it visits in turn. A button shows
  // that it has the focus, so it must look otherwise once Tab has left it;
  // one that does not goes into `unmarked`.
  static QStringList TabRound(int tabs, QStringList* unmarked) {
    QStringList order{FocusName()};
    for (int i = 0; i < tabs; ++i) {
      auto* button = qobject_cast<Glimmet*>(Focus());
      const QImage focused = button ? button->grab().toImage() : QImage();
      Key(Qt::Key_Tab);
      if (button && button->grab().toImage() == focused) *unmarked << button->objectName();
      // Tab first walks the date's day, month and year, as Qt's date box does.
      if (FocusName() != order.last()) order << FocusName();
    }
    return order;
  }
  // Space on the focused button, the boxes and windows it opens answered in turn.
  void Press(const char* button) {
    TabTo(button);
    seen_.clear();
    Key(Qt::Key_Space);
  }
  const Grid& G() const { return w_->Entries(); }
  std::string Data(const char* name) const { return install_->Data().File(name); }
  // A closed modal window leaves the focus where it was; the offscreen
  // platform needs the main window activated again for that.
  void BackToWindow(const char* focus) {
    w_->activateWindow();
    QTRY_COMPARE(FocusName(), QString(focus));
  }
  // Answers each modal window once it is up, from its own event loop.
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == answered_ || !Focus() || Focus()->window() != modal) return;
    answered_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen_ << box->windowTitle();
      const Qt::Key key = answers_.isEmpty() ? Qt::Key_Return : answers_.takeFirst();
      QTimer::singleShot(0, box, [key] { Key(key); });
    } else if (onWindow_) {
      auto drive = std::exchange(onWindow_, nullptr);
      QTimer::singleShot(0, modal, [drive, modal] {
        drive(modal);
        if (!modal->isVisible()) return;
        modal->close();  // a failed step must not hang the test
        QFAIL(qPrintable(modal->objectName() + " was left open"));
      });
    }
  }

 private slots:
  void initTestCase() {
    install_ = std::make_unique<test::DemoInstall>();
    shell_ = std::make_unique<AppShell>(install_->ProgramFolder());
    QVERIFY(shell_->Start());
    w_ = shell_->Main();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    w_->activateWindow();
    w_->SetSettlementDate(Date{2026, 12, 10});  // the demo trade file's day
    QTRY_VERIFY(Focus());
    connect(&modals_, &QTimer::timeout, this, &KeyboardDayTest::Poll);
    modals_.start(20);
  }
  void cleanupTestCase() {
    modals_.stop();
    shell_.reset();
  }

  void tabFollowsTheScreenAndLeavesTheGrid() {
    TabTo("optPayIn");
    QStringList unmarked;
    const QStringList order = TabRound(19, &unmarked);
    QCOMPARE(unmarked.join(" "), QString());
    QCOMPARE(order,
             QStringList({"optPayIn", "dtpPayInOrPayOut", "chkFreeEntry", "txtSearch", "cmbSearch",
                          "btnSearch", "flxEntries", "btnLoadFromBTFile", "btnAutoFields",
                          "btnSummarize", "btnCheck", "btnReport", "btnSave", "btnReload",
                          "btnSend", "btnList", "btnSettings", "btnExit"}));
    for (const char* back : {"btnSettings", "btnList"}) {
      Key(Qt::Key_Backtab);
      QCOMPARE(FocusName(), QString(back));
    }
    TabTo("flxEntries");
    Key(Qt::Key_Backtab);
    QCOMPARE(FocusName(), QString("btnSearch"));
  }

  void loadPayinTakesTheTradeFile() {
    onWindow_ = [this](QWidget* dialog) {
      QVERIFY2(qobject_cast<QFileDialog*>(dialog), qPrintable(dialog->objectName()));
      // The file name box has the focus; the path goes in whole, so that the
      // box's completer cannot take the Enter.
      auto* name = qobject_cast<QLineEdit*>(Focus());
      QVERIFY2(name, qPrintable(FocusName()));
      name->setText(QString::fromStdString(Data("payin_10-Dec-2026.txt")));
      Key(Qt::Key_Return);
    };
    Press("btnLoadFromBTFile");
    QTRY_COMPARE(G().Rows(), 63);  // 62 sells, one row each
    QVERIFY(!onWindow_);
    QCOMPARE(seen_, QStringList());
    BackToWindow("btnLoadFromBTFile");
  }

  // Broker ID takes Enter only in free entry: Space ticks it, Enter opens the
  // editor, Esc drops what was typed and Enter writes it; either way the focus
  // is back in the grid, and Tab leaves it.
  void aCellFilledInFreeEntry() {
    TabTo("chkFreeEntry");
    Key(Qt::Key_Space);
    QVERIFY(w_->FreeEntry());
    TabTo("flxEntries");
    QCOMPARE(G().Row(), 1);
    QCOMPARE(G().Col(), col::kBrokerID);
    QCOMPARE(G().Text(1, col::kBrokerID), "");
    for (auto [typed, end, kept] :
         {std::tuple{"999", Qt::Key_Escape, ""}, std::tuple{"204513", Qt::Key_Return, "204513"}}) {
      Key(Qt::Key_Return);
      QCOMPARE(FocusName(), QString("txtEditor"));
      QTest::keyClicks(Focus(), typed);
      Key(end);
      QCOMPARE(FocusName(), QString("flxEntries"));
      QCOMPARE(G().Text(1, col::kBrokerID), kept);
    }
    Key(Qt::Key_Tab);
    QCOMPARE(FocusName(), QString("btnLoadFromBTFile"));
    TabTo("chkFreeEntry");
    Key(Qt::Key_Space);
    QVERIFY(!w_->FreeEntry());
  }

  void autoFillCompletesTheRows() {
    QCOMPARE(G().Text(2, col::kBrokerID), "");
    Press("btnAutoFields");
    QCOMPARE(seen_, QStringList());
    for (int r = 1; r < G().Rows(); ++r) {
      QCOMPARE(G().Text(r, col::kBrokerID), "204513");
      QCOMPARE(G().Text(r, col::kDeliveryDate), "10-Dec-2026");
    }
  }

  void saveWritesTheDaysFile() {
    Press("btnSave");  // Enter: Yes to the question, then OK
    QCOMPARE(seen_, QStringList({"Save Confirmation", "File Saved."}));
    QCOMPARE(test::TempFolder::ReadFile(Data("10-Dec-2026_PI_204513.txt")), GridToText(G()));
    BackToWindow("btnSave");
  }

  void settingsSaveOnEnterAndCancelOnEsc() {
    const std::string ini = install_->ProgramFolder() + "Quorvin.ini";
    QStringList order, unmarked;
    onWindow_ = [ini, &order, &unmarked](QWidget* settings) {
      QCOMPARE(settings->objectName(), QString("frmSettings"));
      order = TabRound(7, &unmarked);
      std::remove(ini.c_str());  // Save writes it anew
      Key(Qt::Key_Return);       // from the Broker ID box; the box it opens takes Enter too
      QVERIFY(settings->isVisible());
      QVERIFY(test::TempFolder::ReadFile(ini).find("Broker ID : 204513") != std::string::npos);
      settings->activateWindow();
      QTRY_COMPARE(FocusName(), QString("txtBrokerID"));
      Key(Qt::Key_Escape);
    };
    Press("btnSettings");
    QVERIFY(!onWindow_);
    QCOMPARE(order,
             QStringList({"txtBrokerID", "txtClearingBOID", "txtDefaultBOIDFormat", "txtBackupPath",
                          "btnSetBackupLocation", "btnSave", "btnCancel", "txtBrokerID"}));
    QCOMPARE(unmarked.join(" "), QString());
    QCOMPARE(seen_, QStringList({"Saved successfully."}));
    QVERIFY(!QApplication::activeModalWidget());
    BackToWindow("btnSettings");
  }

  // Esc in the list window belongs to its cell editor: Space on Close closes it.
  void theListClosesOnItsCloseButton() {
    QStringList order, unmarked;
    onWindow_ = [&order, &unmarked](QWidget* list) {
      QCOMPARE(list->objectName(), QString("frmList"));
      order = TabRound(12, &unmarked);
      Key(Qt::Key_Escape);
      QVERIFY(list->isVisible());
      for (int i = 0; i < 20 && FocusName() != "btnClose"; ++i) Key(Qt::Key_Tab);
      Key(Qt::Key_Space);
    };
    Press("btnList");
    QVERIFY(!onWindow_);
    QCOMPARE(order.join(" "),
             QString("cmbListOf txtItem flxList btnAdd btnRemove btnSave btnReload "
                     "btnSaveAsBackup btnLoadBackup btnUpdateList btnClose "
                     "cmbListOf txtItem"));
    QCOMPARE(unmarked.join(" "), QString());
    QCOMPARE(seen_, QStringList());
    QVERIFY(!QApplication::activeModalWidget());
    BackToWindow("btnList");
  }
};

QTEST_MAIN(KeyboardDayTest)
#include "keyboard_day_test.moc"
