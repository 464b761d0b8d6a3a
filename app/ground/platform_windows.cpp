// The operating system's services on Windows. Names arrive as UTF-8 and go
// to the system as UTF-16, so a name outside the ANSI code page works too.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// after windows.h
#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "ground/errors.h"
#include "ground/platform.h"

namespace quorvin::platform {
namespace {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
  return utf8;
}

// The system's errors in the words the POSIX side uses for the same faults.
std::string Describe(DWORD err) {
  switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return "File not found";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "Permission denied";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "Disk full";
    case ERROR_FILE_TOO_LARGE:
      return "File too large";
    case ERROR_WRITE_PROTECT:
      return "Read-only file system";
    case ERROR_DIRECTORY:
      return "Path is a folder, not a file";
    default: {
      wchar_t* text = nullptr;
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, err, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
      std::string said = text ? Narrow(text) : std::string();
      if (text) ::LocalFree(text);
      while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' '))
        said.pop_back();
      return said.empty() ? "System error " + std::to_string(err) : said;
    }
  }
}

[[noreturn]] void Fail(DWORD err) {
  throw AppError(Describe(err));
}

[[noreturn]] void FailOn(const std::string& path, DWORD err) {
  throw AppError(Describe(err) + ": " + path);
}

bool IsMissing(DWORD err) {
  return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

HANDLE AsHandle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

void WriteAll(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    const DWORD part = static_cast<DWORD>(std::min<size_t>(content.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, content.data(), part, &written, nullptr)) Fail(::GetLastError());
    content.remove_prefix(written);
  }
}

// Characters of a temporary name: different in each process and each call.
std::string RandomChars(size_t count) {
  static std::atomic<std::uint64_t> calls{0};
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  std::uint64_t x = static_cast<std::uint64_t>(now.QuadPart) ^
                    (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^
                    (++calls * 0x9E3779B97F4A7C15ull);
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string chars;
  for (size_t i = 0; i < count; ++i) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdull;
    x ^= x >> 29;
    chars += kChars[x % (sizeof kChars - 1)];
  }
  return chars;
}

// This user's security identifier, as "S-1-5-21-…".
std::wstring CurrentUserSid() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) Fail(::GetLastError());
  alignas(TOKEN_USER) unsigned char buffer[256];
  DWORD size = 0;
  const bool ok = ::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  const DWORD err = ::GetLastError();
  ::CloseHandle(token);
  if (!ok) Fail(err);
  wchar_t* text = nullptr;
  if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text))
    Fail(::GetLastError());
  std::wstring sid = text;
  ::LocalFree(text);
  return sid;
}

}  // namespace

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(Wide(utf8));
}

std::string Utf8Of(const std::filesystem::path& path) {
  return Narrow(path.native());
}

FileStatus StatusOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
    const DWORD err = ::GetLastError();
    if (IsMissing(err) || err == ERROR_INVALID_NAME) return {};
    FailOn(path, err);
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {FileKind::Folder, 0};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return {FileKind::Other, 0};
  return {FileKind::Plain,
          (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

std::optional<FileTime> LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  // Hundreds of nanoseconds since 1601, the Unix epoch being 11644473600 s later.
  const std::int64_t ticks =
      (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime;
  const std::int64_t sinceEpoch = ticks - 116444736000000000LL;
  return FileTime(std::chrono::duration_cast<FileTime::duration>(
      std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>(sinceEpoch)));
}

bool RemoveFile(const std::string& path) {
  if (::DeleteFileW(Wide(path).c_str())) return true;
  const DWORD err = ::GetLastError();
  if (IsMissing(err)) return false;
  FailOn(path, err);
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::string pattern = folder.empty() ? "." : folder;
  if (pattern.back() != '/' && pattern.back() != '\\') pattern += '\\';
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(Wide(pattern + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) Fail(::GetLastError());
  std::vector<FolderEntry> entries;
  do {
    std::string name = Narrow(found.cFileName);
    if (name == "." || name == "..") continue;
    const bool plain =
        !(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
    entries.push_back({std::move(name), plain});
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return entries;
}

InputFile::InputFile(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    Fail(ERROR_DIRECTORY);
  HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail(::GetLastError());
  LARGE_INTEGER size{};
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size)) {
    ::CloseHandle(file);
    throw AppError("Not a plain file (a pipe, socket or device)");
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  size_ = static_cast<std::uint64_t>(size.QuadPart);
}

InputFile::~InputFile() {
  ::CloseHandle(AsHandle(handle_));
}

size_t InputFile::Read(char* to, size_t room) {
  DWORD got = 0;
  const DWORD part = static_cast<DWORD>(std::min<size_t>(room, 1u << 30));
  if (!::ReadFile(AsHandle(handle_), to, part, &got, nullptr)) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_HANDLE_EOF || err == ERROR_BROKEN_PIPE) return 0;
    Fail(err);
  }
  return got;
}

FileLock::FileLock(const std::string& path) : path_(path) {
  // Opened with no sharing: a second opener, this program or another, fails.
  // The system removes the file when the handle closes.
  HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE,
                              nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    elsewhere_ = ::GetLastError() == ERROR_SHARING_VIOLATION;
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  held_ = true;
}

FileLock::~FileLock() {
  if (held_) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileReplacement::FileReplacement(const std::string& target) : target_(target) {
  // A file marked read-only stays as it is; Windows would refuse the replace
  // only at the end, some file systems not at all.
  const DWORD old = ::GetFileAttributesW(Wide(target).c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY) &&
      !(old & FILE_ATTRIBUTE_DIRECTORY))
    Fail(ERROR_ACCESS_DENIED);
  for (int attempt = 0;; ++attempt) {
    temp_ = FolderOf(target) + TempNamePrefix(FileNameOf(target)) + RandomChars(kTempRandomChars);
    HANDLE file = ::CreateFileW(Wide(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<std::intptr_t>(file);
      return;
    }
    const DWORD err = ::GetLastError();
    if (err != ERROR_FILE_EXISTS || attempt == 100) Fail(err);
  }
}

FileReplacement::~FileReplacement() {
  if (!open_) return;
  ::CloseHandle(AsHandle(handle_));
  ::DeleteFileW(Wide(temp_).c_str());
}

void FileReplacement::Write(std::string_view text) {
  WriteAll(AsHandle(handle_), text);
}

void FileReplacement::Commit() {
  if (!::FlushFileBuffers(AsHandle(handle_))) Fail(::GetLastError());
  open_ = false;
  ::CloseHandle(AsHandle(handle_));
  const std::wstring temp = Wide(temp_);
  if (!::MoveFileExW(temp.c_str(), Wide(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD err = ::GetLastError();
    // Said as POSIX says it: a folder in the file's place is not "access denied".
    const DWORD target = ::GetFileAttributesW(Wide(target_).c_str());
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY))
      err = ERROR_DIRECTORY;
    ::DeleteFileW(temp.c_str());
    Fail(err);
  }
}

void WritePrivateFile(const std::string& path, std::string_view content) {
  RemoveFile(path);
  // A protected list that lets this user in and nobody else.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
          (L"D:P(A;;FA;;;" + CurrentUserSid() + L")").c_str(), SDDL_REVISION_1, &descriptor,
          nullptr))
    Fail(::GetLastError());
  SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
  HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, &security, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD err = ::GetLastError();
  ::LocalFree(descriptor);
  if (file == INVALID_HANDLE_VALUE) FailOn(path, err);
  try {
    WriteAll(file, content);
    if (!::FlushFileBuffers(file)) Fail(::GetLastError());
  } catch (...) {
    ::CloseHandle(file);
    throw;
  }
  ::CloseHandle(file);
}

namespace {

// One argument as the C runtime's command-line parser reads it back: quoted
// when it holds a blank or a quote, with backslashes doubled before a quote.
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

}  // namespace

HiddenProgram::HiddenProgram(const std::vector<std::string>& command,
                             const std::string& workFolder) {
  if (command.empty() || command[0].empty()) throw AppError("File not found");
  std::wstring line;
  for (const std::string& arg : command) {
    if (!line.empty()) line += L' ';
    line += QuoteArgument(Wide(arg));
  }
  // A job that ends with its last handle: should this program be killed, the
  // system closes the handle and the helper, with all it started, goes too.
  HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
  if (job) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  const std::wstring folder = Wide(workFolder);
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    const DWORD err = ::GetLastError();
    if (job) ::CloseHandle(job);
    Fail(err);
  }
  if (job && !::AssignProcessToJobObject(job, started.hProcess)) {
    ::CloseHandle(job);  // runs unbound rather than not at all
    job = nullptr;
  }
  ::ResumeThread(started.hThread);
  ::CloseHandle(started.hThread);
  process_ = reinterpret_cast<std::intptr_t>(started.hProcess);
  job_ = reinterpret_cast<std::intptr_t>(job);
}

HiddenProgram::~HiddenProgram() {
  if (!Ended()) Stop();
  ::CloseHandle(AsHandle(process_));
  if (job_) ::CloseHandle(AsHandle(job_));
}

bool HiddenProgram::Ended() {
  if (!ended_) ended_ = ::WaitForSingleObject(AsHandle(process_), 0) != WAIT_TIMEOUT;
  return ended_;
}

void HiddenProgram::Stop() {
  if (ended_) return;
  if (job_) {
    ::TerminateJobObject(AsHandle(job_), 1);
  } else {
    ::TerminateProcess(AsHandle(process_), 1);
  }
  ::WaitForSingleObject(AsHandle(process_), 5000);
  ended_ = true;
}

bool ProgramOnPath(const std::string& name) {
  if (name.empty()) return false;
  wchar_t found[MAX_PATH];
  return ::SearchPathW(nullptr, Wide(name).c_str(), L".exe", MAX_PATH, found, nullptr) != 0;
}

void IgnoreFileSizeSignal() {}  // Windows sends no such signal

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_s(&local, &time);
  return local;
}

}  // namespace quorvin::platform
