#include "work/transfer/shell_and_wait.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <ctime>

#include "ground/errors.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using std::chrono::steady_clock;

double ProcessorSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

TEST(ShellAndWaitTest, WaitsForTheEndWhileTheWindowKeepsRepaintingWithoutBurningACore) {
  test::TempFolder dir;
  test::RecordingWindow window;
  double cpuBefore = ProcessorSeconds();
  auto before = steady_clock::now();
  ShellAndWait({"/bin/sh", "-c", "sleep 0.6; echo done > \"$0\"", dir.File("mark")}, 0, window);
  auto waited = steady_clock::now() - before;
  double cpu = ProcessorSeconds() - cpuBefore;

  EXPECT_EQ(dir.Read("mark"), "done\n");  // returned only after the program ended
  EXPECT_GE(waited, std::chrono::milliseconds(550));
  EXPECT_GE(window.eventRounds, 5);  // the window kept being served while it waited
  // A spinning wait would use about as much processor time as it waited.
  EXPECT_LT(cpu, 0.2) << "processor seconds spent waiting";
}

TEST(ShellAndWaitTest, ArgumentsReachTheProgramWithoutAShellReadingThem) {
  test::TempFolder dir;
  test::RecordingWindow window;
  std::string odd = "a b;$(touch pwned)`touch pwned2`'\"";
  ShellAndWait({"/bin/sh", "-c", "cd \"$1\" && printf %s \"$2\" > out", "sh", dir.Path(), odd}, 0,
               window);
  EXPECT_EQ(dir.Read("out"), odd);
  EXPECT_FALSE(dir.Exists("pwned"));
  EXPECT_FALSE(dir.Exists("pwned2"));
}

TEST(ShellAndWaitTest, RunsWithoutTerminalOrInput) {
  test::TempFolder dir;
  test::RecordingWindow window;
  // Standard input is empty and there is no controlling terminal to prompt on.
  ShellAndWait({"/bin/sh", "-c",
                "cat > \"$0\"; if (: </dev/tty) 2>/dev/null; then echo tty; else echo none; fi "
                ">> \"$0\"",
                dir.File("seen")},
               0, window);
  EXPECT_EQ(dir.Read("seen"), "none\n");
}

TEST(ShellAndWaitTest, ATimeoutStopsTheProgramAndWhatItStarted) {
  test::TempFolder dir;
  test::RecordingWindow window;
  auto before = steady_clock::now();
  // The child shell starts a grandchild that would write the mark much later.
  ShellAndWait({"/bin/sh", "-c", "(sleep 3; echo late > \"$0\") & wait", dir.File("mark")}, 1,
               window);
  auto waited = steady_clock::now() - before;
  EXPECT_GE(waited, std::chrono::milliseconds(950));
  EXPECT_LT(waited, std::chrono::seconds(3));
  timespec pause{3, 0};
  nanosleep(&pause, nullptr);
  EXPECT_FALSE(dir.Exists("mark")) << "the started program outlived the timeout";
}

TEST(ShellAndWaitTest, AProgramThatCannotStartIsAnError) {
  test::RecordingWindow window;
  EXPECT_THROW(ShellAndWait({"/nonexistent/program"}, 0, window), AppError);
  EXPECT_THROW(ShellAndWait({}, 0, window), AppError);
}

}  // namespace
}  // namespace quorvin
