// Tests of the settings window's Save and Browse: trimming, refusing a wrong
// value, reloading the lists and reporting a failed write.
#include "windows/settings_window.h"

#include <gtest/gtest.h>

#include "support/fake_dialogs.h"
#include "support/fake_main_view.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using test::FakeClock;
using test::FakeDialogs;
using test::TempFolder;

struct SettingsWindowFixture : ::testing::Test {
  TempFolder program, data;
  FakeDialogs dialogs;
  FakeClock clock;
  AppContext app{dialogs, clock, program.Path()};
  SettingsBoxes boxes;

  void SetUp() override {
    data.Write("BO.txt", "S/N~BO ID~BO Name~Client Code\r\n1~1204510000000011~Rahim~C1");
    data.Write("ISIN.txt", "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code\r\n1~MG1~Alpha~ALPHA~1");
    std::string folder = data.Path().substr(0, data.Path().size() - 1);
    boxes = {" 204513 ", "1204510000067342", "1204510000000000 ", folder};
  }
};

TEST_F(SettingsWindowFixture, SaveTrimsStoresWritesAndReloadsTheLists) {
  dialogs.Expect("Settings saved successfully.", "Saved successfully.", MsgIcon::Information);
  ASSERT_TRUE(SaveSettingsBoxes(app, boxes));
  EXPECT_EQ(boxes.brokerId, "204513");
  EXPECT_EQ(app.settings.BrokerID, "204513");
  EXPECT_EQ(app.settings.DefaultBOIDFormat, "1204510000000000");
  EXPECT_EQ(app.settings.BackupLocation, data.Path());
  EXPECT_EQ(boxes.backupPath + "/", data.Path());  // the box keeps what was typed
  EXPECT_EQ(program.Read("Quorvin.ini"),
            "Broker ID : 204513\r\nClearing BOID : 1204510000067342\r\nDefault BOID Format : "
            "1204510000000000\r\nBackup Location : " +
                data.Path());
  EXPECT_EQ(app.lists.FindBOName("1204510000000011"), "Rahim");
  EXPECT_EQ(app.lists.FindScripID("mg1"), "ALPHA");
}

TEST_F(SettingsWindowFixture, AWrongValueStoresAndWritesNothing) {
  boxes.brokerId = "20451";
  dialogs.Expect("Broker ID should be a 6-digit number.", "Wrong Broker ID", MsgIcon::Critical);
  EXPECT_FALSE(SaveSettingsBoxes(app, boxes));
  EXPECT_EQ(app.settings.BrokerID, "");
  EXPECT_FALSE(program.Exists("Quorvin.ini"));

  boxes.brokerId = "204513";
  boxes.backupPath = data.File("missing");
  dialogs.Expect("Provide the Backup Location properly.", "Invalid Backup Location",
                 MsgIcon::Critical);
  EXPECT_FALSE(SaveSettingsBoxes(app, boxes));
  EXPECT_FALSE(program.Exists("Quorvin.ini"));
}

TEST_F(SettingsWindowFixture, BrowseStartsInTheTypedFolderAndCancelKeepsIt) {
  dialogs.QueueBrowse("");
  EXPECT_EQ(BrowseBackupLocation(app, "  /typed/path "), "  /typed/path ");
  dialogs.QueueBrowse("/chosen");
  EXPECT_EQ(BrowseBackupLocation(app, ""), "/chosen");
  ASSERT_EQ(dialogs.browseCalls.size(), 2u);
  EXPECT_EQ(dialogs.browseCalls[0].first, "Select a backup location.");
  EXPECT_EQ(dialogs.browseCalls[0].second, "/typed/path");
  EXPECT_EQ(dialogs.browseCalls[1].second, program.Path());
}

TEST_F(SettingsWindowFixture, AFailedWriteIsReportedButTheValuesHold) {
  app.programFolder = program.File("gone/");
  dialogs.ExpectErrorContaining("File not found");
  EXPECT_TRUE(SaveSettingsBoxes(app, boxes));
  EXPECT_EQ(app.settings.BrokerID, "204513");
}

}  // namespace
}  // namespace quorvin
