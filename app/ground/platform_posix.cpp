// The operating system's services on Linux and other POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "ground/errors.h"
#include "ground/platform.h"

namespace quorvin::platform {
namespace {

std::string Describe(int err) {
  switch (err) {
    case ENOENT:
      return "File not found";
    case EACCES:
    case EPERM:
      return "Permission denied";
    case ENOSPC:
      return "Disk full";
    case EFBIG:
      return "File too large";
    case EROFS:
      return "Read-only file system";
    case EISDIR:
      return "Path is a folder, not a file";
    default:
      return std::strerror(err);
  }
}

[[noreturn]] void Fail(int err) {
  throw AppError(Describe(err));
}

[[noreturn]] void FailOn(const std::string& path, int err) {
  throw AppError(Describe(err) + ": " + path);
}

void WriteAll(int fd, std::string_view content) {
  const char* p = content.data();
  size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
}

}  // namespace

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

FileStatus StatusOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    FailOn(path, errno);
  }
  if (S_ISREG(st.st_mode)) return {FileKind::Plain, static_cast<std::uint64_t>(st.st_size)};
  return {S_ISDIR(st.st_mode) ? FileKind::Folder : FileKind::Other, 0};
}

std::optional<FileTime> LastWriteTime(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileTime(std::chrono::duration_cast<FileTime::duration>(
      std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
}

bool RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0) return true;
  if (errno == ENOENT) return false;
  FailOn(path, errno);
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  const std::string dirName = folder.empty() ? "." : folder;
  DIR* dir = ::opendir(dirName.c_str());
  if (!dir) Fail(errno);
  std::vector<FolderEntry> entries;
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    const bool plain = ::stat((prefix + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    entries.push_back({std::move(name), plain});
  }
  ::closedir(dir);
  return entries;
}

// The open itself never waits: a pipe in a file's place would otherwise hold
// the program until someone wrote into it.
InputFile::InputFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) Fail(errno);
  struct stat st {};
  const int err = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (err == 0 && !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw AppError("Not a plain file (a pipe, socket or device)");
  }
  if (err != 0) {
    ::close(fd);
    Fail(err);
  }
  // Reads of a plain file wait for the disk as usual.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  handle_ = fd;
  size_ = static_cast<std::uint64_t>(st.st_size);
}

InputFile::~InputFile() {
  ::close(static_cast<int>(handle_));
}

size_t InputFile::Read(char* to, size_t room) {
  for (;;) {
    ssize_t n = ::read(static_cast<int>(handle_), to, room);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) Fail(errno);
  }
}

FileLock::FileLock(const std::string& path) : path_(path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return;
  handle_ = fd;
  held_ = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  elsewhere_ = !held_ && errno == EWOULDBLOCK;
}

FileLock::~FileLock() {
  if (held_) ::unlink(path_.c_str());
  if (handle_ >= 0) ::close(static_cast<int>(handle_));  // the lock goes with the descriptor
}

FileReplacement::FileReplacement(const std::string& target) : target_(target) {
  temp_ =
      FolderOf(target) + TempNamePrefix(FileNameOf(target)) + std::string(kTempRandomChars, 'X');
  const int fd = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd < 0) Fail(errno);
  handle_ = fd;
  // Keep the mode of the file being replaced; a new file gets the usual one.
  struct stat st {};
  mode_t mode;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
}

FileReplacement::~FileReplacement() {
  if (!open_) return;
  ::close(static_cast<int>(handle_));
  ::unlink(temp_.c_str());
}

void FileReplacement::Write(std::string_view text) {
  WriteAll(static_cast<int>(handle_), text);
}

void FileReplacement::Commit() {
  const int fd = static_cast<int>(handle_);
  if (::fsync(fd) != 0) Fail(errno);
  open_ = false;
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    Fail(err);
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    Fail(err);
  }
  // Make the rename itself durable; a failure here no longer endangers the data.
  const std::string folder = FolderOf(target_);
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void WritePrivateFile(const std::string& path, std::string_view content) {
  RemoveFile(path);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) FailOn(path, errno);
  try {
    WriteAll(fd, content);
    if (::fsync(fd) != 0) Fail(errno);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) FailOn(path, errno);
}

namespace {

using SteadyClock = std::chrono::steady_clock;
// How long a stopped program may take to go after SIGTERM before SIGKILL.
constexpr auto kTerminateGrace = std::chrono::seconds(2);

// Starts the helper in a session of its own, without terminal or input, with
// the default signal handling, and tied to this process: should the program
// be killed, the helper is killed too (it runs a client that holds the
// exchange's password in its script). Between fork and exec the child makes
// only calls that are safe in the copy of a threaded program.
pid_t Spawn(char* const argv[], const char* workFolder) {
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) Fail(errno);
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
#ifdef __linux__
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    if ((*workFolder == '\0' || ::chdir(workFolder) == 0) && ::getppid() == parent)
      ::execvp(argv[0], argv);
    const int err = errno;
    [[maybe_unused]] ssize_t n = ::write(report[1], &err, sizeof err);
    ::_exit(127);
  }
  const int forkError = errno;
  ::close(report[1]);
  if (pid < 0) {
    ::close(report[0]);
    Fail(forkError);
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
    Fail(err);
  }
  return pid;
}

}  // namespace

HiddenProgram::HiddenProgram(const std::vector<std::string>& command,
                             const std::string& workFolder) {
  if (command.empty() || command[0].empty()) throw AppError("File not found");
  std::vector<char*> argv;
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  process_ = Spawn(argv.data(), workFolder.c_str());
}

HiddenProgram::~HiddenProgram() {
  if (!Ended()) Stop();
}

bool HiddenProgram::Ended() {
  while (!ended_) {
    int status = 0;
    const pid_t pid = static_cast<pid_t>(process_);
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == 0) return false;
    if (r < 0 && errno == EINTR) continue;
    ended_ = true;  // reaped, or ECHILD: nothing left to wait for
  }
  return true;
}

void HiddenProgram::Stop() {
  if (ended_) return;
  const pid_t pid = static_cast<pid_t>(process_);
  // The program leads its own session, so its group also holds what it started.
  ::kill(-pid, SIGTERM);
  const auto deadline = SteadyClock::now() + kTerminateGrace;
  while (SteadyClock::now() < deadline) {
    if (Ended()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(-pid, SIGKILL);
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  ended_ = true;
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

void IgnoreFileSizeSignal() {
  ::signal(SIGXFSZ, SIG_IGN);
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_r(&time, &local);
  return local;
}

}  // namespace quorvin::platform
