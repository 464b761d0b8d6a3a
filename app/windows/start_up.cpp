// Choosing and preparing the program's folder and its settings file, and
// building the demo's folder from the demo data.
#include "windows/start_up.h"

#include <filesystem>
#include <system_error>

#include "ground/errors.h"
#include "ground/platform.h"
#include "ground/settings.h"
#include "ground/text.h"
#include "ground/text_files.h"

namespace quorvin {
namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

void MakeFolder(const std::string& folder) {
  std::error_code error;
  fs::create_directories(platform::PathOf(folder), error);
  if (error) throw AppError(error.message() + ": " + folder);
}

}  // namespace

std::string ConfigHome(const char* xdgConfigHome, const char* home) {
  if (xdgConfigHome && xdgConfigHome[0] == '/') return WithSlash(xdgConfigHome);
  return WithSlash(home ? home : "") + ".config/";
}

std::string ChooseProgramFolder(const std::string& executableFolder,
                                const std::string& configHome) {
  // Whatever is there under the name, even what cannot be read, makes this the
  // clerk's own setup: its failed read is reported at start-up rather than a
  // blank first start being made elsewhere.
  std::error_code error;
  const auto status =
      fs::symlink_status(platform::PathOf(WithSlash(executableFolder) + kSettingsFileName), error);
  if (status.type() != fs::file_type::not_found && status.type() != fs::file_type::none)
    return WithSlash(executableFolder);
  return WithSlash(configHome) + "quorvin/";
}

void PrepareProgramFolder(const std::string& programFolder) {
  MakeFolder(programFolder);
  const std::string ini = WithSlash(programFolder) + kSettingsFileName;
  std::error_code error;
  if (fs::symlink_status(platform::PathOf(ini), error).type() == fs::file_type::not_found)
    WriteTextFile(ini, SettingsText(Settings{}));
}

std::string PrepareDemoFolder(const std::string& demoSource, const std::string& folder) {
  const std::string program = WithSlash(folder), data = program + "data/";
  MakeFolder(data);
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(platform::PathOf(demoSource), error)) {
    const std::string name = platform::Utf8Of(entry.path().filename());
    const std::string upper = ToUpper(name);
    if (entry.is_regular_file() && upper.size() > 4 && upper.ends_with(".TXT"))
      WriteTextFile(data + name, ReadTextFile(platform::Utf8Of(entry.path())));
  }
  if (error) throw AppError(error.message() + ": " + demoSource);
  std::string ini = ReadTextFile(WithSlash(demoSource) + "Quorvin.ini.in");
  ini = ReplaceAll(ini, "@BACKUP_LOCATION@", data);
  WriteTextFile(program + kSettingsFileName, ini);
  return program;
}

}  // namespace quorvin
