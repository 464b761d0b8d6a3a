// The stalling FTP server's thread: logging the client in, starting the data
// connection, and then holding every connection open without a word.
#include "stalling_ftp_server.h"

#include "loopback_sockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <stdexcept>
#include <string>

namespace quorvin::test {
namespace {

void Reply(int fd, const std::string& text) {
  std::string line = text + "\r\n";
  (void)::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
}

}  // namespace

StallingFtpServer::StallingFtpServer() {
  listener_ = ListenOnLoopback(&port_);
  thread_ = std::thread([this] { Serve(); });
}

StallingFtpServer::~StallingFtpServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

void StallingFtpServer::Serve() {
  while (WaitReadable(listener_, stop_)) {
    int control = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (control < 0) continue;
    Session(control);
    ::close(control);
  }
}

void StallingFtpServer::Session(int control) {
  Reply(control, "220 Exchange FTP service ready.");
  std::string pending;
  int dataListener = -1;
  auto closeData = [&] {
    if (dataListener >= 0) ::close(dataListener);
    dataListener = -1;
  };
  while (WaitReadable(control, stop_)) {
    char buffer[512];
    ssize_t n = ::recv(control, buffer, sizeof buffer, 0);
    if (n <= 0) break;  // the client has gone
    pending.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 2);
      std::string verb = line.substr(0, line.find(' '));
      for (char& c : verb) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

      if (verb == "USER") {
        Reply(control, "331 Password required.");
      } else if (verb == "PASS") {
        Reply(control, "230 Logged in.");
      } else if (verb == "EPSV" || verb == "PASV") {
        closeData();
        int dataPort = 0;
        dataListener = ListenOnLoopback(&dataPort);
        Reply(control,
              verb == "EPSV"
                  ? "229 Entering Extended Passive Mode (|||" + std::to_string(dataPort) + "|)"
                  : "227 Entering Passive Mode (127,0,0,1," + std::to_string(dataPort / 256) + "," +
                        std::to_string(dataPort % 256) + ").");
      } else if (verb == "RETR" || verb == "STOR") {
        if (dataListener < 0 || !WaitReadable(dataListener, stop_, 10000)) {
          Reply(control, "425 No data connection.");
          continue;
        }
        int data = ::accept4(dataListener, nullptr, nullptr, SOCK_CLOEXEC);
        closeData();
        Reply(control, "150 Opening BINARY mode data connection.");
        if (verb == "RETR") {
          (void)::send(data, "S/N~Broker ID~Clear", 19, MSG_NOSIGNAL);
        } else if (WaitReadable(data, stop_, 10000)) {
          char some[64];
          (void)::recv(data, some, sizeof some, 0);
        }
        ++stalled_;
        // The stall: nothing more on either connection until the client
        // hangs up the control connection or the test ends.
        while (WaitReadable(control, stop_)) {
          if (::recv(control, buffer, sizeof buffer, 0) <= 0) break;
        }
        ::close(data);
        return;
      } else if (verb == "SIZE" || verb == "MDTM") {
        Reply(control, "550 Not available.");
      } else if (verb == "MKD") {
        Reply(control, "257 Created.");
      } else if (verb == "PWD") {
        Reply(control, "257 \"/\" is the current directory.");
      } else if (verb == "SYST") {
        Reply(control, "215 UNIX Type: L8");
      } else if (verb == "FEAT") {
        Reply(control, "211 No features.");
      } else if (verb == "QUIT") {
        Reply(control, "221 Goodbye.");
        break;
      } else if (verb == "CWD" || verb == "TYPE" || verb == "MODE" || verb == "STRU" ||
                 verb == "OPTS" || verb == "NOOP") {
        Reply(control, "200 Ok.");
      } else {
        Reply(control, "502 Not implemented.");
      }
    }
  }
  closeData();
}

}  // namespace quorvin::test
