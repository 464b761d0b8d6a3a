// The send and the list exchange through the real client against Debian's FTP
// daemons on loopback, with faults made on the server's disk, its folder, the
// login and the client itself: the clerk is told the truth, the exchange holds
// nothing or a whole file under the final name, nothing local is lost, and the
// next send after the repair puts the whole file there.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ftp_daemons.h"
#include "link_cutter.h"
#include "ground/grid_text.h"
#include "ground/version.h"
#include "windows/list_fixture.h"
#include "windows/list_window.h"
#include "work/transfer/send_fixture.h"

namespace quorvin::test {
namespace {

namespace fs = std::filesystem;
const Daemon kDaemons[] = {Daemon::kVsftpd, Daemon::kProftpd, Daemon::kPureFtpd};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

long long SizeOf(const std::string& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return error ? -1 : static_cast<long long>(size);
}

// Kills this process's `ftp` children once `partial` has grown past `bytes`:
// a client (or the program) dying part way through an upload.
class ClientKiller {
 public:
  ClientKiller(std::string partial, long long bytes)
      : thread_([this, partial, bytes] {
          while (!stop_) {
            if (SizeOf(partial) > bytes) {
              killed_ = KillClients() > 0;
              return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          }
        }) {}
  ~ClientKiller() {
    stop_ = true;
    thread_.join();
  }
  bool Killed() const { return killed_; }

 private:
  static int KillClients() {
    int killed = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
      const std::string pid = entry.path().filename().string();
      if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
      const std::string stat = ReadFile("/proc/" + pid + "/stat");
      // "pid (comm) state ppid …"
      const size_t close = stat.rfind(')');
      if (stat.find("(ftp)") == std::string::npos || close == std::string::npos) continue;
      if (std::stoi(stat.substr(close + 4)) != ::getpid()) continue;
      killed += ::kill(std::stoi(pid), SIGKILL) == 0;
    }
    return killed;
  }

  std::atomic<bool> stop_{false}, killed_{false};
  std::thread thread_;
};

enum class Fault { kWrongLogin, kRefusedFolder, kKilledClient, kLinkCut, kFullDisk };
const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::kWrongLogin:
      return "wrong login";
    case Fault::kRefusedFolder:
      return "refused MKD/STOR";
    case Fault::kKilledClient:
      return "client killed mid-upload";
    case Fault::kLinkCut:
      return "link cut mid-upload";
    case Fault::kFullDisk:
      return "server disk full";
  }
  return "?";
}

class RealServerSendTest : public SendFixture {
 protected:
  std::string Remote(const FtpDaemon& d) const { return d.Entry() + kDay + "/" + FileName(); }

  bool Upload(const ExchangeEndpoint& endpoint) {
    return SendToExchange(app, grid, window, settlement, "Saved", TransferTo(endpoint));
  }
  void ExpectSent() {
    dialogs.Expect("Records sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
  }
  void ExpectNotSent() {
    dialogs.Expect("Records were not sent to MGX.", "Send failed", MsgIcon::Critical);
  }
};

TEST_F(RealServerSendTest, EachServerTakesTheDayWholeOrNotAtAllAndTheRepairedSendPutsItRight) {
  if (::geteuid() != 0) GTEST_SKIP() << FtpDaemon::Unavailable(Daemon::kProftpd);
  // The full disks are tmpfs mounts of this test's own.
  ASSERT_EQ(::unshare(CLONE_NEWNS), 0);
  ASSERT_EQ(::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
  AddTwoGoodRows();
  const std::string rows = GridToText(grid);
  // Big enough to be cut part way at a throttled upload.
  std::string bigDay = rows;
  while (bigDay.size() < 160 * 1024) bigDay += "\r\n" + rows.substr(rows.find("\r\n") + 2);

  for (Daemon daemon : kDaemons) {
    SCOPED_TRACE(DaemonName(daemon));
    if (const std::string why = FtpDaemon::Unavailable(daemon); !why.empty()) {
      ADD_FAILURE() << why;
      continue;
    }
    {
      // A send, then the send again: the exchange's whole copy is shown.
      FtpDaemon server(daemon);
      dir.Write(FileName(), rows);
      ExpectSent();
      EXPECT_TRUE(Upload(server.Endpoint()));
      EXPECT_EQ(ReadFile(Remote(server)), rows);
      EXPECT_FALSE(fs::exists(Remote(server) + ".part"));
      dir.Write(FileName(), "rows changed since");
      dialogs.Expect("File already sent. Your sent file will be shown now.", kAppTitle,
                     MsgIcon::Critical);
      EXPECT_TRUE(CheckAlreadySent(app, window, settlement, "Saved", TransferTo(server.Endpoint())));
      EXPECT_EQ(dir.Read(FileName()), rows);
      EXPECT_EQ(dir.Read("10-Dec-2026_PI_204513_local.txt"), "rows changed since");
      fs::remove(dir.File("10-Dec-2026_PI_204513_local.txt"));
      ExpectNoWorkFiles();
      dialogs.VerifyDone();
    }
    for (Fault fault : {Fault::kWrongLogin, Fault::kRefusedFolder, Fault::kKilledClient,
                        Fault::kLinkCut, Fault::kFullDisk}) {
      SCOPED_TRACE(FaultName(fault));
      FtpDaemon server(daemon, fault == Fault::kKilledClient ? 64 : 0);
      const std::string entry = server.Entry();
      const bool big = fault == Fault::kKilledClient || fault == Fault::kLinkCut ||
                       fault == Fault::kFullDisk;
      const std::string day = big ? bigDay : rows;
      dir.Write(FileName(), day);
      ExchangeEndpoint endpoint = server.Endpoint(fault != Fault::kWrongLogin);
      if (fault == Fault::kRefusedFolder) ::chmod(entry.c_str(), 0555);
      if (fault == Fault::kFullDisk) {
        ASSERT_EQ(::mount("tmpfs", entry.c_str(), "tmpfs", 0, "size=64k,uid=34,gid=34,mode=0755"), 0);
      }

      ExpectNotSent();
      {
        std::optional<ClientKiller> killer;
        if (fault == Fault::kKilledClient) killer.emplace(Remote(server) + ".part", 16 * 1024);
        std::optional<LinkCutter> line;
        if (fault == Fault::kLinkCut) {
          line.emplace(std::stoi(endpoint.port), 48 * 1024);
          endpoint.port = std::to_string(line->Port());
        }
        EXPECT_FALSE(Upload(endpoint));
        if (killer) {
          EXPECT_TRUE(killer->Killed());
        }
        if (line) {
          EXPECT_TRUE(line->Cut());
        }
      }
      const std::string why = dialogs.shown.back().details;
      EXPECT_FALSE(why.empty());
      std::printf("%-9s | %-24s | told: Records were not sent to MGX. (%s) | server: %s\n",
                  DaemonName(daemon), FaultName(fault), why.c_str(),
                  fs::exists(Remote(server)) ? "final name!" :
                  fs::exists(Remote(server) + ".part") ? "a partial file only" : "nothing");
      EXPECT_FALSE(fs::exists(Remote(server))) << "a failed send left a file under the final name";
      EXPECT_EQ(dir.Read(FileName()), day) << "the saved day file is kept byte for byte";

      // The repair, and the next send puts the whole file there.
      if (fault == Fault::kRefusedFolder) ::chmod(entry.c_str(), 0755);
      if (fault == Fault::kFullDisk) {
        ASSERT_EQ(::mount(nullptr, entry.c_str(), nullptr, MS_REMOUNT, "size=4m"), 0);
      }
      endpoint = server.Endpoint();
      ExpectSent();
      EXPECT_TRUE(Upload(endpoint));
      EXPECT_EQ(ReadFile(Remote(server)), day);
      EXPECT_FALSE(fs::exists(Remote(server) + ".part"));
      ExpectNoWorkFiles();
      dialogs.VerifyDone();
      if (fault == Fault::kFullDisk) ::umount2(entry.c_str(), MNT_DETACH);
    }
  }
  EXPECT_EQ(Archives().size(), 3u * 11u) << "every attempt archived";
}

TEST_F(ListFixture, EachServerTakesAFirstAndASecondBOListAndGivesTheISINList) {
  if (::geteuid() != 0) GTEST_SKIP() << FtpDaemon::Unavailable(Daemon::kProftpd);
  for (Daemon daemon : kDaemons) {
    SCOPED_TRACE(DaemonName(daemon));
    if (!FtpDaemon::Unavailable(daemon).empty()) continue;
    FtpDaemon server(daemon);
    controller.endpoint = server.Endpoint();
    Open("BO");
    clock.now = DateTime{Date{2026, 12, 9}, 9, 15, 0};
    const std::string first = GridToText(grid);
    dialogs.Expect("List of BOs sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
    controller.UpdateList();  // a first send: nothing to archive
    EXPECT_EQ(ReadFile(server.Entry() + "BO_204513.txt"), first);

    Type(2, 2, "Nasrin Akter Chowdhury");
    clock.now = DateTime{Date{2026, 12, 9}, 16, 40, 5};
    dialogs.Expect("List of BOs sent to MGX successfully.", "Send succeeded", MsgIcon::Information);
    controller.UpdateList();
    EXPECT_EQ(ReadFile(server.Entry() + "BO_204513.txt"), GridToText(grid));
    EXPECT_EQ(ReadFile(server.Entry() + "BO_204513/BO_204513_09-Dec-26_04-40-05PM.txt"), first);
    EXPECT_FALSE(fs::exists(server.Entry() + "BO_204513.txt.part"));

    Open("ISIN");
    dialogs.Expect("List of ISINs not received from MGX.", "Receive failed", MsgIcon::Critical);
    controller.UpdateList();  // nothing published yet
    EXPECT_EQ(dir.Read("ISIN.txt"), kISINText);
    TempFolder::WriteFile(server.Entry() + "ISIN.txt", std::string(kISINText) + "\r\n3~MG9999NEWC11~New Co~NEWCO~11999");
    dialogs.Expect("List of ISINs received from MGX successfully.", "Recieve succeeded",
                   MsgIcon::Information);
    controller.UpdateList();
    EXPECT_EQ(dir.Read("ISIN.txt"), std::string(kISINText) + "\r\n3~MG9999NEWC11~New Co~NEWCO~11999");
    dialogs.VerifyDone();
    dir.Write("ISIN.txt", kISINText);
    for (const auto& e : fs::directory_iterator(dir.Path()))
      if (e.path().filename().string().find("_ISIN.txt") != std::string::npos) fs::remove(e.path());
  }
}

}  // namespace
}  // namespace quorvin::test
