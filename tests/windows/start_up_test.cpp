// Where the program keeps its own files, the first start of an installed
// program, a new data folder's lists and the private demo.
#include "windows/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_dialogs.h"
#include "support/fake_main_view.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using test::FakeDialogs;
using test::TempFolder;

TEST(ProgramFolder, BesideTheProgramWhenItsSettingsAreThereElseTheUsersConfiguration) {
  EXPECT_EQ(ConfigHome("/home/josé/.cfg", "/home/josé"), "/home/josé/.cfg/");
  EXPECT_EQ(ConfigHome(nullptr, "/home/josé"), "/home/josé/.config/");
  EXPECT_EQ(ConfigHome("relative", "/home/josé"), "/home/josé/.config/");
  EXPECT_EQ(ConfigHome("", "/home/josé/"), "/home/josé/.config/");

  TempFolder exe, config;
  EXPECT_EQ(ChooseProgramFolder(exe.Path(), config.Path()), config.File("quorvin/"));
  // A folder in the settings file's place is still the clerk's setup, not a new one.
  std::filesystem::create_directory(exe.File("Quorvin.ini"));
  EXPECT_EQ(ChooseProgramFolder(exe.Path(), config.Path()), exe.Path());
  PrepareProgramFolder(exe.Path());
  EXPECT_FALSE(std::filesystem::exists(config.File("quorvin")));
  std::filesystem::remove(exe.File("Quorvin.ini"));
  exe.Write("Quorvin.ini", "Broker ID : 204513");
  EXPECT_EQ(ChooseProgramFolder(exe.Path(), config.Path()), exe.Path());
}

TEST(FirstStart, BlankSettingsAskForTheBrokerThenANewDataFolderGetsEmptyLists) {
  TempFolder config;
  const std::string program = config.File("quorvin/");
  PrepareProgramFolder(program);
  EXPECT_EQ(TempFolder::ReadFile(program + "Quorvin.ini"),
            "Broker ID : \r\nClearing BOID : \r\nDefault BOID Format : \r\nBackup Location : ");
  TempFolder::WriteFile(program + "Quorvin.ini", "Broker ID : 999999");
  PrepareProgramFolder(program);
  EXPECT_EQ(TempFolder::ReadFile(program + "Quorvin.ini"), "Broker ID : 999999");
  TempFolder::WriteFile(program + "Quorvin.ini",
                        "Broker ID : \r\nClearing BOID : \r\nDefault BOID Format : \r\nBackup "
                        "Location : ");

  // The start goes the settings' own way: the blank Broker ID, then the window,
  // where the clerk gives the identity and a new, empty data folder.
  TempFolder data;
  FakeDialogs dialogs;
  test::FakeClock clock;
  AppContext app(dialogs, clock, program);
  dialogs.Expect("Broker ID cannot be blank.", "Wrong Broker ID", MsgIcon::Critical);
  int windows = 0;
  EXPECT_EQ(
      StartUp(app,
              [&] {
                ++windows;
                app.settings = {"204513", "1204510000067342", "1204510000000000", data.Path()};
              }),
      LoadSettingsResult::Continue);
  dialogs.VerifyDone();  // no "Error loading list" for the lists the folder lacked
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(data.Read("BO.txt"), "S/N~BO ID~BO Name~Client Code");
  EXPECT_EQ(data.Read("ISIN.txt"), "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code");
  EXPECT_EQ(app.lists.FindBOName("BO ID"), "BO NAME NOT FOUND");

  // Lists the clerk has are never touched.
  data.Write("BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~B1~Name~C1");
  app.LoadLists();
  EXPECT_EQ(app.lists.FindBOName("B1"), "Name");
}

TEST(Demo, APrivateCopyOfTheDemoDataWithItsOwnSettings) {
  TempFolder folder;
  const std::string program = PrepareDemoFolder(QUORVIN_DEMO_DATA "/", folder.Path());
  EXPECT_EQ(program, folder.Path());
  EXPECT_EQ(folder.Read("data/BO.txt"), TempFolder::ReadFile(QUORVIN_DEMO_DATA "/BO.txt"));
  EXPECT_TRUE(folder.Exists("data/payin_10-Dec-2026.txt"));
  EXPECT_NE(folder.Read("Quorvin.ini").find("Backup Location : " + folder.File("data/")),
            std::string::npos);
}

}  // namespace
}  // namespace quorvin
