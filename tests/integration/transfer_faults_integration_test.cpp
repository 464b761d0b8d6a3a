// Transfers that go wrong half way or cannot start, with the real client:
// a server that stalls in the middle of a get or a put, and a machine without
// the client. The clerk is told the send failed, nothing hangs, and nothing
// is reported as sent. (A server that is down, a refused login and a refused
// upload are covered by the send and transfer integration tests.)
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "exchange_emulator.h"
#include "ground/errors.h"
#include "ground/version.h"
#include "stalling_ftp_server.h"
#include "support/recording_window.h"
#include "work/transfer/remote_files.h"
#include "work/transfer/send_fixture.h"

namespace quorvin::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kDay = "05-Jan-2010";
const std::string kFile = "05-Jan-2010_PO_204513.txt";

// More than the socket buffers hold: a put that stalls really stops mid-file.
std::string LargeRows() {
  std::string rows = "S/N~Broker ID";
  for (int r = 1; r <= 60000; ++r) rows += "\r\n" + std::to_string(r) + "~204513~a row of the day";
  return rows;
}

// PATH set to a folder without the client, put back afterwards.
class PathWithoutClient {
 public:
  PathWithoutClient() {
    const char* old = std::getenv("PATH");
    if (old) saved_ = old;
    ::setenv("PATH", empty_.Path().c_str(), 1);
  }
  ~PathWithoutClient() {
    if (saved_) {
      ::setenv("PATH", saved_->c_str(), 1);
    } else {
      ::unsetenv("PATH");
    }
  }

 private:
  TempFolder empty_;
  std::optional<std::string> saved_;
};

TEST(TransferFaultTest, AGetOrPutThatStallsMidFileEndsByTheClientsTimeoutAsNotSent) {
  StallingFtpServer server;
  TempFolder local;
  const std::string rows = LargeRows();
  local.Write(kFile, rows);
  RecordingWindow window;
  const ExchangeEndpoint endpoint{"127.0.0.1", std::to_string(server.Port()), 2};

  for (const auto& lines :
       {SendInstructionLines(kDay, kFile), ProbeInstructionLines(kDay, kFile)}) {
    SCOPED_TRACE(lines[2]);
    const int stalledBefore = server.StalledTransfers();
    const auto start = Clock::now();
    const std::string out = RunTransfer(window, local.Path(), lines, endpoint);
    const auto waited = Clock::now() - start;
    EXPECT_EQ(server.StalledTransfers(), stalledBefore + 1) << "the transfer never started";
    EXPECT_NE(out.find("150 Opening"), std::string::npos) << out;
    const std::string remote = InstructionRemotePath(kDay, kFile);
    EXPECT_FALSE(UploadedWhole(out, remote, rows.size()).done) << out;
    EXPECT_NE(DownloadedWhole(out, remote, 0).state, Download::kWhole) << out;
    EXPECT_LT(waited, std::chrono::seconds(30)) << "the client did not give up by itself";
    DeleteTransferFiles(local.Path());
  }
  EXPECT_GT(window.eventRounds, 0) << "the window must stay alive while the client waits";
}

TEST(TransferFaultTest, WithoutTheClientATransferFailsAtOnceAndWritesNothing) {
  TempFolder local;
  RecordingWindow window;
  PathWithoutClient noClient;
  const auto start = Clock::now();
  try {
    RunTransfer(window, local.Path(), SendInstructionLines(kDay, kFile),
                ExchangeEndpoint{"127.0.0.1", std::to_string(UnusedLoopbackPort()), 2});
    ADD_FAILURE() << "a transfer without the client went on";
  } catch (const AppError& e) {
    EXPECT_EQ(e.Description(), "FTP client not found: ftp");
  }
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(local.Exists("ftp2MGX.txt")) << "the password must not be written for nothing";
  EXPECT_FALSE(local.Exists("ftp2MGX.bat"));
  EXPECT_FALSE(local.Exists("out.txt"));
}

class SendFaultTest : public SendFixture {
 protected:
  void SetUp() override {
    SendFixture::SetUp();
    controller.ChangeKind(kPayOut);  // no holding file to choose
    AddTwoGoodRows();
  }

  void Send(const ExchangeEndpoint& endpoint) {
    const std::string caption = window.caption;
    SendInstructions(app, grid, window, holdingView, settlement, savedCaption, endpoint);
    dialogs.VerifyDone();
    EXPECT_EQ(window.caption, caption);
    EXPECT_FALSE(window.waitCursor);
    for (const std::string& shown : window.captions)
      EXPECT_EQ(shown.find(kSendSucceededMessage), std::string::npos) << shown;
  }
};

TEST_F(SendFaultTest, AServerStallingInTheProbeAndTheUploadEndsAsNotSent) {
  StallingFtpServer server;
  dir.Write(FileName(), "saved earlier");
  ExpectConfirmation();
  dialogs.Expect(kSendFailedMessage, "Send failed", MsgIcon::Critical);
  const auto start = Clock::now();
  Send(ExchangeEndpoint{"127.0.0.1", std::to_string(server.Port()), 2});
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(45));
  EXPECT_EQ(server.StalledTransfers(), 2) << "the probe's get and the upload both stalled";
  // The probe's broken get did not take the clerk's rows; the upload's file is the grid.
  EXPECT_EQ(dir.Read(FileName()), GridToText(grid));
  EXPECT_TRUE(dialogs.viewed.empty());
  ExpectNoWorkFiles();
  EXPECT_EQ(Archives().size(), 1u) << "every attempt is archived";
}

TEST_F(SendFaultTest, WithoutTheClientTheClerkIsToldWhatIsMissingAndNothingIsSent) {
  PathWithoutClient noClient;
  dir.Write(FileName(), "saved earlier");
  ExpectConfirmation();
  // The probe says why and the send goes on; the upload cannot start either.
  dialogs.Expect("FTP client not found: ftp", kAppTitle, MsgIcon::None);
  dialogs.Expect("FTP client not found: ftp", kAppTitle, MsgIcon::None);
  const auto start = Clock::now();
  Send(ExchangeEndpoint{"127.0.0.1", std::to_string(UnusedLoopbackPort()), 2});
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(dir.Read(FileName()), GridToText(grid));
  EXPECT_TRUE(dialogs.viewed.empty());
  ExpectNoWorkFiles();
  EXPECT_TRUE(Archives().empty()) << "no upload was attempted";
}

}  // namespace
}  // namespace quorvin::test
