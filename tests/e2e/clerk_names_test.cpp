// Every operation that takes a file or folder name, in the real windows, with
// the real FTP client against the emulator, for data and program folders whose
// names hold letters outside ASCII and blanks: names are the system's (UTF-8),
// while the files' contents stay the clerk's 8-bit text.
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "e2e_support.h"
#include "exchange_emulator.h"
#include "ground/grid_text.h"
#include "gui/list_window.h"
#include "gui/qt_text.h"
#include "gui/text_viewer.h"
#include "gui_support.h"
#include "modal_script.h"
#include "support/temp_folder.h"

using namespace quorvin;
using namespace quorvin::gui;
using quorvin::test::Find;
using quorvin::test::ReadFile;
using Button = QMessageBox::StandardButton;
namespace fs = std::filesystem;

class ClerkNamesTest : public QObject {
  Q_OBJECT

  test::TempFolder root_;
  std::unique_ptr<test::ExchangeEmulator> exchange_;
  std::unique_ptr<test::ModalScript> modals_;
  MainWindow* w_ = nullptr;

  void Click(QWidget* b) { QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center()); }
  void Click(const char* name) { Click(w_->Button(name)->Widget()); }
  TextViewer* Viewer(const QString& title) {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* v = qobject_cast<TextViewer*>(top);
          v && v->isVisible() && v->windowTitle() == title)
        return v;
    return nullptr;
  }
  void ExpectNoProblems() {
    const QStringList problems = modals_->TakeProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
  }

 private slots:
  void initTestCase() {
    exchange_ = std::make_unique<test::ExchangeEmulator>();
    std::ofstream(platform::PathOf(exchange_->Entry() + "ISIN.txt"), std::ios::binary)
        << ReadFile(std::string(QUORVIN_DEMO_DATA) + "/ISIN.txt").toStdString();
    modals_ = std::make_unique<test::ModalScript>();
  }
  void cleanupTestCase() {
    modals_.reset();
    exchange_.reset();
  }

  void everyPathTakingOperation_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("tradeFileSuffix");
    QTest::newRow("accents and euro") << QString("Händler €") << QString();
    QTest::newRow("Bengali") << QString("দৈনিক হিসাব") << QString("_ü");
    QTest::newRow("blanks, ø and é") << QString("prøg dir/données é") << QString();
  }

  void everyPathTakingOperation() {
    QFETCH(QString, folder);
    QFETCH(QString, tradeFileSuffix);
    // The program folder and the data folder, both under the named folder.
    const std::string base = root_.Path() + SPath(folder) + "/";
    const std::string program = base + "prog dir/", data = base + SPath("Daten ü") + "/";
    fs::create_directories(platform::PathOf(program));
    fs::create_directories(platform::PathOf(data));
    for (const char* f : {"BO.txt", "ISIN.txt", "11DPA6UX.TXT"})
      fs::copy_file(std::string(QUORVIN_DEMO_DATA) + "/" + f, platform::PathOf(data + f));
    const std::string payout = data + SPath("payout_10-Dec-2026" + tradeFileSuffix + ".txt");
    const std::string payin = data + SPath("payin_10-Dec-2026" + tradeFileSuffix + ".txt");
    fs::copy_file(std::string(QUORVIN_DEMO_DATA) + "/payout_10-Dec-2026.txt", platform::PathOf(payout));
    fs::copy_file(std::string(QUORVIN_DEMO_DATA) + "/payin_10-Dec-2026.txt", platform::PathOf(payin));
    std::ofstream(platform::PathOf(program + "Quorvin.ini"), std::ios::binary)
        << "Broker ID : 204513\r\nClearing BOID : 1204510000067342\r\nDefault BOID Format : "
           "1204510000000000\r\nBackup Location : "
        << data;

    AppShell shell(program);
    QVERIFY(shell.Start());
    w_ = shell.Main();
    w_->Controller().endpoint = exchange_->Endpoint();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    Find<QDateEdit>(w_, "dtpPayInOrPayOut")->setDate(QDate(2026, 12, 10));
    Find<QRadioButton>(w_, "optPayOut")->click();

    // Load Payout through the file dialog.
    modals_->File(QPath(payout));
    Click("btnLoadFromBTFile");
    QTRY_VERIFY(w_->Entries().Rows() > 2);
    Click("btnAutoFields");
    modals_->Box(Button::Yes);
    Click("btnSummarize");

    // Report and its viewer, from the program folder.
    Click("btnReport");
    TextViewer* report = Viewer("PAY-OUT INSTRUCTIONS");
    QVERIFY(report);
    QCOMPARE(report->Text(), ReadFile(program + "PAY-OUT INSTRUCTIONS").replace("\r\n", "\n"));
    report->close();

    // Save, Reload, Send, and Send again with the already-sent viewer.
    const std::string day = data + "10-Dec-2026_PO_204513.txt";
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click("btnSave");
    const QString rows = ReadFile(day);
    QVERIFY(rows.startsWith("S/N~Broker ID"));
    modals_->Box(Button::Yes);
    Click("btnReload");
    QCOMPARE(QString::fromLatin1(QByteArray::fromStdString(GridToText(w_->Entries()))), rows);
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click("btnSend");
    QCOMPARE(ReadFile(exchange_->Entry() + "10-Dec-2026/10-Dec-2026_PO_204513.txt"), rows);
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click("btnSend");
    TextViewer* sent = Viewer("10-Dec-2026_PO_204513.txt");
    QVERIFY(sent);
    QCOMPARE(sent->Text(), QString(rows).replace("\r\n", "\n"));
    sent->close();
    fs::remove_all(platform::PathOf(exchange_->Entry() + "10-Dec-2026"));
    ExpectNoProblems();

    // Check: the holding report from the named folder.
    modals_->Box(Button::Yes);
    Find<QRadioButton>(w_, "optPayIn")->click();
    modals_->File(QPath(payin));
    Click("btnLoadFromBTFile");
    QTRY_VERIFY(w_->Entries().Rows() > 2);
    modals_->File(QPath(data + "11DPA6UX.TXT"));
    modals_->Holding();
    Click("btnCheck");
    QVERIFY(modals_->TakeSeen().filter("Holding|").size() == 1);
    ExpectNoProblems();

    // The list window: Save, a backup, Send and Receive.
    modals_->Window("frmList", [this, data](QWidget* window) {
      auto* list = qobject_cast<ListWindow*>(window);
      list->Controller().endpoint = exchange_->Endpoint();
      auto button = [list](const char* name) { return list->Button(name)->Widget(); };
      modals_->Box(Button::Ok);
      Click(button("btnSave"));
      modals_->Box(Button::Ok);
      Click(button("btnSaveAsBackup"));
      QCOMPARE(QDir(QPath(data)).entryList({"*_BO.txt"}, QDir::Files).size(), 1);
      modals_->Box(Button::Ok);
      Click(button("btnUpdateList"));
      QCOMPARE(ReadFile(exchange_->Entry() + "BO_204513.txt"), ReadFile(data + "BO.txt"));
      Find<QComboBox>(list, "cmbListOf")->setCurrentIndex(1);
      modals_->Box(Button::Ok);
      Click(button("btnUpdateList"));
      QCOMPARE(QDir(QPath(data)).entryList({"*_ISIN.txt"}, QDir::Files).size(), 1);
      Click(button("btnClose"));
    });
    Click("btnList");
    const QStringList listSeen = modals_->TakeSeen();
    QVERIFY2(listSeen.filter("successfully").size() == 4, qPrintable(listSeen.join("; ")));
    ExpectNoProblems();

    // The settings window: Browse to the named folder, then Save. The folder
    // dialog names it with forward slashes, on Windows too.
    const std::string browsed = SPath(QDir::fromNativeSeparators(QPath(data)));
    modals_->Window("frmSettings", [this, data, browsed](QWidget* window) {
      auto* path = Find<QLineEdit>(window, "txtBackupPath");
      QCOMPARE(path->text(), QPath(data));
      path->clear();
      modals_->File(QPath(data));
      Click(Find<QWidget>(window, "btnSetBackupLocation"));
      QCOMPARE(path->text() + "/", QPath(browsed));  // Save adds the slash
      modals_->Box(Button::Ok);
      Click(Find<QWidget>(window, "btnSave"));
      window->close();
    });
    Click("btnSettings");
    QVERIFY(modals_->TakeSeen().filter("Settings saved successfully.").size() == 1);
    ExpectNoProblems();
    QVERIFY(
        ReadFile(program + "Quorvin.ini")
            .endsWith(QString::fromLatin1(QByteArray::fromStdString("Backup Location : " + browsed))));

    for (const char* work : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt"})
      QVERIFY2(!fs::exists(platform::PathOf(data + work)), work);
    w_->close();  // the rows are the trade file's as loaded: nothing to ask
    QCOMPARE(modals_->TakeSeen(), QStringList{});
    ExpectNoProblems();
  }
};

QTEST_MAIN(ClerkNamesTest)
#include "clerk_names_test.moc"
