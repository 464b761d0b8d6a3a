// Tests of the holding check: running sums, bad files and rows, the button,
// agreement with a scan per row, and rows edited during the walk.
#include "work/checks/holding_check.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>

#include "check_fixture.h"
#include "ground/version.h"
#include "straight_algorithms.h"
#include "support/temp_folder.h"

namespace quorvin::test {
namespace {

class FakeHoldingView : public HoldingMessageView {
 public:
  void ShowModal(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

const std::string kHeader =
    "Report for 08-Dec-2026 : Holding Balance of Participant 204513\r\n"
    "line 1\r\nline 2\r\nline 3\r\nline 4\r\nline 5\r\nline 6\r\nline 7";

class HoldingCheckTest : public CheckTest {
 protected:
  // Checks the grid against a holding file of this text.
  bool Check(const std::string& text) {
    folder.Write("11DPA6UX.TXT", text);
    return CheckHoldingFile(app, grid, window, view, folder.File("11DPA6UX.TXT"), "Saved");
  }

  TempFolder folder;
  FakeHoldingView view;
};

TEST_F(HoldingCheckTest, NeighbouringRowsAreCheckedWithTheirRunningSum) {
  SetEntries({{"1204X", "MGA", "100", "C1"},  // exactly the balance
              {"1204Y", "MGA", "60"},
              {"1204Y", "MGA", "50"},
              {"1204Z", "MGA", "5"},  // its BOID only in the heading
              {"", "MGA", "5"}});     // no BOID: not some other account's balance
  std::string file = kHeader;
  file.replace(file.find("line 3"), 6, "1204Z MGA 999");
  file += "\r\nMGA 1204X Name 100\r\n1204Y MGA Name  100\r\n1204Y MGA Name 1000";
  app.holdingMessage = "old";
  EXPECT_TRUE(Check(file));
  const std::string expected =
      "1204Y MGA holding insufficient. Pay In quantity : 110 Holding balance : 100\r\n"
      "1204Z MGA holding balance missing.\r\n"
      " MGA holding balance missing.\r\n";
  EXPECT_EQ(app.holdingMessage, expected);
  EXPECT_EQ(view.shown, std::vector<std::string>{expected});
  EXPECT_EQ(grid.Row(), 3);  // the first failing row, whole, at the top
  EXPECT_EQ(grid.RowSel(), 3);
  EXPECT_EQ(grid.ColSel(), kEntryColumns - 1);
  EXPECT_EQ(grid.TopRow(), 3);
  EXPECT_EQ(window.captions, (std::vector<std::string>{
                                 WindowCaption(" : ...Checking balance on 08-Dec-2026"), "Saved"}));
  EXPECT_FALSE(window.waitCursor);
}

TEST_F(HoldingCheckTest, BadFilesAndBadRowsEndWithTheirMessage) {
  SetEntries({{"1204X", "MGA", "1"}, {"1204X", "MGB", "1"}});
  app.holdingMessage = "old";
  dialogs.Expect(
      "The selected file is empty.\r\nPlease properly select the holding file "
      "(11DPA6UX.TXT).",
      "Empty File.", MsgIcon::Critical);
  EXPECT_TRUE(Check(""));
  EXPECT_EQ(app.holdingMessage, "old");
  EXPECT_EQ(window.caption, "Saved");
  EXPECT_FALSE(window.waitCursor);

  auto expectError = [&] {
    dialogs.Expect("Error checking BO account holding balance.", "Holding Check Error.",
                   MsgIcon::Critical);
  };
  expectError();
  EXPECT_TRUE(Check("Holding Balance 08-Dec-2026\r\n1204X MGA 5"));
  expectError();
  EXPECT_TRUE(CheckHoldingFile(app, grid, window, view, folder.File("absent.TXT"), "Saved"));

  const std::string file = kHeader + "\r\n1204X MGA 5\r\n1204X MGB 5";
  for (std::string bad : {"", "12a", "   "}) {
    grid.SetText(2, col::kQuantity, bad);
    window.caption = "busy";
    window.waitCursor = true;
    expectError();
    EXPECT_TRUE(Check(file));
    EXPECT_EQ(grid.Row(), 2);  // where the walk stopped
    EXPECT_EQ(window.caption, "Saved");
    EXPECT_FALSE(window.waitCursor);
  }
  EXPECT_TRUE(view.shown.empty());
}

TEST_F(HoldingCheckTest, CheckButtonAsksForTheFileAndConfirms) {
  SetEntries(
      {{"1204510008926391", "MG1407LOTU49", "1400"}, {"1204510008926391", "MG1814WEST24", "2750"}});
  window.caption = "Quorvin v1.3 : Pay In";
  std::string saved;
  dialogs.QueueOpenFile(std::string(QUORVIN_DEMO_DATA) + "/11DPA6UX.TXT");
  dialogs.Expect("Holding balance checking completed.", "Checking Complete.", MsgIcon::Information);
  CheckHoldingClicked(app, grid, window, view, saved);
  EXPECT_EQ(saved, "Quorvin v1.3 : Pay In");
  EXPECT_EQ(window.caption, saved);
  EXPECT_EQ(dialogs.openFileTitles, std::vector<std::string>{"Choose Holding FIle (11DPA6UX.TXT)"});
  EXPECT_EQ(dialogs.openFileFilters,
            std::vector<std::string>{"Text files (*.TXT)|*.TXT|All Files (*.*)|*.*"});
  // The holding report is looked for where the clerk keeps the day's files.
  EXPECT_EQ(dialogs.openFileFolders, std::vector<std::string>{app.settings.BackupLocation});
  EXPECT_TRUE(view.shown.empty());
  EXPECT_EQ(grid.Row(), 2);  // the walk ends on the last row

  grid.SetText(2, col::kQuantity, "2751");
  dialogs.QueueOpenFile(std::string(QUORVIN_DEMO_DATA) + "/11DPA6UX.TXT");
  CheckHoldingClicked(app, grid, window, view, saved);
  EXPECT_EQ(view.shown, std::vector<std::string>{
                            "1204510008926391 MG1814WEST24 holding insufficient. Pay In quantity : "
                            "2751 Holding balance : 2750\r\n"});

  dialogs.QueueOpenFile(std::nullopt);
  dialogs.Expect("You must select a holding file(DPA6UX.TXT) before sending to MGX.",
                 "Holding Not Checked.", MsgIcon::Critical);
  window.waitCursor = true;
  CheckHoldingClicked(app, grid, window, view, saved);
  EXPECT_FALSE(window.waitCursor);
  EXPECT_EQ(window.caption, saved);
}

// Random grids and files: the holding message, the verdict, the failing row
// and the error boxes must be those of a fresh scan of the file for every row.
TEST_F(HoldingCheckTest, MatchesAScanOfTheFileForEveryRow) {
  std::mt19937 rng(99);
  auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
  };
  const std::vector<std::string> boids = {"1204A", "1204B", "204A", "1204AB", ""};
  const std::vector<std::string> isins = {"MGX", "MGY", "GX"};
  for (int round = 0; round < 400; ++round) {
    std::vector<Entry> entries(rng() % 12);
    for (auto& e : entries) e = {pick(boids), pick(isins), pick({"0", "5", "50", "60", "100"})};
    SetEntries(entries);
    std::string file = kHeader;
    if (rng() % 2) file.replace(file.find("line 5"), 6, pick(boids) + " " + pick(isins) + " 1");
    for (int l = rng() % 10; l > 0; --l) {
      std::string a = pick(boids), b = pick(isins);
      if (rng() % 2) std::swap(a, b);
      file += "\r\n" + a + " Name " + b + " " + pick({"0", "50", "100", "110", "x", ""});
    }

    std::string message;
    bool failed = false;
    int firstFailing = -1;
    std::int32_t running = 0;
    for (int r = 1; r < grid.Rows(); ++r) {
      const std::string &boid = grid.Text(r, col::kBOID), &isin = grid.Text(r, col::kISINCode);
      double quantity = ToDouble(grid.Text(r, col::kQuantity));
      if (r > 1 && boid == grid.Text(r - 1, col::kBOID) && isin == grid.Text(r - 1, col::kISINCode))
        running = static_cast<std::int32_t>(std::nearbyint(running + quantity));
      else
        running = static_cast<std::int32_t>(std::nearbyint(quantity));
      bool covered = false;
      auto line = straight::BalanceLine(file, boid, isin);
      if (!line) {
        message += boid + " " + isin + " holding balance missing.\r\n";
      } else {
        std::string balance = line->substr(line->rfind(' ') + 1);
        if (!IsNumeric(balance))
          dialogs.ExpectErrorContaining("Type mismatch");
        else if (running > ToDouble(balance))
          message += boid + " " + isin +
                     " holding insufficient. Pay In quantity : " + std::to_string(running) +
                     " Holding balance : " + balance + "\r\n";
        else
          covered = true;
      }
      if (!covered && firstFailing < 0) firstFailing = r;
      failed = failed || !covered;
    }

    view.shown.clear();
    ASSERT_EQ(Check(file), failed) << "round " << round;
    ASSERT_EQ(app.holdingMessage, message) << "round " << round;
    EXPECT_EQ(view.shown.size(), message.empty() ? 0u : 1u);
    if (failed) {
      EXPECT_EQ(grid.Row(), firstFailing);
    }
    dialogs.VerifyDone();
  }
}

// A box that holds the walk up long enough for the window to run its events
// at the next chance, and changes a row meanwhile, as a clerk's edit could.
class EditingDialogs : public FakeDialogs {
 public:
  explicit EditingDialogs(Grid& grid) : grid_(grid) {}
  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                    MsgButtons buttons) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    grid_.SetText(200, col::kQuantity, "1000");
    return FakeDialogs::Message(text, title, icon, buttons);
  }

 private:
  Grid& grid_;
};

// A window whose events change rows further down the first time they run.
class EditingWindow : public FakeWindow {
 public:
  explicit EditingWindow(Grid& grid) : grid_(grid) {}
  void ProcessPendingEvents() override {
    if (eventRounds++ > 0) return;
    grid_.SetText(300, col::kISINCode, "MGY");   // another balance line
    grid_.SetText(400, col::kQuantity, "1000");  // more than the balance
    grid_.SetText(450, col::kBOID, "B999");      // no balance line at all
    grid_.SetText(500, col::kISINCode, "x");     // a balance that is not a number
  }

 private:
  Grid& grid_;
};

// Rows changed while the walk is under way, by a box or by the window's
// events, are checked as they are when the walk reaches them.
TEST_F(HoldingCheckTest, RowsChangedDuringTheWalkAreCheckedAsTheyAreThen) {
  std::vector<Entry> entries;
  std::string file = kHeader;
  for (int r = 1; r <= 600; ++r) {
    char boid[8];
    std::snprintf(boid, sizeof boid, "B%03d", r);
    entries.push_back({boid, "MGX", "10"});
    file += std::string("\r\n") + boid + " MGX Name " + (r == 5 ? "none" : "100");
    if (r == 300) file += "\r\nB300 MGY Name 5";
    if (r == 500) file += "\r\nB500 x Name y";
  }
  SetEntries(entries);
  folder.Write("11DPA6UX.TXT", file);

  EditingDialogs boxes(grid);
  EditingWindow events(grid);
  AppContext day(boxes, clock, "/tmp/");
  day.instructionKind = kPayIn;
  boxes.ExpectErrorContaining("Type mismatch");  // row 5, before the rows change
  boxes.ExpectErrorContaining("Type mismatch");  // row 500, after
  EXPECT_TRUE(CheckHoldingFile(day, grid, events, view, folder.File("11DPA6UX.TXT"), "Saved"));
  ASSERT_GE(events.eventRounds, 1) << "the walk never let the window run its events";
  EXPECT_EQ(day.holdingMessage,
            "B200 MGX holding insufficient. Pay In quantity : 1000 Holding balance : 100\r\n"
            "B300 MGY holding insufficient. Pay In quantity : 10 Holding balance : 5\r\n"
            "B400 MGX holding insufficient. Pay In quantity : 1000 Holding balance : 100\r\n"
            "B999 MGX holding balance missing.\r\n");
  EXPECT_EQ(grid.Row(), 5);
  boxes.VerifyDone();
}

}  // namespace
}  // namespace quorvin::test
