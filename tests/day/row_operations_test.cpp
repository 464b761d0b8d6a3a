// Tests of deleting, pasting, searching and adding rows in the entry grid.
#include "day/row_operations.h"

#include <gtest/gtest.h>

#include "support/entry_fixture.h"

namespace quorvin {
namespace {

using test::EntryFixture;
using test::kBoidA;
using test::kBoidB;

class RowOperations : public EntryFixture {
 protected:
  void FillRows(int n) {
    for (int i = 1; i <= n; ++i)
      AddEntry("08-Dec-2026", "C" + std::to_string(i), "", "", "", std::to_string(i * 10));
  }
  void ExpectDelete() {
    dialogs.ExpectQuestion("Are you sure to delete the selected record(s)?", "Delete Confirmation",
                           MsgAnswer::Yes, MsgIcon::Critical);
  }
  std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    for (int r = 1; r < grid.Rows(); ++r)
      codes.push_back(grid.Text(r, 0) + ":" + grid.Text(r, col::kClientCode));
    return codes;
  }
};

TEST_F(RowOperations, DeleteOnAnEmptyGridAsksNothing) {
  DeleteSelectedRows(dialogs, grid);
  EXPECT_EQ(grid.Rows(), 2);
}

TEST_F(RowOperations, DeletingTheOnlyRowBlanksItAndKeepsItsNumber) {
  FillRows(1);
  ExpectDelete();
  DeleteSelectedRows(dialogs, grid);
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Text(1, 0), "1");
  EXPECT_TRUE(IsGridEmpty(grid));
}

TEST_F(RowOperations, DeletingAMiddleSelectionRenumbersTheRest) {
  FillRows(8);
  grid.SetSelection(5, 1, 3, 1);  // selected upward
  ExpectDelete();
  DeleteSelectedRows(dialogs, grid);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1:C1", "2:C2", "3:C6", "4:C7", "5:C8"}));
}

TEST_F(RowOperations, DeletingToTheLastRowOrEverythingKeepsOneRow) {
  FillRows(6);
  grid.SetSelection(4, 1, 6, 1);
  ExpectDelete();
  DeleteSelectedRows(dialogs, grid);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1:C1", "2:C2", "3:C3"}));
  grid.SetSelection(3, 1, 1, 1);
  ExpectDelete();
  DeleteSelectedRows(dialogs, grid);
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_TRUE(IsGridEmpty(grid));
  // Answering No keeps everything.
  FillRows(2);
  dialogs.ExpectQuestion("Are you sure to delete the selected record(s)?", "Delete Confirmation",
                         MsgAnswer::No, MsgIcon::Critical);
  DeleteSelectedRows(dialogs, grid);
  EXPECT_EQ(grid.Rows(), 3);
}

TEST_F(RowOperations, PasteBringsTheLinkedColumnsAlongInTheirOwnColumn) {
  FillRows(4);
  grid.SetText(1, col::kBOID, kBoidA);
  grid.SetText(1, col::kBOName, "Rahim Hossain");
  grid.SetCurrent(1, col::kBOID);
  controller.CopyCell();
  grid.SetSelection(2, col::kBOID, 4, col::kBOID);
  controller.PasteCell();
  for (int r = 2; r <= 4; ++r) {
    EXPECT_EQ(grid.Text(r, col::kBOID), kBoidA);
    EXPECT_EQ(grid.Text(r, col::kClientCode), "C1");
    EXPECT_EQ(grid.Text(r, col::kBOName), "Rahim Hossain");
  }
  // Into another column, or with free entry, only the one cell travels.
  grid.SetSelection(2, col::kISINCode, 3, col::kISINCode);
  controller.PasteCell();
  EXPECT_EQ(grid.Text(2, col::kISINCode), kBoidA);
  EXPECT_EQ(grid.Text(2, col::kScripID), "");
  view.freeEntry = true;
  grid.SetCurrent(1, col::kClientCode);
  grid.SetText(1, col::kClientCode, "C9");
  controller.CopyCell();
  grid.SetSelection(4, col::kClientCode, 4, col::kClientCode);
  controller.PasteCell();
  EXPECT_EQ(grid.Text(4, col::kClientCode), "C9");
  EXPECT_EQ(grid.Text(4, col::kBOID), kBoidA);
}

TEST_F(RowOperations, SearchFindsTheNextRowIgnoringCaseAndWraps) {
  FillRows(5);
  grid.SetText(2, col::kBOName, "rahim hossain");
  grid.SetText(4, col::kBOName, "Rahim Ahmed");
  grid.SetCurrent(1, 1);
  controller.Search(2, " RAHIM ");
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.RowSel(), 2);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.ColSel(), kEntryColumns - 1);
  EXPECT_EQ(grid.TopRow(), 2);
  controller.Search(2, "rahim");
  EXPECT_EQ(grid.Row(), 4);
  controller.Search(2, "rahim");
  EXPECT_EQ(grid.Row(), 2);
  controller.Search(2, "");  // an empty needle moves to the next row
  EXPECT_EQ(grid.Row(), 3);
  dialogs.Expect("No such record found.", "Record not found.", MsgIcon::Critical);
  controller.Search(0, "zzz");
  EXPECT_EQ(grid.Row(), 3);
}

TEST_F(RowOperations, AddRowNumbersAndScrollsToTheNewRow) {
  AddRow(grid);
  AddRow(grid);
  EXPECT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.Text(3, 0), "3");
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.TopRow(), 3);
}

}  // namespace
}  // namespace quorvin
