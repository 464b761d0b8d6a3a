// The real client (`ftp`) against the exchange emulator on loopback: every
// outcome a transfer can have, judged by the same tests the program uses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "exchange_emulator.h"
#include "ground/errors.h"
#include "support/recording_window.h"
#include "support/temp_folder.h"
#include "work/transfer/ftp_transfer.h"

namespace quorvin {
namespace {

namespace fs = std::filesystem;

const std::string kDay = "05-Jan-2010";
const std::string kFile = "05-Jan-2010_PI_204513.txt";
// CR LF and a high byte must travel untouched.
const std::string kRows = "S/N~Broker ID\r\n1~204513~Caf\xe9";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

unsigned ModeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 01000;
}

class FtpTransferIntegrationTest : public ::testing::Test {
 protected:
  // Runs one transfer from `location` and returns the client's output.
  std::string Run(const std::string& location, const std::vector<std::string>& lines,
                  const ExchangeEndpoint& endpoint) {
    return RunTransfer(window_, location, lines, endpoint);
  }

  void ExpectNoWorkFilesLeft(const test::TempFolder& dir) {
    EXPECT_FALSE(dir.Exists("ftp2MGX.txt"));
    EXPECT_FALSE(dir.Exists("ftp2MGX.bat"));
    EXPECT_FALSE(dir.Exists("out.txt"));
  }

  test::RecordingWindow window_;
};

TEST_F(FtpTransferIntegrationTest, APutLandsInTheDaysFolderAndASecondOneStillSucceeds) {
  test::ExchangeEmulator exchange;
  test::TempFolder local;
  local.Write(kFile, kRows);

  std::string out = Run(local.Path(), SendInstructionLines(kDay, kFile), exchange.Endpoint());
  EXPECT_TRUE(TransferSucceeded(out)) << out;
  EXPECT_EQ(ReadFile(exchange.Entry() + kDay + "/" + kFile), kRows);
  // The work files hold the password: owner only, until the clean-up.
  EXPECT_EQ(ModeOf(local.File("ftp2MGX.txt")), 0600u);
  EXPECT_EQ(ModeOf(local.File("ftp2MGX.bat")), 0600u);
  EXPECT_EQ(ModeOf(local.File("out.txt")), 0600u);
  EXPECT_EQ(out.find(ExchangeEndpoint{}.password), std::string::npos) << "the output must not show the password";
  DeleteTransferFiles(local.Path());
  ExpectNoWorkFilesLeft(local);
  EXPECT_EQ(local.Read(kFile), kRows);

  // The day's folder exists now; the refused mkdir must not stop the upload.
  local.Write(kFile, kRows + "\r\n2~204513~x");
  out = Run(local.Path(), SendInstructionLines(kDay, kFile), exchange.Endpoint());
  EXPECT_TRUE(TransferSucceeded(out)) << out;
  EXPECT_EQ(ReadFile(exchange.Entry() + kDay + "/" + kFile), kRows + "\r\n2~204513~x");
}

TEST_F(FtpTransferIntegrationTest, AProbeTellsAMissingFileFromOneTheServerHolds) {
  test::ExchangeEmulator exchange;
  test::TempFolder local;
  local.Write(kFile, "the local copy");

  std::string out = Run(local.Path(), ProbeInstructionLines(kDay, kFile), exchange.Endpoint());
  EXPECT_TRUE(RemoteFileMissing(out)) << out;
  EXPECT_FALSE(TransferSucceeded(out)) << out;
  EXPECT_EQ(local.Read(kFile), "the local copy") << "a failed get must leave the local file alone";
  DeleteTransferFiles(local.Path());

  fs::create_directories(exchange.Entry() + kDay);
  WriteFile(exchange.Entry() + kDay + "/" + kFile, kRows);
  out = Run(local.Path(), ProbeInstructionLines(kDay, kFile), exchange.Endpoint());
  EXPECT_FALSE(RemoteFileMissing(out)) << out;
  EXPECT_TRUE(TransferSucceeded(out)) << out;
  EXPECT_EQ(local.Read(kFile), kRows) << "the server's copy replaces the local file";
}

TEST_F(FtpTransferIntegrationTest, ARefusedLoginIsNeitherSentNorMissing) {
  test::TempFolder local;
  local.Write(kFile, kRows);

  // A server that knows another password refuses the program's login.
  test::ExchangeEmulator stranger({"--password", "not-ours"});
  std::string out = Run(local.Path(), SendInstructionLines(kDay, kFile), stranger.Endpoint());
  EXPECT_FALSE(TransferSucceeded(out)) << out;
  EXPECT_FALSE(RemoteFileMissing(out)) << out;
  EXPECT_NE(out.find("530"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(stranger.Entry() + kDay));

  out = Run(local.Path(), ProbeInstructionLines(kDay, kFile), stranger.Endpoint());
  EXPECT_FALSE(TransferSucceeded(out)) << out;
  EXPECT_FALSE(RemoteFileMissing(out)) << out;
  EXPECT_EQ(local.Read(kFile), kRows);
}

TEST_F(FtpTransferIntegrationTest, AServerThatIsDownOrSilentEndsAsNotSent) {
  test::TempFolder local;
  local.Write(kFile, kRows);

  ExchangeEndpoint down{"127.0.0.1", std::to_string(test::UnusedLoopbackPort()), 5};
  std::string out = Run(local.Path(), SendInstructionLines(kDay, kFile), down);
  EXPECT_FALSE(TransferSucceeded(out)) << out;
  EXPECT_FALSE(RemoteFileMissing(out)) << out;

  // A server that accepts the connection and never answers: the client gives
  // up after the stall time instead of hanging the window.
  test::SilentServer silent;
  auto before = std::chrono::steady_clock::now();
  out = Run(local.Path(), ProbeInstructionLines(kDay, kFile),
            ExchangeEndpoint{"127.0.0.1", std::to_string(silent.Port()), 1});
  auto waited = std::chrono::steady_clock::now() - before;
  EXPECT_FALSE(TransferSucceeded(out)) << out;
  EXPECT_FALSE(RemoteFileMissing(out)) << out;
  EXPECT_LT(waited, std::chrono::seconds(30));
  EXPECT_GT(window_.eventRounds, 0);
  DeleteTransferFiles(local.Path());
  ExpectNoWorkFilesLeft(local);
  EXPECT_EQ(local.Read(kFile), kRows);
}

TEST_F(FtpTransferIntegrationTest, AnUploadTheServerRefusesIsNotSent) {
  test::ExchangeEmulator exchange({"--refuse-uploads"});
  test::TempFolder local;
  local.Write(kFile, kRows);
  std::string out = Run(local.Path(), SendInstructionLines(kDay, kFile), exchange.Endpoint());
  EXPECT_FALSE(TransferSucceeded(out)) << out;
  EXPECT_FALSE(fs::exists(exchange.Entry() + kDay + "/" + kFile));
}

TEST_F(FtpTransferIntegrationTest, AStaleOutputOfAnEarlierRunIsNeverTakenForThisOne) {
  test::TempFolder local;
  local.Write(kFile, kRows);
  local.Write("out.txt", "226 Transfer complete.");  // left by an interrupted run
  ExchangeEndpoint down{"127.0.0.1", std::to_string(test::UnusedLoopbackPort()), 5};
  std::string out = Run(local.Path(), SendInstructionLines(kDay, kFile), down);
  EXPECT_FALSE(TransferSucceeded(out)) << out;
}

TEST_F(FtpTransferIntegrationTest, ABackupLocationWithBlanksAndShellCharactersWorks) {
  test::ExchangeEmulator exchange;
  test::TempFolder root;
  const std::string name = "Back up $HOME `touch pwned`; it's \"ours\" && touch pwned2";
  const std::string location = root.File(name) + "/";
  fs::create_directory(location);
  root.Write(name + "/" + kFile, kRows);

  std::string out = Run(location, SendInstructionLines(kDay, kFile), exchange.Endpoint());
  EXPECT_TRUE(TransferSucceeded(out)) << out;
  EXPECT_EQ(ReadFile(exchange.Entry() + kDay + "/" + kFile), kRows);
  DeleteTransferFiles(location);
  EXPECT_FALSE(root.Exists(name + "/ftp2MGX.txt"));
  EXPECT_FALSE(root.Exists(name + "/ftp2MGX.bat"));
  EXPECT_FALSE(root.Exists(name + "/out.txt"));
  for (const auto& entry : fs::recursive_directory_iterator(root.Path())) {
    std::string file = entry.path().filename().string();
    EXPECT_TRUE(file != "pwned" && file != "pwned2") << "something ran: " << entry.path();
  }
}

// The list exchange's operation lines, as the list window sends them: the
// emulator must answer them as the exchange does.
std::vector<std::string> SendBOListLines(const std::string& stamp) {
  return {"mkdir BO_204513", "rename BO_204513.txt BO_204513/BO_204513_" + stamp + ".txt",
          "put BO_204513.txt"};
}

TEST_F(FtpTransferIntegrationTest, ListExchangeArchivesTheEarlierUploadAndFetchesTheISINList) {
  test::ExchangeEmulator exchange;
  test::TempFolder local;

  // First send: the archive folder is made, the rename finds nothing, the put lands.
  local.Write("BO_204513.txt", "S/N~BO ID\r\n1~first");
  std::string out = Run(local.Path(), SendBOListLines("09-Dec-26_04-05-00PM"), exchange.Endpoint());
  EXPECT_TRUE(TransferSucceeded(out)) << out;
  EXPECT_EQ(ReadFile(exchange.Entry() + "BO_204513.txt"), "S/N~BO ID\r\n1~first");

  // Second send: the first upload moves into the archive under the new stamp.
  local.Write("BO_204513.txt", "S/N~BO ID\r\n1~second");
  out = Run(local.Path(), SendBOListLines("09-Dec-26_04-07-30PM"), exchange.Endpoint());
  EXPECT_TRUE(TransferSucceeded(out)) << out;
  EXPECT_EQ(ReadFile(exchange.Entry() + "BO_204513.txt"), "S/N~BO ID\r\n1~second");
  EXPECT_EQ(ReadFile(exchange.Entry() + "BO_204513/BO_204513_09-Dec-26_04-07-30PM.txt"),
            "S/N~BO ID\r\n1~first");

  // Receiving a list the exchange has not published fails and writes nothing.
  out = Run(local.Path(), {"get ISIN.txt"}, exchange.Endpoint());
  EXPECT_FALSE(TransferSucceeded(out)) << out;
  EXPECT_FALSE(local.Exists("ISIN.txt"));

  WriteFile(exchange.Entry() + "ISIN.txt", "S/N~ISIN Code\r\n1~MG1000ALPH13");
  out = Run(local.Path(), {"get ISIN.txt"}, exchange.Endpoint());
  EXPECT_TRUE(TransferSucceeded(out)) << out;
  EXPECT_EQ(local.Read("ISIN.txt"), "S/N~ISIN Code\r\n1~MG1000ALPH13");
}

}  // namespace
}  // namespace quorvin
