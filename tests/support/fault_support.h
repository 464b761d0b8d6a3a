#pragma once
// What the crash and disk-fault tests share: dialogs for a child process that
// has no one to ask, a way to run a piece of the program in such a child, and
// a way to make permissions count for a test that runs as root.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ground/ports.h"
#include "support/temp_folder.h"

namespace quorvin::test {

// Answers Yes to every question and keeps a transcript, one "title: text"
// line per box.
class AnsweringDialogs : public Dialogs {
 public:
  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                    MsgButtons buttons) override;
  std::optional<std::string> OpenFile(const std::string&, const std::string&, int,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string BrowseFolder(const std::string&, const std::string&) override { return {}; }
  void ViewTextFile(const std::string& path) override { viewed.push_back(path); }

  std::string transcript;
  std::vector<std::string> viewed;
};

struct ChildEnd {
  bool exited = false;  // ended by itself rather than by a signal
  int signal = 0;       // the signal that ended it otherwise
  std::string output;   // what the body handed back
};

#ifndef _WIN32
// Runs body in a forked child; body fills the output. The child never
// returns into the test program.
ChildEnd RunInChild(const std::function<void(std::string& output)>& body);

// Root passes every permission check. While this lives, the calling thread
// does without that override, so a read-only folder is read-only for it too.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride();
  ~WithoutPermissionOverride();
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

 private:
  bool dropped_ = false;
  unsigned saved_[2][3] = {};  // effective, permitted, inheritable of both capability words
};

#endif

}  // namespace quorvin::test
