// Making and removing the test's temporary folder, and reading and writing
// the files in it.
#include "support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "ground/platform.h"

namespace quorvin::test {

TempFolder::TempFolder() {
  namespace fs = std::filesystem;
  static std::mt19937_64 random(std::random_device{}() ^
                                std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("quorvin-test-" + std::to_string(random() % 100000000));
    // create_directory is false for a folder that is there already.
    if (fs::create_directory(candidate)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
      path_ = platform::Utf8Of(candidate) + "/";
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  const std::filesystem::path path = platform::PathOf(path_);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path, ec);
}

void TempFolder::Write(const std::string& name, const std::string& content) const {
  WriteFile(File(name), content);
}

std::string TempFolder::Read(const std::string& name) const {
  return ReadFile(File(name));
}

void TempFolder::WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(platform::PathOf(path), std::ios::binary);
  out << content;
}

std::string TempFolder::ReadFile(const std::string& path) {
  std::ifstream in(platform::PathOf(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool TempFolder::Exists(const std::string& name) const {
  return std::filesystem::exists(platform::PathOf(File(name)));
}

std::vector<std::string> AllNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(platform::PathOf(folder)))
    names.push_back(platform::Utf8Of(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quorvin::test
