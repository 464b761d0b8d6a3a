// Nothing typed is lost: the question on leaving, a second clerk's save of
// the same day, and the recovery copy a program that dies leaves behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "ground/grid_text.h"
#include "support/entry_fixture.h"

namespace quorvin {
namespace {

using test::EntryFixture;
using test::kBoidA;

const char* kLoseData = "Unsaved data will be lost.\r\nAre you sure to continue?";
const char* kDayFile = "10-Dec-2026_PI_204513.txt";
const char* kRecovery = ".10-Dec-2026_PI_204513.txt.unsaved";

class UnsavedWork : public EntryFixture {
 protected:
  void SaveDay() {
    dialogs.ExpectQuestion("Are you sure to save the Pay In file of 10-Dec-2026 ?",
                           "Save Confirmation", MsgAnswer::Yes);
    dialogs.Expect("Pay In file of 10-Dec-2026 saved successfully.", "File Saved.",
                   MsgIcon::Information);
    controller.Save();
  }
};

TEST_F(UnsavedWork, LeavingAsksOnlyWhenRowsChangedSinceTheLastSave) {
  EXPECT_TRUE(controller.ConfirmExit());  // nothing typed: no question
  AddEntry("08-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "100");
  dialogs.Expect(kLoseData, "Confirm Exit", MsgIcon::Question, MsgAnswer::No,
                 MsgButtons::YesNoDefaultNo);
  EXPECT_FALSE(controller.ConfirmExit());
  dialogs.Expect(kLoseData, "Confirm Exit", MsgIcon::Question, MsgAnswer::Yes,
                 MsgButtons::YesNoDefaultNo);
  EXPECT_TRUE(controller.ConfirmExit());
  SaveDay();
  EXPECT_TRUE(controller.ConfirmExit());
  dialogs.VerifyDone();
}

TEST_F(UnsavedWork, ASaveOverAnotherClerksSaveOfTheDayAsksFirst) {
  AddEntry("08-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "100");
  SaveDay();
  // Clerk B, on the same data folder, saves the day after clerk A last did.
  std::filesystem::last_write_time(
      dir.File(kDayFile),
      std::filesystem::last_write_time(dir.File(kDayFile)) - std::chrono::seconds(5));
  dir.Write(kDayFile, "clerk B's rows");
  grid.SetText(1, col::kQuantity, "150");
  dialogs.ExpectQuestion("Are you sure to save the Pay In file of 10-Dec-2026 ?",
                         "Save Confirmation", MsgAnswer::Yes);
  dialogs.ExpectContaining("perhaps by another clerk", "File Changed", MsgIcon::Question,
                           MsgAnswer::No, MsgButtons::YesNoDefaultNo);
  controller.Save();
  EXPECT_EQ(dir.Read(kDayFile), "clerk B's rows");
  EXPECT_TRUE(controller.HasUnsavedChanges());

  dialogs.ExpectQuestion("Are you sure to save the Pay In file of 10-Dec-2026 ?",
                         "Save Confirmation", MsgAnswer::Yes);
  dialogs.ExpectContaining("perhaps by another clerk", "File Changed", MsgIcon::Question,
                           MsgAnswer::Yes, MsgButtons::YesNoDefaultNo);
  dialogs.Expect("Pay In file of 10-Dec-2026 saved successfully.", "File Saved.",
                 MsgIcon::Information);
  controller.Save();
  EXPECT_EQ(dir.Read(kDayFile), GridToText(grid));
  dialogs.VerifyDone();
}

TEST_F(UnsavedWork, RowsOfAProgramThatDiedAreOfferedAtTheNextStart) {
  AddEntry("08-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "100");
  controller.KeepRecoveryCopy();
  const std::string typed = GridToText(grid);
  EXPECT_EQ(dir.Read(kRecovery), typed);

  // The next start, after the program died.
  for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
    dir.Write(kRecovery, typed);
    Grid next{2, kEntryColumns, 1};
    test::FakeMainView nextView;
    MainController again{app, next, nextView, holdingView};
    again.SetUpMainWindow();
    dialogs.ExpectContaining("Restore them?", "Unsaved Rows Found", MsgIcon::Question, answer,
                             MsgButtons::YesNo);
    again.OfferRecovery();
    dialogs.VerifyDone();
    if (answer == MsgAnswer::No) {
      EXPECT_FALSE(dir.Exists(kRecovery));
      EXPECT_FALSE(again.HasUnsavedChanges());
      continue;
    }
    EXPECT_EQ(GridToText(next), typed);
    EXPECT_EQ(nextView.settlement, (Date{2026, 12, 10}));
    EXPECT_TRUE(again.HasUnsavedChanges());
    EXPECT_TRUE(dir.Exists(kRecovery)) << "kept until the rows are saved";
    dialogs.Expect(kLoseData, "Confirm Exit", MsgIcon::Question, MsgAnswer::Yes,
                 MsgButtons::YesNoDefaultNo);
    EXPECT_TRUE(again.ConfirmExit());
    EXPECT_FALSE(dir.Exists(kRecovery));
  }
}

}  // namespace
}  // namespace quorvin
