// A stand-in for the Windows command-line FTP client, for the transfer tests
// under Wine: it reads its -s: script as the client does and answers as a
// server would, keeping the "server's" files under %FAKE_FTP_ROOT%. It also
// says where it runs and how it was called, for the tests to check.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

bool Copy(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
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
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string command, a, b;
    words >> command >> a >> b;
    if (command == "open") {
      std::printf("Connected to %s.\n220 ready\n", a.c_str());
    } else if (command == "user") {
      std::printf("331 password please\n230 User %s logged in.\n", a.c_str());
    } else if (command == "cd") {
      std::printf("250 CWD command successful.\n");
    } else if (command == "mkdir") {
      CreateDirectoryW((std::wstring(root) + L"\\" + Wide(a)).c_str(), nullptr);
      std::printf("257 \"%s\" created.\n", a.c_str());
    } else if (command == "put") {
      if (Copy(Wide(a), std::wstring(root) + L"\\" + Wide(b)))
        std::printf("200 PORT command successful.\n226 Transfer complete.\n");
      else
        std::printf("%s: File not found\n", a.c_str());
    } else if (command == "get") {
      if (Copy(std::wstring(root) + L"\\" + Wide(a), Wide(b)))
        std::printf("200 PORT command successful.\n226 Transfer complete.\n");
      else
        std::printf("550 %s: The system cannot find the file specified.\n", a.c_str());
    } else if (command == "bye") {
      std::printf("221 Goodbye.\n");
      return 0;
    } else {
      std::printf("Invalid command.\n");
    }
  }
  return 0;
}
