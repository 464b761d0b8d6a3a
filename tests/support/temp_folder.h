#pragma once
// A fresh folder under the system's temporary folder, removed with its content.
#include <string>
#include <vector>

namespace quorvin::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder path, ending with "/".
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  void Write(const std::string& name, const std::string& content) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;

  static void WriteFile(const std::string& path, const std::string& content);
  static std::string ReadFile(const std::string& path);

 private:
  std::string path_;
};

// Every name in the folder, hidden ones included, sorted.
std::vector<std::string> AllNames(const std::string& folder);

}  // namespace quorvin::test
