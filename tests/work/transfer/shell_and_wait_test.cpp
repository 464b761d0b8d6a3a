// Tests that the helper runs to its end without a terminal or a shell while
// the window repaints, and is stopped on a timeout or when the program dies.
#include "work/transfer/shell_and_wait.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "ground/errors.h"
#include "ground/platform.h"
#include "support/posix_only.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using std::chrono::steady_clock;

[[maybe_unused]] double ProcessorSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

TEST(ShellAndWaitTest, WaitsForTheEndWhileTheWindowKeepsRepaintingWithoutBurningACore) {
  QUORVIN_POSIX_ONLY("the helpers are POSIX shell scripts");
#ifndef _WIN32
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
#endif
}

TEST(ShellAndWaitTest, ArgumentsReachTheProgramWithoutAShellReadingThem) {
  QUORVIN_POSIX_ONLY("the helpers are POSIX shell scripts");
#ifndef _WIN32
  test::TempFolder dir;
  test::RecordingWindow window;
  std::string odd = "a b;$(touch pwned)`touch pwned2`'\"";
  ShellAndWait({"/bin/sh", "-c", "cd \"$1\" && printf %s \"$2\" > out", "sh", dir.Path(), odd}, 0,
               window);
  EXPECT_EQ(dir.Read("out"), odd);
  EXPECT_FALSE(dir.Exists("pwned"));
  EXPECT_FALSE(dir.Exists("pwned2"));
#endif
}

TEST(ShellAndWaitTest, RunsWithoutTerminalOrInput) {
  QUORVIN_POSIX_ONLY("the helpers are POSIX shell scripts");
#ifndef _WIN32
  test::TempFolder dir;
  test::RecordingWindow window;
  // Standard input is empty and there is no controlling terminal to prompt on.
  ShellAndWait({"/bin/sh", "-c",
                "cat > \"$0\"; if (: </dev/tty) 2>/dev/null; then echo tty; else echo none; fi "
                ">> \"$0\"",
                dir.File("seen")},
               0, window);
  EXPECT_EQ(dir.Read("seen"), "none\n");
#endif
}

TEST(ShellAndWaitTest, ATimeoutStopsTheProgramAndWhatItStarted) {
  QUORVIN_POSIX_ONLY("the helpers are POSIX shell scripts");
#ifndef _WIN32
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
#endif
}

// A program killed while its helper runs must not leave the helper (the FTP
// client, with the password in its script) running on its own.
TEST(ShellAndWaitTest, AKilledProgramTakesItsHelperWithIt) {
  QUORVIN_POSIX_ONLY("the helpers are POSIX shell scripts");
#ifndef _WIN32
  test::TempFolder dir;
  const pid_t program = ::fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    test::RecordingWindow window;
    ShellAndWait({"/bin/sh", "-c", "echo $$ > \"$0\"; exec sleep 30", dir.File("helper")}, 0,
                 window);
    ::_exit(0);
  }
  std::string helperPid;
  for (int i = 0; i < 200 && helperPid.find('\n') == std::string::npos; ++i) {
    timespec pause{0, 10'000'000};
    nanosleep(&pause, nullptr);
    if (dir.Exists("helper")) helperPid = dir.Read("helper");
  }
  ASSERT_NE(helperPid.find('\n'), std::string::npos) << "the helper never started";
  const pid_t helper = std::stoi(helperPid);
  ::kill(program, SIGKILL);
  ::waitpid(program, nullptr, 0);
  // Gone, or a zombie waiting for whoever reaps orphans.
  auto running = [&] {
    std::ifstream stat("/proc/" + std::to_string(helper) + "/stat");
    std::string pid, name, state;
    return stat >> pid >> name >> state && state != "Z";
  };
  for (int i = 0; i < 200 && running(); ++i) {
    timespec pause{0, 10'000'000};
    nanosleep(&pause, nullptr);
  }
  EXPECT_FALSE(running()) << "the helper outlived the program";
#endif
}

TEST(ShellAndWaitTest, AProgramThatCannotStartIsAnError) {
  QUORVIN_POSIX_ONLY("the helpers are POSIX shell scripts");
#ifndef _WIN32
  test::RecordingWindow window;
  EXPECT_THROW(ShellAndWait({"/nonexistent/program"}, 0, window), AppError);
  EXPECT_THROW(ShellAndWait({}, 0, window), AppError);
#endif
}

// On Windows: a hung program started hidden in a folder named outside the
// code page is stopped at the time limit, the window served meanwhile.
TEST(ShellAndWaitTest, OnWindowsAHungProgramInItsFolderIsStoppedAtTheLimit) {
  QUORVIN_WINDOWS_ONLY("a Windows program that hangs");
#ifdef _WIN32
  test::TempFolder dir;
  const std::string folder = dir.File("দৈনিক & 100%");
  ASSERT_TRUE(std::filesystem::create_directory(platform::PathOf(folder)));
  test::RecordingWindow window;
  const auto before = steady_clock::now();
  ShellAndWait({std::string(QUORVIN_FAKE_FTP_DIR) + "/ftp.exe", "--stall"}, 2, window, folder);
  const auto waited = steady_clock::now() - before;
  EXPECT_EQ(dir.Read("দৈনিক & 100%/started"), "started");
  EXPECT_GE(waited, std::chrono::milliseconds(1900));
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_GE(window.eventRounds, 5);
#endif
}

// On Windows: the program killed while it waits for a hung helper takes the
// helper with it. The program is this test program run again, told by
// QUORVIN_STALL_FOLDER to wait for the helper there; the helper keeps a file
// open to itself, which can be taken only once it is gone.
TEST(ShellAndWaitTest, OnWindowsAKilledProgramTakesItsHelperWithIt) {
  QUORVIN_WINDOWS_ONLY("a Windows program killed while its helper hangs");
#ifdef _WIN32
  const std::string helper = std::string(QUORVIN_FAKE_FTP_DIR) + "/ftp.exe";
  if (const char* folder = std::getenv("QUORVIN_STALL_FOLDER")) {  // the program
    test::RecordingWindow window;
    ShellAndWait({helper, "--stall"}, 0, window, folder);
    return;
  }
  test::TempFolder dir;
  ::_putenv_s("QUORVIN_STALL_FOLDER", dir.Path().c_str());
  std::wstring line =
      L"\"" + platform::PathOf(::testing::internal::GetArgvs()[0]).native() +
      L"\" --gtest_filter=ShellAndWaitTest.OnWindowsAKilledProgramTakesItsHelperWithIt";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION program{};
  const bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &program);
  ::_putenv_s("QUORVIN_STALL_FOLDER", "");
  ASSERT_TRUE(started);
  const std::wstring mark = platform::PathOf(dir.File("started")).native();
  auto helperHoldsTheMark = [&] {
    HANDLE file = ::CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(file);
    return false;
  };
  for (int i = 0; i < 1000 && !dir.Exists("started"); ++i) ::Sleep(10);
  ASSERT_TRUE(dir.Exists("started")) << "the helper never started";
  EXPECT_TRUE(helperHoldsTheMark());
  ::TerminateProcess(program.hProcess, 9);
  ::WaitForSingleObject(program.hProcess, 5000);
  ::CloseHandle(program.hThread);
  ::CloseHandle(program.hProcess);
  for (int i = 0; i < 500 && helperHoldsTheMark(); ++i) ::Sleep(10);
  EXPECT_FALSE(helperHoldsTheMark()) << "the helper outlived the program";
#endif
}

}  // namespace
}  // namespace quorvin
