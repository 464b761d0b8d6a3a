// The list window's rules through its controller: kinds, the editor, the row
// keys, the search, Save and Reload.
#include "windows/list_window.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ground/version.h"
#include "list_fixture.h"

namespace quorvin {
namespace {

using test::kBOText;
using test::ListFixture;

TEST_F(ListFixture, OpeningAndSwitchingKindsSetsUpTheGridAndLoadsTheMainFile) {
  Open("BO");
  EXPECT_EQ(view.caption, WindowCaption(" : List of BOs"));
  EXPECT_EQ(view.selectLabel, "Select BO :");
  EXPECT_EQ(view.listKindIndex, 0);
  EXPECT_EQ(view.gridToolTip,
            "List of BOs. Press INSERT key to add a new row or DELETE key to remove the selected "
            "row(s).");
  EXPECT_EQ(view.updateCaption, "Send");
  EXPECT_EQ(view.updateToolTip,
            "Send the list of BOs to MGX. These BOs will be included in the holding reports you "
            "receive from MGX.");
  EXPECT_EQ(controller.MainListFile(), "BO.txt");
  ASSERT_EQ(grid.Rows(), 4);
  ASSERT_EQ(grid.Cols(), 4);
  EXPECT_EQ(grid.RowCells(0), (Grid::CellRow{"S/N", "BO ID", "BO Name", "Client Code"}));
  EXPECT_EQ(grid.RowCells(3), (Grid::CellRow{"3", "1204510000000033", "Belal Begum", "C1003"}));
  // Header width plus the extra (105 twips a character here); the BOIDs widened column 1.
  EXPECT_EQ(grid.ColWidth(0), 3 * 105 + 200);
  EXPECT_EQ(grid.ColWidth(1), 16 * 105 + 200);
  EXPECT_EQ(grid.ColWidth(2), 7 * 105 + 2000);
  EXPECT_EQ(grid.ColWidth(3), 11 * 105 + 200);

  controller.ChangeKind(1);
  EXPECT_EQ(app.listKind, "ISIN");
  EXPECT_EQ(view.caption, WindowCaption(" : List of ISINs"));
  EXPECT_EQ(view.selectLabel, "Select ISIN :");
  EXPECT_EQ(view.listKindIndex, 1);
  EXPECT_EQ(view.updateCaption, "Receive");
  EXPECT_EQ(view.updateToolTip, "Get the latest list of ISINs from MGX.");
  EXPECT_EQ(controller.MainListFile(), "ISIN.txt");
  ASSERT_EQ(grid.Cols(), 5);
  EXPECT_EQ(grid.Text(0, 4), "Scrip Code");
  EXPECT_EQ(grid.Text(2, 3), "BRIGHTCEM");
  EXPECT_EQ(grid.ColWidth(4), 10 * 105 + 200);
  EXPECT_EQ(ListController::ComboIndexOf(app.listKind), 1);

  // A missing main file: the loader's message, then the header and one blank row.
  std::filesystem::remove(dir.File("BO.txt"));
  dialogs.ExpectContaining("Tried to read file: " + dir.File("BO.txt"),
                           "Error loading file into list.", MsgIcon::Critical);
  controller.ChangeKind(0);
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.RowCells(1), (Grid::CellRow{"1", "", "", ""}));
  EXPECT_EQ(grid.Text(0, 1), "BO ID");
}

TEST_F(ListFixture, CommitCompletesBOIDsFromTheTemplateAndRefusesTooLongOnes) {
  Open("BO");
  Type(1, 1, "123");
  EXPECT_EQ(grid.Text(1, 1), "1204510000000123");
  EXPECT_FALSE(view.EditorShown());
  EXPECT_EQ(view.gridFocused, 1);

  Type(2, 1, "  98765 ");
  EXPECT_EQ(grid.Text(2, 1), "1204510000098765");
  Type(3, 1, "9999999999999999");
  EXPECT_EQ(grid.Text(3, 1), "9999999999999999");
  Type(3, 1, "");
  EXPECT_EQ(grid.Text(3, 1), "");

  dialogs.Expect("BOID length can not be greater than 16.", kAppTitle, MsgIcon::Critical);
  Type(2, 1, "12345678901234567");
  EXPECT_EQ(grid.Text(2, 1), "1204510000098765");
  EXPECT_TRUE(view.EditorShown()) << "the edit goes on after the length message";
  controller.EditorEscape();
  EXPECT_FALSE(view.EditorShown());

  // Other columns are written trimmed and as typed.
  Type(1, 2, " Md. Karim ");
  EXPECT_EQ(grid.Text(1, 2), "Md. Karim");

  // The ISIN list completes nothing and limits nothing.
  controller.ChangeKind(1);
  Type(1, 1, "mg99ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(grid.Text(1, 1), "mg99ABCDEFGHIJKLMNOPQRST");
}

TEST_F(ListFixture, TheEditorKeepsTheGridStillAndNeverWritesOnCancelOrATilde) {
  Open("BO");
  grid.SetTopRow(2);
  Type(3, 2, "A much longer name than any before it in this column");
  EXPECT_EQ(grid.TopRow(), 2);
  EXPECT_EQ(grid.ColWidth(2), 52 * 105 + 200);

  grid.SetCurrent(1, 2);
  controller.StartCellEdit();
  EXPECT_EQ(view.editorText, "Rahim Hossain");
  controller.EditorEscape();
  EXPECT_EQ(grid.Text(1, 2), "Rahim Hossain");

  // A "~" would split the cell in the file: refused, the edit goes on.
  dialogs.Expect("The character ~ cannot be used in a list.", kAppTitle, MsgIcon::Critical);
  Type(1, 2, "Rahim~Hossain");
  EXPECT_EQ(grid.Text(1, 2), "Rahim Hossain");
  EXPECT_TRUE(view.EditorShown());

  // The header row and the serial column are not edited.
  controller.AbandonEdit();
  grid.SetSelection(2, 0, 2, 2);
  controller.StartCellEdit();
  EXPECT_FALSE(view.EditorShown());
}

TEST_F(ListFixture, InsertAndDeleteWorkOnTheControlsTheyBelongTo) {
  Open("BO");
  controller.KeyUp(ListControl::Grid, kKeyInsert);
  ASSERT_EQ(grid.Rows(), 5);
  EXPECT_EQ(grid.Text(4, 0), "4");
  EXPECT_EQ(view.editorRow, 4);
  EXPECT_EQ(view.editorCol, 1);
  EXPECT_EQ(grid.TopRow(), 4);
  controller.EditorEnter("44");
  EXPECT_EQ(grid.Text(4, 1), "1204510000000044");

  controller.KeyUp(ListControl::SearchBox, kKeyInsert);
  EXPECT_EQ(grid.Rows(), 6);
  controller.KeyUp(ListControl::SearchBox, kKeyDelete);  // the search box edits its text
  controller.KeyUp(ListControl::Other, kKeyInsert);
  controller.KeyUp(ListControl::BtnClose, 13);
  EXPECT_EQ(grid.Rows(), 6);

  // Delete asks first; selecting rows 2 to 3 upward removes them and renumbers.
  grid.SetSelection(3, 1, 2, 1);
  dialogs.ExpectQuestion("Are you sure to delete the selected record(s)?", "Delete Confirmation",
                         MsgAnswer::No, MsgIcon::Critical);
  controller.KeyUp(ListControl::BtnSave, kKeyDelete);
  EXPECT_EQ(grid.Rows(), 6);
  dialogs.ExpectQuestion("Are you sure to delete the selected record(s)?", "Delete Confirmation",
                         MsgAnswer::Yes, MsgIcon::Critical);
  controller.RemoveRows();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"S/N", "1", "2", "3"}));
  EXPECT_EQ(grid.Text(2, 1), "1204510000000044");

  controller.AddRowAndEdit();
  EXPECT_EQ(view.editorRow, 4);
}

TEST_F(ListFixture, SearchIsCaseSensitiveSkipsTheSerialAndStartsAtTheTopEveryTime) {
  dir.Write("BO.txt", std::string(kBOText) + "\r\n4~1204510000000044~BOB Traders~C1004");
  Open("BO");
  view.visibleRows = 2;
  controller.Search("  Begum ");
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.RowSel(), 3);
  EXPECT_EQ(grid.ColSel(), 2);
  EXPECT_EQ(grid.TopRow(), 3) << "a row out of sight comes to the top";
  EXPECT_EQ(view.searchSelected, 1);

  controller.Search("C100");  // the first match, again and again
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
  controller.Search("C100");
  EXPECT_EQ(grid.Row(), 1);
  controller.Search("Nasrin");  // visible already: the grid does not scroll
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.TopRow(), 1);

  dialogs.Expect("There is no such BO in the list.", "BO Not Found.", MsgIcon::Critical);
  controller.Search("bob");
  EXPECT_EQ(grid.Row(), 2);
  // Neither the header row nor the serial column is searched.
  grid.SetText(3, 0, "7");
  dialogs.Expect("There is no such BO in the list.", "BO Not Found.", MsgIcon::Critical);
  controller.Search("7");
  dialogs.Expect("There is no such BO in the list.", "BO Not Found.", MsgIcon::Critical);
  controller.Search("Client");
  controller.Search("   ");
  EXPECT_EQ(view.searchSelected, 7);

  controller.ChangeKind(1);
  dialogs.Expect("There is no such ISIN in the list.", "BO Not Found.", MsgIcon::Critical);
  controller.Search("alpha");
  controller.Search("Alpha");
  EXPECT_EQ(grid.Row(), 1);
}

TEST_F(ListFixture, SaveRefusesBlankRowsThenWritesAndReloadsTheListsLookups) {
  Open("BO");
  controller.AddRowAndEdit();
  controller.EditorEscape();
  grid.SetTopRow(1);
  // A row that holds only its serial number is blank.
  dialogs.Expect("Blank row (row number 4) cannot be saved.", "Blank Row Found.",
                 MsgIcon::Critical);
  controller.Save();
  EXPECT_EQ(dir.Read("BO.txt"), kBOText);
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(grid.TopRow(), 4);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.ColSel(), 3);

  Type(4, 3, " C1004 ");
  Type(4, 1, "44");
  // Unsaved: the lookups and the file know nothing of it, and a Reload drops it.
  EXPECT_EQ(app.lists.FindBOName("1204510000000044"), kBONameNotFound);
  dialogs.ExpectQuestion("Are you sure to reload the list?", "Reload Confirmation", MsgAnswer::No);
  controller.Reload();
  EXPECT_EQ(grid.Rows(), 5);

  dialogs.Expect("Saved successfully.", "Saved.", MsgIcon::Information);
  controller.Save();
  EXPECT_EQ(dir.Read("BO.txt"), std::string(kBOText) + "\r\n4~1204510000000044~~C1004");
  EXPECT_EQ(app.lists.FindClientCode("1204510000000044"), "C1004");

  // After a Reload without Save, the lookups keep what was saved.
  Type(4, 1, "55");
  dialogs.ExpectQuestion("Are you sure to reload the list?", "Reload Confirmation", MsgAnswer::Yes);
  controller.Reload();
  EXPECT_EQ(grid.Text(4, 1), "1204510000000044");
  EXPECT_EQ(app.lists.FindClientCode("1204510000000055"), "");

  // Saving the ISIN list reloads the ISIN lookups, not the BO ones.
  controller.ChangeKind(1);
  Type(2, 3, "BRIGHT");
  dialogs.Expect("Saved successfully.", "Saved.", MsgIcon::Information);
  controller.Save();
  EXPECT_EQ(app.lists.FindISINByScripID("bright"), "MG1037BRIG52");
  EXPECT_EQ(app.lists.FindScripID("MG1037"), "BRIGHT");
}

TEST_F(ListFixture, ANewListIsBlankAndAFailedSaveKeepsFileAndLookups) {
  std::filesystem::remove(dir.File("ISIN.txt"));
  dialogs.ExpectContaining("File not found", "Error loading file into list.", MsgIcon::Critical);
  Open("ISIN");
  dialogs.Expect("Blank row (row number 1) cannot be saved.", "Blank Row Found.",
                 MsgIcon::Critical);
  controller.Save();
  EXPECT_FALSE(dir.Exists("ISIN.txt"));

  // The main file's name taken by a folder: the write fails, nothing follows it.
  controller.ChangeKind(0);
  Type(1, 2, "Renamed");
  std::filesystem::remove(dir.File("BO.txt"));
  std::filesystem::create_directory(dir.File("BO.txt"));
  dialogs.ExpectErrorContaining("Path is a folder, not a file");
  controller.Save();
  EXPECT_EQ(app.lists.FindBOName("1204510000000011"), "Rahim Hossain");
}

TEST_F(ListFixture, BadListFilesGetTheLoadersMessageAndNeverReachTheMainFile) {
  // A "~" inside a cell gives the line a fifth field.
  dir.Write("BO.txt", std::string(kBOText) + "\r\n4~1204510000000044~Ali ~ Sons~C1004");
  dialogs.ExpectContaining("more cells than the 4 columns", "Error loading file into list.",
                           MsgIcon::Critical);
  Open("BO");
  EXPECT_EQ(grid.Text(3, 2), "Belal Begum") << "the rows before the bad line stay";

  // Empty lines and a final CR LF load as blank rows, which Save refuses.
  const std::string gappy =
      "S/N~BO ID~BO Name~Client Code\r\n1~1204510000000011~Rahim~C1\r\n\r\n"
      "3~1204510000000033~Belal~C3\r\n";
  dir.Write("BO.txt", gappy);
  controller.ChangeKind(0);
  ASSERT_EQ(grid.Rows(), 5);
  EXPECT_EQ(grid.Text(3, 1), "1204510000000033");
  dialogs.Expect("Blank row (row number 2) cannot be saved.", "Blank Row Found.",
                 MsgIcon::Critical);
  controller.Save();
  EXPECT_EQ(dir.Read("BO.txt"), gappy);
}

TEST(FindBlankListRow, TheFirstRowWithNothingButBlanksAfterItsSerial) {
  Grid grid(4, 3, 1);
  grid.SetText(1, 1, "x");
  grid.SetText(2, 0, "2");
  grid.SetText(2, 2, "   ");
  grid.SetText(3, 2, "y");
  EXPECT_EQ(FindBlankListRow(grid), 2);
  grid.SetText(2, 1, " z ");
  EXPECT_EQ(FindBlankListRow(grid), std::nullopt);
}

}  // namespace
}  // namespace quorvin
