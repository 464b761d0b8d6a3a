// Running a helper program hidden, waiting for it while the window repaints,
// and stopping it when it takes too long.
#include "work/transfer/shell_and_wait.h"

#include <chrono>
#include <thread>

#include "ground/platform.h"

namespace quorvin {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Between two looks at the process: short enough that the window repaints
// smoothly, long enough that waiting costs next to no processor time.
constexpr auto kPollInterval = std::chrono::milliseconds(20);

}  // namespace

void ShellAndWait(const std::vector<std::string>& command, int timeoutSeconds, WindowPort& window,
                  const std::string& workFolder) {
  platform::HiddenProgram program(command, workFolder);
  const bool limited = timeoutSeconds > 0;
  const auto deadline = SteadyClock::now() + std::chrono::seconds(limited ? timeoutSeconds : 0);
  while (!program.Ended()) {
    // Should the window's events throw, the program is stopped on the way out.
    window.ProcessPendingEvents();
    if (limited && SteadyClock::now() >= deadline) {
      program.Stop();
      return;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace quorvin
