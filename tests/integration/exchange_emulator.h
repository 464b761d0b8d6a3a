#pragma once
// The exchange emulator (scripts/exchange-emulator) as a test fixture: started
// on a free loopback port over a fresh folder, stopped when it goes out of scope.
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "work/transfer/ftp_transfer.h"

namespace quorvin::test {

class ExchangeEmulator {
 public:
  // extraOptions are passed on, e.g. "--refuse-uploads".
  explicit ExchangeEmulator(const std::vector<std::string>& extraOptions = {});
  ~ExchangeEmulator();
  ExchangeEmulator(const ExchangeEmulator&) = delete;
  ExchangeEmulator& operator=(const ExchangeEmulator&) = delete;

  int Port() const { return port_; }
  // The server's folder `entry`, ending with "/".
  std::string Entry() const { return root_.File("entry/"); }
  // Where the client must connect: this emulator and nothing else.
  ExchangeEndpoint Endpoint(int stallSeconds = 10) const {
    return ExchangeEndpoint{"127.0.0.1", std::to_string(port_), stallSeconds};
  }

 private:
  TempFolder root_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// A loopback port on which nothing listens.
int UnusedLoopbackPort();
// Whether something listening on the loopback port takes a connection.
bool LoopbackPortTakesConnections(int port);

// A loopback listener that never answers: connections are queued, never served.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  int Port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace quorvin::test
