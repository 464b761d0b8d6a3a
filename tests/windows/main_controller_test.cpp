// Tests of the main controller: the caption, start, kind switch, editors and
// their lookups, refused settings, and Auto-Fill's Internal Ref. Nos.
#include "windows/main_controller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "day/row_operations.h"
#include "ground/version.h"
#include "support/entry_fixture.h"

namespace quorvin {
namespace {

using test::EntryFixture;
using test::kBoidA;
using test::kBoidB;

const char* kLoseData = "Unsaved data will be lost.\r\nAre you sure to continue?";

TEST(WindowCaption, ShowsMajorAndRevisionOnly) {
  EXPECT_EQ(WindowCaption(3, 6, " : Pay In"), "Quorvin v3.6 : Pay In");
}

TEST_F(EntryFixture, StartsAsAnEmptyPayInDay) {
  for (const char* leftover : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt"}) dir.Write(leftover, "x");
  controller.SetUpMainWindow();
  EXPECT_FALSE(dir.Exists("ftp2MGX.txt")) << "a crashed run's password file stays";
  EXPECT_FALSE(dir.Exists("out.txt"));
  EXPECT_EQ(app.instructionKind, "Pay In");
  EXPECT_EQ(app.kindCode, "PI");
  EXPECT_EQ(view.caption, WindowCaption(" : Pay In"));
  EXPECT_EQ(view.gridToolTip,
            "Pay In entries. Press INSERT key to add a new row or DELETE key to remove the "
            "selected row(s).");
  EXPECT_EQ(view.loadCaption, "Load Payin");
  EXPECT_TRUE(view.checkEnabled);
  EXPECT_EQ(view.settlement, (Date{2026, 12, 8}));
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Text(0, 12), "Internal Ref. No.");
  EXPECT_EQ(grid.Text(1, 0), "1");
  EXPECT_FALSE(controller.KindChangeRefused());
}

TEST_F(EntryFixture, TheTradeFileIsLookedForInTheDataFolder) {
  dialogs.QueueOpenFile(std::nullopt);
  controller.LoadTradeFile();
  EXPECT_EQ(dialogs.openFileFolders, std::vector<std::string>{dir.Path()});
}

// An empty Quorvin.ini leaves the settings blank: nothing may be written
// under a broker of no name into whatever folder the program runs in.
TEST_F(EntryFixture, SaveReportAndSendRefuseIncompleteSettings) {
  controller.SetUpMainWindow();
  app.settings = {};
  for (auto handler : {&MainController::Save, &MainController::Report, &MainController::Send}) {
    dialogs.ExpectContaining("The settings are incomplete.", "Settings incomplete",
                             MsgIcon::Critical);
    (controller.*handler)();
    dialogs.VerifyDone();
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_FALSE(std::filesystem::exists("08-Dec-2026_PI_.txt"));
}

// Running out of memory is told in words, never as the library's "std::bad_alloc".
TEST_F(EntryFixture, OutOfMemorySaysSoInWords) {
  dialogs.ExpectErrorContaining("Out of memory");
  controller.Guard([] { throw std::bad_alloc(); });
  EXPECT_EQ(dialogs.shown.back().text.find("bad_alloc"), std::string::npos);
}

TEST_F(EntryFixture, SwitchingKindWithAnEmptyGridAsksNothing) {
  controller.ChangeKind(kPayOut);
  EXPECT_EQ(app.kindCode, "PO");
  EXPECT_EQ(view.caption, WindowCaption(" : Pay Out"));
  EXPECT_EQ(view.loadCaption, "Load Payout");
  EXPECT_FALSE(view.checkEnabled);
  EXPECT_EQ(view.shownKind, "Pay Out");
  EXPECT_EQ(grid.Rows(), 2);
}

TEST_F(EntryFixture, RefusedKindSwitchKeepsRowsAndKind) {
  AddEntry("08-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "100");
  dialogs.ExpectQuestion(kLoseData, "Confirm Loading", MsgAnswer::No);
  controller.ChangeKind(kPayOut);
  EXPECT_TRUE(controller.KindChangeRefused());
  EXPECT_EQ(app.instructionKind, "Pay In");
  EXPECT_EQ(app.kindCode, "PI");
  EXPECT_EQ(view.shownKind, "Pay In");
  EXPECT_EQ(view.focusedKind, "Pay In");
  EXPECT_EQ(grid.Text(1, col::kClientCode), "C1001");

  dialogs.ExpectQuestion(kLoseData, "Confirm Loading", MsgAnswer::Yes);
  controller.ChangeKind(kPayOut);
  EXPECT_EQ(app.kindCode, "PO");
  EXPECT_TRUE(IsGridEmpty(grid));
  EXPECT_EQ(grid.Text(1, 0), "1");
}

TEST_F(EntryFixture, InsertAddsARowAndOpensItsTradeDateExceptFromExit) {
  controller.KeyUp(MainControl::Grid, kKeyInsert);
  EXPECT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.Text(2, 0), "2");
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), col::kTradeDate);
  EXPECT_EQ(view.editor, "date");

  view.HideEditors();
  controller.KeyUp(MainControl::BtnExit, kKeyInsert);
  EXPECT_EQ(grid.Rows(), 4);
  EXPECT_EQ(grid.Col(), col::kTradeDate);
  EXPECT_EQ(view.editor, "");

  controller.KeyUp(MainControl::Other, kKeyInsert);
  controller.KeyUp(MainControl::Grid, 65);
  EXPECT_EQ(grid.Rows(), 4);

  dialogs.ExpectQuestion("Are you sure to delete the selected record(s)?", "Delete Confirmation",
                         MsgAnswer::Yes, MsgIcon::Critical);
  controller.KeyUp(MainControl::BtnExit, kKeyDelete);
  EXPECT_EQ(grid.Rows(), 3);
}

TEST_F(EntryFixture, EditorsOpenOnlyWhereTheGestureAllows) {
  grid.SetCurrent(1, col::kClearingBOID);
  controller.BeginCellEdit(EditGesture::DoubleClick);
  EXPECT_EQ(view.editor, "");
  controller.BeginCellEdit(EditGesture::Enter);
  EXPECT_EQ(view.editor, "text");
  view.HideEditors();
  grid.SetCurrent(1, col::kInternalRefNo);
  controller.BeginCellEdit(EditGesture::Enter);
  EXPECT_EQ(view.editor, "");
  view.freeEntry = true;
  controller.BeginCellEdit(EditGesture::Enter);
  EXPECT_EQ(view.editor, "text");
  view.HideEditors();
  grid.SetCurrent(1, col::kSN);
  controller.BeginCellEdit(EditGesture::DoubleClick);
  EXPECT_EQ(view.editor, "");
  controller.BeginCellEdit(EditGesture::Enter);
  EXPECT_EQ(view.editor, "text");
}

TEST_F(EntryFixture, TextEditorWritesThroughTheLookups) {
  grid.SetCurrent(1, col::kClientCode);
  controller.BeginCellEdit(EditGesture::Enter);
  controller.EditorEnter("  C1002 ");
  EXPECT_EQ(view.editor, "");
  EXPECT_EQ(grid.Text(1, col::kClientCode), "C1002");
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidB);
  EXPECT_EQ(grid.Text(1, col::kBOName), "Nasrin Akter");

  grid.SetCurrent(1, col::kScripID);
  controller.BeginCellEdit(EditGesture::Enter);
  controller.EditorEnter("brig");
  EXPECT_EQ(grid.Text(1, col::kISINCode), "MG1037BRIG52");
  EXPECT_EQ(grid.Text(1, col::kISINName), "Bright Cement Company Ltd.");

  // An unknown client code empties the BO ID and names the gap.
  grid.SetCurrent(1, col::kClientCode);
  controller.BeginCellEdit(EditGesture::Enter);
  controller.EditorEnter("C9999");
  EXPECT_EQ(grid.Text(1, col::kBOID), "");
  EXPECT_EQ(grid.Text(1, col::kBOName), "BO NAME NOT FOUND");
}

TEST_F(EntryFixture, BoidIsCompletedFromTheTemplateAndTooLongIsRefused) {
  grid.SetCurrent(1, col::kBOID);
  controller.BeginCellEdit(EditGesture::Enter);
  controller.EditorEnter("11");
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidA);
  EXPECT_EQ(grid.Text(1, col::kClientCode), "C1001");
  EXPECT_EQ(grid.Text(1, col::kBOName), "Rahim Hossain");

  controller.BeginCellEdit(EditGesture::Enter);
  dialogs.Expect("BOID length can not be greater than 16.", "Quorvin", MsgIcon::Critical);
  controller.EditorEnter("12345678901234567");
  EXPECT_EQ(view.editor, "text");  // stays open with the clerk's text
  EXPECT_EQ(view.editorText, "12345678901234567");
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidA);

  // Clearing the BO ID clears its name and client code, with or without free entry.
  view.freeEntry = true;
  controller.EditorEnter("");
  EXPECT_EQ(grid.Text(1, col::kBOID), "");
  EXPECT_EQ(grid.Text(1, col::kClientCode), "");
  EXPECT_EQ(grid.Text(1, col::kBOName), "");

  // With free entry the completion still happens but nothing is looked up.
  controller.BeginCellEdit(EditGesture::Enter);
  controller.EditorEnter("22");
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidB);
  EXPECT_EQ(grid.Text(1, col::kBOName), "");
}

TEST_F(EntryFixture, QuantityDropsCommasAndMustBeNumeric) {
  grid.SetCurrent(1, col::kQuantity);
  controller.BeginCellEdit(EditGesture::Enter);
  controller.EditorEnter("1,500");
  EXPECT_EQ(grid.Text(1, col::kQuantity), "1500");
  controller.BeginCellEdit(EditGesture::Enter);
  dialogs.Expect("Quantity must be numeric.", "Invalid Entry.", MsgIcon::Critical);
  controller.EditorEnter("15O0");
  EXPECT_EQ(view.editor, "text");
  EXPECT_EQ(grid.Text(1, col::kQuantity), "1500");
  controller.EditorEnter("");
  EXPECT_EQ(grid.Text(1, col::kQuantity), "");
}

TEST_F(EntryFixture, EditorsStartFromTheRowAbove) {
  AddEntry("07-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "100");
  AddEntry("", "", "", "", "", "");
  AddEntry("05-Dec-2026", "", "", "", "", "");
  grid.SetCurrent(2, col::kClientCode);
  controller.BeginCellEdit(EditGesture::Enter);
  EXPECT_EQ(view.editorText, "C1001");
  grid.SetCurrent(1, col::kQuantity);
  grid.SetText(1, col::kQuantity, " ");
  controller.BeginCellEdit(EditGesture::Enter);
  EXPECT_EQ(view.editorText, "");
  // The date picker follows a dated row above, even over the cell's own date.
  grid.SetText(2, col::kTradeDate, "06-Dec-2026");
  grid.SetCurrent(3, col::kTradeDate);
  controller.BeginCellEdit(EditGesture::Enter);
  EXPECT_EQ(view.pickerDate, (Date{2026, 12, 6}));
  controller.DatePickerChanged(Date{2026, 12, 4});
  EXPECT_EQ(grid.Text(3, col::kTradeDate), "04-Dec-2026");
  controller.DatePickerEnter(Date{2026, 12, 3});
  EXPECT_EQ(grid.Text(3, col::kTradeDate), "03-Dec-2026");
  EXPECT_EQ(view.editor, "");
}

TEST_F(EntryFixture, AutoFillSortsThenNumbersTheInternalRefNoPerBo) {
  // Client codes of BO IDs A, A, B, A.
  AddEntry("08-Dec-2026", "C1001", "", "ALPHATEX", "", "100");
  AddEntry("08-Dec-2026", "C1001", "", "BRIGHTCEM", "", "50");
  AddEntry("08-Dec-2026", "C1002", "", "ALPHATEX", "", "10");
  AddEntry("08-Dec-2026", "C1001", "", "ALPHATEX", "", "20");
  controller.AutoFields();
  const char* boids[] = {kBoidA, kBoidA, kBoidA, kBoidB};
  const char* refs[] = {"I2045130812261", "I2045130812261", "I2045130812261", "I2045130812262"};
  for (int r = 1; r <= 4; ++r) {
    EXPECT_EQ(grid.Text(r, col::kSN), std::to_string(r));
    EXPECT_EQ(grid.Text(r, col::kBrokerID), "204513");
    EXPECT_EQ(grid.Text(r, col::kClearingBOID), "1204510000067342");
    EXPECT_EQ(grid.Text(r, col::kDeliveryDate), "10-Dec-2026");
    EXPECT_EQ(grid.Text(r, col::kBOID), boids[r - 1]);
    EXPECT_EQ(grid.Text(r, col::kInternalRefNo), refs[r - 1]);
  }
  EXPECT_EQ(grid.Text(2, col::kISINName), "Bright Cement Company Ltd.");  // quantity descends
}

TEST_F(EntryFixture, AutoFillLeavesTheRefNoOfARowWithoutTradeDate) {
  AddEntry("", "C1002", "", "ALPHATEX", "", "10");
  grid.SetText(1, col::kInternalRefNo, "kept");
  controller.AutoFields();
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidB);
  EXPECT_EQ(grid.Text(1, col::kInternalRefNo), "kept");
}

TEST_F(EntryFixture, AutoFillStopsAtATradeDateThatIsNoDate) {
  AddEntry("someday", "C1001", "", "ALPHATEX", "", "100");
  dialogs.ExpectErrorContaining("Type mismatch");
  controller.AutoFields();
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidA);
  EXPECT_EQ(grid.Text(1, col::kInternalRefNo), "");
}

}  // namespace
}  // namespace quorvin
