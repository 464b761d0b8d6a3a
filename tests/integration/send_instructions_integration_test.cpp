// The Send button with the real client against the exchange emulator on
// loopback: what lands on the server, what the clerk is told, what stays on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "exchange_emulator.h"
#include "ground/version.h"
#include "work/checks/sort_summary.h"
#include "work/entry/auto_fill.h"
#include "work/import/trade_import.h"
#include "work/transfer/send_fixture.h"

namespace quorvin::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SendIntegrationTest : public SendFixture {
 protected:
  void Send(const ExchangeEndpoint& endpoint) {
    const std::string caption = window.caption;
    SendInstructions(app, grid, window, holdingView, settlement, savedCaption, endpoint);
    dialogs.VerifyDone();
    EXPECT_EQ(window.caption, caption);
    EXPECT_FALSE(window.waitCursor);
  }

  std::string OnServer(const ExchangeEmulator& exchange) const {
    return ReadFile(exchange.Entry() + kDay + "/" + FileName());
  }

  void ExpectSuccess() {
    dialogs.Expect("Records sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
  }
  void ExpectFailure() {
    dialogs.Expect("Records were not sent to MGX.", "Send failed", MsgIcon::Critical);
  }
};

TEST_F(SendIntegrationTest, AFirstPayInIsUploadedAndASecondOneIsRefusedAsAlreadySent) {
  ExchangeEmulator exchange;
  AddTwoGoodRows();
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  ExpectSuccess();
  Send(exchange.Endpoint());

  const std::string first = GridToText(grid);
  EXPECT_EQ(OnServer(exchange), first);
  EXPECT_EQ(dir.Read(FileName()), first);
  EXPECT_EQ(Archives(), std::vector<std::string>{ArchiveName("08-Dec-26_02-03-59PM")});
  EXPECT_EQ(dir.Read("Sent/" + ArchiveName("08-Dec-26_02-03-59PM")), first);
  ExpectNoWorkFiles();

  // Changed rows, saved locally, for the same day: the exchange's copy wins.
  grid.SetText(1, col::kQuantity, "90");
  SaveGridText(dialogs, grid, LocalFile());
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  dialogs.Expect("File already sent. Your sent file will be shown now.", kAppTitle,
                 MsgIcon::Critical);
  Send(exchange.Endpoint());

  EXPECT_EQ(OnServer(exchange), first) << "nothing uploaded";
  EXPECT_EQ(dir.Read(FileName()), first);
  EXPECT_EQ(dialogs.viewed, std::vector<std::string>{LocalFile()});
  EXPECT_EQ(ReadFile(LocalCopyPath(app, settlement)), GridToText(grid));
  EXPECT_EQ(Archives().size(), 1u);
  ExpectNoWorkFiles();
}

TEST_F(SendIntegrationTest, NoServerARefusedLoginOrARefusedUploadEndAsNotSent) {
  AddTwoGoodRows();
  const std::string rows = GridToText(grid);
  ExchangeEmulator wrongPassword({"--password", "another"});
  ExchangeEmulator refusing({"--refuse-uploads"});
  const ExchangeEndpoint endpoints[] = {
      {"127.0.0.1", std::to_string(UnusedLoopbackPort()), 10},
      wrongPassword.Endpoint(),
      refusing.Endpoint(),
  };
  for (const ExchangeEndpoint& endpoint : endpoints) {
    SCOPED_TRACE("port " + endpoint.port);
    // An earlier save of the day must not pass for a file the exchange holds.
    dir.Write(FileName(), "saved earlier");
    dialogs.QueueOpenFile(WriteCoveringHoldingFile());
    ExpectConfirmation();
    ExpectFailure();
    Send(endpoint);
    EXPECT_EQ(dir.Read(FileName()), rows);
    EXPECT_TRUE(dialogs.viewed.empty());
    ExpectNoWorkFiles();
  }
  EXPECT_FALSE(fs::exists(refusing.Entry() + kDay + "/" + FileName()));
  // One archive per attempt, the clock standing still.
  EXPECT_EQ(Archives(), (std::vector<std::string>{ArchiveName("08-Dec-26_02-03-59PM"),
                                                  ArchiveName("08-Dec-26_02-03-59PM_2"),
                                                  ArchiveName("08-Dec-26_02-03-59PM_3")}));
}

// The day's file goes into the day's folder or nowhere: a server that will
// not make the folder must not get the file into "entry" itself.
TEST_F(SendIntegrationTest, TheFileLandsInTheDaysFolderOrTheSendFails) {
  AddTwoGoodRows();
  ExchangeEmulator stock({"--stock", "--refuse", "mkdir"});
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  ExpectFailure();
  Send(stock.Endpoint());
  EXPECT_TRUE(fs::is_empty(stock.Entry()));

  // The folder made earlier by someone else: the file goes into it.
  fs::create_directory(stock.Entry() + kDay);
  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  ExpectSuccess();
  Send(stock.Endpoint());
  EXPECT_EQ(OnServer(stock), GridToText(grid));
  EXPECT_FALSE(fs::exists(stock.Entry() + FileName()));
  ExpectNoWorkFiles();
}

// The demo day as the clerk would prepare it: import, Auto-Fill, Summarize, Send.
class DemoDaySendTest : public SendIntegrationTest {
 protected:
  void PrepareDemoDay(const std::string& kind, const std::string& tradeFile) {
    app.LoadListsFrom(std::string(QUORVIN_DEMO_DATA) + "/");
    controller.ChangeKind(kind);
    ASSERT_TRUE(
        ImportTrades(app, grid, std::string(QUORVIN_DEMO_DATA) + "/" + tradeFile, TradeSide(app)));
    AutoFill(app, grid, settlement);
    quorvin::Summarize(app, grid);
    ASSERT_GT(grid.Rows(), 3);
  }
};

TEST_F(DemoDaySendTest, ThePayInIsStoppedUntilItsFaultsAndHoldingsAreSettled) {
  ExchangeEmulator exchange;
  PrepareDemoDay(kPayIn, "payin_10-Dec-2026.txt");

  // The demo's trade file names a client and a scrip the lists do not know.
  ExpectConfirmation();
  dialogs.Expect("BO ID is not given in row number 1.", "Missing BO ID", MsgIcon::Critical);
  Send(exchange.Endpoint());

  // The clerk drops those rows; the demo holding report then finds one balance short and one
  // missing.
  for (int r = grid.Rows() - 1; r >= 1; --r) {
    if (grid.Text(r, col::kBOID).empty() || grid.Text(r, col::kISINCode).empty())
      grid.RemoveRows(r, 1);
  }
  RenumberSerials(grid);
  dialogs.QueueOpenFile(std::string(QUORVIN_DEMO_DATA) + "/11DPA6UX.TXT");
  ExpectConfirmation();
  Send(exchange.Endpoint());
  ASSERT_EQ(holdingView.shown.size(), 1u);
  EXPECT_NE(holdingView.shown[0].find("holding insufficient"), std::string::npos);
  EXPECT_NE(holdingView.shown[0].find("holding balance missing"), std::string::npos);
  EXPECT_EQ(OnServer(exchange), "<missing>");
  EXPECT_TRUE(Archives().empty());

  dialogs.QueueOpenFile(WriteCoveringHoldingFile());
  ExpectConfirmation();
  ExpectSuccess();
  Send(exchange.Endpoint());
  EXPECT_EQ(OnServer(exchange), GridToText(grid));
  EXPECT_EQ(Archives().size(), 1u);
}

TEST_F(DemoDaySendTest, ThePayOutGoesStraightThrough) {
  ExchangeEmulator exchange;
  PrepareDemoDay(kPayOut, "payout_10-Dec-2026.txt");
  ExpectConfirmation();
  ExpectSuccess();
  Send(exchange.Endpoint());
  EXPECT_TRUE(dialogs.openFileTitles.empty());
  EXPECT_EQ(ReadFile(exchange.Entry() + kDay + "/10-Dec-2026_PO_204513.txt"), GridToText(grid));
  EXPECT_EQ(dir.Read("Sent/" + ArchiveName("08-Dec-26_02-03-59PM")), GridToText(grid));
}

}  // namespace
}  // namespace quorvin::test
