// Starting and stopping the exchange emulator for a test, finding an unused
// loopback port, and a listener that never answers.
#include "exchange_emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "loopback_sockets.h"

extern char** environ;

namespace quorvin::test {
namespace {

constexpr int kStartTimeoutMs = 20000;

}  // namespace

ExchangeEmulator::ExchangeEmulator(const std::vector<std::string>& extraOptions) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

  std::vector<std::string> args = {QUORVIN_EMULATOR, "--port", "0", "--root", root_.Path()};
  args.insert(args.end(), extraOptions.begin(), extraOptions.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  int err = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (err != 0) {
    ::close(out[0]);
    throw std::runtime_error("cannot start " + args[0]);
  }

  // Wait for the "ready on 127.0.0.1:PORT" line.
  std::string line;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
  while (line.find('\n') == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    pollfd p{out[0], POLLIN, 0};
    if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
    char buf[256];
    ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    line.append(buf, static_cast<size_t>(n));
  }
  // Later output of the emulator is not read; keeping the pipe would only fill it.
  ::close(out[0]);
  size_t at = line.find("127.0.0.1:");
  if (at != std::string::npos) port_ = std::atoi(line.c_str() + at + 10);
  if (port_ <= 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    throw std::runtime_error("the exchange emulator did not start: \"" + line + "\"");
  }
}

ExchangeEmulator::~ExchangeEmulator() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

int UnusedLoopbackPort() {
  int port = 0;
  ::close(ListenOnLoopback(&port));
  return port;
}

bool LoopbackPortTakesConnections(int port) {
  const int fd = ConnectToLoopback(port);
  if (fd >= 0) ::close(fd);
  return fd >= 0;
}

SilentServer::SilentServer() {
  fd_ = ListenOnLoopback(&port_);
}

SilentServer::~SilentServer() {
  ::close(fd_);
}

}  // namespace quorvin::test
