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

TEST(BOListSend, TheArchiveStepMovesTheEarlierUploadUnderTheStamp) {
  EXPECT_EQ(ArchiveBOListLines("204513", DateTime{Date{2010, 5, 17}, 14, 3, 59}),
            (std::vector<std::string>{
                "mkdir BO_204513", "quote SIZE BO_204513.txt",
                "rename BO_204513.txt BO_204513/BO_204513_17-May-10_02-03-59PM.txt"}));
}

// The archive step's output, as the client prints it in debug mode: the new
// list takes its place only when no earlier one is left there.
TEST(BOListSend, TheNewListTakesItsPlaceOnlyWhenNoEarlierListIsLeftThere) {
  const DateTime now{Date{2010, 5, 17}, 14, 3, 59};
  const std::string login = "Connected to 127.0.0.1.\n220 ready.\n---> USER u\n331 Username ok.\n"
                            "---> PASS XXXX\n230 Login successful.\n---> MKD BO_1\n";
  const std::string size = "---> SIZE BO_1.txt\n";
  const std::string rnfr = "---> RNFR BO_1.txt\n";
  const std::string rnto = "---> RNTO BO_1/BO_1_17-May-10_02-03-59PM.txt\n";
  const struct {
    std::string output;
    bool placeFree, archived;
    std::string why;
  } cases[] = {
      {"257 created.\n" + size + "213 40\n" + rnfr + "350 Ready.\n" + rnto + "250 Renaming ok.\n",
       true, true, ""},
      {"550 BO_1: File exists.\n" + size + "213 40\n" + rnfr + "350 Ready.\n" + rnto + "250 Ok\n",
       true, true, ""},
      // A first send, in the words of three servers.
      {"257 created.\n" + size + "550 Could not get file size.\n" + rnfr +
           "550 RNFR command failed.\n",
       true, false, ""},
      {"257 created.\n" + size + "550 BO_1.txt: No such file or directory\n" + rnfr +
           "550 BO_1.txt: No such file or directory\n",
       true, false, ""},
      {"257 created.\n" + size + "550 Can't check for file existence\n" + rnfr +
           "550 Sorry, but that file doesn't exist\n",
       true, false, ""},
      {"550 Denied.\n" + size + "213 40\n" + rnfr + "550 Permission denied.\n", false, false,
       "550 Permission denied."},
      {"257 created.\n" + size + "213 40\n" + rnfr + "350 Ready.\n" + rnto +
           "553 Rename failed.\n",
       false, false, "553 Rename failed."},
      {"", false, false, "No reply from the server to RNFR BO_1.txt."},
  };
  for (const auto& c : cases) {
    bool archived = true;
    std::string why;
    EXPECT_EQ(EarlierListMovedAside(login + c.output + "---> QUIT\n221 Goodbye.\n", "1", now,
                                    archived, why),
              c.placeFree)
        << c.output;
    EXPECT_EQ(archived, c.archived) << c.output;
    EXPECT_EQ(why, c.why) << c.output;
  }
}

}  // namespace
}  // namespace quorvin
