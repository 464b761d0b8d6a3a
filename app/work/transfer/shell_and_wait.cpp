#include "work/transfer/shell_and_wait.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
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

// Starts the helper in a session of its own, without terminal or input, with
// the default signal handling, and tied to this process: should the program
// be killed, the helper is killed too (it runs a client that holds the
// exchange's password in its script). Between fork and exec the child makes
// only calls that are safe in the copy of a threaded program.
pid_t Spawn(char* const argv[]) {
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) throw AppError(std::strerror(errno));
  sigset_t none;
  sigemptyset(&none);
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    ::setsid();
    const int null = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
    if (null > 2) ::close(null);
    for (int sig : {SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGHUP, SIGCHLD})
      ::sigaction(sig, &defaults, nullptr);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() == parent) ::execvp(argv[0], argv);
    const int err = errno;
    [[maybe_unused]] ssize_t n = ::write(report[1], &err, sizeof err);
    ::_exit(127);
  }
  const int forkError = errno;
  ::close(report[1]);
  if (pid < 0) {
    ::close(report[0]);
    throw AppError(std::strerror(forkError));
  }
  // The pipe closes on a successful exec; otherwise it brings the reason.
  int err = 0;
  ssize_t n;
  while ((n = ::read(report[0], &err, sizeof err)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  if (n == sizeof err) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    throw AppError(err == ENOENT ? "File not found" : std::strerror(err));
  }
  return pid;
}

}  // namespace

void ShellAndWait(const std::vector<std::string>& command, int timeoutSeconds, WindowPort& window) {
  if (command.empty() || command[0].empty()) throw AppError("File not found");

  std::vector<char*> argv;
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t pid = Spawn(argv.data());

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
