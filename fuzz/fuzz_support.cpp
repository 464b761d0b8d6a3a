// The quiet dialogs that answer every box, the scratch folder and its files,
// the demo files' paths, and the failure report that stops the fuzzer.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace quorvin::fuzz {

MsgAnswer QuietDialogs::Message(const std::string& text, const std::string& title, MsgIcon icon,
                                MsgButtons buttons) {
  shown.push_back({text, title, icon});
  return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

bool QuietDialogs::Showed(std::string_view title) const {
  for (const ShownBox& box : shown)
    if (box.title == title) return true;
  return false;
}

const std::string& ScratchFolder() {
  // Never destroyed: the clean-up at exit still needs the name.
  static const std::string* folder = [] {
    // Memory-backed when the machine has it: the loaders read a file on every
    // run, and a disk file rewritten in place is flushed on each close.
    std::error_code error;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "quorvin-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return new std::string(pattern + "/");
  }();
  return *folder;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  std::string path = ScratchFolder() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
  return path;
}

std::string DemoFile(const std::string& name) {
  return std::string(QUORVIN_DEMO_DATA) + "/" + name;
}

std::pair<std::string_view, std::string_view> SplitFirstLine(std::string_view data) {
  size_t newline = data.find('\n');
  if (newline == std::string_view::npos) return {data, {}};
  return {data.substr(0, newline), data.substr(newline + 1)};
}

void Fail(const char* condition, const char* file, int line, const std::string& note) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n%s\n", file, line, condition, note.c_str());
  std::abort();
}

}  // namespace quorvin::fuzz
