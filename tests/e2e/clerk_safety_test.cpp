// What a clerk must never lose, in the real windows: a second clerk's save of
// the same day, the rows of a program that died, and the window itself to a
// trade file of broken lines.
#include <QDateEdit>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "e2e_support.h"
#include "ground/grid_text.h"
#include "gui_support.h"
#include "modal_script.h"

using namespace quorvin;
using namespace quorvin::gui;
using quorvin::test::Find;
using quorvin::test::ReadFile;
using Button = QMessageBox::StandardButton;

class ClerkSafetyTest : public QObject {
  Q_OBJECT

  std::unique_ptr<test::ModalScript> modals_;

  static void Click(MainWindow* w, const char* name) {
    QWidget* b = w->Button(name)->Widget();
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
  }
  static std::unique_ptr<AppShell> Start(const test::DemoInstall& install) {
    auto shell = std::make_unique<AppShell>(install.ProgramFolder());
    if (!shell->Start()) return nullptr;
    Find<QDateEdit>(shell->Main(), "dtpPayInOrPayOut")->setDate(QDate(2026, 12, 10));
    return shell;
  }

 private slots:
  void init() { modals_ = std::make_unique<test::ModalScript>(); }
  void cleanup() { modals_.reset(); }

  // Clerks A and B on one data folder: B's save after A's asks, and No keeps A's rows.
  void aSecondClerksSaveAsksBeforeReplacing() {
    test::DemoInstall install;
    auto a = Start(install), b = Start(install);
    QVERIFY(a && b);
    const std::string day = install.Data().File("10-Dec-2026_PI_204513.txt");
    a->Main()->Entries().SetText(1, 5, "C1001");
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click(a->Main(), "btnSave");
    modals_->Box(Button::Yes);
    Click(b->Main(), "btnReload");
    a->Main()->Entries().SetText(1, 5, "C1002");
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click(a->Main(), "btnSave");
    const QString saveA = ReadFile(day);
    b->Main()->Entries().SetText(1, 5, "C1004");
    modals_->Box(Button::Yes);
    modals_->Box(Button::No);
    Click(b->Main(), "btnSave");
    const QStringList seen = modals_->TakeSeen();
    QVERIFY2(seen.size() == 7 && seen[6].startsWith("Question|File Changed|") &&
                 seen[6].contains("perhaps by another clerk"),
             qPrintable(seen.join("; ")));
    QCOMPARE(ReadFile(day), saveA);
    QVERIFY(modals_->TakeProblems().isEmpty());
    b->Main()->EndSession();  // B's rows stay unsaved: ending keeps them aside, asks nothing
    a->Main()->EndSession();
    QVERIFY(modals_->TakeSeen().isEmpty());
  }

  // Rows typed before the program died come back at the next start, and a
  // trade file of broken lines stops at its first line.
  void rowsOfAProgramThatDiedComeBackAndBrokenLinesStopAtOnce() {
    test::DemoInstall install;
    {
      auto first = Start(install);
      first->Main()->Entries().SetText(1, 5, "C1001");
      first->Main()->Controller().KeepRecoveryCopy();  // what the timer does every few seconds
      first->Main()->EndSession();                     // killed: nothing asked, nothing saved
    }
    QVERIFY(install.Data().Exists(".10-Dec-2026_PI_204513.txt.unsaved"));
    modals_->Box(Button::Yes);
    auto next = Start(install);
    QVERIFY(modals_->TakeSeen().filter("Unsaved Rows Found").size() == 1);
    QCOMPARE(QString::fromStdString(next->Main()->Entries().Text(1, 5)), "C1001");

    std::ofstream broken(install.Data().File("payin_11-Dec-2026.txt"), std::ios::binary);
    for (int i = 0; i < 200000; ++i) broken << "x|\r\n";
    broken.close();
    modals_->File(QString::fromStdString(install.Data().File("payin_11-Dec-2026.txt")));
    modals_->Box(Button::Ok);  // refused before loading would ask about the unsaved rows
    Click(next->Main(), "btnLoadFromBTFile");
    const QStringList seen = modals_->TakeSeen();
    // No line of it holds a trade's fields: refused at once, the rows kept.
    QVERIFY2(seen.filter("is not a trade file").size() == 1,
             qPrintable(seen.join("; ")));
    QCOMPARE(next->Main()->Entries().Rows(), 2);
    QVERIFY(modals_->TakeProblems().isEmpty());
    next->Main()->EndSession();
  }
};

QTEST_MAIN(ClerkSafetyTest)
#include "clerk_safety_test.moc"
