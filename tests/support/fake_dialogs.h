#pragma once
// A scripted Dialogs: every box the code shows is recorded, and each one must
// have been expected, in order, with the answer to give. An unexpected box
// fails the test.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ground/ports.h"

namespace quorvin::test {

struct ShownBox {
  std::string text, title;
  MsgIcon icon;
  MsgButtons buttons;
  std::string details;  // what MessageWithDetails showed under the text
};

class FakeDialogs : public Dialogs {
 public:
  ~FakeDialogs() override;

  // Expects the next box; icon and buttons are checked too.
  FakeDialogs& Expect(std::string text, std::string title, MsgIcon icon,
                      MsgAnswer answer = MsgAnswer::Ok, MsgButtons buttons = MsgButtons::Ok);
  FakeDialogs& ExpectQuestion(std::string text, std::string title, MsgAnswer answer,
                              MsgIcon icon = MsgIcon::Question);
  // Expects a plain error box (application title, no icon) whose text contains `part`.
  FakeDialogs& ExpectErrorContaining(std::string part);
  // Expects a box of this title whose text contains `part`.
  FakeDialogs& ExpectContaining(std::string part, std::string title, MsgIcon icon,
                                MsgAnswer answer = MsgAnswer::Ok,
                                MsgButtons buttons = MsgButtons::Ok);

  void QueueOpenFile(std::optional<std::string> answer) { openFiles_.push_back(std::move(answer)); }
  void QueueBrowse(std::string answer) { browses_.push_back(std::move(answer)); }

  MsgAnswer Message(const std::string& text, const std::string& title, MsgIcon icon,
                    MsgButtons buttons) override;
  MsgAnswer MessageWithDetails(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons, const std::string& details) override;
  std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                      int filterIndex, const std::string& startFolder) override;
  std::string BrowseFolder(const std::string& title, const std::string& startFolder) override;
  void ViewTextFile(const std::string& path) override { viewed.push_back(path); }

  // Fails the test when expected boxes were not shown.
  void VerifyDone();

  std::vector<ShownBox> shown;
  std::vector<std::string> viewed;
  std::vector<std::string> openFileTitles, openFileFilters, openFileFolders;
  std::vector<std::pair<std::string, std::string>> browseCalls;  // title, start folder

 private:
  struct Expected {
    std::string text, title;
    MsgIcon icon;
    MsgButtons buttons;
    MsgAnswer answer;
    bool containing;
  };
  std::deque<Expected> expected_;
  std::deque<std::optional<std::string>> openFiles_;
  std::deque<std::string> browses_;
};

}  // namespace quorvin::test
