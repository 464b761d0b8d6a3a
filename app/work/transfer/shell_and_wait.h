#pragma once
// Runs a helper program (the FTP client's batch) to its end while the window
// stays alive.
#include <string>
#include <vector>

#include "ground/ports.h"

namespace quorvin {

// Starts command[0] (looked up on PATH) with the arguments command[1...],
// hidden: no window or terminal, no input, its output going nowhere, in
// workFolder (empty: the program's own). Returns when the program has ended, letting the
// window process its pending events between checks (the mouse pointer stays
// as the caller set it). timeoutSeconds = 0 waits without limit; otherwise,
// once the time has passed, the program and whatever it started are stopped.
// The arguments reach the program as they are: no shell reads them.
// Throws AppError when the program cannot be started.
void ShellAndWait(const std::vector<std::string>& command, int timeoutSeconds, WindowPort& window,
                  const std::string& workFolder = {});

}  // namespace quorvin
