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
#include "work/transfer/remote_files.h"

namespace quorvin {
namespace {

namespace fs = std::filesystem;

const std::string kDay = "05-Jan-2010";
const std::string kFile = "05-Jan-2010_PI_204513.txt";
// CR LF and a high byte must travel untouched.
const std::string kRows = "S/N~Broker ID\r\n1~204513~Caf\xe9";
const std::string kRemote = kDay + "/" + kFile;

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

  // The day's file up under its partial name, then renamed: whether it is there whole.
  bool SendWhole(const std::string& location, const ExchangeEndpoint& endpoint) {
    const auto bytes = static_cast<long long>(ReadFile(location + kFile).size());
    std::string out = Run(location, SendInstructionLines(kDay, kFile), endpoint);
    if (!UploadedWhole(out, kRemote, bytes).done) return false;
    out = Run(location, RenameLines(PartialName(kRemote), kRemote), endpoint);
    return RenamedWhole(out, PartialName(kRemote), kRemote, bytes).done;
  }

  Download Probe(const std::string& location, const ExchangeEndpoint& endpoint) {
    std::string out = Run(location, ProbeInstructionLines(kDay, kFile), endpoint);
    std::string got = ReadFile(location + kDownloadFileName);
    return DownloadedWhole(out, kRemote, got == "<missing>" ? -1 : static_cast<long long>(got.size()))
        .state;
  }

  test::RecordingWindow window_;
};

TEST_F(FtpTransferIntegrationTest, APutLandsInTheDaysFolderAndASecondOneStillSucceeds) {
  test::ExchangeEmulator exchange;
  test::TempFolder local;
  local.Write(kFile, kRows);

  std::string out = Run(local.Path(), SendInstructionLines(kDay, kFile), exchange.Endpoint());
  EXPECT_TRUE(UploadedWhole(out, kRemote, kRows.size()).done) << out;
  EXPECT_EQ(ReadFile(exchange.Entry() + PartialName(kRemote)), kRows);
  EXPECT_FALSE(fs::exists(exchange.Entry() + kRemote)) << "not whole until renamed";
  // The work files hold the password: owner only, until the clean-up.
  EXPECT_EQ(ModeOf(local.File("ftp2MGX.txt")), 0600u);
  EXPECT_EQ(ModeOf(local.File("ftp2MGX.bat")), 0600u);
  EXPECT_EQ(ModeOf(local.File("out.txt")), 0600u);
  EXPECT_EQ(out.find(ExchangeEndpoint{}.password), std::string::npos) << "the output must not show the password";
  DeleteTransferFiles(local.Path());
  ExpectNoWorkFilesLeft(local);
  EXPECT_EQ(local.Read(kFile), kRows);

  // The day's folder exists now; the refused mkdir must not stop the upload.
  // A partial file of an earlier attempt is replaced.
  local.Write(kFile, kRows + "\r\n2~204513~x");
  EXPECT_TRUE(SendWhole(local.Path(), exchange.Endpoint()));
  EXPECT_EQ(ReadFile(exchange.Entry() + kRemote), kRows + "\r\n2~204513~x");
  EXPECT_FALSE(fs::exists(exchange.Entry() + PartialName(kRemote)));
}

TEST_F(FtpTransferIntegrationTest, AProbeTellsAMissingFileFromOneTheServerHolds) {
  test::ExchangeEmulator exchange;
  test::TempFolder local;
  local.Write(kFile, "the local copy");

  EXPECT_EQ(Probe(local.Path(), exchange.Endpoint()), Download::kMissing);
  EXPECT_EQ(local.Read(kFile), "the local copy") << "a failed get must leave the local file alone";
  DeleteTransferFiles(local.Path());

  fs::create_directories(exchange.Entry() + kDay);
  WriteFile(exchange.Entry() + kRemote, kRows);
  EXPECT_EQ(Probe(local.Path(), exchange.Endpoint()), Download::kWhole);
  EXPECT_EQ(local.Read(kDownloadFileName), kRows);
  EXPECT_EQ(local.Read(kFile), "the local copy") << "the probe never writes over the saved file";
}

TEST_F(FtpTransferIntegrationTest, ARefusedLoginIsNeitherSentNorMissing) {
  test::TempFolder local;
  local.Write(kFile, kRows);

  // A server that knows another password refuses the program's login.
  test::ExchangeEmulator stranger({"--password", "not-ours"});
  std::string out = Run(local.Path(), SendInstructionLines(kDay, kFile), stranger.Endpoint());
  const StepOutcome step = UploadedWhole(out, kRemote, kRows.size());
  EXPECT_FALSE(step.done) << out;
  EXPECT_EQ(step.why.substr(0, 4), "530 ") << out;
  EXPECT_FALSE(fs::exists(stranger.Entry() + kDay));

  EXPECT_EQ(Probe(local.Path(), stranger.Endpoint()), Download::kFailed);
  EXPECT_EQ(local.Read(kFile), kRows);
}

TEST_F(FtpTransferIntegrationTest, AServerThatIsDownOrSilentEndsAsNotSent) {
  test::TempFolder local;
  local.Write(kFile, kRows);

  ExchangeEndpoint down{"127.0.0.1", std::to_string(test::UnusedLoopbackPort()), 5};
  EXPECT_FALSE(SendWhole(local.Path(), down));
  EXPECT_EQ(Probe(local.Path(), down), Download::kFailed);

  // A server that accepts the connection and never answers: the client gives
  // up after the stall time instead of hanging the window.
  test::SilentServer silent;
  auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(Probe(local.Path(), ExchangeEndpoint{"127.0.0.1", std::to_string(silent.Port()), 1}),
            Download::kFailed);
  auto waited = std::chrono::steady_clock::now() - before;
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
  EXPECT_FALSE(SendWhole(local.Path(), exchange.Endpoint()));
  EXPECT_FALSE(fs::exists(exchange.Entry() + kRemote));
}

TEST_F(FtpTransferIntegrationTest, AStaleOutputOfAnEarlierRunIsNeverTakenForThisOne) {
  test::TempFolder local;
  local.Write(kFile, kRows);
  local.Write("out.txt", "226 Transfer complete.");  // left by an interrupted run
  ExchangeEndpoint down{"127.0.0.1", std::to_string(test::UnusedLoopbackPort()), 5};
  EXPECT_FALSE(SendWhole(local.Path(), down));
}

TEST_F(FtpTransferIntegrationTest, ABackupLocationWithBlanksAndShellCharactersWorks) {
  test::ExchangeEmulator exchange;
  test::TempFolder root;
  const std::string name = "Back up $HOME `touch pwned`; it's \"ours\" && touch pwned2";
  const std::string location = root.File(name) + "/";
  fs::create_directory(location);
  root.Write(name + "/" + kFile, kRows);

  EXPECT_TRUE(SendWhole(location, exchange.Endpoint()));
  EXPECT_EQ(ReadFile(exchange.Entry() + kRemote), kRows);
  DeleteTransferFiles(location);
  EXPECT_FALSE(root.Exists(name + "/ftp2MGX.txt"));
  EXPECT_FALSE(root.Exists(name + "/ftp2MGX.bat"));
  EXPECT_FALSE(root.Exists(name + "/out.txt"));
  for (const auto& entry : fs::recursive_directory_iterator(root.Path())) {
    std::string file = entry.path().filename().string();
    EXPECT_TRUE(file != "pwned" && file != "pwned2") << "something ran: " << entry.path();
  }
}

}  // namespace
}  // namespace quorvin
