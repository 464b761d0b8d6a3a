// A clerk's whole day in the real program: the application started on a copy
// of the demo data, driven only through its widgets and its real modal
// windows, sending to an exchange emulator on loopback. The steps run in
// order and build on one another, as the day does.
#include <QDateEdit>
#include <QDir>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <set>

#include "day/entry_grid.h"
#include "e2e_support.h"
#include "exchange_emulator.h"
#include "ground/dates.h"
#include "ground/grid_text.h"
#include "ground/version.h"
#include "gui/text_viewer.h"
#include "gui_support.h"
#include "modal_script.h"

using namespace quorvin;
using namespace quorvin::gui;
using quorvin::test::CellText;
using quorvin::test::Find;
using quorvin::test::ReadFile;
using Button = QMessageBox::StandardButton;

namespace {

const QString kDay = "10-Dec-2026";
const QString kPayInFile = "10-Dec-2026_PI_204513.txt";
const QString kPayOutFile = "10-Dec-2026_PO_204513.txt";

QString Expected(const char* name) {
  return ReadFile(std::string(QUORVIN_E2E_DATA) + "/" + name);
}

QStringList FilesIn(const std::string& folder) {
  return QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name);
}

// The demo holding report as the depository sends it once the clients have
// delivered: the short balance made good and the missing one present.
std::string CoveringHoldingFile(const std::string& folder) {
  const std::string shortLine =
      "1204510017048184 MG1481NORT86  Northern Finance & Investment            1510         0   "
      "1510";
  const std::string madeGood =
      "1204510017048184 MG1481NORT86  Northern Finance & Investment            1600         0   "
      "1600";
  const std::string delivered =
      "1204510021113076 MG1407LOTU49  Lotus Ceramics Limited                   2600         0   "
      "2600";
  std::string text = ReadFile(std::string(QUORVIN_DEMO_DATA) + "/11DPA6UX.TXT").toStdString();
  const size_t at = text.find(shortLine);
  if (at == std::string::npos) return {};
  text.replace(at, shortLine.size(), madeGood + "\r\n" + delivered);
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "11DPA6UX.TXT", std::ios::binary) << text;
  return folder + "11DPA6UX.TXT";
}

}  // namespace

class ClerkDayTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::DemoInstall> install_;
  std::unique_ptr<test::ExchangeEmulator> exchange_;
  std::unique_ptr<AppShell> shell_;
  std::unique_ptr<test::ModalScript> modals_;
  MainWindow* w_ = nullptr;
  QTableView* grid_ = nullptr;
  int payInRowsBeforeSummary_ = 0;

  const Grid& G() { return w_->Entries(); }
  std::string Data(const QString& name) const { return install_->Data().File(name.toStdString()); }
  std::string OnServer(const QString& name) const {
    return exchange_->Entry() + kDay.toStdString() + "/" + name.toStdString();
  }
  QString Caption(const char* kind) const {
    return QString::fromStdString(WindowCaption(std::string(" : ") + kind));
  }

  void Click(const char* button) {
    QWidget* b = w_->Button(button)->Widget();
    QVERIFY2(b->isEnabled(), button);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
  }
  void ClickCell(int gridRow, int col) {
    QModelIndex index = grid_->model()->index(gridRow - 1, col);
    grid_->scrollTo(index);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->visualRect(index).center());
  }
  // The viewer windows open now, by title.
  QMap<QString, TextViewer*> Viewers() {
    QMap<QString, TextViewer*> viewers;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* viewer = qobject_cast<TextViewer*>(top); viewer && viewer->isVisible())
        viewers[viewer->windowTitle()] = viewer;
    return viewers;
  }
  // Every modal window the step expected came, in turn, and nothing else did.
  void ExpectSeen(const QStringList& expected) {
    QCOMPARE(modals_->TakeSeen(), expected);
    const QStringList problems = modals_->TakeProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
  }
  void ExpectWindowAtRest(const char* kind) {
    QCOMPARE(w_->windowTitle(), Caption(kind));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(w_->isEnabled());
  }
  // The transfer's work files hold the exchange's password: none may stay.
  void ExpectNoWorkFiles() {
    for (const char* name : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt"})
      QVERIFY2(!install_->Data().Exists(name), name);
  }
  QString SendConfirmation(const char* kind) {
    return QString(
               "Question|%1 of %2 Send Confirmation|Are you sure to send the entered records "
               "to MGX as %1 file of %2 ?")
        .arg(kind, kDay);
  }

 private slots:
  void initTestCase() {
    install_ = std::make_unique<test::DemoInstall>();
    try {
      exchange_ = std::make_unique<test::ExchangeEmulator>();
    } catch (const std::exception& e) {
      QFAIL(e.what());
    }
    shell_ = std::make_unique<AppShell>(install_->ProgramFolder());
    QVERIFY(shell_->Start());
    w_ = shell_->Main();
    grid_ = Find<QTableView>(w_, "flxEntries");
    QVERIFY(grid_);
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    w_->activateWindow();
    w_->Controller().endpoint = exchange_->Endpoint();
    modals_ = std::make_unique<test::ModalScript>();
  }

  void cleanupTestCase() {
    modals_.reset();
    shell_.reset();
    exchange_.reset();
    install_.reset();
  }

  void theDayStartsWithPayInAndItsDate() {
    ExpectWindowAtRest("Pay In");
    QVERIFY(IsGridEmpty(G()));
    auto* payIn = Find<QRadioButton>(w_, "optPayIn");
    QTest::mouseClick(payIn, Qt::LeftButton, {}, QPoint(8, payIn->height() / 2));
    QVERIFY(payIn->isChecked());
    auto* date = Find<QDateEdit>(w_, "dtpPayInOrPayOut");
    date->setFocus();
    date->setDate(QDate(2026, 12, 10));
    QCOMPARE(date->text(), kDay);
    QCOMPARE(w_->Button("btnLoadFromBTFile")->Caption(), "Load Payin");
    ExpectSeen({});
  }

  void loadPayinImportsTheSellTradesCompletedFromTheLists() {
    modals_->File(QString::fromStdString(Data("payin_10-Dec-2026.txt")));
    Click("btnLoadFromBTFile");
    ExpectSeen({"File|Choose Text FIle"});
    ExpectWindowAtRest("Pay In");

    // 62 sells in the trade file, one row each.
    QCOMPARE(G().Rows(), 63);
    int unknownClient = 0, unknownScrip = 0;
    for (int r = 1; r < G().Rows(); ++r) {
      QCOMPARE(CellText(G(), r, col::kSN), QString::number(r));
      QCOMPARE(CellText(G(), r, col::kTradeDate), "08-Dec-2026");
      if (CellText(G(), r, col::kClientCode) == "C9999") {
        ++unknownClient;
        QCOMPARE(CellText(G(), r, col::kBOID), "");
      } else {
        QCOMPARE(CellText(G(), r, col::kBOID).size(), 16);
      }
      if (CellText(G(), r, col::kScripID) == "NEWLISTCO") {
        ++unknownScrip;
        QCOMPARE(CellText(G(), r, col::kISINCode), "");
      } else {
        QCOMPARE(CellText(G(), r, col::kISINCode).size(), 12);
      }
    }
    QCOMPARE(unknownClient, 1);
    QCOMPARE(unknownScrip, 1);
    // A client and a scrip from the lists, as the lists name them.
    bool found = false;
    for (int r = 1; r < G().Rows(); ++r)
      if (CellText(G(), r, col::kClientCode) == "C1079" &&
          CellText(G(), r, col::kScripID) == "ALPHATEX") {
        QCOMPARE(CellText(G(), r, col::kBOID), "1204510064638765");
        QCOMPARE(CellText(G(), r, col::kBOName), "Tahmina Hossain");
        QCOMPARE(CellText(G(), r, col::kISINCode), "MG1000ALPH13");
        QCOMPARE(CellText(G(), r, col::kISINName), "Alpha Textiles Limited");
        found = true;
      }
    QVERIFY(found);
  }

  void autoFillCompletesTheAutomaticFields() {
    Click("btnAutoFields");
    ExpectSeen({});
    QMap<QString, QString> refOfBO;  // one Internal Ref. No. per BO of the day
    for (int r = 1; r < G().Rows(); ++r) {
      QCOMPARE(CellText(G(), r, col::kBrokerID), "204513");
      QCOMPARE(CellText(G(), r, col::kClearingBOID), "1204510000067342");
      QCOMPARE(CellText(G(), r, col::kDeliveryDate), kDay);
      const QString bo = CellText(G(), r, col::kBOID), ref = CellText(G(), r, col::kInternalRefNo);
      if (bo.isEmpty()) {
        QCOMPARE(ref, "");  // the unknown client gets none
        continue;
      }
      QVERIFY2(ref.startsWith("I204513081226"), qPrintable(ref));
      if (refOfBO.contains(bo)) QCOMPARE(ref, refOfBO[bo]);
      refOfBO[bo] = ref;
    }
    QCOMPARE(QSet<QString>(refOfBO.begin(), refOfBO.end()).size(), refOfBO.size());
    payInRowsBeforeSummary_ = G().Rows() - 1;
  }

  void summarizeMergesTheRowsOfOneAccountAndScrip() {
    auto totals = [this] {
      QMap<QString, long> sum;
      for (int r = 1; r < G().Rows(); ++r)
        sum[CellText(G(), r, col::kClientCode) + "/" + CellText(G(), r, col::kScripID)] +=
            CellText(G(), r, col::kQuantity).toLong();
      return sum;
    };
    const auto before = totals();
    modals_->Box(Button::Yes);
    Click("btnSummarize");
    ExpectSeen(
        {"Question|Confirm Summarize|Are you sure to summarize individual BOs ISIN "
         "quantities?"});
    QCOMPARE(totals(), before);
    QVERIFY(G().Rows() - 1 < payInRowsBeforeSummary_);
    std::set<QString> pairs;
    for (int r = 1; r < G().Rows(); ++r)
      pairs.insert(CellText(G(), r, col::kBOID) + CellText(G(), r, col::kClientCode) + "/" +
                   CellText(G(), r, col::kISINCode) + CellText(G(), r, col::kScripID));
    QCOMPARE(int(pairs.size()), G().Rows() - 1);
  }

  void checkShowsTheShortAndTheMissingHoldings() {
    modals_->File(QString::fromStdString(Data("11DPA6UX.TXT")));
    modals_->Holding();
    Click("btnCheck");
    ExpectSeen({"File|Choose Holding FIle (11DPA6UX.TXT)",
                "Holding|" + Caption("Holding Balance Message.") + "|" +
                    Expected("payin_holding_message.txt")});
    ExpectWindowAtRest("Pay In");
  }

  void reportShowsThePayInInstructions() {
    Click("btnReport");
    ExpectSeen({});
    auto viewers = Viewers();
    QVERIFY(viewers.contains("PAY-IN INSTRUCTIONS"));
    QString expected = Expected("payin_report.txt")
                           .replace("@PRINT_DATE@", QDate::currentDate().toString("dd-MMM-yyyy"));
    QCOMPARE(ReadFile(install_->ProgramFolder() + "PAY-IN INSTRUCTIONS"), expected);
    QCOMPARE(viewers["PAY-IN INSTRUCTIONS"]->Text(), expected.replace("\r\n", "\n"));
    viewers["PAY-IN INSTRUCTIONS"]->close();
  }

  void saveKeepsTheDaysFile() {
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click("btnSave");
    ExpectSeen({"Question|Save Confirmation|Are you sure to save the Pay In file of " + kDay + " ?",
                "Information|File Saved.|Pay In file of " + kDay + " saved successfully."});
    QCOMPARE(ReadFile(Data(kPayInFile)), QString::fromStdString(GridToText(G())));
  }

  void sendRefusesTheClientTheListsDoNotKnow() {
    const QString saved = ReadFile(Data(kPayInFile));
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click("btnSend");
    ExpectSeen(
        {SendConfirmation("Pay In"), "Critical|Missing BO ID|BO ID is not given in row number 1."});
    ExpectWindowAtRest("Pay In");
    QCOMPARE(CellText(G(), 1, col::kClientCode), "C9999");
    QVERIFY(!std::filesystem::exists(exchange_->Entry() + kDay.toStdString()));
    QVERIFY(!install_->Data().Exists("Sent"));
    QCOMPARE(ReadFile(Data(kPayInFile)), saved);
  }

  void theClerkDeletesTheUnknownRowsInTheGridAndFillsAgain() {
    const int rows = G().Rows();
    for (const char* what : {"NEWLISTCO", "C9999"}) {
      int row = -1;
      for (int r = 1; r < G().Rows(); ++r)
        if (CellText(G(), r, col::kScripID) == what || CellText(G(), r, col::kClientCode) == what)
          row = r;
      QVERIFY2(row > 0, what);
      ClickCell(row, col::kQuantity);
      modals_->Box(Button::Yes);
      QTest::keyClick(grid_, Qt::Key_Delete);
      ExpectSeen({"Critical|Delete Confirmation|Are you sure to delete the selected record(s)?"});
    }
    QCOMPARE(G().Rows(), rows - 2);
    for (int r = 1; r < G().Rows(); ++r) {
      QCOMPARE(CellText(G(), r, col::kSN), QString::number(r));
      QVERIFY(!CellText(G(), r, col::kBOID).isEmpty());
      QVERIFY(!CellText(G(), r, col::kISINCode).isEmpty());
    }
    // The unknown client's row took the counter's first number; Auto-Fill numbers afresh.
    QCOMPARE(CellText(G(), 1, col::kInternalRefNo), "I2045130812262");
    Click("btnAutoFields");
    ExpectSeen({});
    QCOMPARE(CellText(G(), 1, col::kInternalRefNo), "I2045130812261");
  }

  void sendStopsAtTheDemoHoldingReport() {
    modals_->Box(Button::Yes);
    modals_->File(QString::fromStdString(Data("11DPA6UX.TXT")));
    modals_->Holding();
    Click("btnSend");
    ExpectSeen({SendConfirmation("Pay In"), "File|Choose Holding FIle (11DPA6UX.TXT)",
                "Holding|" + Caption("Holding Balance Message.") + "|" +
                    Expected("payin_holding_message_known_rows.txt")});
    ExpectWindowAtRest("Pay In");
    QVERIFY(!std::filesystem::exists(exchange_->Entry() + kDay.toStdString()));
    QVERIFY(!install_->Data().Exists("Sent"));
  }

  void sendWithTheNewHoldingReportReachesTheExchange() {
    const std::string holding = CoveringHoldingFile(install_->Data().File("depository/"));
    QVERIFY(!holding.empty());
    modals_->Box(Button::Yes);
    modals_->File(QString::fromStdString(holding));
    modals_->Box(Button::Ok);
    Click("btnSend");
    ExpectSeen({SendConfirmation("Pay In"), "File|Choose Holding FIle (11DPA6UX.TXT)",
                "Information|Send succeeded|Records sent to MGX successfully."});
    ExpectWindowAtRest("Pay In");

    const QString sent = Expected("payin_sent.txt");
    QCOMPARE(QString::fromStdString(GridToText(G())), sent);
    QCOMPARE(ReadFile(OnServer(kPayInFile)), sent);
    QCOMPARE(ReadFile(Data(kPayInFile)), sent);
    const QStringList archive = FilesIn(Data("Sent"));
    QCOMPARE(archive.size(), 1);
    QVERIFY2(QRegularExpression("^10-Dec-2026_PI_204513_\\d\\d-[A-Z][a-z]{2}-\\d\\d_\\d\\d-\\d\\d-"
                                "\\d\\d[AP]M\\.txt$")
                 .match(archive[0])
                 .hasMatch(),
             qPrintable(archive[0]));
    QVERIFY(archive[0].contains(QDate::currentDate().toString("_dd-MMM-yy_")));
    QCOMPARE(ReadFile(Data("Sent/" + archive[0])), sent);
    ExpectNoWorkFiles();
  }

  void sendingTheDayAgainShowsWhatTheExchangeHolds() {
    const std::string holding = install_->Data().File("depository/11DPA6UX.TXT");
    modals_->Box(Button::Yes);
    modals_->File(QString::fromStdString(holding));
    modals_->Box(Button::Ok);
    Click("btnSend");
    ExpectSeen({SendConfirmation("Pay In"), "File|Choose Holding FIle (11DPA6UX.TXT)",
                "Critical|Quorvin|File already sent. Your sent file will be shown now."});
    ExpectWindowAtRest("Pay In");
    auto viewers = Viewers();
    QVERIFY(viewers.contains(kPayInFile));
    QCOMPARE(viewers[kPayInFile]->Text(), Expected("payin_sent.txt").replace("\r\n", "\n"));
    viewers[kPayInFile]->close();
    QCOMPARE(FilesIn(Data("Sent")).size(), 1);  // nothing went, nothing archived
    ExpectNoWorkFiles();
  }

  void payOutReplacesTheRowsAfterAsking() {
    modals_->Box(Button::Yes);
    Find<QRadioButton>(w_, "optPayOut")->click();
    ExpectSeen({"Question|Confirm Loading|Unsaved data will be lost.\nAre you sure to continue?"});
    ExpectWindowAtRest("Pay Out");
    QVERIFY(IsGridEmpty(G()));
    QCOMPARE(w_->Button("btnLoadFromBTFile")->Caption(), "Load Payout");
    QVERIFY(!w_->Button("btnCheck")->Widget()->isEnabled());
    QCOMPARE(Find<QDateEdit>(w_, "dtpPayInOrPayOut")->text(), kDay);
  }

  void thePayOutDayGoesStraightThrough() {
    modals_->File(QString::fromStdString(Data("payout_10-Dec-2026.txt")));
    Click("btnLoadFromBTFile");
    ExpectSeen({"File|Choose Text FIle"});
    QCOMPARE(G().Rows(), 28);  // 27 buys

    Click("btnAutoFields");
    modals_->Box(Button::Yes);
    Click("btnSummarize");
    ExpectSeen(
        {"Question|Confirm Summarize|Are you sure to summarize individual BOs ISIN "
         "quantities?"});

    Click("btnReport");
    auto viewers = Viewers();
    QVERIFY(viewers.contains("PAY-OUT INSTRUCTIONS"));
    QString expected = Expected("payout_report.txt")
                           .replace("@PRINT_DATE@", QDate::currentDate().toString("dd-MMM-yyyy"));
    QCOMPARE(ReadFile(install_->ProgramFolder() + "PAY-OUT INSTRUCTIONS"), expected);
    QCOMPARE(viewers["PAY-OUT INSTRUCTIONS"]->Text(), expected.replace("\r\n", "\n"));
    viewers["PAY-OUT INSTRUCTIONS"]->close();

    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click("btnSave");
    ExpectSeen(
        {"Question|Save Confirmation|Are you sure to save the Pay Out file of " + kDay + " ?",
         "Information|File Saved.|Pay Out file of " + kDay + " saved successfully."});

    // No holding check for a pay-out.
    modals_->Box(Button::Yes);
    modals_->Box(Button::Ok);
    Click("btnSend");
    ExpectSeen({SendConfirmation("Pay Out"),
                "Information|Send succeeded|Records sent to MGX successfully."});
    ExpectWindowAtRest("Pay Out");

    const QString sent = Expected("payout_sent.txt");
    QCOMPARE(ReadFile(OnServer(kPayOutFile)), sent);
    QCOMPARE(ReadFile(Data(kPayOutFile)), sent);
    QCOMPARE(ReadFile(OnServer(kPayInFile)), Expected("payin_sent.txt"));  // untouched
    QCOMPARE(FilesIn(exchange_->Entry() + kDay.toStdString()),
             (QStringList{kPayInFile, kPayOutFile}));
    const QStringList archive = FilesIn(Data("Sent"));
    QCOMPARE(archive.size(), 2);
    QVERIFY2(archive[1].startsWith("10-Dec-2026_PO_204513_"), qPrintable(archive[1]));
    QCOMPARE(ReadFile(Data("Sent/" + archive[1])), sent);
    ExpectNoWorkFiles();
  }

  void exitEndsTheDay() {
    Click("btnReport");
    QVERIFY(!Viewers().isEmpty());
    Click("btnExit");
    QVERIFY(!w_->isVisible());
    QVERIFY(Viewers().isEmpty());  // unloading the main window unloads the others
    ExpectSeen({});
  }
};

QTEST_MAIN(ClerkDayTest)
#include "clerk_day_test.moc"
