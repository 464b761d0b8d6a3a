#pragma once
// A WindowPort for code that runs long: it keeps every caption it is given,
// the cursor it was left with, and how often pending events were let through.
#include <string>
#include <vector>

#include "ground/ports.h"

namespace quorvin::test {

class RecordingWindow : public WindowPort {
 public:
  explicit RecordingWindow(std::string initialCaption = {}, bool initialWaitCursor = false)
      : caption(std::move(initialCaption)), waitCursor(initialWaitCursor) {}

  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& text) override {
    caption = text;
    captions.push_back(text);
  }
  void SetWaitCursor(bool wait) override { waitCursor = wait; }
  void ProcessPendingEvents() override { ++eventRounds; }

  std::string caption;
  std::vector<std::string> captions;  // every caption set, in order
  bool waitCursor;
  int eventRounds = 0;
};

}  // namespace quorvin::test
