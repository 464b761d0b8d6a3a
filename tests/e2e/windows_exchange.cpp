// The exchange of the end-to-end tests on Windows: a folder that the stand-in
// for the Windows FTP client serves (FAKE_FTP_ROOT), found ahead of any other
// ftp.exe on the PATH while the fixture lives. The port is only a name here.
#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "exchange_emulator.h"
#include "ground/platform.h"

namespace quorvin::test {
namespace {

std::wstring Variable(const wchar_t* name) {
  std::wstring value(32768, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
  return value;
}

}  // namespace

ExchangeEmulator::ExchangeEmulator(const std::vector<std::string>& extraOptions) {
  if (!extraOptions.empty()) throw std::runtime_error("the stand-in exchange takes no options");
  std::filesystem::create_directory(platform::PathOf(Entry()));
  std::string root = root_.Path();
  root.pop_back();
  ::SetEnvironmentVariableW(L"FAKE_FTP_ROOT", platform::PathOf(root).c_str());
  const std::wstring client =
      std::filesystem::absolute(platform::PathOf(QUORVIN_FAKE_FTP_DIR)).make_preferred().native();
  ::SetEnvironmentVariableW(L"PATH", (client + L";" + Variable(L"PATH")).c_str());
  port_ = 2121;
}

ExchangeEmulator::~ExchangeEmulator() {
  std::wstring path = Variable(L"PATH");
  path.erase(0, path.find(L';') + 1);
  ::SetEnvironmentVariableW(L"PATH", path.c_str());
  ::SetEnvironmentVariableW(L"FAKE_FTP_ROOT", nullptr);
}

}  // namespace quorvin::test
