// Tests of the entry sort and the summary against the plain merge sort and
// row-shifting loop, and of the check that rows were summarized.
#include "work/checks/sort_summary.h"

#include <random>

#include "check_fixture.h"
#include "straight_algorithms.h"

namespace quorvin::test {
namespace {

straight::Table TableOf(const Grid& grid) {
  straight::Table rows;
  for (int r = 0; r < grid.Rows(); ++r) rows.push_back(grid.RowCells(r));
  return rows;
}

void Fill(Grid& grid, const straight::Table& rows) {
  grid.SetRows(static_cast<int>(rows.size()));
  for (int r = 0; r < grid.Rows(); ++r)
    for (int c = 0; c < grid.Cols(); ++c) grid.SetText(r, c, rows[r][c]);
}

template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& from) {
  return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
}

class SortSummaryTest : public CheckTest {
 protected:
  // What SortEntries does, done to a table by the pass-by-pass merge sort:
  // sorted and numbered, or left in its order with the sort's error shown.
  void SortAsEntries(straight::Table& table) {
    try {
      straight::SortGridByColumns(table, {6, 5, 9, 11}, {false, false, false, true},
                                  {false, false, false, true});
    } catch (const std::exception& e) {
      dialogs.ExpectErrorContaining(e.what());
    }
    for (size_t r = 1; r < table.size(); ++r) table[r][0] = std::to_string(r);
  }
};

// Random tables crowded with equal keys, random key lists and directions: the
// rows must come out exactly as the pass-by-pass merge sort leaves them.
TEST_F(SortSummaryTest, SortMatchesThePassByPassMergeSort) {
  std::mt19937 rng(4242);
  const std::vector<std::string> texts = {"a", "b", "B", "10", "9", "", "\xE9"};
  const std::vector<std::string> numbers = {"1", "2", "2.0", "02", "10", "-1", "9", "0.5"};
  for (int round = 0; round < 1500; ++round) {
    const int n = std::uniform_int_distribution<int>(0, 70)(rng);
    straight::Table rows(n + 1, std::vector<std::string>(6));
    for (int r = 1; r <= n; ++r) {
      rows[r][0] = std::to_string(r);  // identifies the row in a failure
      for (int c = 1; c <= 3; ++c) rows[r][c] = Pick(rng, texts);
      for (int c = 4; c <= 5; ++c) rows[r][c] = Pick(rng, numbers);
    }
    if (n > 0 && round % 10 == 0) rows[1 + rng() % n][4] = round % 20 ? "x" : "";
    std::vector<int> keys;
    std::vector<bool> numeric, descending;
    const int keyCount = std::uniform_int_distribution<int>(1, 4)(rng);
    for (int k = 0; k < keyCount; ++k) {
      int c = std::uniform_int_distribution<int>(1, 5)(rng);
      keys.push_back(c);
      numeric.push_back(c >= 4 && rng() % 4 != 0);
      descending.push_back(rng() % 2 == 0);
    }
    Grid grid(n + 1, 6, 1);
    Fill(grid, rows);
    straight::Table expected = rows;
    bool sorts = true;
    try {
      straight::SortGridByColumns(expected, keys, numeric, descending);
    } catch (const std::exception& e) {
      dialogs.ExpectErrorContaining(e.what());
      sorts = false;
    }
    EXPECT_EQ(SortGridByColumns(dialogs, grid, keys, numeric, descending), sorts);
    ASSERT_EQ(TableOf(grid), expected) << "round " << round;
    dialogs.VerifyDone();
    dialogs.shown.clear();
    if (!sorts) continue;
    // Sorting rows that are in order already turns runs of ties round.
    straight::SortGridByColumns(expected, keys, numeric, descending);
    EXPECT_TRUE(SortGridByColumns(dialogs, grid, keys, numeric, descending));
    ASSERT_EQ(TableOf(grid), expected) << "round " << round << ", sorted again";
    // A text typed since the last sort has no rank from it yet.
    if (n == 0) continue;
    const int r = 1 + static_cast<int>(rng() % n), c = 1 + static_cast<int>(rng() % 3);
    const std::string typed = Pick(rng, texts) + Pick(rng, texts);
    grid.SetText(r, c, typed);
    expected[r][c] = typed;
    straight::SortGridByColumns(expected, keys, numeric, descending);
    EXPECT_TRUE(SortGridByColumns(dialogs, grid, keys, numeric, descending));
    ASSERT_EQ(TableOf(grid), expected) << "round " << round << ", after an edit";
  }
}

TEST_F(SortSummaryTest, MergeSortRowsPutsTheRightHalfFirstOnDescendingTies) {
  RowTable table = {{"h", "0"}, {"a", "5"}, {"b", "5"}, {"c", "7"}, {"d", "5"}};
  MergeSortRows(table, 1, 4, 1, true, true);
  // Pairs (a,b) and (c,d) merge to (b,a) and (c,d); then c, then d before b and a.
  EXPECT_EQ(table, (RowTable{{"h", "0"}, {"c", "7"}, {"d", "5"}, {"b", "5"}, {"a", "5"}}));
  MergeSortRows(table, 1, 4, 1, false, true);
  EXPECT_EQ(table, (RowTable{{"h", "0"}, {"d", "5"}, {"b", "5"}, {"a", "5"}, {"c", "7"}}));
}

TEST_F(SortSummaryTest, SortEntriesOrdersByTextKeysThenQuantityDescending) {
  SetEntries({{"9", "A", "9"}, {"10", "A", "9"}, {"10", "A", "10"}, {"10", "A", "9.5"}});
  grid.SetText(1, col::kSN, "7");
  SortEntries(app, grid);
  EXPECT_EQ(Column(col::kBOID), (std::vector<std::string>{"10", "10", "10", "9"}));
  EXPECT_EQ(Column(col::kQuantity), (std::vector<std::string>{"10", "9.5", "9", "9"}));
  EXPECT_EQ(Column(col::kSN), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(SortSummaryTest, ANonNumericQuantityLeavesTheRowsInTheirOrder) {
  SetEntries({{"B2", "A", "5"}, {"B1", "A", "1O"}, {"B1", "A", "3"}});
  dialogs.ExpectErrorContaining("Type mismatch");
  SortEntries(app, grid);
  EXPECT_EQ(Column(col::kBOID), (std::vector<std::string>{"B2", "B1", "B1"}));

  // Summarize then still merges the unsorted neighbours, and stops at the letter.
  dialogs.ExpectErrorContaining("Type mismatch").ExpectErrorContaining("Type mismatch");
  Summarize(app, grid);
  EXPECT_EQ(Column(col::kQuantity), (std::vector<std::string>{"5", "1O", "3"}));

  SetEntries({{"B1", "A", ""}});  // a lone row is never compared
  SortEntries(app, grid);
  Summarize(app, grid);
  EXPECT_EQ(grid.Rows(), 2);
}

TEST_F(SortSummaryTest, SummarizeFoldsRunsIntoTheirTopRow) {
  SetEntries({{"X", "A", "50", "C1"}, {"X", "B", "10", "C1"}, {"X", "A", "100", "C1"}});
  grid.SetText(3, col::kBOName, "Top Row");
  Summarize(app, grid);
  ASSERT_EQ(grid.Rows(), 3);
  EXPECT_EQ(Column(col::kISINCode), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Column(col::kQuantity), (std::vector<std::string>{"150", "10"}));
  EXPECT_EQ(grid.Text(1, col::kBOName), "Top Row");  // the largest quantity's row survives
  EXPECT_EQ(Column(col::kSN), (std::vector<std::string>{"1", "2"}));

  // One BO ID and ISIN under two client codes, parted by another client's row.
  SetEntries(
      {{"X", "A", "1", "C1"}, {"X", "A", "2", "C3"}, {"X", "B", "4", "C2"}, {"Y", "A", "1", "C1"}});
  grid.SetText(2, col::kInternalRefNo, "stale");
  Summarize(app, grid);
  EXPECT_EQ(Column(col::kClientCode), (std::vector<std::string>{"C1", "C2", "C3", "C1"}));
  EXPECT_EQ(Column(col::kInternalRefNo),
            (std::vector<std::string>{"I2045130812261", "I2045130812261", "I2045130812261",
                                      "I2045130812262"}));
  EXPECT_FALSE(CheckSummarized(app, grid, window, "Saved"));
}

TEST_F(SortSummaryTest, AnOverflowKeepsWhatWasAlreadyMerged) {
  SetEntries({{"B1", "A", "5"},
              {"B1", "A", "2147483647"},
              {"B1", "A", "1"},
              {"B1", "A", "1"},
              {"B9", "A", "3"},
              {"B9", "A", "4"}});
  for (int r = 1; r <= 6; ++r) grid.SetText(r, col::kInternalRefNo, "old");
  dialogs.ExpectErrorContaining("Overflow");
  Summarize(app, grid);
  EXPECT_EQ(Column(col::kBOID), (std::vector<std::string>{"B1", "B1", "B9"}));
  EXPECT_EQ(Column(col::kQuantity), (std::vector<std::string>{"2147483647", "7", "7"}));
  EXPECT_EQ(Column(col::kSN), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Column(col::kInternalRefNo), (std::vector<std::string>{"old", "old", "old"}));
}

// Sorting rows a sort left in order again reverses runs of rows equal on
// every key; whatever happened to the grid in between, the second sort must
// leave what sorting the table twice leaves.
TEST_F(SortSummaryTest, SortingAgainMatchesSortingTheTableAgain) {
  std::mt19937 rng(31);
  const std::vector<std::string> quantities = {"5", "05", "5.0", "7", "10"};
  for (int round = 0; round < 1500; ++round) {
    const int n = std::uniform_int_distribution<int>(0, 12)(rng);
    std::vector<Entry> entries;
    for (int i = 0; i < n; ++i)
      entries.push_back({Pick(rng, std::vector<std::string>{"B1", "B2"}),
                         Pick(rng, std::vector<std::string>{"I1", "I2"}),
                         rng() % 30 ? Pick(rng, quantities) : std::string("x"),
                         Pick(rng, std::vector<std::string>{"C1", "C2"})});
    SetEntries(entries);
    for (int r = 1; r < grid.Rows(); ++r)  // rows alike on every key, or not quite
      grid.SetText(r, col::kScripID, rng() % 3 ? "SCRIP" : "scrip");
    straight::Table expected = TableOf(grid);
    SortAsEntries(expected);
    SortEntries(app, grid);
    ASSERT_EQ(TableOf(grid), expected) << "round " << round;

    const int r = grid.Rows() > 1 ? 1 + static_cast<int>(rng() % (grid.Rows() - 1)) : 0;
    const int column = static_cast<int>(rng() % kEntryColumns);
    switch (rng() % 4) {
      case 0:
        break;
      case 1:  // a cell, maybe a key or the serial number, edited
        if (r == 0) break;
        grid.SetText(r, column, Pick(rng, quantities));
        expected[r][column] = grid.Text(r, column);
        break;
      case 2:  // a row added at the end
        grid.SetRows(grid.Rows() + 1);
        expected.push_back(std::vector<std::string>(kEntryColumns));
        break;
      case 3:  // the kind of change that goes round the cell-by-cell calls
        if (r == 0) break;
        grid.MutableCells()[r * kEntryColumns + column] = grid.Pool().Intern("5");
        expected[r][column] = "5";
        break;
    }
    SortAsEntries(expected);
    SortEntries(app, grid);
    ASSERT_EQ(TableOf(grid), expected) << "round " << round;
    dialogs.VerifyDone();
  }
}

// A serial-number column narrowed by hand is widened again by the next sort,
// even when the rows are in order.
TEST_F(SortSummaryTest, SortingAgainWidensANarrowedSerialColumn) {
  SetEntries({{"B1", "I1", "5"}, {"B2", "I1", "5"}});
  SortEntries(app, grid);
  grid.SetColWidth(col::kSN, 10);
  RenumberSerials(grid);
  const int widened = grid.ColWidth(col::kSN);
  ASSERT_GT(widened, 10);
  SortEntries(app, grid);
  grid.SetColWidth(col::kSN, 10);
  SortEntries(app, grid);
  EXPECT_EQ(grid.ColWidth(col::kSN), widened);
}

// Random entry lists with few accounts, extreme and broken quantities: the
// summary must leave exactly the rows, messages and stopping point of the
// straight loop.
TEST_F(SortSummaryTest, SummarizeMatchesTheRowShiftingLoop) {
  std::mt19937 rng(77);
  const std::vector<std::string> quantities = {
      "1", "5", "100", "2.5", "-3", "2000000000", "1500000000", "-2000000000", "0"};
  for (int round = 0; round < 1500; ++round) {
    const int n = std::uniform_int_distribution<int>(0, 40)(rng);
    std::vector<Entry> entries;
    for (int i = 0; i < n; ++i) {
      Entry e{Pick(rng, std::vector<std::string>{"B1", "B2", "B3"}),
              Pick(rng, std::vector<std::string>{"I1", "I2"}), Pick(rng, quantities),
              Pick(rng, std::vector<std::string>{"C1", "C2"})};
      if (rng() % 200 == 0) e.quantity = rng() % 2 ? "x" : "";
      entries.push_back(e);
    }
    SetEntries(entries);
    for (int r = 1; r < grid.Rows(); ++r) grid.SetText(r, col::kBOName, std::to_string(r));

    straight::Table expected = TableOf(grid);
    SortAsEntries(expected);
    auto stop = straight::SummaryLoop(expected, col::kBOID, col::kISINCode, col::kQuantity);
    Grid expectedGrid;
    SetUpEntryGrid(expectedGrid);
    Fill(expectedGrid, expected);
    if (stop)
      dialogs.ExpectErrorContaining(*stop);
    else
      RenumberInternalRefNos(app, expectedGrid);

    Summarize(app, grid);
    ASSERT_EQ(TableOf(grid), TableOf(expectedGrid)) << "round " << round;
    dialogs.VerifyDone();
  }
}

TEST_F(SortSummaryTest, ConfirmSummarizeNoLeavesTheGridUnsorted) {
  SetEntries({{"B2", "A", "5"}, {"B1", "A", "3"}, {"B1", "A", "4"}});
  dialogs.ExpectQuestion("Are you sure to summarize individual BOs ISIN quantities?",
                         "Confirm Summarize", MsgAnswer::No);
  SummarizeWithConfirmation(app, grid);
  EXPECT_EQ(Column(col::kBOID), (std::vector<std::string>{"B2", "B1", "B1"}));
  dialogs.ExpectQuestion("Are you sure to summarize individual BOs ISIN quantities?",
                         "Confirm Summarize", MsgAnswer::Yes);
  SummarizeWithConfirmation(app, grid);
  EXPECT_EQ(Column(col::kQuantity), (std::vector<std::string>{"7", "5"}));
}

TEST_F(SortSummaryTest, CheckSummarizedSelectsTheFirstUnmergedPair) {
  SetEntries({{"B1", "A", "1"}});
  EXPECT_FALSE(CheckSummarized(app, grid, window, "Saved"));
  SetEntries(
      {{"B1", "A", "1"}, {"B1", "B", "1"}, {"B1", "B", "1"}, {"B2", "A", "1"}, {"B2", "A", "1"}});
  dialogs.Expect("Please summarize records before sending.", "Not Summarized.", MsgIcon::Critical);
  EXPECT_TRUE(CheckSummarized(app, grid, window, "Saved"));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.RowSel(), 2);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.ColSel(), kEntryColumns - 1);
  EXPECT_EQ(window.caption, "Saved");
  EXPECT_FALSE(window.waitCursor);
}

}  // namespace
}  // namespace quorvin::test
