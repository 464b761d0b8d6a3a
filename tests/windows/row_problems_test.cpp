// Tests of the problems the main window lists: each kind found and gone again
// as cells are edited, the incremental counts and list (and a view that
// follows the list line by line) equal to a fresh reading, the holding report
// remembered for the day, the search as typed, and the loads that must not
// pass silently.
#include "windows/row_problems.h"

#include <gtest/gtest.h>

#include "support/entry_fixture.h"

namespace quorvin {
namespace {

using test::EntryFixture;
using test::kBoidA;
using test::kBoidB;

// A view's copy of the published list, kept by the changes it is told of only.
class MirrorList : public ProblemListFollower {
 public:
  explicit MirrorList(const RowProblems& problems) : problems_(problems) {}
  std::vector<Problem> lines;

  void ListAboutToReset() override {}
  void ListReset() override {
    lines.clear();
    for (int i = 0; i < problems_.Listed(); ++i) lines.push_back(*problems_.At(i));
  }
  void LinesAboutToChange(const ProblemLinesChange&) override {
    EXPECT_EQ(problems_.Listed(), static_cast<int>(lines.size()));
  }
  void LinesChanged(const ProblemLinesChange& c) override {
    ASSERT_LE(c.line + c.before, static_cast<int>(lines.size()));
    lines.erase(lines.begin() + c.line, lines.begin() + c.line + c.before);
    for (int i = 0; i < c.after; ++i)
      lines.insert(lines.begin() + c.line + i, *problems_.At(c.line + i));
  }

 private:
  const RowProblems& problems_;
};

std::vector<Problem> Lines(RowProblems& problems, ProblemListFollower* follower = nullptr) {
  problems.Publish(follower);
  std::vector<Problem> out;
  for (int i = 0; i < problems.Listed(); ++i) out.push_back(problems.At(i).value());
  return out;
}

class Problems : public EntryFixture {
 protected:
  MirrorList mirror{controller.ListedProblems()};

  // A row the exchange would take as it stands.
  int GoodRow(const std::string& boid, const std::string& client, const std::string& qty) {
    int r = AddEntry("08-Dec-2026", client, boid, "ALPHATEX", "MG1000ALPH31", qty);
    grid.SetText(r, col::kBrokerID, "204513");
    grid.SetText(r, col::kClearingBOID, "1204510000067342");
    grid.SetText(r, col::kDeliveryDate, "10-Dec-2026");
    grid.SetText(r, col::kBOName, "Name");
    grid.SetText(r, col::kISINName, "Alpha Textiles Limited");
    grid.SetText(r, col::kInternalRefNo, "I2045130812261");
    return r;
  }
  std::vector<Problem> List() { return Lines(controller.Problems(), &mirror); }
  // The counts and the list kept edit by edit equal those of a reading of
  // every row, and so does the view's copy moved line by line.
  void ExpectSameAsFreshReading(const std::string& report = "") {
    RowProblems fresh(app, grid);
    fresh.SetSettlementDate(view.settlement);
    if (!report.empty())
      fresh.UseHoldingReport(
          std::make_shared<const HoldingFile>(test::TempFolder::ReadFile(report)));
    for (int k = 0; k < kProblemKinds; ++k)
      EXPECT_EQ(controller.Problems().Count(ProblemKind(k)), fresh.Count(ProblemKind(k))) << k;
    const std::vector<Problem> listed = List();
    EXPECT_EQ(listed, Lines(fresh));
    EXPECT_EQ(mirror.lines, listed);
    for (int r = grid.FixedRows(); r + 1 < grid.Rows(); ++r)
      EXPECT_EQ(controller.Problems().QuantityOfRows(r, r + 1), fresh.QuantityOfRows(r, r + 1))
          << r;
  }
};

TEST_F(Problems, EachWrongCellIsListedWithItsCellAndGoesWhenPutRight) {
  GoodRow(kBoidA, "C1001", "100");
  GoodRow(kBoidB, "C1002", "5");
  ASSERT_EQ(controller.Problems().Total(), 0);
  struct Case {
    int col;
    std::string text;
    ProblemKind kind;
    int problemCol;
    std::string says;
  };
  const Case cases[] = {
      {col::kClientCode, "  ", ProblemKind::BlankField, col::kClientCode,
       "Client Code is not given."},
      {col::kBOName, kBONameNotFound, ProblemKind::UnknownBOID, col::kBOID,
       "BO ID is not in the BO list."},
      {col::kISINName, kISINNameNotFound, ProblemKind::UnknownISIN, col::kISINCode,
       "ISIN Code is not in the ISIN list."},
      {col::kInternalRefNo, "O2045130812261", ProblemKind::WrongRefKind, col::kInternalRefNo,
       "Internal Ref. No. must start with \"I\" for Pay In."},
      {col::kQuantity, "0", ProblemKind::BadQuantity, col::kQuantity,
       "Quantity \"0\" is not a whole number from 1 up."},
      {col::kQuantity, "2.5", ProblemKind::BadQuantity, col::kQuantity,
       "Quantity \"2.5\" is not a whole number from 1 up."},
      {col::kDeliveryDate, "11-Dec-2026", ProblemKind::WrongDeliveryDate, col::kDeliveryDate,
       "Delivery Date 11-Dec-2026 is not the settlement date 10-Dec-2026."},
      {col::kISINCode, "MG1000ALPH31", ProblemKind::NotSummarized, col::kBOID,
       "BO ID and ISIN are on 2 rows: Summarize."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    const std::string before = grid.Text(2, c.col);
    // Row 2 takes row 1's ISIN in the last case: both rows then share a pair.
    if (c.kind == ProblemKind::NotSummarized) grid.SetText(2, col::kBOID, kBoidA);
    grid.SetText(2, c.col, c.text);
    const std::vector<Problem> list = List();
    ASSERT_FALSE(list.empty());
    const Problem& p = list.back();
    EXPECT_EQ(p.row, 2);
    EXPECT_EQ(p.kind, c.kind);
    EXPECT_EQ(p.col, c.problemCol);
    EXPECT_EQ(controller.Problems().Describe(p), c.says);
    EXPECT_EQ(controller.Problems().Count(c.kind), c.kind == ProblemKind::NotSummarized ? 2 : 1);
    ExpectSameAsFreshReading();
    grid.SetText(2, c.col, before);
    grid.SetText(2, col::kBOID, kBoidB);
    EXPECT_EQ(controller.Problems().Total(), 0);
  }
  EXPECT_EQ(controller.Problems().TotalQuantity(), 105);
  EXPECT_EQ(controller.Problems().QuantityOfRows(2, 2), 5);

  // Enter on a problem takes the grid to its cell.
  grid.SetText(2, col::kScripID, "");
  List();  // as the pane shows it
  controller.GoToProblem(0);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), col::kScripID);
  // A new settlement date reads every Delivery Date again.
  view.settlement = Date{2026, 12, 11};
  EXPECT_EQ(controller.Problems().Count(ProblemKind::WrongDeliveryDate), 2);
}

TEST_F(Problems, TheHoldingReportIsRememberedForTheDayAndItsDateMustFitTheTrades) {
  GoodRow(kBoidA, "C1001", "60");
  GoodRow(kBoidA, "C1001", "50");  // together 110 of a balance of 100
  GoodRow(kBoidB, "C1002", "5");
  grid.SetText(3, col::kISINCode, "MG1037BRIG52");  // no balance line
  auto report = [&](const std::string& date) {
    dir.Write("11DPA6UX_" + date + ".TXT",
              "Report for " + date + " : Holding Balance\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n" +
                  kBoidA + " MG1000ALPH31 100");
    return dir.File("11DPA6UX_" + date + ".TXT");
  };
  const std::string old = report("28-Dec-2009"), good = report("07-Dec-2026");

  // A report of another day asks first, and No leaves the rows unchecked.
  dialogs.QueueOpenFile(old);
  dialogs.Expect(
      "The holding report is of 28-Dec-2009, but the trades are of 08-Dec-2026.\r\nCheck the "
      "rows with this report?",
      "Holding Report Date", MsgIcon::Question, MsgAnswer::No, MsgButtons::YesNoDefaultNo);
  controller.CheckHolding();
  EXPECT_FALSE(controller.Problems().HasHoldingReport());

  // The day before the trades is fine; the next choice opens on that report.
  dialogs.QueueOpenFile(good);
  controller.CheckHolding();  // the holding window lists the rows; no box
  dialogs.QueueOpenFile(std::nullopt);
  dialogs.Expect("You must select a holding file(DPA6UX.TXT) before sending to MGX.",
                 "Holding Not Checked.", MsgIcon::Critical);
  controller.CheckHolding();
  EXPECT_EQ(dialogs.openFileFolders.back(), good);

  EXPECT_EQ(controller.Problems().Count(ProblemKind::HoldingShort), 2);
  EXPECT_EQ(controller.Problems().Count(ProblemKind::HoldingMissing), 1);
  grid.SetText(2, col::kQuantity, "40");
  EXPECT_EQ(controller.Problems().Count(ProblemKind::HoldingShort), 0);
  ExpectSameAsFreshReading(good);
  // Another day has a report of its own, none yet.
  view.settlement = Date{2026, 12, 11};
  EXPECT_FALSE(controller.Problems().HasHoldingReport());
}

TEST_F(Problems, TypingMovesOnlyToAMatchAndOnlyEnterSaysNoneWasFound) {
  GoodRow(kBoidA, "C1001", "1");
  GoodRow(kBoidB, "C1002", "2");
  GoodRow(kBoidB, "C1002", "3");
  grid.SetCurrent(1, 1);
  controller.SearchAsTyped(0, "C100");  // row 1 holds it: stays
  EXPECT_EQ(grid.Row(), 1);
  controller.SearchAsTyped(0, "C1002");
  EXPECT_EQ(grid.Row(), 2);
  controller.SearchAsTyped(0, "C1002x");  // no such client: stays, no box
  EXPECT_EQ(grid.Row(), 2);
  controller.SearchAsTyped(0, "C1002");
  controller.Search(0, "C1002");  // Enter keeps the row the typing found
  EXPECT_EQ(grid.Row(), 2);
  controller.Search(0, "C1002");  // the next Enter moves on
  EXPECT_EQ(grid.Row(), 3);
  dialogs.Expect("No such record found.", "Record not found.", MsgIcon::Critical);
  controller.Search(0, "C9");
  EXPECT_TRUE(controller.GoToRow(1));
  EXPECT_FALSE(controller.GoToRow(4));
  EXPECT_EQ(grid.Row(), 1);
}

TEST_F(Problems, ALoadTellsWhatItTookAndRefusesAFileOfNoTrades) {
  GoodRow(kBoidA, "C1001", "1");
  dir.Write("payin_10-Dec-2026.txt", "Report for 08-Dec-2026 : x\r\n1 2 3");
  dialogs.QueueOpenFile(dir.File("payin_10-Dec-2026.txt"));
  dialogs.Expect(
      "payin_10-Dec-2026.txt is not a trade file: none of its lines holds the fields of a trade, "
      "separated by \"|\".\r\nNothing was loaded; the rows shown are kept.",
      "Not a Trade File", MsgIcon::Critical);
  controller.LoadTradeFile();
  EXPECT_EQ(grid.Text(1, col::kClientCode), "C1001");

  ClearEntryGrid(grid);
  const std::string trades =
      "1|ALPHATEX|x|B|10|x|C1001|x|x|x|08-Dec-2026\r\n2|ALPHATEX|x|S|10|x|C1001|x|x|x|08-Dec-2026";
  dir.Write("payout_10-Dec-2026.txt", trades);
  // No keeps the kind; Yes switches and loads.
  for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
    dialogs.QueueOpenFile(dir.File("payout_10-Dec-2026.txt"));
    dialogs.Expect(
        "payout_10-Dec-2026.txt is a Pay Out file, and the window shows Pay In.\r\n"
        "Switch to Pay Out and load it?",
        "Switch to Pay Out", MsgIcon::Question, answer, MsgButtons::YesNoDefaultNo);
    controller.LoadTradeFile();
    EXPECT_EQ(app.instructionKind, answer == MsgAnswer::Yes ? kPayOut : kPayIn);
  }
  EXPECT_EQ(view.note, "1 row (the buys) loaded from 2 lines of payout_10-Dec-2026.txt.");
}

}  // namespace
}  // namespace quorvin
