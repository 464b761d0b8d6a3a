// A save killed at any moment. A child process saves a large file over and
// over, alternating two contents; the test kills it with SIGKILL after a
// random delay and then looks at the folder as the next start of the program
// would: the file must hold one of the two contents whole, and no temporary
// file may show up in the program's listings. Rounds per file: 40, or
// QUORVIN_KILL_ROUNDS, and more while one side of the rename has not been hit.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

#include "day/entry_grid.h"
#include "day/instruction_files.h"
#include "ground/grid_text.h"
#include "ground/text_files.h"
#include "support/fake_main_view.h"
#ifndef _WIN32
#include "support/fault_support.h"
#endif
#include "support/posix_only.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

#ifndef _WIN32
namespace fs = std::filesystem;
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

class CrashSafetyTest : public ::testing::Test {
 protected:
  // Kills a child that runs save(0), save(1), ... and checks the file after
  // each kill. The saves alternate between the grid `after` (even numbers)
  // and `before` (odd numbers), starting from a file that holds `before`.
  void KillWhileSaving(Tally& tally, const std::string& path, const Grid& before, const Grid& after,
                       const std::function<void(int)>& save,
                       const std::vector<std::string>& visible, const std::string& pattern,
                       const std::vector<std::string>& matching) {
    const std::string oldText = GridToText(before);
    const std::string newText = GridToText(after);
    WriteTextFile(path, oldText);
    // How long one save takes here and now. A save streams its text into the
    // temporary file from its start, so all of it is writing.
    auto start = Clock::now();
    save(0);
    const auto once = std::max(Clock::now() - start, Clock::duration(std::chrono::milliseconds(1)));

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
      int ready[2];
      if (::pipe(ready) != 0) throw std::runtime_error("pipe");
      pid_t child = ::fork();
      if (child == 0) {
        ::close(ready[0]);
        if (::write(ready[1], "r", 1) != 1) ::_exit(2);
        for (int n = 0;; ++n) save(n);
      }
      ::close(ready[1]);
      char byte;
      ASSERT_EQ(::read(ready[0], &byte, 1), 1);
      ::close(ready[0]);
      const auto cycle = round % 3 == 2 ? once : Clock::duration::zero();
      std::this_thread::sleep_for(round % 3 == 0 ? pick({}, 3 * once) : pick(cycle, cycle + once));
      ::kill(child, SIGKILL);
      int status = 0;
      ::waitpid(child, &status, 0);
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
          << "the child ended by itself";

      ++tally.rounds;
      const std::string now = folder_.Read(FileNameOf(path));  // an empty stub reads as ""
      if (now == oldText) {
        ++tally.oldWhole;
      } else if (now == newText) {
        ++tally.newWhole;
      } else {
        ADD_FAILURE() << "the file holds neither version whole: " << now.size() << " bytes";
      }
      EXPECT_EQ(ListFiles(folder_.Path() + "*"), visible);
      EXPECT_EQ(ListFiles(folder_.Path() + pattern), matching);
      size_t hidden = test::AllNames(folder_.Path()).size() - visible.size();
      if (hidden > 0) ++tally.killsMidWrite;
    }
    // The next save tidies up whatever the killed ones left.
    save(0);
    EXPECT_EQ(test::AllNames(folder_.Path()), visible);
    std::cout << "[ kills    ] " << FileNameOf(path) << ": " << tally.rounds << " rounds, "
              << tally.oldWhole << " old whole, " << tally.newWhole << " new whole, "
              << tally.killsMidWrite << " killed mid-write\n";
  }

  test::TempFolder folder_;
  test::AnsweringDialogs dialogs_;
  test::FakeClock clock_;
};

#else
class CrashSafetyTest : public ::testing::Test {};
#endif

TEST_F(CrashSafetyTest, AnInstructionFileKilledMidSaveHoldsTheOldOrTheNewRowsWhole) {
  QUORVIN_POSIX_ONLY("kills a forked child mid-save");
#ifndef _WIN32
  AppContext app(dialogs_, clock_, folder_.Path());
  app.settings = {"204513", "1204510000067342", "1204510000000000", folder_.Path()};
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
#endif
}

TEST_F(CrashSafetyTest, AListKilledMidSaveHoldsTheOldOrTheNewListWholeAndNoBackupAppears) {
  QUORVIN_POSIX_ONLY("kills a forked child mid-save");
#ifndef _WIN32
  // A backup beside the list: the backup panel lists "*BO.txt".
  const std::string backup = "2026-12-08_14-03-59_BO.txt";
  folder_.Write(backup, "S/N~BO ID~BO Name~Client Code");
  const Grid before = BOListGrid(40000, "");
  const Grid after = BOListGrid(40001, " & Co.");
  const std::string path = folder_.File("BO.txt");

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
#endif
}

}  // namespace
}  // namespace quorvin
