// The list window's Send and Receive through the real client against the
// exchange emulator on loopback.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "exchange_emulator.h"
#include "ground/grid_text.h"
#include "ground/version.h"
#include "windows/list_fixture.h"
#include "windows/list_window.h"

namespace quorvin {
namespace {

namespace fs = std::filesystem;
using test::kBOText;
using test::kISINText;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ListExchangeTest : public test::ListFixture {
 protected:
  std::vector<std::string> DataFiles() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path()))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void ExpectOnlyTheListsLeft(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> expected = {"BO.txt", "ISIN.txt"};
    expected.insert(expected.end(), extra.begin(), extra.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(DataFiles(), expected) << "work files and the upload file are cleaned up";
  }
};

TEST_F(ListExchangeTest, SendUploadsTheGridAsShownAndArchivesTheEarlierUpload) {
  test::ExchangeEmulator exchange;
  controller.endpoint = exchange.Endpoint();
  clock.now = DateTime{Date{2026, 12, 9}, 9, 15, 0};
  Open("BO");
  Type(2, 2, "Nasrin Akter Chowdhury");  // not saved
  const std::string firstUpload = GridToText(grid);
  view.captions.clear();

  dialogs.Expect("List of BOs sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
  controller.UpdateList();
  const std::string saved = WindowCaption(" : List of BOs");
  EXPECT_EQ(view.captions,
            (std::vector<std::string>{"Sending list of BOs to MGX...Please wait...",
                                      saved + "...List of BOs sent to MGX successfully.", saved}));
  EXPECT_EQ(view.cursors, (std::vector<bool>{true, false}));
  EXPECT_EQ(ReadFile(exchange.Entry() + "BO_204513.txt"), firstUpload);
  EXPECT_NE(firstUpload.find("Nasrin Akter Chowdhury"), std::string::npos);
  EXPECT_EQ(dir.Read("BO.txt"), kBOText) << "the main file stays as saved";
  ExpectOnlyTheListsLeft();

  // Later the same day: the first upload moves into the archive under this send's time.
  clock.now = DateTime{Date{2026, 12, 9}, 16, 5, 7};
  Type(1, 3, "C9001");
  dialogs.Expect("List of BOs sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
  controller.UpdateList();
  EXPECT_EQ(ReadFile(exchange.Entry() + "BO_204513.txt"), GridToText(grid));
  EXPECT_EQ(ReadFile(exchange.Entry() + "BO_204513/BO_204513_09-Dec-26_04-05-07PM.txt"),
            firstUpload);
  EXPECT_EQ(std::distance(fs::directory_iterator(exchange.Entry() + "BO_204513"),
                          fs::directory_iterator{}),
            1);

  clock.now = DateTime{Date{2026, 12, 9}, 16, 5, 30};
  dialogs.Expect("List of BOs sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
  controller.UpdateList();
  EXPECT_TRUE(fs::exists(exchange.Entry() + "BO_204513/BO_204513_09-Dec-26_04-05-30PM.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(exchange.Entry() + "BO_204513"),
                          fs::directory_iterator{}),
            2);
  ExpectOnlyTheListsLeft();
}

TEST_F(ListExchangeTest, ASendThatFailsSaysSoAndStillRemovesTheUploadFile) {
  Open("BO");
  const std::string saved = WindowCaption(" : List of BOs");
  controller.endpoint = {"127.0.0.1", std::to_string(test::UnusedLoopbackPort()), 5};
  view.captions.clear();
  dialogs.Expect("List of BOs not sent to MGX.", "Send failed", MsgIcon::Critical);
  controller.UpdateList();
  EXPECT_EQ(view.captions,
            (std::vector<std::string>{"Sending list of BOs to MGX...Please wait...",
                                      saved + "...List of BOs not sent to MGX.", saved}));
  EXPECT_FALSE(view.waitCursor);
  EXPECT_TRUE(view.controlsEnabled);
  ExpectOnlyTheListsLeft();

  test::ExchangeEmulator stranger({"--password", "not-ours"});
  controller.endpoint = stranger.Endpoint();
  dialogs.Expect("List of BOs not sent to MGX.", "Send failed", MsgIcon::Critical);
  controller.UpdateList();
  EXPECT_FALSE(fs::exists(stranger.Entry() + "BO_204513.txt"));
  ExpectOnlyTheListsLeft();
}

// A server that will not make the archive folder or rename into it would
// otherwise see its earlier list overwritten, unarchived.
TEST_F(ListExchangeTest, AnEarlierListThatCannotBeArchivedIsNeverOverwritten) {
  test::ExchangeEmulator stock({"--stock", "--refuse", "mkdir,rename"});
  test::ExchangeEmulator noRename({"--refuse", "rename"});
  Open("BO");
  for (const test::ExchangeEmulator* server : {&stock, &noRename}) {
    SCOPED_TRACE("port " + std::to_string(server->Port()));
    std::ofstream(server->Entry() + "BO_204513.txt", std::ios::binary) << "the earlier list";
    controller.endpoint = server->Endpoint();
    dialogs.Expect("List of BOs not sent to MGX.", "Send failed", MsgIcon::Critical);
    controller.UpdateList();
    EXPECT_EQ(ReadFile(server->Entry() + "BO_204513.txt"), "the earlier list");
    ExpectOnlyTheListsLeft();
  }
}

TEST_F(ListExchangeTest, AReceiveReplacesTheISINListAndKeepsOneBackupOfTheOldOne) {
  test::ExchangeEmulator exchange;
  controller.endpoint = exchange.Endpoint();
  const std::string published =
      "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code\r\n1~MG1111DELT09~Delta Foods~DELTA~11039";
  std::ofstream(exchange.Entry() + "ISIN.txt", std::ios::binary) << published;
  clock.now = DateTime{Date{2026, 12, 9}, 16, 5, 0};
  Open("ISIN");
  const std::string saved = WindowCaption(" : List of ISINs");
  view.captions.clear();

  dialogs.Expect("List of ISINs received from MGX successfully.", "Recieve succeeded",
                 MsgIcon::Information);
  controller.UpdateList();
  EXPECT_EQ(view.captions, (std::vector<std::string>{
                               "Receiving list of ISINs from MGX...Please wait...",
                               saved + "...List of ISINs received from MGX successfully.", saved}));
  EXPECT_EQ(dir.Read("ISIN.txt"), published);
  EXPECT_EQ(dir.Read("2026-12-09_16-05-00_ISIN.txt"), kISINText);
  ExpectOnlyTheListsLeft({"2026-12-09_16-05-00_ISIN.txt"});
  ASSERT_EQ(grid.Rows(), 2);
  EXPECT_EQ(grid.Text(1, 3), "DELTA");
  // The received list is in use at once, as after a Save.
  EXPECT_EQ(app.lists.FindScripID("MG1111"), "DELTA");

  // The backup is one of the ISIN list's backups.
  controller.OpenBackupPanel();
  EXPECT_EQ(view.entries, (std::vector<std::string>{"2026-12-09_16-05-00", "ISIN.txt"}));
}

TEST_F(ListExchangeTest, AFailedReceiveLeavesTheISINListExactlyAsItWasAndNoBackup) {
  // Bytes a careless copy would change: a high byte, a lone CR, a final CR LF.
  const std::string odd = std::string(kISINText) + "\r\n3~MG1~Caf\xe9 \r Ltd~CAFE~1\r\n";
  dir.Write("ISIN.txt", odd);
  Open("ISIN");

  test::ExchangeEmulator exchange;  // publishes no ISIN.txt
  controller.endpoint = exchange.Endpoint();
  dialogs.Expect("List of ISINs not received from MGX.", "Receive failed", MsgIcon::Critical);
  controller.UpdateList();
  EXPECT_EQ(dir.Read("ISIN.txt"), odd);
  ExpectOnlyTheListsLeft();

  controller.endpoint = {"127.0.0.1", std::to_string(test::UnusedLoopbackPort()), 5};
  dialogs.Expect("List of ISINs not received from MGX.", "Receive failed", MsgIcon::Critical);
  controller.UpdateList();
  EXPECT_EQ(dir.Read("ISIN.txt"), odd);
  EXPECT_FALSE(view.waitCursor);
  EXPECT_TRUE(view.controlsEnabled);
  ExpectOnlyTheListsLeft();

  // A list that arrives but does not load (here: empty) is refused the same way.
  std::ofstream(exchange.Entry() + "ISIN.txt", std::ios::binary) << "";
  controller.endpoint = exchange.Endpoint();
  dialogs.ExpectContaining("Tried to read file: " + dir.File("ftp2MGX.get"),
                           "Error loading file into list.", MsgIcon::Critical);
  dialogs.Expect("List of ISINs not received from MGX.", "Receive failed", MsgIcon::Critical);
  controller.UpdateList();
  EXPECT_EQ(dir.Read("ISIN.txt"), odd);
  EXPECT_EQ(grid.Text(3, 3), "CAFE") << "the grid keeps the list too";
  ExpectOnlyTheListsLeft();

  // With no list before, a failed receive leaves none behind and says only that.
  fs::remove(exchange.Entry() + "ISIN.txt");
  fs::remove(dir.File("ISIN.txt"));
  dialogs.Expect("List of ISINs not received from MGX.", "Receive failed", MsgIcon::Critical);
  controller.UpdateList();
  EXPECT_EQ(DataFiles(), (std::vector<std::string>{"BO.txt"}));

  // A list the receive makes gets the mode of any other file, not the work files' private one.
  std::ofstream(exchange.Entry() + "ISIN.txt", std::ios::binary) << kISINText;
  const mode_t mask = ::umask(022);
  dialogs.Expect("List of ISINs received from MGX successfully.", "Recieve succeeded",
                 MsgIcon::Information);
  controller.UpdateList();
  ::umask(mask);
  EXPECT_EQ(fs::status(dir.File("ISIN.txt")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

}  // namespace
}  // namespace quorvin
