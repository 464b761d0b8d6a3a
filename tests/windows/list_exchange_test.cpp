// The list exchange up to the transfer itself: the script lines, and every
// way it stops before the client runs. The transfers are tested against the
// exchange emulator in the integration tests.
#include <gtest/gtest.h>

#include <filesystem>

#include "ground/version.h"
#include "list_fixture.h"
#include "windows/list_window.h"

namespace quorvin {
namespace {

using test::kISINText;
using test::ListFixture;

TEST_F(ListFixture, ASendWithABlankRowSendsNothingAndSelectsTheRow) {
  Open("BO");
  controller.AddRowAndEdit();
  controller.EditorEscape();
  dialogs.Expect("Blank row (row number 4) cannot be saved.", "Blank Row Found.",
                 MsgIcon::Critical);
  controller.UpdateList();
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(view.caption, WindowCaption(" : List of BOs"));
  EXPECT_TRUE(view.cursors.empty());
  EXPECT_FALSE(dir.Exists("BO_204513.txt"));
  EXPECT_FALSE(dir.Exists("ftp2MGX.txt"));
}

TEST_F(ListFixture, AnUploadFileThatCannotBeWrittenStopsTheSendBeforeTheClientRuns) {
  Open("BO");
  view.captions.clear();
  std::filesystem::create_directory(dir.File("BO_204513.txt"));
  dialogs.ExpectErrorContaining("Path is a folder, not a file");
  controller.UpdateList();
  EXPECT_EQ(view.captions.front(), "Sending list of BOs to MGX...Please wait...");
  EXPECT_EQ(view.caption, WindowCaption(" : List of BOs"));
  EXPECT_FALSE(view.waitCursor);
  EXPECT_TRUE(view.controlsEnabled);
  EXPECT_FALSE(controller.Busy());
  EXPECT_FALSE(dir.Exists("ftp2MGX.txt"));
}

TEST_F(ListFixture, AReceiveThatCannotKeepABackupDoesNotTouchTheISINList) {
  clock.now = DateTime{Date{2026, 12, 9}, 16, 5, 0};
  Open("ISIN");
  view.captions.clear();
  std::filesystem::create_directory(dir.File("2026-12-09_16-05-00_ISIN.txt"));
  dialogs.ExpectErrorContaining("Path is a folder, not a file");
  controller.UpdateList();
  EXPECT_EQ(view.captions,
            (std::vector<std::string>{"Receiving list of ISINs from MGX...Please wait...",
                                      WindowCaption(" : List of ISINs")}));
  EXPECT_TRUE(view.cursors.front());
  EXPECT_FALSE(view.waitCursor);
  EXPECT_EQ(dir.Read("ISIN.txt"), kISINText);
  EXPECT_FALSE(dir.Exists("ftp2MGX.txt"));
  EXPECT_FALSE(controller.Busy());
}

}  // namespace
}  // namespace quorvin
