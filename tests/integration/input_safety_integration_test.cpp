// Names and cells the shell would read as commands, through the real client:
// blanks, quotes, "$", backquotes, semicolons, line ends and bytes above 127
// in the backup location, in a trade file's path and in the cells of the
// uploaded rows. Nothing runs, nothing is written outside the backup folder,
// and the work files holding the password are private and gone afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "day/entry_grid.h"
#include "exchange_emulator.h"
#include "ground/grid_text.h"
#include "support/recording_window.h"
#include "work/import/trade_import.h"
#include "work/transfer/send_fixture.h"

namespace quorvin::test {
namespace {

namespace fs = std::filesystem;

// Each piece would create a file named "ran*" if a shell ever read it.
const std::string kHostile =
    "Back up $(touch ran1) `touch ran2`; touch ran3 | touch ran4 && touch ran5\n"
    "touch ran6\n'\"\\ caf\xe9 \xff\x80 ${IFS}touch${IFS}ran7";

// Files named "ran*" below the folder or in the working folder of the test.
std::vector<std::string> MarksOfCommandsThatRan(const std::string& root) {
  std::vector<std::string> found;
  for (const std::string& folder : {root, fs::current_path().string()}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.path().filename().string().rfind("ran", 0) == 0)
        found.push_back(entry.path().string());
    }
  }
  return found;
}

class InputSafetyTest : public SendFixture {
 protected:
  void SetUp() override {
    SendFixture::SetUp();
    controller.ChangeKind(kPayOut);
    location = dir.File(kHostile) + "/";
    fs::create_directory(location);
    app.settings.BackupLocation = location;
  }

  std::string location;
};

TEST_F(InputSafetyTest, HostileNamesAndCellsTravelAsDataAndRunNothing) {
  ExchangeEmulator exchange;

  // A trade file whose path holds the same characters is only read.
  const std::string tradeFile = location + "payout_10-Dec-2026 " + kHostile + ".txt";
  std::ofstream(tradeFile, std::ios::binary)
      << "1|ALPHATEX|A|B|100|1.00|C1001|100.00|T01|10:00:00|08/12/2026|10/12/2026";
  ASSERT_TRUE(ImportTrades(app, grid, tradeFile, TradeSide(app)));
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Text(1, col::kBOID), kBoidA);
  ClearEntryGrid(grid);

  // Rows whose names carry the characters too.
  AddTwoGoodRows();
  grid.SetText(1, col::kBOName, "Rahim $(touch ran8) `touch ran9`; \xe9");
  dialogs.ExpectQuestion(
      "Are you sure to send the entered records to MGX as Pay Out file of 10-Dec-2026 ?",
      "Pay Out of 10-Dec-2026 Send Confirmation", MsgAnswer::Yes);
  dialogs.Expect(kSendSucceededMessage, "Send succeeded", MsgIcon::Information);
  SendInstructions(app, grid, window, holdingView, settlement, savedCaption, exchange.Endpoint());
  dialogs.VerifyDone();

  std::ifstream sent(exchange.Entry() + kDay + "/" + FileName(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(sent), {}), GridToText(grid));
  EXPECT_EQ(MarksOfCommandsThatRan(dir.Path()), std::vector<std::string>{});
  // Only the backup folder gained files: the day's file, the archive, the trade file.
  std::vector<std::string> outside;
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    if (entry.path().string() + "/" != location) outside.push_back(entry.path().string());
  EXPECT_EQ(outside, std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(location + "ftp2MGX.txt")) << "the password must not stay on disk";
  EXPECT_FALSE(fs::exists(location + "ftp2MGX.bat"));
  EXPECT_FALSE(fs::exists(location + "out.txt"));
}

TEST_F(InputSafetyTest, TheWorkFilesHoldingThePasswordStayPrivateUnderAnOpenUmask) {
  SilentServer silent;
  const mode_t umaskBefore = ::umask(0);
  RecordingWindow watcher;
  std::string out = RunTransfer(watcher, location, ProbeInstructionLines(kDay, FileName()),
                                ExchangeEndpoint{"127.0.0.1", std::to_string(silent.Port()), 1});
  ::umask(umaskBefore);
  EXPECT_EQ(out.find("226 "), std::string::npos) << out;
  for (const char* name : {"ftp2MGX.txt", "ftp2MGX.bat", "out.txt"}) {
    struct stat st {};
    ASSERT_EQ(::stat((location + name).c_str(), &st), 0) << name;
    EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
  }
  DeleteTransferFiles(location);
  EXPECT_EQ(fs::directory_iterator(location), fs::directory_iterator());
}

}  // namespace
}  // namespace quorvin::test
