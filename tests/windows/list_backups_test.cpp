// Dated backups of the lists: Save As Backup and the backup panel.
#include <gtest/gtest.h>

#include <filesystem>

#include "list_fixture.h"
#include "windows/list_window.h"

namespace quorvin {
namespace {

using test::kBOText;
using test::kISINText;
using test::ListFixture;
using Entries = std::vector<std::string>;

TEST_F(ListFixture, SaveAsBackupCopiesTheFileAsSavedUnderTheStamp) {
  clock.now = DateTime{Date{2010, 5, 17}, 14, 3, 59};
  Open("BO");
  Type(1, 2, "An unsaved name");
  dialogs.Expect("Backup taken successfully.", "Backup succeeded.", MsgIcon::Information);
  controller.SaveAsBackup();
  EXPECT_EQ(dir.Read("2010-05-17_14-03-59_BO.txt"), kBOText) << "unsaved edits are not backed up";

  // Within the same second the second backup replaces the first.
  dir.Write("BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~1~x~y");
  dialogs.Expect("Backup taken successfully.", "Backup succeeded.", MsgIcon::Information);
  controller.SaveAsBackup();
  EXPECT_EQ(dir.Read("2010-05-17_14-03-59_BO.txt"), "S/N~BO ID~BO Name~Client Code\r\n1~1~x~y");

  controller.AddRowAndEdit();
  dialogs.Expect("Blank row (row number 4) cannot be saved.", "Blank Row Found.",
                 MsgIcon::Critical);
  clock.now.second = 0;
  controller.SaveAsBackup();
  EXPECT_FALSE(dir.Exists("2010-05-17_14-03-00_BO.txt"));
  EXPECT_EQ(grid.Row(), 4);
}

TEST_F(ListFixture, ABackupThatCannotBeMadeIsReportedAndLeavesTheMainFile) {
  clock.now = DateTime{Date{2010, 5, 17}, 14, 3, 59};
  Open("ISIN");
  // The backup's name taken by a folder: the location cannot take the copy.
  std::filesystem::create_directory(dir.File("2010-05-17_14-03-59_ISIN.txt"));
  dialogs.ExpectErrorContaining("Path is a folder, not a file");
  controller.SaveAsBackup();
  EXPECT_EQ(dir.Read("ISIN.txt"), kISINText);

  std::filesystem::remove(dir.File("ISIN.txt"));
  clock.now.second = 1;
  dialogs.ExpectErrorContaining("File not found");
  controller.SaveAsBackup();
  EXPECT_FALSE(dir.Exists("2010-05-17_14-04-00_ISIN.txt"));
}

TEST_F(ListFixture, ThePanelListsThisKindsBackupsOldestFirstAndTheMainFileLast) {
  dir.Write("2026-12-08_09-00-00_BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~B~Second~C2");
  dir.Write("2025-01-31_17-30-00_BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~A~First~C1");
  dir.Write("2026-12-08_09-00-00_ISIN.txt", kISINText);
  Open("BO");
  controller.OpenBackupPanel();
  EXPECT_TRUE(view.panelOpen);
  EXPECT_FALSE(view.controlsEnabled);
  EXPECT_EQ(view.panelTitle, "List of BOs");
  EXPECT_EQ(view.entries, (Entries{"2025-01-31_17-30-00", "2026-12-08_09-00-00", "BO.txt"}));
  EXPECT_EQ(view.selectedEntry, 2);
  // Row keys do nothing while the panel has the window.
  controller.KeyUp(ListControl::Form, kKeyInsert);
  EXPECT_EQ(grid.Rows(), 4);

  controller.SelectBackup(0);
  controller.LoadBackup();
  EXPECT_FALSE(view.panelOpen);
  EXPECT_TRUE(view.controlsEnabled);
  EXPECT_EQ(grid.Text(1, 2), "First");
  EXPECT_EQ(dir.Read("BO.txt"), kBOText) << "a loaded backup is only in the grid";
  EXPECT_EQ(app.lists.FindBOName("A"), kBONameNotFound);

  // The main file's entry reloads the main file, without a question.
  controller.OpenBackupPanel();
  controller.LoadBackup();
  EXPECT_EQ(grid.Text(1, 2), "Rahim Hossain");

  controller.ChangeKind(1);
  controller.OpenBackupPanel();
  EXPECT_EQ(view.panelTitle, "List of ISINs");
  EXPECT_EQ(view.entries, (Entries{"2026-12-08_09-00-00", "ISIN.txt"}));
  controller.CloseBackupPanel();
  EXPECT_FALSE(view.panelOpen);
  EXPECT_TRUE(view.controlsEnabled);
}

TEST_F(ListFixture, DeleteRefusesTheMainFileAsksAndRemovesTheBackup) {
  dir.Write("2026-12-08_09-00-00_BO.txt", kBOText);
  dir.Write("2026-12-08_10-00-00_BO.txt", kBOText);
  Open("BO");
  controller.OpenBackupPanel();
  dialogs.Expect("This is currently the main file. You cannot delete this.", "Deletion Failed",
                 MsgIcon::Critical);
  controller.DeleteBackup();
  EXPECT_TRUE(dir.Exists("BO.txt"));

  controller.SelectBackup(1);
  dialogs.ExpectQuestion("Are you sure to delete the selected backup?", "Delete Confirmation",
                         MsgAnswer::No, MsgIcon::Critical);
  controller.DeleteBackup();
  EXPECT_TRUE(dir.Exists("2026-12-08_10-00-00_BO.txt"));

  dialogs.ExpectQuestion("Are you sure to delete the selected backup?", "Delete Confirmation",
                         MsgAnswer::Yes, MsgIcon::Critical);
  dialogs.Expect("Backup deleted successfully.", "Delete Succeeded", MsgIcon::Information);
  controller.DeleteBackup();
  EXPECT_FALSE(dir.Exists("2026-12-08_10-00-00_BO.txt"));
  EXPECT_EQ(view.entries, (Entries{"2026-12-08_09-00-00", "BO.txt"}));
  EXPECT_EQ(view.selectedEntry, 0);
  EXPECT_TRUE(view.panelOpen) << "Delete leaves the panel open";

  // The last backup gone, the main file is the one entry left, selected.
  dialogs.ExpectQuestion("Are you sure to delete the selected backup?", "Delete Confirmation",
                         MsgAnswer::Yes, MsgIcon::Critical);
  dialogs.Expect("Backup deleted successfully.", "Delete Succeeded", MsgIcon::Information);
  controller.DeleteBackup();
  EXPECT_EQ(view.entries, (Entries{"BO.txt"}));
  EXPECT_EQ(view.selectedEntry, 0);

  // Nothing selected: nothing happens.
  controller.SelectBackup(-1);
  controller.DeleteBackup();
  controller.LoadBackup();
  EXPECT_TRUE(view.panelOpen);
}

TEST_F(ListFixture, FilesOutsideTheStampFormAreStillLoadedAndDeletedByTheirOwnName) {
  dir.Write("old copy BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~X~Old copy~C9");
  dir.Write("a_BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~X~Plain a~C9");
  dir.Write("a_BO.txt_BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~X~Doubled~C9");
  Open("BO");
  controller.OpenBackupPanel();
  ASSERT_EQ(view.entries, (Entries{"BO.txt", "a", "a", "old copy BO.txt"}));
  ASSERT_EQ(controller.BackupEntries()[2].fileName, "a_BO.txt_BO.txt");

  controller.SelectBackup(2);
  controller.LoadBackup();
  EXPECT_EQ(grid.Text(1, 2), "Doubled");
  controller.OpenBackupPanel();
  controller.SelectBackup(3);
  controller.LoadBackup();
  EXPECT_EQ(grid.Text(1, 2), "Old copy");

  controller.OpenBackupPanel();
  controller.SelectBackup(2);
  dialogs.ExpectQuestion("Are you sure to delete the selected backup?", "Delete Confirmation",
                         MsgAnswer::Yes, MsgIcon::Critical);
  dialogs.Expect("Backup deleted successfully.", "Delete Succeeded", MsgIcon::Information);
  controller.DeleteBackup();
  EXPECT_FALSE(dir.Exists("a_BO.txt_BO.txt"));
  EXPECT_TRUE(dir.Exists("a_BO.txt")) << "only the listed file goes";
}

TEST_F(ListFixture, ABackupGoneSinceListingFailsToLoadAndToDelete) {
  dir.Write("2026-12-08_09-00-00_BO.txt", kBOText);
  dir.Write("2026-12-08_10-00-00_BO.txt", kBOText);
  Open("BO");
  controller.OpenBackupPanel();
  std::filesystem::remove(dir.File("2026-12-08_09-00-00_BO.txt"));
  std::filesystem::remove(dir.File("2026-12-08_10-00-00_BO.txt"));

  controller.SelectBackup(0);
  dialogs.ExpectQuestion("Are you sure to delete the selected backup?", "Delete Confirmation",
                         MsgAnswer::Yes, MsgIcon::Critical);
  dialogs.ExpectErrorContaining("2026-12-08_09-00-00_BO.txt");
  controller.DeleteBackup();
  EXPECT_EQ(view.entries.size(), 3u) << "the entry stays after a failed delete";

  dialogs.ExpectContaining("2026-12-08_09-00-00_BO.txt", "Error loading file into list.",
                           MsgIcon::Critical);
  controller.LoadBackup();
  EXPECT_FALSE(view.panelOpen) << "Load closes the panel even when it fails";
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.RowCells(1), (Grid::CellRow{"1", "", "", ""}));
}

TEST_F(ListFixture, WithNoFileOfTheKindThePanelIsEmptyNotLeftWithTheOtherKinds) {
  Open("BO");
  controller.OpenBackupPanel();
  EXPECT_EQ(view.entries, (Entries{"BO.txt"}));
  controller.CloseBackupPanel();
  std::filesystem::remove(dir.File("ISIN.txt"));
  dialogs.ExpectContaining("File not found", "Error loading file into list.", MsgIcon::Critical);
  controller.ChangeKind(1);
  controller.OpenBackupPanel();
  EXPECT_TRUE(view.entries.empty());
  EXPECT_EQ(view.selectedEntry, -1);
  controller.LoadBackup();
  EXPECT_TRUE(view.panelOpen);
}

}  // namespace
}  // namespace quorvin
