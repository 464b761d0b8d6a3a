#pragma once
// A loopback TCP proxy in front of an FTP server: it forwards the control
// connection and every passive data connection (rewriting the server's 227
// and 229 replies to ports of its own) and cuts every link at once when
// `cutAfter` bytes of data have gone up to the server, as a line that drops
// part way through an upload.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace quorvin::test {

class LinkCutter {
 public:
  LinkCutter(int serverPort, long long cutAfter);
  ~LinkCutter();
  LinkCutter(const LinkCutter&) = delete;
  LinkCutter& operator=(const LinkCutter&) = delete;

  int Port() const { return port_; }
  bool Cut() const { return cut_; }

 private:
  struct Link {
    int client, server;
    bool data;
    std::string replies;  // the server's control text not yet passed on
  };
  struct Passive {
    int listener, serverPort;
  };
  void Run();
  bool Forward(Link& link, bool upward);
  std::string Rewritten(const std::string& reply);
  void CutEverything();

  int serverPort_, port_ = 0, listener_ = -1;
  long long cutAfter_, sentUp_ = 0;
  std::vector<Link> links_;
  std::vector<Passive> passives_;
  std::atomic<bool> stop_{false}, cut_{false};
  std::thread thread_;
};

}  // namespace quorvin::test
