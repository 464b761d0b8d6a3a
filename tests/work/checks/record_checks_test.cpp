// Tests of the four pre-send record checks, the rows they name, and a grid
// too narrow to read.
#include "work/checks/record_checks.h"

#include <random>

#include "check_fixture.h"
#include "ground/text.h"

namespace quorvin::test {
namespace {

class RecordChecksTest : public CheckTest {
 protected:
  // Runs the four checks in the send sequence's order; the index of the one
  // that failed, or -1.
  int RunChecks() {
    if (CheckMissingFields(app, grid, window, "Saved")) return 0;
    if (CheckBOIDs(app, grid, window, "Saved")) return 1;
    if (CheckISINCodes(app, grid, window, "Saved")) return 2;
    if (CheckInternalRefNos(app, grid, window, "Saved")) return 3;
    return -1;
  }
};

TEST_F(RecordChecksTest, CompleteValidRowsPassAndLeaveTheWindowAlone) {
  SetEntries({{"1204510008926391", "MG1407LOTU49", "0"}});
  grid.SetText(1, col::kBOName, "bo name not found");  // only the exact placeholder fails
  EXPECT_EQ(RunChecks(), -1);
  EXPECT_TRUE(window.captions.empty());
  EXPECT_TRUE(window.waitCursor);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RecordChecksTest, MissingFieldsGoColumnByColumnAndMoveTheCurrentColumn) {
  SetEntries({{"B1", "I1", "5"}, {"B2", "I2", "5"}, {"B3", "I3", "5"}});
  grid.SetText(1, col::kClientCode, "");
  grid.SetText(3, col::kBrokerID, "   ");  // spaces only are blank
  grid.SetCurrent(2, 7);
  dialogs.Expect("Broker ID is not given in row number 3.", "Missing Broker ID", MsgIcon::Critical);
  EXPECT_EQ(RunChecks(), 0);
  EXPECT_EQ(grid.Col(), col::kBrokerID);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(window.caption, "Saved");
  EXPECT_FALSE(window.waitCursor);

  grid.SetText(3, col::kBrokerID, "204513");
  grid.SetText(1, col::kClientCode, "C1");
  grid.SetText(2, col::kInternalRefNo, "");
  dialogs.Expect("Internal Ref. No. is not given in row number 2.", "Missing Internal Ref. No.",
                 MsgIcon::Critical);
  EXPECT_EQ(RunChecks(), 0);
  EXPECT_EQ(grid.Col(), col::kInternalRefNo);
}

TEST_F(RecordChecksTest, UnknownBOIDsAndISINsNameTheFirstRow) {
  SetEntries({{"B1", "I1", "5"}, {"B2", "I2", "5"}, {"B3", "I3", "5"}, {"B4", "I4", "5"}});
  grid.SetText(4, col::kBOName, kBONameNotFound);
  grid.SetText(2, col::kBOName, kBONameNotFound);
  grid.SetText(3, col::kISINName, kISINNameNotFound);
  dialogs.Expect("BOID is not entered correctly in row number 2.", "Invalid BOID",
                 MsgIcon::Critical);
  EXPECT_EQ(RunChecks(), 1);
  EXPECT_EQ(window.caption, "Saved");
  EXPECT_FALSE(window.waitCursor);

  grid.SetText(2, col::kBOName, "X");
  grid.SetText(4, col::kBOName, "X");
  dialogs.Expect("ISIN Code is not entered correctly in row number 3.", "Invalid ISIN Code",
                 MsgIcon::Critical);
  EXPECT_EQ(RunChecks(), 2);
  EXPECT_EQ(grid.Row(), 1);  // no check moves to the failing row
}

TEST_F(RecordChecksTest, InternalRefNosMustStartWithTheKindLetter) {
  app.instructionKind = kPayOut;
  app.kindCode = "PO";
  SetEntries({{"B1", "I1", "5"}, {"B2", "I2", "5"}, {"B3", "I3", "5"}});
  for (int r = 1; r <= 3; ++r) grid.SetText(r, col::kInternalRefNo, "O2045130812261");
  grid.SetText(3, col::kInternalRefNo, "o2045130812261");
  dialogs.Expect(
      "For Pay Out entries Internal Ref. No. must start with \"O\" .\r\nCheck row number 3.",
      "Invalid Internal Ref. No.", MsgIcon::Critical);
  EXPECT_EQ(RunChecks(), 3);
  EXPECT_EQ(window.caption, "Saved");

  app.instructionKind = kPayIn;
  app.kindCode = "PI";
  dialogs.Expect(
      "For Pay In entries Internal Ref. No. must start with \"I\" .\r\nCheck row number 1.",
      "Invalid Internal Ref. No.", MsgIcon::Critical);
  EXPECT_EQ(RunChecks(), 3);
}

TEST_F(RecordChecksTest, SearchRoutinesScanDataRowsOnly) {
  SetEntries({{"B1", "I1", "5"}, {"B2", "I2", "5"}});
  EXPECT_EQ(FindRowWithText(grid, col::kBOID, "BO ID"), -1);    // the heading is not a row
  EXPECT_EQ(FindRowWithoutPrefix(grid, col::kBOID, "B1x"), 1);  // shorter cell never matches
}

// Random grids with blanks (empty or spaces only) scattered over the columns,
// and texts that recur down a column, as pooled cells do: the missing-field
// check names the same column and row as a walk down each column in turn.
TEST_F(RecordChecksTest, MissingFieldsMatchAWalkDownEachColumn) {
  std::mt19937 rng(5);
  const std::vector<std::string> texts = {"", " ", "   ", "x", " x ", "204513", "1204510000000001"};
  for (int round = 0; round < 300; ++round) {
    const int rows = static_cast<int>(rng() % 30);
    grid.SetRows(1 + rows);
    for (int r = 1; r <= rows; ++r)
      for (int c = 0; c < kEntryColumns; ++c)
        grid.SetText(r, c, rng() % 10 < 8 ? texts[5 + rng() % 2] : texts[rng() % texts.size()]);
    grid.SetCurrent(1, 1);

    int column = -1, row = -1;
    for (int c = 1; c < kEntryColumns && column < 0; ++c)
      for (int r = 1; r <= rows && column < 0; ++r)
        if (Trim(grid.Text(r, c)).empty()) {
          column = c;
          row = r;
        }
    if (column >= 0) {
      const std::string& heading = grid.Text(0, column);
      dialogs.Expect(heading + " is not given in row number " + std::to_string(row) + ".",
                     "Missing " + heading, MsgIcon::Critical);
    }
    ASSERT_EQ(CheckMissingFields(app, grid, window, "Saved"), column >= 0) << "round " << round;
    EXPECT_EQ(grid.Col(), column >= 0 ? column : 1) << "round " << round;
    dialogs.VerifyDone();
  }
}

TEST_F(RecordChecksTest, AGridTooNarrowToReadStopsTheSend) {
  grid.SetCols(8);
  SetEntries({});
  grid.SetRows(2);
  dialogs.ExpectErrorContaining("Subscript out of range");
  EXPECT_TRUE(CheckISINCodes(app, grid, window, "Saved"));
  EXPECT_EQ(window.caption, "Saved");
  EXPECT_FALSE(window.waitCursor);
  app.kindCode.clear();
  dialogs.ExpectErrorContaining("kind");
  EXPECT_TRUE(CheckInternalRefNos(app, grid, window, "Saved"));
}

}  // namespace
}  // namespace quorvin::test
