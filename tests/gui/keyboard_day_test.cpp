// A demo day in the real main window with the keyboard alone: Tab and
// Shift+Tab to move, Space on a button, Enter and Esc in boxes and windows
// (the one path typed into the file dialog aside).
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

#include "day/entry_grid.h"
#include "gui/settings_window.h"
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
      QTimer::singleShot(0, modal, [drive, modal] { drive(modal); });
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
    QStringList order{FocusName()};
    for (int i = 0; i < 19; ++i) {
      Key(Qt::Key_Tab);
      // Tab first walks the date's day, month and year, as Qt's date box does.
      if (FocusName() != order.last()) order << FocusName();
    }
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
};

QTEST_MAIN(KeyboardDayTest)
#include "keyboard_day_test.moc"
