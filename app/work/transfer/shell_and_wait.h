#pragma once
// Runs a helper program (the FTP client's batch) to its end while the window
// stays alive.
#include <string>
#include <vector>

#include "ground/ports.h"

namespace quorvin {

// Starts command[0] (looked up on PATH) with the arguments command[1...], with
// no terminal: standard input, output and error go to /dev/null, and it runs
// in a session of its own. Returns when the program has ended, letting the
// window process its pending events between checks (the mouse pointer stays
// as the caller set it). timeoutSeconds = 0 waits without limit; otherwise,
// once the time has passed, the program and whatever it started are stopped.
// The arguments reach the program as they are: no shell reads them.
// Throws AppError when the program cannot be started.
void ShellAndWait(const std::vector<std::string>& command, int timeoutSeconds, WindowPort& window);

// Whether a program of this name would be found on PATH and could be run.
bool ProgramOnPath(const std::string& name);

}  // namespace quorvin
