// The stamps of list backups and archived BO lists, the BO list's two
// transfers and how the first one's output decides whether the second may run.
#include "work/lists/list_exchange.h"

#include <gtest/gtest.h>

#include "work/lists/list_backups.h"

namespace quorvin {
namespace {

TEST(BackupStamps, DateAndTimeInTheirTwoForms) {
  DateTime afternoon{Date{2010, 5, 17}, 14, 3, 59};
  EXPECT_EQ(BackupStamp(afternoon), "2010-05-17_14-03-59");
  EXPECT_EQ(ArchiveStamp(afternoon), "17-May-10_02-03-59PM");
  DateTime midnight{Date{2026, 1, 5}, 0, 7, 0};
  EXPECT_EQ(BackupStamp(midnight), "2026-01-05_00-07-00");
  EXPECT_EQ(ArchiveStamp(midnight), "05-Jan-26_12-07-00AM");
  DateTime noon{Date{2026, 12, 9}, 12, 0, 1};
  EXPECT_EQ(ArchiveStamp(noon), "09-Dec-26_12-00-01PM");
}

TEST(BOListSend, ArchiveTheEarlierUploadUnderTheStampThenPut) {
  EXPECT_EQ(
      ArchiveBOListLines("204513", DateTime{Date{2010, 5, 17}, 14, 3, 59}),
      (std::vector<std::string>{
          "mkdir BO_204513", "rename BO_204513.txt BO_204513/BO_204513_17-May-10_02-03-59PM.txt"}));
  EXPECT_EQ(UploadBOListLines("204513"), std::vector<std::string>{"put BO_204513.txt"});
}

// The client's output of the first transfer, as the client prints the replies.
TEST(BOListSend, TheUploadGoesOnlyWhenNoEarlierListIsLeftInItsPlace) {
  const std::string login =
      "Connected to 127.0.0.1.\n220 ready.\n331 Username ok.\n230 Login successful.\n"
      "250 \"/entry\" is the current directory.\n";
  const struct {
    const char* output;
    bool movedAside;
  } cases[] = {
      {"257 \"/entry/BO_1\" directory created.\n350 Ready for destination name.\n250 Renaming "
       "ok.\n",
       true},
      {"550 BO_1: Cannot create a file when that file already exists.\n"
       "350 Ready for destination name.\n250 Renaming ok.\n",
       true},
      {"257 created.\n550 BO_1.txt: The system cannot find the file specified.\n", true},
      {"550 Not enough privileges.\n550 Not enough privileges.\n", false},
      {"257 created.\n350 Ready for destination name.\n550 Not enough privileges.\n", false},
      {"550 No such file or directory.\n", false},  // a stock server: no proof there was none
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EarlierListMovedAside(login + c.output + "221 Goodbye.\n"), c.movedAside) << c.output;
  }
  EXPECT_FALSE(
      EarlierListMovedAside("ftp: Can't connect to `127.0.0.1:2121': Connection refused\n"));
}

}  // namespace
}  // namespace quorvin
