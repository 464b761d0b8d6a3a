#include "work/transfer/shell_and_wait.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>

#include "ground/errors.h"

extern char** environ;

namespace quorvin {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Between two looks at the process: short enough that the window repaints
// smoothly, long enough that waiting costs next to no processor time.
constexpr auto kPollInterval = std::chrono::milliseconds(20);
// How long a stopped program may take to go after SIGTERM before SIGKILL.
constexpr auto kTerminateGrace = std::chrono::seconds(2);

// True once the process has ended and been reaped (or was reaped elsewhere).
bool Ended(pid_t pid) {
  for (;;) {
    int status = 0;
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return true;
    if (r == 0) return false;
    if (errno == EINTR) continue;
    return true;  // ECHILD: nothing left to wait for
  }
}

void Stop(pid_t pid) {
  // The program leads its own session, so its group also holds what it started.
  ::kill(-pid, SIGTERM);
  auto deadline = SteadyClock::now() + kTerminateGrace;
  while (SteadyClock::now() < deadline) {
    if (Ended(pid)) return;
    std::this_thread::sleep_for(kPollInterval);
  }
  ::kill(-pid, SIGKILL);
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attr_);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attr_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  void Detach() {
    posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0);
    // A new session has no controlling terminal; a GUI's signal mask and
    // ignored signals must not leak into the helper either.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGHUP, SIGCHLD}) sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attr_, &none);
    posix_spawnattr_setsigdefault(&attr_, &defaults);
    posix_spawnattr_setflags(&attr_,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }

  posix_spawn_file_actions_t* Actions() { return &actions_; }
  posix_spawnattr_t* Attr() { return &attr_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attr_;
};

}  // namespace

void ShellAndWait(const std::vector<std::string>& command, int timeoutSeconds, WindowPort& window) {
  if (command.empty() || command[0].empty()) throw AppError("File not found");

  std::vector<char*> argv;
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  SpawnSetup setup;
  setup.Detach();
  pid_t pid = 0;
  int err = ::posix_spawnp(&pid, argv[0], setup.Actions(), setup.Attr(), argv.data(), environ);
  if (err != 0) {
    throw AppError(err == ENOENT ? "File not found" : std::strerror(err));
  }

  const bool limited = timeoutSeconds > 0;
  const auto deadline = SteadyClock::now() + std::chrono::seconds(limited ? timeoutSeconds : 0);
  for (;;) {
    if (Ended(pid)) return;
    try {
      window.ProcessPendingEvents();
    } catch (...) {
      Stop(pid);
      throw;
    }
    if (limited && SteadyClock::now() >= deadline) {
      Stop(pid);
      return;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

bool ProgramOnPath(const std::string& name) {
  if (name.empty()) return false;
  auto runnable = [](const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
  };
  if (name.find('/') != std::string::npos) return runnable(name);
  // The search the shell makes: an empty entry is the current folder.
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/bin:/bin";
  for (;;) {
    size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    if (runnable((dir.empty() ? "." : dir) + "/" + name)) return true;
    if (colon == std::string_view::npos) return false;
    dirs.remove_prefix(colon + 1);
  }
}

}  // namespace quorvin
