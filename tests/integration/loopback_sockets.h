#pragma once
// Small socket helpers of the loopback servers the transfer tests start.
#include <atomic>

namespace quorvin::test {

// A listening socket on 127.0.0.1 at a free port, told in *port. Throws
// std::runtime_error when there is none.
int ListenOnLoopback(int* port);
// A connection to 127.0.0.1:port, or -1.
int ConnectToLoopback(int port);
// Waits for fd to become readable, checking `stop` now and then.
bool WaitReadable(int fd, const std::atomic<bool>& stop, int maxMs = -1);

}  // namespace quorvin::test
