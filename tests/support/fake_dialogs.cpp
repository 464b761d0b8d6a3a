// Checking each box the code shows against the next expected one, giving its
// answer, and failing the test on a box out of turn or one never shown.
#include "support/fake_dialogs.h"

#include <gtest/gtest.h>

#include "ground/version.h"

namespace quorvin::test {

FakeDialogs::~FakeDialogs() {
  VerifyDone();
}

FakeDialogs& FakeDialogs::Expect(std::string text, std::string title, MsgIcon icon,
                                 MsgAnswer answer, MsgButtons buttons) {
  expected_.push_back({std::move(text), std::move(title), icon, buttons, answer, false});
  return *this;
}

FakeDialogs& FakeDialogs::ExpectQuestion(std::string text, std::string title, MsgAnswer answer,
                                         MsgIcon icon) {
  return Expect(std::move(text), std::move(title), icon, answer, MsgButtons::YesNo);
}

FakeDialogs& FakeDialogs::ExpectErrorContaining(std::string part) {
  expected_.push_back(
      {std::move(part), kAppTitle, MsgIcon::None, MsgButtons::Ok, MsgAnswer::Ok, true});
  return *this;
}

FakeDialogs& FakeDialogs::ExpectContaining(std::string part, std::string title, MsgIcon icon,
                                           MsgAnswer answer, MsgButtons buttons) {
  expected_.push_back({std::move(part), std::move(title), icon, buttons, answer, true});
  return *this;
}

MsgAnswer FakeDialogs::MessageWithDetails(const std::string& text, const std::string& title,
                                          MsgIcon icon, MsgButtons buttons,
                                          const std::string& details) {
  const size_t expectedBefore = expected_.size();
  MsgAnswer answer = Message(text, title, icon, buttons);
  shown.back().details = details;
  // An unexpected failure box says what decided it.
  if (::testing::Test::HasFailure() && expectedBefore > 0 && !details.empty())
    ADD_FAILURE() << "details of \"" << text << "\": " << details;
  return answer;
}

MsgAnswer FakeDialogs::Message(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons) {
  shown.push_back({text, title, icon, buttons, {}});
  if (expected_.empty()) {
    ADD_FAILURE() << "unexpected message box \"" << text << "\" titled \"" << title << "\"";
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
  }
  Expected e = expected_.front();
  expected_.pop_front();
  if (e.containing)
    EXPECT_NE(text.find(e.text), std::string::npos) << "box text \"" << text << "\"";
  else
    EXPECT_EQ(text, e.text);
  EXPECT_EQ(title, e.title) << "for box \"" << text << "\"";
  EXPECT_EQ(icon, e.icon) << "for box \"" << text << "\"";
  EXPECT_EQ(buttons, e.buttons) << "for box \"" << text << "\"";
  return e.answer;
}

std::optional<std::string> FakeDialogs::OpenFile(const std::string& title,
                                                 const std::string& filter, int,
                                                 const std::string& startFolder) {
  openFileTitles.push_back(title);
  openFileFilters.push_back(filter);
  openFileFolders.push_back(startFolder);
  if (openFiles_.empty()) {
    ADD_FAILURE() << "unexpected file dialog \"" << title << "\"";
    return std::nullopt;
  }
  auto answer = openFiles_.front();
  openFiles_.pop_front();
  return answer;
}

std::string FakeDialogs::BrowseFolder(const std::string& title, const std::string& startFolder) {
  browseCalls.emplace_back(title, startFolder);
  if (browses_.empty()) {
    ADD_FAILURE() << "unexpected folder browser \"" << title << "\"";
    return {};
  }
  std::string answer = browses_.front();
  browses_.pop_front();
  return answer;
}

void FakeDialogs::VerifyDone() {
  for (const auto& e : expected_)
    ADD_FAILURE() << "expected message box not shown: \"" << e.text << "\" titled \"" << e.title
                  << "\"";
  expected_.clear();
}

}  // namespace quorvin::test
