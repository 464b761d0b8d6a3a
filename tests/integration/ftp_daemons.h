#pragma once
// Debian's FTP daemons (vsftpd, proftpd, pure-ftpd) as test fixtures: each is
// started by the test on a free loopback port with a configuration of its own
// over a fresh folder, and stopped when it goes out of scope. They switch to
// an unprivileged user for the session, so they need root to start.
#include <sys/types.h>

#include <string>

#include "support/temp_folder.h"
#include "work/transfer/ftp_transfer.h"

namespace quorvin::test {

enum class Daemon { kVsftpd, kProftpd, kPureFtpd };
const char* DaemonName(Daemon daemon);

class FtpDaemon {
 public:
  // uploadKiBPerSecond > 0: uploads are throttled to it, so that one can be
  // stopped part way.
  explicit FtpDaemon(Daemon daemon, int uploadKiBPerSecond = 0);
  ~FtpDaemon();
  FtpDaemon(const FtpDaemon&) = delete;
  FtpDaemon& operator=(const FtpDaemon&) = delete;

  // Why this daemon cannot run here (not root, not unpacked), or empty.
  static std::string Unavailable(Daemon daemon);

  // The server's folder `entry`, ending with "/".
  std::string Entry() const { return folder_.File("root/entry/"); }
  // The daemon's login (vsftpd serves its anonymous user only), or one it refuses.
  ExchangeEndpoint Endpoint(bool rightLogin = true) const;

  static constexpr const char* kPassword = "qv8305";

 private:
  Daemon daemon_;
  TempFolder folder_;
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace quorvin::test
