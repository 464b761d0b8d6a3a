#include "ground/text_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "ground/dates.h"
#include "ground/errors.h"
#include "ground/fast_paths.h"

namespace quorvin {
namespace {

// Larger files are not a day's text; refuse them rather than exhaust memory.
constexpr off_t kMaxFileBytes = off_t{1} << 31;

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

// The hidden temporary name of a write of `name`: "." + name + ".quorvin-" and
// the 6 characters mkostemp fills in; distinct enough that nobody else's file
// is taken for one.
constexpr size_t kTempRandomChars = 6;

std::string TempPrefix(const std::string& name) {
  return "." + name + ".quorvin-";
}

// A write killed between creating its temporary file and the rename leaves the
// file behind. It is hidden, so no listing shows it; the next write of the same
// file removes it. (Another program writing the same file at this very moment
// would then see its rename fail and report it; no content is lost either way.)
void RemoveLeftTempFiles(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  const std::string prefix = TempPrefix(name);
  while (dirent* entry = ::readdir(dir)) {
    std::string_view found = entry->d_name;
    if (found.size() == prefix.size() + kTempRandomChars &&
        found.substr(0, prefix.size()) == prefix)
      ::unlink((folder + std::string(found)).c_str());
  }
  ::closedir(dir);
}

}  // namespace

std::optional<FileTime> LastWriteTime(const std::string& path) {
  std::error_code error;
  FileTime time = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return time;
}

std::string DescribeFileTime(FileTime time) {
  const std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          std::chrono::file_clock::to_sys(time)));
  const std::tm* local = std::localtime(&t);
  if (!local) return "an unknown time";
  const DateTime when{Date{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday},
                      local->tm_hour, local->tm_min, local->tm_sec};
  return FormatDisplayDate(when.date) + " " + FormatTime(when, "hh:nn:ss");
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

// Bytes read at a time into a LinePieces buffer.
constexpr size_t kPieceBlock = 256 * 1024;

// Opens a file for reading, refusing folders, anything that is not a plain
// file and files too large. The open itself never waits: a pipe in a file's
// place would otherwise hold the program until someone wrote into it.
int OpenForReading(const std::string& path, off_t& size) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) Fail(errno);
  struct stat st {};
  int err = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (err == 0 && !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw AppError("Not a plain file (a pipe, socket or device)");
  }
  if (err == 0 && st.st_size <= kMaxFileBytes) {
    // Reads of a plain file wait for the disk as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size = st.st_size;
    return fd;
  }
  ::close(fd);
  if (err) Fail(err);
  throw AppError("File too large");
}

// Reads what comes next into [to, to + room); 0 at the end of the file.
size_t ReadSome(int fd, char* to, size_t room) {
  for (;;) {
    ssize_t n = ::read(fd, to, room);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) Fail(errno);
  }
}

}  // namespace

std::string ReadTextFile(const std::string& path) {
  off_t fileSize = 0;
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{OpenForReading(path, fileSize)};
  const int fd = closer.fd;
  // Read straight into the text, the size the file has now; a file that grows
  // meanwhile is read on to its end.
  std::string content;
  size_t size = 0;
  content.reserve(static_cast<size_t>(fileSize) + 1);
  AdviseLargePages(content.data(), content.capacity());
  content.resize(content.capacity());
  for (;;) {
    if (size == content.size()) content.resize(size + (1 << 16));
    const size_t n = ReadSome(fd, content.data() + size, content.size() - size);
    if (n == 0) break;
    size += n;
    if (static_cast<off_t>(size) > kMaxFileBytes) throw AppError("File too large");
  }
  content.resize(size);
  if (content.empty()) throw AppError("Input past end of file");
  return content;
}

LinePieces::LinePieces(const std::string& path)
    : buffer_(new char[kPieceBlock]), capacity_(kPieceBlock) {
  off_t size = 0;
  fd_ = OpenForReading(path, size);
  size_ = static_cast<size_t>(size);
  try {
    if (!Fill()) throw AppError("Input past end of file");
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

LinePieces::~LinePieces() {
  ::close(fd_);
}

bool LinePieces::Fill() {
  if (ended_) return false;
  if (start_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + start_, used_ - start_);
    used_ -= start_;
    start_ = 0;
  }
  if (used_ == capacity_) {  // a line longer than the buffer
    std::unique_ptr<char[]> larger(new char[capacity_ * 2]);
    std::memcpy(larger.get(), buffer_.get(), used_);
    buffer_ = std::move(larger);
    capacity_ *= 2;
  }
  const size_t n = ReadSome(fd_, buffer_.get() + used_, capacity_ - used_);
  if (n == 0) {
    ended_ = true;
    return false;
  }
  used_ += n;
  if (static_cast<off_t>(done_ + used_) > kMaxFileBytes) throw AppError("File too large");
  return true;
}

bool LinePieces::Next(std::string_view& piece) {
  if (last_) return false;
  // Only what came in since the last look is searched (from its last
  // character on, which may be the CR of a CR LF).
  for (size_t searched = 0;;) {
    std::string_view text(buffer_.get() + start_, used_ - start_);
    const size_t from = searched > 0 ? searched - 1 : 0;
    size_t end = text.substr(from).rfind("\r\n");
    searched = text.size();
    if (end != std::string_view::npos) {
      end += from;
      piece = text.substr(0, end);
      start_ += end + 2;
      done_ += end + 2;
      return true;
    }
    if (!Fill()) break;
  }
  piece = std::string_view(buffer_.get() + start_, used_ - start_);
  done_ += piece.size();
  start_ = used_;
  last_ = true;
  return true;
}

TextSink::TextSink(int fd) : fd_(fd), block_(new char[kBlock]) {}

void TextSink::Flush() {
  WriteAll(fd_, std::string_view(block_.get(), used_));
  used_ = 0;
}

TextSink& TextSink::AppendLong(std::string_view text) {
  Flush();
  if (text.size() >= kBlock) {
    WriteAll(fd_, text);
    return *this;
  }
  return append(text);
}

TextSink& TextSink::AppendLong(size_t count, char c) {
  while (count > 0) {
    if (used_ == kBlock) Flush();
    size_t part = std::min(count, kBlock - used_);
    std::memset(block_.get() + used_, c, part);
    used_ += part;
    count -= part;
  }
  return *this;
}

void WriteTextFile(const std::string& path, const std::string& content) {
  WriteTextFileFrom(path, [&content](TextSink& sink) { sink.append(content); });
}

void WriteTextFileFrom(const std::string& path, const std::function<void(TextSink&)>& produce) {
  std::string folder = FolderOf(path);
  const std::string name = FileNameOf(path);
  std::string temp = folder + TempPrefix(name) + std::string(kTempRandomChars, 'X');
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) Fail(errno);
  try {
    // Keep the mode of the file being replaced; a new file gets the usual one.
    struct stat st {};
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
      mode = st.st_mode & 07777;
    } else {
      mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    TextSink sink(fd);
    produce(sink);
    sink.Flush();
    if (::fsync(fd) != 0) Fail(errno);
    if (::close(fd) != 0) {
      fd = -1;
      Fail(errno);
    }
    fd = -1;
    if (::rename(temp.c_str(), path.c_str()) != 0) Fail(errno);
  } catch (...) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    throw;
  }
  // Make the rename itself durable; a failure here no longer endangers the data.
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  RemoveLeftTempFiles(folder, name);
}

bool CopyTextFile(Dialogs& dialogs, const std::string& source, const std::string& target) {
  try {
    WriteTextFile(target, ReadTextFile(source));
    return true;
  } catch (const AppError& e) {
    ShowErrorDescription(dialogs, e.Description());
    return false;
  }
}

bool FolderExists(Dialogs& dialogs, const std::string& path) {
  if (path.empty()) return false;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return false;
    ShowErrorDescription(dialogs, Describe(errno));
    return false;
  }
  return S_ISDIR(st.st_mode);
}

std::vector<std::string> ListFiles(const std::string& pattern) {
  std::string folder = FolderOf(pattern);
  std::string wildcard = FileNameOf(pattern);
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) Fail(errno);
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    if (::fnmatch(wildcard.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    struct stat st {};
    if (::stat((folder + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    names.push_back(std::move(name));
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  if (names.empty()) names.emplace_back();
  return names;
}

}  // namespace quorvin
