// Tests of saving and reloading a day's instruction file: the blank grid, a
// round trip, a refused question, a day never saved and a failed save.
#include "day/instruction_files.h"

#include <gtest/gtest.h>

#include "support/entry_fixture.h"

namespace quorvin {
namespace {

using test::EntryFixture;

const std::string kHeader =
    "S/N~Broker ID~Clearing BOID~Trade Date~Delivery Date~Client Code~BO ID~BO Name~Scrip "
    "ID~ISIN Code~ISIN Name~Quantity~Internal Ref. No.";

class InstructionFiles : public EntryFixture {
 protected:
  void ExpectSave(const std::string& kind, MsgAnswer answer = MsgAnswer::Yes) {
    dialogs.ExpectQuestion("Are you sure to save the " + kind + " file of 10-Dec-2026 ?",
                           "Save Confirmation", answer);
    if (answer == MsgAnswer::Yes)
      dialogs.Expect(kind + " file of 10-Dec-2026 saved successfully.", "File Saved.",
                     MsgIcon::Information);
  }
  void ExpectReload(MsgAnswer answer = MsgAnswer::Yes) {
    dialogs.ExpectQuestion("Are you sure to load the Pay In file of 10-Dec-2026 ?",
                           "Load Confirmation", answer);
  }
};

TEST_F(InstructionFiles, BlankGridSavesAsTwoLines) {
  ExpectSave("Pay In");
  controller.Save();
  EXPECT_EQ(dir.Read("10-Dec-2026_PI_204513.txt"), kHeader + "\r\n1~~~~~~~~~~~~");
}

TEST_F(InstructionFiles, ReloadRestoresTheSavedRowsExactly) {
  AddEntry("08-Dec-2026", "C1001", test::kBoidA, "ALPHATEX", "MG1000ALPH31", "100");
  AddEntry("08-Dec-2026", "C1002", test::kBoidB, "BRIGHTCEM", "MG1037BRIG52", "50");
  ExpectSave("Pay In");
  controller.Save();
  grid.SetText(1, col::kQuantity, "999");
  grid.SetRows(5);
  ExpectReload();
  controller.Reload();
  EXPECT_EQ(grid.Rows(), 3);
  EXPECT_EQ(grid.Text(1, col::kQuantity), "100");
  EXPECT_EQ(grid.Text(2, col::kBOID), test::kBoidB);
  EXPECT_EQ(grid.Text(0, col::kInternalRefNo), "Internal Ref. No.");
}

TEST_F(InstructionFiles, NoChangesNothingAndEachKindHasItsFile) {
  ExpectSave("Pay In", MsgAnswer::No);
  controller.Save();
  EXPECT_FALSE(dir.Exists("10-Dec-2026_PI_204513.txt"));
  AddEntry("08-Dec-2026", "C1001", "", "", "", "5");
  ExpectReload(MsgAnswer::No);
  controller.Reload();
  EXPECT_EQ(grid.Text(1, col::kQuantity), "5");

  ExpectSave("Pay In");
  controller.Save();
  dialogs.ExpectQuestion("Unsaved data will be lost.\r\nAre you sure to continue?",
                         "Confirm Loading", MsgAnswer::Yes);
  controller.ChangeKind(kPayOut);
  ExpectSave("Pay Out");
  controller.Save();
  EXPECT_TRUE(dir.Exists("10-Dec-2026_PI_204513.txt"));
  EXPECT_TRUE(dir.Exists("10-Dec-2026_PO_204513.txt"));
  // Another settlement date is another file.
  view.settlement = Date{2026, 12, 11};
  EXPECT_EQ(InstructionFileName(app, view.settlement), "11-Dec-2026_PO_204513.txt");
}

TEST_F(InstructionFiles, ReloadOfADayNeverSavedLeavesOneBlankRow) {
  AddEntry("08-Dec-2026", "C1001", "", "", "", "5");
  ExpectReload();
  dialogs.Expect("Tried to read file: " + dir.File("10-Dec-2026_PI_204513.txt") +
                     "\r\nError Description: File not found",
                 "Error loading file into list.", MsgIcon::Critical);
  controller.Reload();
  EXPECT_TRUE(IsGridEmpty(grid));
  EXPECT_EQ(grid.Text(1, 0), "1");
}

TEST_F(InstructionFiles, FailedSaveDoesNotAnnounceSuccess) {
  app.settings.BackupLocation = dir.File("gone/");
  dialogs.ExpectQuestion("Are you sure to save the Pay In file of 10-Dec-2026 ?",
                         "Save Confirmation", MsgAnswer::Yes);
  dialogs.ExpectErrorContaining("File not found");
  controller.Save();
}

}  // namespace
}  // namespace quorvin
