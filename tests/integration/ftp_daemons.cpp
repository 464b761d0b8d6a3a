// Configuring, starting and stopping the FTP daemons for a test.
#include "ftp_daemons.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

#include "exchange_emulator.h"

extern char** environ;

namespace quorvin::test {
namespace {

namespace fs = std::filesystem;

// Where scripts/ftp-daemons unpacks the two that cannot be installed beside proftpd.
const std::string kUnpacked = "/var/cache/quorvin/ftpd/root/usr/";
// The sessions run as this system user: it exists on every Debian system and
// its home folder exists (vsftpd changes into it before its own root).
constexpr const char* kSessionUser = "backup";
constexpr int kSessionId = 34;
// crypt() of kPassword, for proftpd's own user file.
constexpr const char* kPasswordHash = "$1$quorvin$jcxPH3w3G2POYRGLatOIj0";

std::string ProgramOf(Daemon daemon) {
  switch (daemon) {
    case Daemon::kVsftpd:
      return kUnpacked + "sbin/vsftpd";
    case Daemon::kProftpd:
      return "/usr/sbin/proftpd";
    case Daemon::kPureFtpd:
      return kUnpacked + "sbin/pure-ftpd";
  }
  return {};
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& output) {
  std::vector<char*> argv;
  std::vector<std::string> copy = args;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  const int err = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) throw std::runtime_error("cannot start " + args[0]);
  return pid;
}

void Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
}

}  // namespace

const char* DaemonName(Daemon daemon) {
  switch (daemon) {
    case Daemon::kVsftpd:
      return "vsftpd";
    case Daemon::kProftpd:
      return "proftpd";
    case Daemon::kPureFtpd:
      return "pure-ftpd";
  }
  return "?";
}

std::string FtpDaemon::Unavailable(Daemon daemon) {
  if (::geteuid() != 0) return "the FTP daemons switch users and need root";
  if (::access(ProgramOf(daemon).c_str(), X_OK) != 0)
    return ProgramOf(daemon) + " is not there (scripts/setup unpacks it)";
  return {};
}

FtpDaemon::FtpDaemon(Daemon daemon, int uploadKiBPerSecond) : daemon_(daemon) {
  const std::string dir = folder_.Path();
  fs::create_directories(dir + "root/entry");
  fs::create_directories(dir + "empty");
  // The session user walks to the root; only "entry" is the broker's to write.
  for (const std::string& path : {dir, dir + "root", dir + "empty"}) ::chmod(path.c_str(), 0755);
  ::chown((dir + "root/entry").c_str(), kSessionId, kSessionId);
  port_ = UnusedLoopbackPort();
  const std::string port = std::to_string(port_);
  std::vector<std::string> args;
  switch (daemon) {
    case Daemon::kVsftpd:
      TempFolder::WriteFile(
          dir + "vsftpd.conf",
          "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" + port +
              "\nbackground=NO\nanonymous_enable=YES\nlocal_enable=NO\nwrite_enable=YES\n"
              "anon_upload_enable=YES\nanon_mkdir_write_enable=YES\nanon_other_write_enable=YES\n"
              "anon_world_readable_only=NO\nno_anon_password=YES\nanon_umask=022\n"
              "anon_root=" + dir + "root\nftp_username=" + kSessionUser +
              "\nsecure_chroot_dir=" + dir + "empty\nseccomp_sandbox=NO\nxferlog_enable=NO\n" +
              (uploadKiBPerSecond > 0
                   ? "anon_max_rate=" + std::to_string(uploadKiBPerSecond * 1024) + "\n"
                   : ""));
      args = {ProgramOf(daemon), dir + "vsftpd.conf"};
      break;
    case Daemon::kProftpd:
      TempFolder::WriteFile(dir + "passwd", std::string("quorvinftp:") + kPasswordHash + ":" +
                                                std::to_string(kSessionId) + ":" +
                                                std::to_string(kSessionId) + "::" + dir +
                                                "root:/bin/sh\n");
      TempFolder::WriteFile(dir + "group",
                            std::string(kSessionUser) + ":x:" + std::to_string(kSessionId) + ":\n");
      ::chmod((dir + "passwd").c_str(), 0600);
      TempFolder::WriteFile(
          dir + "proftpd.conf",
          "ServerType standalone\nDefaultAddress 127.0.0.1\nSocketBindTight on\nPort " + port +
              "\nUseIPv6 off\nUser " + kSessionUser + "\nGroup " + kSessionUser +
              "\nPidFile " + dir + "proftpd.pid\nScoreboardFile " + dir +
              "proftpd.scoreboard\nDelayTable none\nWtmpLog off\nRequireValidShell off\n"
              "AuthOrder mod_auth_file.c\nAuthUserFile " + dir + "passwd\nAuthGroupFile " + dir +
              "group\nDefaultRoot ~\nAllowOverwrite on\nUseReverseDNS off\nTransferLog none\n" +
              (uploadKiBPerSecond > 0
                   ? "TransferRate STOR " + std::to_string(uploadKiBPerSecond) + "\n"
                   : ""));
      args = {ProgramOf(daemon), "-n", "-q", "-c", dir + "proftpd.conf"};
      break;
    case Daemon::kPureFtpd: {
      // Its own user database, made by its own tool.
      const std::string made = dir + "pure-pw.out";
      const std::string command = "printf '%s\\n%s\\n' " + std::string(kPassword) + " " +
                                  kPassword + " | " + kUnpacked + "bin/pure-pw useradd quorvinftp -u " +
                                  std::to_string(kSessionId) + " -g " + std::to_string(kSessionId) +
                                  " -d " + dir + "root -f " + dir + "pure.passwd -F " + dir +
                                  "pure.pdb -m >" + made + " 2>&1";
      if (std::system(command.c_str()) != 0) throw std::runtime_error("pure-pw failed");
      args = {ProgramOf(daemon), "-S", "127.0.0.1," + port, "-l", "puredb:" + dir + "pure.pdb",
              "-E", "-H", "-A"};
      if (uploadKiBPerSecond > 0) {
        args.push_back("-T");
        args.push_back(std::to_string(uploadKiBPerSecond));
      }
      break;
    }
  }
  pid_ = Spawn(args, dir + "daemon.log");
  // Ready once it takes a connection.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!LoopbackPortTakesConnections(port_)) {
    if (std::chrono::steady_clock::now() > deadline || ::waitpid(pid_, nullptr, WNOHANG) == pid_)
      throw std::runtime_error(std::string(DaemonName(daemon)) + " did not start: " +
                               TempFolder::ReadFile(dir + "daemon.log"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

FtpDaemon::~FtpDaemon() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    Wait(pid_);
  }
  // Session processes may still hold files in the folder for a moment.
  std::error_code error;
  fs::remove_all(folder_.Path() + "root", error);
}

ExchangeEndpoint FtpDaemon::Endpoint(bool rightLogin) const {
  ExchangeEndpoint endpoint{"127.0.0.1", std::to_string(port_), 10};
  const bool anonymous = daemon_ == Daemon::kVsftpd;
  endpoint.user = anonymous && rightLogin ? "anonymous" : "quorvinftp";
  endpoint.password = rightLogin || anonymous ? kPassword : "not-the-password";
  return endpoint;
}

}  // namespace quorvin::test
