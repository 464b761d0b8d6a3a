// A save killed at any moment. A child process saves a large file over and
// over, alternating two contents; the test kills it outright after a random
// delay and then looks at the folder as the next start of the program would:
// the file must hold one of the two contents whole, and no temporary file may
// show up in the program's listings. Rounds per file: 40, or
// QUORVIN_KILL_ROUNDS, and more while one side of the rename has not been hit.
//
// The child is this test program run again on the same test, told by
// QUORVIN_SAVER_FOLDER where to save: it sets the test up as the parent did and
// then saves on and on. So the same test kills a save on Linux and on Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <thread>

#include "day/entry_grid.h"
#include "day/instruction_files.h"
#include "ground/grid_text.h"
#include "ground/platform.h"
#include "ground/text_files.h"
#include "support/fake_main_view.h"
#include "support/fault_support.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using Clock = std::chrono::steady_clock;

int Rounds() {
  const char* text = std::getenv("QUORVIN_KILL_ROUNDS");
  int rounds = text ? std::atoi(text) : 0;
  return rounds > 0 ? rounds : 40;
}

// A day of many instructions; `quantity` tells the two versions apart, and
// the second version has more rows so that a mix cannot match either length.
Grid InstructionGrid(int rows, const std::string& quantity) {
  Grid grid;
  SetUpEntryGrid(grid);
  grid.SetRows(rows + 1);
  for (int r = 1; r <= rows; ++r) {
    const std::string n = std::to_string(r);
    const std::string cells[kEntryColumns] = {n,
                                              "204513",
                                              "1204510000067342",
                                              "08-Dec-2026",
                                              "10-Dec-2026",
                                              "C" + n,
                                              "120451" + std::string(10 - n.size(), '0') + n,
                                              "Client " + n,
                                              "LOTUSCER",
                                              "MG1407LOTU49",
                                              "Lotus Ceramics Limited",
                                              quantity,
                                              "I204513081226" + n};
    for (int c = 0; c < kEntryColumns; ++c) grid.SetText(r, c, cells[c]);
  }
  return grid;
}

Grid BOListGrid(int rows, const std::string& nameSuffix) {
  Grid grid(rows + 1, 4, 1);
  const char* titles[] = {"S/N", "BO ID", "BO Name", "Client Code"};
  for (int c = 0; c < 4; ++c) grid.SetText(0, c, titles[c]);
  for (int r = 1; r <= rows; ++r) {
    const std::string n = std::to_string(r);
    grid.SetText(r, 0, n);
    grid.SetText(r, 1, "120451" + std::string(10 - n.size(), '0') + n);
    grid.SetText(r, 2, "Account holder " + n + nameSuffix);
    grid.SetText(r, 3, "C" + n);
  }
  return grid;
}

struct Tally {
  int rounds = 0, oldWhole = 0, newWhole = 0, killsMidWrite = 0;
};

// Sets an environment variable for the children started from now on; an
// empty value takes it away.
void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  ::_putenv_s(name, value.c_str());
#else
  if (value.empty()) {
    ::unsetenv(name);
  } else {
    ::setenv(name, value.c_str(), 1);
  }
#endif
}

// The folder a saving child saves to; nullptr in the test itself.
const char* SaverFolder() {
  const char* folder = std::getenv("QUORVIN_SAVER_FOLDER");
  return folder && *folder ? folder : nullptr;
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  // The folder the saves go to: the parent's, in the saving child too.
  std::string Folder() const { return SaverFolder() ? SaverFolder() : folder_->Path(); }

  // Kills a child that runs save(0), save(1), ... and checks the file after
  // each kill. The saves alternate between the grid `after` (even numbers)
  // and `before` (odd numbers), starting from a file that holds `before`.
  void KillWhileSaving(Tally& tally, const std::string& path, const Grid& before, const Grid& after,
                       const std::function<void(int)>& save,
                       const std::vector<std::string>& visible, const std::string& pattern,
                       const std::vector<std::string>& matching) {
    if (SaverFolder()) {  // the child: say so, then save until killed
      WriteTextFile(std::getenv("QUORVIN_SAVER_READY"), "ready");
      for (int n = 0;; ++n) save(n);
    }
    const std::string oldText = GridToText(before);
    const std::string newText = GridToText(after);
    WriteTextFile(path, oldText);
    // How long one save takes here and now. A save streams its text into the
    // temporary file from its start, so all of it is writing.
    auto start = Clock::now();
    save(0);
    const auto once = std::max(Clock::now() - start, Clock::duration(std::chrono::milliseconds(1)));

    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::vector<std::string> child = {
        ::testing::internal::GetArgvs()[0],
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name()};
    const std::string ready = signals_->File("ready");

    // A third of the kills land anywhere in the first three saves; the rest
    // aim at the first or the second save.
    std::mt19937 random(std::random_device{}());
    auto pick = [&random](Clock::duration from, Clock::duration to) {
      return Clock::duration(
          std::uniform_int_distribution<long long>(from.count(), to.count())(random));
    };
    // A machine busy with other work can wake the test late again and again;
    // then more rounds run until both sides of the rename have been hit.
    auto moreRounds = [&tally](int round) {
      return round < Rounds() ||
             (round < 4 * Rounds() && (tally.oldWhole == 0 || tally.newWhole == 0));
    };
    for (int round = 0; moreRounds(round); ++round) {
      SCOPED_TRACE("round " + std::to_string(round));
      // Every round starts from the old file, or a kill before the first
      // rename would find whatever the round before it left.
      WriteTextFile(path, oldText);
      platform::RemoveFile(ready);
      {
        SetEnvironment("QUORVIN_SAVER_FOLDER", Folder());
        SetEnvironment("QUORVIN_SAVER_READY", ready);
        platform::HiddenProgram saver(child, "");
        SetEnvironment("QUORVIN_SAVER_FOLDER", "");
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (!platform::StatusOf(ready).size && !saver.Ended() && Clock::now() < deadline)
          std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto cycle = round % 3 == 2 ? once : Clock::duration::zero();
        std::this_thread::sleep_for(round % 3 == 0 ? pick({}, 3 * once)
                                                   : pick(cycle, cycle + once));
        ASSERT_FALSE(saver.Ended()) << "the child ended by itself";
        saver.Stop();
      }

      ++tally.rounds;
      const std::string now = test::TempFolder::ReadFile(path);  // an empty stub reads as ""
      if (now == oldText) {
        ++tally.oldWhole;
      } else if (now == newText) {
        ++tally.newWhole;
      } else {
        ADD_FAILURE() << "the file holds neither version whole: " << now.size() << " bytes";
      }
      EXPECT_EQ(ListFiles(Folder() + "*"), visible);
      EXPECT_EQ(ListFiles(Folder() + pattern), matching);
      size_t hidden = test::AllNames(Folder()).size() - visible.size();
      if (hidden > 0) ++tally.killsMidWrite;
    }
    // The next save tidies up whatever the killed ones left.
    save(0);
    EXPECT_EQ(test::AllNames(Folder()), visible);
    std::cout << "[ kills    ] " << FileNameOf(path) << ": " << tally.rounds << " rounds, "
              << tally.oldWhole << " old whole, " << tally.newWhole << " new whole, "
              << tally.killsMidWrite << " killed mid-write\n";
  }

  // Made in the test only: a killed child would leave its folders behind.
  std::unique_ptr<test::TempFolder> folder_ =
      SaverFolder() ? nullptr : std::make_unique<test::TempFolder>();
  std::unique_ptr<test::TempFolder> signals_ =
      SaverFolder() ? nullptr : std::make_unique<test::TempFolder>();
  test::AnsweringDialogs dialogs_;
  test::FakeClock clock_;
};

TEST_F(CrashSafetyTest, AnInstructionFileKilledMidSaveHoldsTheOldOrTheNewRowsWhole) {
  AppContext app(dialogs_, clock_, Folder());
  app.settings = {"204513", "1204510000067342", "1204510000000000", Folder()};
  app.instructionKind = kPayIn;
  app.kindCode = "PI";
  const Date day{2026, 12, 10};
  const Grid before = InstructionGrid(12000, "100");
  const Grid after = InstructionGrid(12001, "250");
  const std::string path = InstructionFilePath(app, day);

  Tally tally;
  KillWhileSaving(tally, path, before, after,
                  [&](int n) { SaveInstructions(app, n % 2 == 0 ? after : before, day); },
                  {FileNameOf(path)}, "*_PI_204513.txt", {FileNameOf(path)});
  // Both sides of the rename were hit, or the rounds proved nothing.
  EXPECT_GT(tally.oldWhole, 0);
  EXPECT_GT(tally.newWhole, 0);
  EXPECT_GT(tally.killsMidWrite, 0);
}

TEST_F(CrashSafetyTest, AListKilledMidSaveHoldsTheOldOrTheNewListWholeAndNoBackupAppears) {
  // A backup beside the list: the backup panel lists "*BO.txt".
  const std::string backup = "2026-12-08_14-03-59_BO.txt";
  if (!SaverFolder()) folder_->Write(backup, "S/N~BO ID~BO Name~Client Code");
  const Grid before = BOListGrid(40000, "");
  const Grid after = BOListGrid(40001, " & Co.");
  const std::string path = Folder() + "BO.txt";

  Tally tally;
  KillWhileSaving(tally, path, before, after,
                  [&](int n) { SaveGridText(dialogs_, n % 2 == 0 ? after : before, path); },
                  {backup, "BO.txt"}, "*BO.txt", {backup, "BO.txt"});
  EXPECT_GT(tally.oldWhole, 0);
  EXPECT_GT(tally.newWhole, 0);
  EXPECT_GT(tally.killsMidWrite, 0);
  // What the program reads at its next start.
  ReferenceLists lists(dialogs_);
  lists.LoadBOList(path);
  EXPECT_TRUE(lists.BOList().size() == 40001u || lists.BOList().size() == 40002u);
}

}  // namespace
}  // namespace quorvin
