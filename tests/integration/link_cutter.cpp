// The link cutter's one thread: every socket in one poll, bytes passed on as
// they come, passive replies pointed at the cutter, and the cut.
#include "link_cutter.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <regex>

#include "loopback_sockets.h"

namespace quorvin::test {

LinkCutter::LinkCutter(int serverPort, long long cutAfter)
    : serverPort_(serverPort), cutAfter_(cutAfter) {
  listener_ = ListenOnLoopback(&port_);
  thread_ = std::thread([this] { Run(); });
}

LinkCutter::~LinkCutter() {
  stop_ = true;
  thread_.join();
  CutEverything();
  ::close(listener_);
}

void LinkCutter::Run() {
  while (!stop_) {
    std::vector<pollfd> fds{{listener_, POLLIN, 0}};
    for (const Passive& p : passives_) fds.push_back({p.listener, POLLIN, 0});
    for (const Link& l : links_) {
      fds.push_back({l.client, POLLIN, 0});
      fds.push_back({l.server, POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), 50) <= 0) continue;
    size_t at = 0;
    std::vector<Link> opened;
    auto accept = [&](int listener, int serverPort, bool data) {
      const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) return;
      const int server = cut_ ? -1 : ConnectToLoopback(serverPort);
      if (server < 0) {
        ::close(client);  // the line is down
        return;
      }
      opened.push_back({client, server, data, {}});
    };
    if (fds[at++].revents) accept(listener_, serverPort_, false);
    for (Passive& p : passives_) {
      if (!fds[at++].revents) continue;
      accept(p.listener, p.serverPort, true);
      ::close(p.listener);
      p.listener = -1;
    }
    std::erase_if(passives_, [](const Passive& p) { return p.listener < 0; });
    for (Link& l : links_) {
      const bool up = fds[at++].revents && !Forward(l, true);
      const bool down = fds[at++].revents && !Forward(l, false);
      if (cut_) break;
      if (up || down) {
        ::close(l.client);
        ::close(l.server);
        l.client = -1;
      }
    }
    if (cut_) CutEverything();
    std::erase_if(links_, [](const Link& l) { return l.client < 0; });
    links_.insert(links_.end(), opened.begin(), opened.end());
  }
}

// Passes on what one side sent; false when that side has closed.
bool LinkCutter::Forward(Link& link, bool upward) {
  char buffer[16 * 1024];
  const ssize_t got = ::recv(upward ? link.client : link.server, buffer, sizeof buffer, 0);
  if (got <= 0) return false;
  size_t count = static_cast<size_t>(got);
  if (upward && link.data) {
    count = static_cast<size_t>(std::min<long long>(count, cutAfter_ - sentUp_));
    sentUp_ += static_cast<long long>(count);
  }
  if (upward || link.data) {
    (void)::send(upward ? link.server : link.client, buffer, count, MSG_NOSIGNAL);
    if (upward && link.data && sentUp_ >= cutAfter_) cut_ = true;
    return true;
  }
  link.replies.append(buffer, count);
  for (size_t end; (end = link.replies.find("\r\n")) != std::string::npos;) {
    const std::string line = Rewritten(link.replies.substr(0, end)) + "\r\n";
    link.replies.erase(0, end + 2);
    (void)::send(link.client, line.data(), line.size(), MSG_NOSIGNAL);
  }
  return true;
}

// A passive reply names a port of the server: a port of the cutter's in its
// place, forwarded there.
std::string LinkCutter::Rewritten(const std::string& reply) {
  static const std::regex pasv(R"(^(227 .*\()\d+,\d+,\d+,\d+,(\d+),(\d+)(\).*)$)");
  static const std::regex epsv(R"(^(229 .*\(\|\|\|)(\d+)(\|\).*)$)");
  std::smatch m;
  const bool isPasv = std::regex_match(reply, m, pasv);
  if (!isPasv && !std::regex_match(reply, m, epsv)) return reply;
  const int serverPort = isPasv ? std::stoi(m[2]) * 256 + std::stoi(m[3]) : std::stoi(m[2]);
  int port = 0;
  passives_.push_back({ListenOnLoopback(&port), serverPort});
  const std::string tail = isPasv ? m[4].str() : m[3].str();
  return m[1].str() +
         (isPasv ? "127,0,0,1," + std::to_string(port / 256) + "," + std::to_string(port % 256)
                 : std::to_string(port)) +
         tail;
}

void LinkCutter::CutEverything() {
  for (Link& l : links_) {
    if (l.client < 0) continue;
    ::shutdown(l.client, SHUT_RDWR);
    ::shutdown(l.server, SHUT_RDWR);
    ::close(l.client);
    ::close(l.server);
    l.client = -1;
  }
  for (Passive& p : passives_) ::close(p.listener);
  passives_.clear();
}

}  // namespace quorvin::test
