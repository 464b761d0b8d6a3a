// Tests of loading and saving the settings file, the start-up's answers to a
// missing or wrong value, and the digit field checks.
#include "ground/settings.h"

#include <gtest/gtest.h>

#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace quorvin {
namespace {

using test::FakeDialogs;
using test::TempFolder;

struct SettingsFixture : ::testing::Test {
  TempFolder dir;
  FakeDialogs dialogs;
  Settings settings;
  int windowShown = 0, listsLoaded = 0;
  std::function<void(Settings&)> windowAction = [](Settings&) {};

  LoadSettingsResult Load() {
    return LoadSettings(
        dialogs, dir.File("Quorvin.ini"), settings,
        [&] {
          ++windowShown;
          windowAction(settings);
        },
        [&] { ++listsLoaded; });
  }
  void WriteIni(const std::string& text) { dir.Write("Quorvin.ini", text); }
  std::string Valid(const std::string& backup) {
    return "Broker ID : 204513\r\nClearing BOID : 1204510000067342\r\nDefault BOID Format : "
           "1204510000000000\r\nBackup Location : " +
           backup;
  }
};

TEST_F(SettingsFixture, SavedFileLoadsBackTheSameValues) {
  Settings saved{"204513", "1204510000067342", "1204510000000000", dir.Path()};
  dialogs.Expect("Settings saved successfully.", "Saved successfully.", MsgIcon::Information);
  ASSERT_TRUE(SaveSettings(dialogs, dir.File("Quorvin.ini"), saved));
  EXPECT_EQ(dir.Read("Quorvin.ini"), Valid(dir.Path()));
  EXPECT_EQ(Load(), LoadSettingsResult::Continue);
  EXPECT_EQ(settings.BrokerID, saved.BrokerID);
  EXPECT_EQ(settings.ClearingBOID, saved.ClearingBOID);
  EXPECT_EQ(settings.DefaultBOIDFormat, saved.DefaultBOIDFormat);
  EXPECT_EQ(settings.BackupLocation, saved.BackupLocation);
  EXPECT_EQ(listsLoaded, 1);
  EXPECT_EQ(windowShown, 0);
}

TEST_F(SettingsFixture, BackupLocationGetsItsTrailingSlashAndOddLinesAreIgnored) {
  std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
  WriteIni("comment line\r\n" + Valid(folder) + " : ignored\r\nBroker ID : 204514");
  EXPECT_EQ(Load(), LoadSettingsResult::Continue);
  EXPECT_EQ(settings.BackupLocation, dir.Path());
  EXPECT_EQ(settings.BrokerID, "204514");  // a key met twice keeps its last value
}

TEST_F(SettingsFixture, MissingFileEndsTheProgram) {
  dialogs.Expect("Quorvin initialization file not found.", "INI file not found.",
                 MsgIcon::Critical);
  EXPECT_EQ(Load(), LoadSettingsResult::EndProgram);
}

TEST_F(SettingsFixture, UnreadableLinesStopTheLoadButNotTheProgram) {
  // A file ending in CR LF has an empty last line.
  WriteIni(Valid(dir.Path()) + "\r\n");
  dialogs.ExpectErrorContaining("empty");
  EXPECT_EQ(Load(), LoadSettingsResult::Continue);
  EXPECT_EQ(settings.BrokerID, "204513");
  EXPECT_EQ(listsLoaded, 0);

  WriteIni("Broker ID : 204513\r\nClearing BOID");
  dialogs.ExpectErrorContaining("Clearing BOID");
  EXPECT_EQ(Load(), LoadSettingsResult::Continue);
  EXPECT_EQ(listsLoaded, 0);

  WriteIni("");
  dialogs.ExpectErrorContaining("Input past end of file");
  EXPECT_EQ(Load(), LoadSettingsResult::Continue);
}

TEST_F(SettingsFixture, WrongValueOpensTheWindowOnceThenEnds) {
  WriteIni(
      "broker id : 204513\r\nClearing BOID : 1204510000067342\r\nDefault BOID Format : "
      "1204510000000000\r\nBackup Location : " +
      dir.Path());
  dialogs.Expect("Broker ID cannot be blank.", "Wrong Broker ID", MsgIcon::Critical);
  dialogs.Expect("Broker ID cannot be blank.", "Wrong Broker ID", MsgIcon::Critical);
  EXPECT_EQ(Load(), LoadSettingsResult::EndProgram);
  EXPECT_EQ(windowShown, 1);
  EXPECT_EQ(listsLoaded, 0);
}

TEST_F(SettingsFixture, WindowThatFixesTheValueLetsStartUpGoOn) {
  WriteIni(
      "Broker ID : 20451\r\nClearing BOID : 1204510000067342\r\nDefault BOID Format : "
      "1204510000000000\r\nBackup Location : /no/such/folder");
  windowAction = [&](Settings& s) {
    if (windowShown == 1) s.BrokerID = "204513";
    if (windowShown == 2) s.BackupLocation = dir.Path();
  };
  dialogs.Expect("Broker ID should be a 6-digit number.", "Wrong Broker ID", MsgIcon::Critical);
  dialogs.Expect("Provide the Backup Location properly.", "Invalid Backup Location",
                 MsgIcon::Critical);
  EXPECT_EQ(Load(), LoadSettingsResult::Continue);
  EXPECT_EQ(windowShown, 2);
  EXPECT_EQ(listsLoaded, 1);
}

TEST_F(SettingsFixture, BackupLocationThatStaysWrongEndsTheProgram) {
  WriteIni(Valid("/no/such/folder"));
  dialogs.Expect("Provide the Backup Location properly.", "Invalid Backup Location",
                 MsgIcon::Critical);
  dialogs.Expect("Backup Location was not provided properly.", "Invalid Backup Location",
                 MsgIcon::Critical);
  EXPECT_EQ(Load(), LoadSettingsResult::EndProgram);
}

TEST(ValidateDigitField, ChecksInOrderWithExactTexts) {
  struct Case {
    std::string value;
    int length;
    std::string label, message;
  };
  const Case cases[] = {
      {"", 6, "Broker ID", "Broker ID cannot be blank."},
      {"20451", 6, "Broker ID", "Broker ID should be a 6-digit number."},
      {"20451a", 6, "Broker ID", "Broker ID should be a 6-digit number."},
      {" 20451", 6, "Broker ID", "Broker ID should be a 6-digit number."},
      {"-20451", 6, "Broker ID",
       "Invalid character in Broker ID: '-'.\r\nEnter the 6-digit numeric Broker ID."},
      {"+20451", 6, "Broker ID",
       "Invalid character in Broker ID: '+'.\r\nEnter the 6-digit numeric Broker ID."},
      {"204.51", 6, "Broker ID",
       "Invalid character in Broker ID: '.'.\r\nEnter the 6-digit numeric Broker ID."},
      {"120451000000000", 16, "BOID Format", "BOID Format should be a 16-digit number."},
  };
  for (const Case& c : cases) {
    FakeDialogs dialogs;
    dialogs.Expect(c.message, "Wrong " + c.label, MsgIcon::Critical);
    EXPECT_FALSE(ValidateDigitField(dialogs, c.value, c.length, c.label)) << c.value;
  }
  FakeDialogs dialogs;
  EXPECT_TRUE(ValidateDigitField(dialogs, "000000", 6, "Broker ID"));
  EXPECT_TRUE(ValidateDigitField(dialogs, "1204510000067342", 16, "Clearing BOID"));
}

}  // namespace
}  // namespace quorvin
