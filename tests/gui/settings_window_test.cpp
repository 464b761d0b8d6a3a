// frmSettings through its widgets, and the start-up that opens it.
#include "gui/settings_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include "ground/version.h"
#include "gui_support.h"

using namespace quorvin;
using namespace quorvin::gui;
using quorvin::test::Find;

class SettingsWindowTest : public QObject {
  Q_OBJECT

  static void Click(QWidget* window, const char* name) {
    auto* b = Find<QWidget>(window, name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
  }

 private slots:
  void saveTrimsChecksAndWrites() {
    test::DemoInstall install;
    AppShell shell(install.ProgramFolder());
    QVERIFY(shell.Start());
    SettingsWindow window(shell.Context(), shell.Main());
    window.show();
    QCOMPARE(window.windowTitle(), QString::fromStdString(WindowCaption(" : Settings")));
    QCOMPARE(Find<QWidget>(&window, "btnSetBackupLocation")->toolTip(),
             "Set the Backup Folder Location.");
    auto* broker = Find<QLineEdit>(&window, "txtBrokerID");
    auto* backup = Find<QLineEdit>(&window, "txtBackupPath");
    QCOMPARE(backup->text().toStdString(), install.Data().Path());

    // A five-digit Broker ID is refused and nothing is written.
    std::string before = test::TempFolder::ReadFile(install.ProgramFolder() + "Quorvin.ini");
    broker->setText("20451");
    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    Click(&window, "btnSave");
    QCOMPARE(seen, QStringList{"Wrong Broker ID|Broker ID should be a 6-digit number."});
    QCOMPARE(test::TempFolder::ReadFile(install.ProgramFolder() + "Quorvin.ini"), before);

    // Blanks around the values are trimmed in the boxes and in the file.
    broker->setText("  204514 ");
    QString folder = backup->text();
    folder.chop(1);
    backup->setText(folder);
    seen.clear();
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    Click(&window, "btnSave");
    QCOMPARE(seen, QStringList{"Saved successfully.|Settings saved successfully."});
    QCOMPARE(broker->text(), "204514");
    QCOMPARE(backup->text(), folder);  // shown as typed until the window opens again
    QCOMPARE(shell.Context().settings.BrokerID, "204514");
    QCOMPARE(shell.Context().settings.BackupLocation, install.Data().Path());
    QVERIFY(test::TempFolder::ReadFile(install.ProgramFolder() + "Quorvin.ini")
                .starts_with("Broker ID : 204514\r\n"));

    Click(&window, "btnCancel");
    QVERIFY(!window.isVisible());
  }

  void startUpWithAWrongValueEndsWhenTheWindowIsClosed() {
    test::DemoInstall install;
    test::TempFolder::WriteFile(install.ProgramFolder() + "Quorvin.ini",
                                "Broker ID : 2045\r\nClearing BOID : 1204510000067342\r\nDefault "
                                "BOID Format : 1204510000000000\r\nBackup Location : " +
                                    install.Data().Path());
    AppShell shell(install.ProgramFolder());
    QStringList seen;
    test::AnswerNextBox(QMessageBox::Ok, &seen);
    // The settings window opens next: close it without saving.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal && modal->objectName() == "frmSettings") {
        closer.stop();
        test::AnswerNextBox(QMessageBox::Ok, &seen);
        Click(modal, "btnCancel");
      }
    });
    closer.start(20);
    QVERIFY(!shell.Start());
    QCOMPARE(seen, (QStringList{"Wrong Broker ID|Broker ID should be a 6-digit number.",
                                "Wrong Broker ID|Broker ID should be a 6-digit number."}));
    QVERIFY(!shell.Main());
  }
};

QTEST_MAIN(SettingsWindowTest)
#include "settings_window_test.moc"
