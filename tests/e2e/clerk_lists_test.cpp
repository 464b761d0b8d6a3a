// The day's trades name a client and a scrip the lists do not know: the clerk
// adds the client to the BO list in the list window, saves it, backs it up and
// sends it to the exchange, receives the exchange's new ISIN list, and back in
// the main window Auto-Fill completes every row. The real program on a copy of
// the demo data, an exchange emulator on loopback, driven through the widgets.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "day/entry_grid.h"
#include "e2e_support.h"
#include "exchange_emulator.h"
#include "ground/version.h"
#include "gui/list_window.h"
#include "gui_support.h"
#include "modal_script.h"

using namespace quorvin;
using namespace quorvin::gui;
using quorvin::test::CellText;
using quorvin::test::Find;
using quorvin::test::ReadFile;
using Button = QMessageBox::StandardButton;

namespace {

void Click(QWidget* button) {
  QVERIFY(button && button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

const char* const kNewListing = "29~MG1999NEWL07~New Listing Company Ltd.~NEWLISTCO~11999";

}  // namespace

class ClerkListsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::DemoInstall> install_;
  std::unique_ptr<test::ExchangeEmulator> exchange_;
  std::unique_ptr<AppShell> shell_;
  std::unique_ptr<test::ModalScript> modals_;
  MainWindow* w_ = nullptr;
  QString publishedISINs_;

  const Grid& G() { return w_->Entries(); }
  std::string Data(const QString& name) const { return install_->Data().File(name.toStdString()); }
  QStringList DataFiles(const QString& pattern) const {
    return QDir(QString::fromStdString(install_->Data().Path()))
        .entryList({pattern}, QDir::Files, QDir::Name);
  }
  void ExpectSeen(const QStringList& expected) {
    QCOMPARE(modals_->TakeSeen(), expected);
    const QStringList problems = modals_->TakeProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
  }
  void ExpectNoWorkFiles() {
    for (const char* name : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt", "BO_204513.txt"})
      QVERIFY2(!install_->Data().Exists(name), name);
  }
  // The in-cell editor of the list window over (row, col): type, Enter.
  static void EditCell(ListWindow* list, int row, int col, const QString& text) {
    auto* grid = Find<QTableView>(list, "flxList");
    auto* editor = Find<QLineEdit>(list, "txtEditor");
    if (!editor->isVisible()) {
      QModelIndex index = grid->model()->index(row - 1, col);
      grid->scrollTo(index);
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
      QTest::keyClick(grid, Qt::Key_Return);
    }
    QVERIFY(editor->isVisible());
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!editor->isVisible());
  }

  // Everything the clerk does in the list window, while it is open.
  void WorkTheLists(ListWindow* list) {
    ExpectSeen({"Window|frmList|" + QString::fromStdString(WindowCaption(" : List of BOs"))});
    list->Controller().endpoint = exchange_->Endpoint();
    auto button = [list](const char* name) { return list->Button(name)->Widget(); };
    const Grid& bo = list->List();
    QCOMPARE(bo.Rows(), 37);

    // Add: a new row with the editor open on its BO ID, completed from the BOID template.
    Click(button("btnAdd"));
    QCOMPARE(bo.Rows(), 38);
    EditCell(list, 37, 1, "99999");
    EditCell(list, 37, 2, "Nasima Akter");
    EditCell(list, 37, 3, "C9999");
    QCOMPARE(CellText(bo, 37, 0), "37");
    QCOMPARE(CellText(bo, 37, 1), "1204510000099999");

    modals_->Box(Button::Ok);
    Click(button("btnSave"));
    ExpectSeen({"Information|Saved.|Saved successfully."});
    const QString saved = ReadFile(Data("BO.txt"));
    QVERIFY(saved.endsWith("\r\n37~1204510000099999~Nasima Akter~C9999"));

    modals_->Box(Button::Ok);
    Click(button("btnSaveAsBackup"));
    ExpectSeen({"Information|Backup succeeded.|Backup taken successfully."});
    const QStringList backups = DataFiles("*_BO.txt");
    QCOMPARE(backups.size(), 1);
    QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_BO\\.txt$")
                 .match(backups[0])
                 .hasMatch(),
             qPrintable(backups[0]));
    QCOMPARE(ReadFile(Data(backups[0])), saved);

    // Send: the broker's BO list goes to the exchange.
    QCOMPARE(list->Button("btnUpdateList")->Caption(), "Send");
    modals_->Box(Button::Ok);
    Click(button("btnUpdateList"));
    ExpectSeen({"Information|Send succeeded|List of BOs sent to MGX successfully."});
    QCOMPARE(ReadFile(exchange_->Entry() + "BO_204513.txt"), saved);
    ExpectNoWorkFiles();

    // Receive: the exchange's ISIN list replaces ours, the old one kept as a backup.
    const QString ourISINs = ReadFile(Data("ISIN.txt"));
    Find<QComboBox>(list, "cmbListOf")->setCurrentIndex(1);
    QCOMPARE(list->windowTitle(), QString::fromStdString(WindowCaption(" : List of ISINs")));
    QCOMPARE(list->Button("btnUpdateList")->Caption(), "Receive");
    modals_->Box(Button::Ok);
    Click(button("btnUpdateList"));
    ExpectSeen({"Information|Recieve succeeded|List of ISINs received from MGX successfully."});
    QCOMPARE(ReadFile(Data("ISIN.txt")), publishedISINs_);
    QCOMPARE(CellText(list->List(), 29, 3), "NEWLISTCO");
    const QStringList isinBackups = DataFiles("*_ISIN.txt");
    QCOMPARE(isinBackups.size(), 1);
    QCOMPARE(ReadFile(Data(isinBackups[0])), ourISINs);
    ExpectNoWorkFiles();

    // Saved, the list is the one the main window looks names up in.
    modals_->Box(Button::Ok);
    Click(button("btnSave"));
    ExpectSeen({"Information|Saved.|Saved successfully."});
    QCOMPARE(ReadFile(Data("ISIN.txt")), publishedISINs_);

    Click(button("btnClose"));
  }

 private slots:
  void initTestCase() {
    install_ = std::make_unique<test::DemoInstall>();
    try {
      exchange_ = std::make_unique<test::ExchangeEmulator>();
    } catch (const std::exception& e) {
      QFAIL(e.what());
    }
    // The exchange publishes its ISIN list with the new listing in it.
    publishedISINs_ = ReadFile(std::string(QUORVIN_DEMO_DATA) + "/ISIN.txt") + "\r\n" + kNewListing;
    std::ofstream(exchange_->Entry() + "ISIN.txt", std::ios::binary)
        << publishedISINs_.toStdString();
    shell_ = std::make_unique<AppShell>(install_->ProgramFolder());
    QVERIFY(shell_->Start());
    w_ = shell_->Main();
    QVERIFY(QTest::qWaitForWindowExposed(w_));
    w_->activateWindow();
    modals_ = std::make_unique<test::ModalScript>();
  }

  void cleanupTestCase() {
    modals_.reset();
    shell_.reset();
    exchange_.reset();
    install_.reset();
  }

  void theTradesNameAClientAndAScripTheListsDoNotKnow() {
    modals_->File(QString::fromStdString(Data("payin_10-Dec-2026.txt")));
    Click(w_->Button("btnLoadFromBTFile")->Widget());
    ExpectSeen({"File|Choose Text FIle"});
    Click(w_->Button("btnAutoFields")->Widget());
    ExpectSeen({});
    QCOMPARE(CellText(G(), 1, col::kClientCode), "C9999");
    QCOMPARE(CellText(G(), 1, col::kBOID), "");
    int newListing = 0;
    for (int r = 1; r < G().Rows(); ++r)
      if (CellText(G(), r, col::kScripID) == "NEWLISTCO") {
        QCOMPARE(CellText(G(), r, col::kISINCode), "");
        ++newListing;
      }
    QCOMPARE(newListing, 1);
  }

  void theClerkMendsTheListsInTheListWindow() {
    modals_->Window("frmList", [this](QWidget* window) {
      auto* list = qobject_cast<ListWindow*>(window);
      QVERIFY(list);
      WorkTheLists(list);
    });
    Click(w_->Button("btnList")->Widget());
    ExpectSeen({});
    QVERIFY(!QApplication::activeModalWidget());
  }

  void autoFillNowCompletesEveryRowFromTheNewLists() {
    Click(w_->Button("btnAutoFields")->Widget());
    ExpectSeen({});
    bool client = false, scrip = false;
    for (int r = 1; r < G().Rows(); ++r) {
      QVERIFY(!CellText(G(), r, col::kBOID).isEmpty());
      QVERIFY(!CellText(G(), r, col::kISINCode).isEmpty());
      if (CellText(G(), r, col::kClientCode) == "C9999") {
        QCOMPARE(CellText(G(), r, col::kBOID), "1204510000099999");
        QCOMPARE(CellText(G(), r, col::kBOName), "Nasima Akter");
        client = true;
      }
      if (CellText(G(), r, col::kScripID) == "NEWLISTCO") {
        QCOMPARE(CellText(G(), r, col::kISINCode), "MG1999NEWL07");
        QCOMPARE(CellText(G(), r, col::kISINName), "New Listing Company Ltd.");
        scrip = true;
      }
    }
    QVERIFY(client && scrip);
  }
};

QTEST_MAIN(ClerkListsTest)
#include "clerk_lists_test.moc"
