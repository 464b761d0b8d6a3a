#pragma once
// A WindowPort for code that waits: it records the caption and cursor it is
// given and counts how often pending events were let through.
#include <string>

#include "shell/ports.h"

namespace quorvin::test {

class RecordingWindow : public WindowPort {
 public:
  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& text) override { caption = text; }
  void SetWaitCursor(bool wait) override { waitCursor = wait; }
  void ProcessPendingEvents() override { ++eventRounds; }

  std::string caption;
  bool waitCursor = false;
  int eventRounds = 0;
};

}  // namespace quorvin::test
