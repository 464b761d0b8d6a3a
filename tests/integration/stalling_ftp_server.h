#pragma once
// An FTP server on loopback that logs the client in, opens the data connection
// of a get or put, moves a few bytes and then stalls: it neither moves another
// byte nor answers, with every connection left open. Only the client's own
// timeout can end such a transfer.
#include <atomic>
#include <thread>

namespace quorvin::test {

class StallingFtpServer {
 public:
  StallingFtpServer();
  ~StallingFtpServer();
  StallingFtpServer(const StallingFtpServer&) = delete;
  StallingFtpServer& operator=(const StallingFtpServer&) = delete;

  int Port() const { return port_; }
  // Transfers that reached the stall (a get or put whose data had started).
  int StalledTransfers() const { return stalled_; }

 private:
  void Serve();
  void Session(int control);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> stalled_{0};
  std::thread thread_;
};

}  // namespace quorvin::test
