// Writes that the disk refuses: a read-only data and program folder, a
// file-size limit (setrlimit), a data folder removed while the program runs.
// Each save ends with the failure's description and no word of success, and
// the files on disk stay as they were.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <map>

#include "day/instruction_files.h"
#include "ground/grid_text.h"
#include "ground/platform.h"
#include "ground/text_files.h"
#include "ground/version.h"
#include "support/entry_fixture.h"
#ifndef _WIN32
#include "support/fault_support.h"
#endif
#include "support/posix_only.h"
#include "windows/start_up.h"
#include "work/reports/instruction_reports.h"

namespace quorvin::test {
namespace {

namespace fs = std::filesystem;

const Date kDay{2026, 12, 10};
const std::string kSaveQuestion = "Are you sure to save the Pay In file of 10-Dec-2026 ?";

std::string DemoFile(const std::string& name) {
  return ReadTextFile(std::string(QUORVIN_DEMO_DATA) + "/" + name);
}

// A list grid of `rows` accounts, as the list window holds it.
Grid ListGrid(int rows) {
  Grid grid(rows + 1, 4, 1);
  const char* titles[] = {"S/N", "BO ID", "BO Name", "Client Code"};
  for (int c = 0; c < 4; ++c) grid.SetText(0, c, titles[c]);
  for (int r = 1; r <= rows; ++r) {
    grid.SetText(r, 0, std::to_string(r));
    grid.SetText(r, 1, "1204510000" + std::to_string(100000 + r));
    grid.SetText(r, 2, "Account holder " + std::to_string(r));
    grid.SetText(r, 3, "C" + std::to_string(r));
  }
  return grid;
}

class DiskFaultTest : public EntryFixture {
 protected:
  void SetUp() override {
    EntryFixture::SetUp();
    AddEntry("08-Dec-2026", "C1001", kBoidA, "ALPHATEX", "MG1000ALPH31", "100");
    AddEntry("08-Dec-2026", "C1002", kBoidB, "BRIGHTCEM", "MG1037BRIG52", "250");
  }

  // The files of a working day: settings, lists, a saved instruction file.
  void WriteDayFiles(const std::string& folder) {
    std::string ini = DemoFile("Quorvin.ini.in");
    ini.replace(ini.find("@BACKUP_LOCATION@"), 17, folder);
    WriteTextFile(dir.File(kSettingsFileName), ini);
    WriteTextFile(folder + "BO.txt", DemoFile("BO.txt"));
    WriteTextFile(folder + "ISIN.txt", DemoFile("ISIN.txt"));
    WriteTextFile(folder + "10-Dec-2026_PI_204513.txt", "the rows saved this morning");
  }

  // Every file below the folder with its content.
  std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file())
        files[platform::Utf8Of(entry.path())] = ReadTextFile(platform::Utf8Of(entry.path()));
    return files;
  }
};

TEST_F(DiskFaultTest, AReadOnlyFolderRefusesEverySaveAndKeepsTheOldFiles) {
  QUORVIN_POSIX_ONLY("a read-only folder that binds root too (chmod, capabilities)");
#ifndef _WIN32
  WriteDayFiles(dir.Path());
  const auto before = Snapshot(dir.Path());
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
  {
    WithoutPermissionOverride asClerk;
    int probe = ::open(dir.File("probe").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_LT(probe, 0) << "the folder is writable after all: the fault cannot be made here";

    // Save of the day's instructions.
    dialogs.ExpectQuestion(kSaveQuestion, "Save Confirmation", MsgAnswer::Yes);
    dialogs.Expect("Permission denied", kAppTitle, MsgIcon::None);
    SaveInstructions(app, grid, kDay);
    // The list window's Save and Save As Backup.
    dialogs.Expect("Permission denied", kAppTitle, MsgIcon::None);
    EXPECT_FALSE(SaveGridText(dialogs, ListGrid(3), dir.File("BO.txt")));
    dialogs.Expect("Permission denied", kAppTitle, MsgIcon::None);
    EXPECT_FALSE(CopyTextFile(dialogs, dir.File("BO.txt"), dir.File("2026-12-08_14-03-59_BO.txt")));
    // The settings window's Save; the report beside the program.
    dialogs.Expect("Permission denied", kAppTitle, MsgIcon::None);
    EXPECT_FALSE(SaveSettings(dialogs, app.IniPath(), app.settings));
    dialogs.Expect("Permission denied", kAppTitle, MsgIcon::None);
    PrintPayInReport(app, grid);
    dialogs.VerifyDone();
  }
  EXPECT_TRUE(dialogs.viewed.empty()) << "no report to show";
  ::chmod(dir.Path().c_str(), 0700);
  EXPECT_EQ(Snapshot(dir.Path()), before);
  EXPECT_EQ(AllNames(dir.Path()).size(), before.size()) << "no temporary file left";
#endif
}

TEST_F(DiskFaultTest, AFileSizeLimitFailsTheLargeSavesWithTheirMessageAndTheProgramGoesOn) {
  QUORVIN_POSIX_ONLY("a file-size limit (setrlimit) in a forked child");
#ifndef _WIN32
  WriteDayFiles(dir.Path());
  const auto before = Snapshot(dir.Path());
  Grid big;
  SetUpEntryGrid(big);
  big.SetRows(2001);
  for (int r = 1; r <= 2000; ++r)
    for (int c = 0; c < kEntryColumns; ++c) big.SetText(r, c, "cell " + std::to_string(r));
  ASSERT_GT(GridToText(big).size(), 64u * 1024);

  // The program as it runs: started up, then writing under a 64 KiB limit.
  ChildEnd end = RunInChild([&](std::string& output) {
    AnsweringDialogs answers;
    AppContext program(answers, clock, dir.Path());
    if (StartUp(program, [] {}) != LoadSettingsResult::Continue) output += "did not start\n";
    program.instructionKind = kPayIn;
    program.kindCode = "PI";
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 64 * 1024;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) output += "setrlimit failed\n";
    SaveInstructions(program, big, kDay);
    SaveGridText(answers, ListGrid(5000), program.DataPath("BO.txt"));
    // A save within the limit still goes through.
    SaveInstructions(program, grid, Date{2026, 12, 11});
    output += answers.transcript;
  });
  ASSERT_TRUE(end.exited) << "the program was ended by signal " << end.signal;
  EXPECT_EQ(end.output,
            "Save Confirmation: " + kSaveQuestion + "\n" +
                "Quorvin: File too large\n"
                "Quorvin: File too large\n"
                "Save Confirmation: Are you sure to save the Pay In file of 11-Dec-2026 ?\n"
                "File Saved.: Pay In file of 11-Dec-2026 saved successfully.\n");

  auto after = Snapshot(dir.Path());
  EXPECT_EQ(after.erase(dir.File("11-Dec-2026_PI_204513.txt")), 1u);
  EXPECT_EQ(after, before) << "the refused saves changed a file";
  EXPECT_EQ(AllNames(dir.Path()).size(), before.size() + 1) << "no temporary file left";
#endif
}

TEST_F(DiskFaultTest, ADataFolderRemovedWhileRunningFailsItsSavesAndLoadsAndIsNotMadeAgain) {
  const std::string data = dir.File("data/");
  fs::create_directory(data);
  WriteDayFiles(data);
  app.settings.BackupLocation = data;
  app.LoadLists();
  dialogs.VerifyDone();
  const std::string ini = dir.Read(kSettingsFileName);
  fs::remove_all(data);

  dialogs.ExpectQuestion(kSaveQuestion, "Save Confirmation", MsgAnswer::Yes);
  dialogs.Expect("File not found", kAppTitle, MsgIcon::None);
  SaveInstructions(app, grid, kDay);
  dialogs.Expect("File not found", kAppTitle, MsgIcon::None);
  EXPECT_FALSE(SaveGridText(dialogs, ListGrid(3), data + "BO.txt"));
  dialogs.Expect("File not found", kAppTitle, MsgIcon::None);
  EXPECT_FALSE(CopyTextFile(dialogs, data + "BO.txt", data + "2026-12-08_14-03-59_BO.txt"));
  // The report lives beside the program and is unaffected.
  PrintPayInReport(app, grid);
  EXPECT_EQ(dialogs.viewed, std::vector<std::string>{dir.File(kPayInReportFileName)});
  // Reloading the day's file now fails with the loader's own message.
  dialogs.ExpectQuestion("Are you sure to load the Pay In file of 10-Dec-2026 ?",
                         "Load Confirmation", MsgAnswer::Yes);
  dialogs.Expect("Tried to read file: " + data +
                     "10-Dec-2026_PI_204513.txt\r\nError Description: File not found",
                 "Error loading file into list.", MsgIcon::Critical);
  ReloadInstructions(app, grid, kDay);
  dialogs.VerifyDone();

  EXPECT_FALSE(fs::exists(data)) << "nothing may quietly make the folder again";
  EXPECT_EQ(dir.Read(kSettingsFileName), ini);
}

}  // namespace
}  // namespace quorvin::test
