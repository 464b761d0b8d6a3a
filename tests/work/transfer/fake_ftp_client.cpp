// A stand-in for the Windows command-line FTP client, for the transfer tests
// under Wine: it reads its -s: script as the client does and prints what the
// client prints in debug mode against a server keeping its files under
// %FAKE_FTP_ROOT% (the server double of the tests). It also
// says where it runs and how it was called, for the tests to check.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/ftp_server_double.h"

namespace {

std::string Utf8(const std::wstring& wide) {
  std::string s(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0,
                                                        nullptr, nullptr)),
                '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, s.data(), static_cast<int>(s.size()), nullptr,
                      nullptr);
  s.pop_back();
  return s;
}

std::wstring Wide(const std::string& utf8) {
  std::wstring w(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0)),
                 L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, w.data(), static_cast<int>(w.size()));
  w.pop_back();
  return w;
}

long long EnvNumber(const wchar_t* name) {
  wchar_t value[32] = L"";
  return GetEnvironmentVariableW(name, value, 32) ? std::wcstoll(value, nullptr, 10) : -1;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string args, script;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = Utf8(argv[i]);
    args += (i > 1 ? " " : "") + arg;
    if (arg.rfind("-s:", 0) == 0) script = arg.substr(3);
  }
  wchar_t cwd[MAX_PATH * 2];
  GetCurrentDirectoryW(MAX_PATH * 2, cwd);
  wchar_t root[MAX_PATH * 2] = L"";
  GetEnvironmentVariableW(L"FAKE_FTP_ROOT", root, MAX_PATH * 2);
  std::printf("args: %s\ncwd: %s\n", args.c_str(), Utf8(cwd).c_str());
  // A client that hangs: it says it started, in its working folder, and
  // waits, keeping that file open to itself so that others see it is alive.
  if (args == "--stall") {
    HANDLE started = CreateFileW(L"started", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(started, "started", 7, &written, nullptr);
    Sleep(INFINITE);
  }

  std::ifstream in(std::filesystem::path(Wide(script)));
  if (!in) {
    std::printf("Error opening script file %s.\n", script.c_str());
    return 1;
  }
  // The client echoes each script line before the commands it sends for it.
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  // FAKE_FTP_WRONG_PASSWORD: the login is refused; FAKE_FTP_CUT_AFTER: an
  // upload's link is lost after that many bytes, the part left on the server.
  quorvin::test::FtpDoubleFaults faults;
  faults.wrongPassword = EnvNumber(L"FAKE_FTP_WRONG_PASSWORD") > 0;
  faults.cutAfter = EnvNumber(L"FAKE_FTP_CUT_AFTER");
  std::fputs(quorvin::test::AnswerFtpLines(lines, Utf8(root), Utf8(cwd), faults).c_str(), stdout);
  return 0;
}
