#pragma once
// What the program asks of the operating system, in one place: files written
// whole and put in place at once, a file's status and a folder's names,
// private work files, helper programs started hidden and waited for.
// platform_posix.cpp serves Linux, platform_windows.cpp Windows; nothing else
// in the core calls the system for these. Names cross as UTF-8 here and as
// UTF-16 at the Windows calls.
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin::platform {

#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

// "/a/b/" for "/a/b/c.txt" and "c.txt" for the name. On Windows either
// separator ends a folder, elsewhere only the slash.
inline constexpr const char* kSeparators = kWindows ? "/\\" : "/";
inline std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of(kSeparators);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
inline std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of(kSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A UTF-8 name as a std::filesystem path, and back; the plain string
// constructor would read the name in the Windows code page.
std::filesystem::path PathOf(std::string_view utf8);
std::string Utf8Of(const std::filesystem::path& path);

enum class FileKind { Missing, Plain, Folder, Other };
struct FileStatus {
  FileKind kind = FileKind::Missing;
  std::uint64_t size = 0;  // of a plain file
};
// Missing also when a folder on the way is missing or is a file. Throws
// AppError when the status cannot be read for another reason.
FileStatus StatusOf(const std::string& path);

// When a file was last written, as finely as the system keeps it; nullopt
// when there is no such file.
using FileTime = std::chrono::system_clock::time_point;
std::optional<FileTime> LastWriteTime(const std::string& path);

// Removes a file; false when there was none. Throws AppError naming the path
// when it cannot be removed.
bool RemoveFile(const std::string& path);

// The names in a folder ("" is the current one), hidden ones included, with
// whether each is a plain file. Throws AppError when the folder cannot be read.
struct FolderEntry {
  std::string name;
  bool plain = false;
};
std::vector<FolderEntry> ListFolder(const std::string& folder);

// A plain file open for reading. Opening never waits: anything but a plain
// file (a pipe, a socket, a device) and a folder are refused with AppError.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  std::uint64_t Size() const { return size_; }  // when it was opened
  // Reads what comes next into [to, to + room); 0 at the end. Throws AppError.
  size_t Read(char* to, size_t room);

 private:
  std::intptr_t handle_;
  std::uint64_t size_ = 0;
};

// The new content of a file on its way in: written into a temporary file
// beside the target (named TempNamePrefix(name) and kTempRandomChars more),
// flushed to disk and put in the target's place by Commit in one step, so the
// target always holds its old or its new content whole. The target's access
// mode carries over. Destroyed without Commit, the temporary file goes.
class FileReplacement {
 public:
  explicit FileReplacement(const std::string& target);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  void Write(std::string_view text);  // throws AppError
  void Commit();                      // throws AppError; the target then is untouched

 private:
  std::string target_, temp_;
  std::intptr_t handle_;
  bool open_ = true;
};
inline constexpr size_t kTempRandomChars = 6;
inline std::string TempNamePrefix(const std::string& name) {
  return "." + name + ".quorvin-";
}

// Writes a file only its owner may read (it may hold a password), made anew.
void WritePrivateFile(const std::string& path, std::string_view content);

// An exclusive lock on `path` (the file made if need be) for as long as this
// object lives, taken without waiting: Held() is false when another program
// holds it (HeldElsewhere()) or the file cannot be made. Other programs that take the same
// lock see it; nothing else is kept from the file. A held lock's file goes
// when the lock does.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool Held() const { return held_; }
  bool HeldElsewhere() const { return elsewhere_; }

 private:
  std::string path_;
  std::intptr_t handle_ = -1;
  bool held_ = false, elsewhere_ = false;
};

// A helper program started without a window or terminal, with no input and
// its output going nowhere, in `workFolder` (empty: this program's), and tied
// to this program: should this program be killed, the helper goes too.
// command[0] is looked up on PATH; the arguments reach the program as they
// are. Throws AppError when the program cannot be started.
class HiddenProgram {
 public:
  HiddenProgram(const std::vector<std::string>& command, const std::string& workFolder);
  ~HiddenProgram();  // stops a program still running
  HiddenProgram(const HiddenProgram&) = delete;
  HiddenProgram& operator=(const HiddenProgram&) = delete;

  bool Ended();  // never waits
  void Stop();   // the program and whatever it started

 private:
  std::intptr_t process_ = 0;
  [[maybe_unused]] std::intptr_t job_ = 0;  // Windows: the job that ends with this program
  bool ended_ = false;
};

// Whether a program of this name would be found on PATH and could be run.
bool ProgramOnPath(const std::string& name);

// A write past the size limit of a process fails with "File too large"
// instead of ending the program (a signal only POSIX systems send).
void IgnoreFileSizeSignal();

std::tm LocalTime(std::time_t time);

}  // namespace quorvin::platform
