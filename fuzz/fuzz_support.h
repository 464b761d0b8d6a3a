#pragma once
// What every fuzz target shares: ports that never block and never end the run,
// a private scratch folder for the files the loaders read, and a check that
// stops the fuzzer with a finding when a property of the program does not hold.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ground/ports.h"

namespace quorvin::fuzz {

struct ShownBox {
  std::string text, title;
  MsgIcon icon;
};

// Records every box and answers Yes; file dialogs answer `openFile`.
class QuietDialogs : public Dialogs {
 public:
  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                    MsgButtons buttons) override;
  std::optional<std::string> OpenFile(const std::string&, const std::string&, int,
                                      const std::string&) override {
    return openFile;
  }
  std::string BrowseFolder(const std::string&, const std::string&) override { return {}; }
  void ViewTextFile(const std::string&) override {}

  // True when a box with this title was shown.
  bool Showed(std::string_view title) const;

  std::vector<ShownBox> shown;
  std::optional<std::string> openFile;
};

class QuietWindow : public WindowPort {
 public:
  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& text) override { caption = text; }
  void SetWaitCursor(bool wait) override { waitCursor = wait; }
  void ProcessPendingEvents() override {}

  std::string caption = "Quorvin v1.3 : Pay In";
  bool waitCursor = false;
};

class FixedClock : public Clock {
 public:
  DateTime Now() const override { return {{2026, 12, 8}, 14, 3, 59}; }
};

// A folder of this process, removed when it ends.
const std::string& ScratchFolder();

// Writes the bytes to `name` in the scratch folder, plainly (no sync: the
// atomic writer is tested elsewhere), and returns the path.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The demo data folder, ending with "/".
std::string DemoFile(const std::string& name);

// Splits `data` at the first "\n": what comes before and what comes after.
std::pair<std::string_view, std::string_view> SplitFirstLine(std::string_view data);

[[noreturn]] void Fail(const char* condition, const char* file, int line, const std::string& note);

}  // namespace quorvin::fuzz

// A property that must hold for every input; a violation is a finding.
#define FUZZ_CHECK(condition, note)                                                \
  do {                                                                             \
    if (!(condition)) ::quorvin::fuzz::Fail(#condition, __FILE__, __LINE__, note); \
  } while (false)
