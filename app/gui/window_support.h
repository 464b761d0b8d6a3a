#pragma once
// What every window does the same way as a WindowPort.
namespace quorvin::gui {

// The hourglass over the whole program, or the normal pointer again.
void SetWaitCursor(bool wait);

// Lets repaints and timers run while a handler waits; the clerk's clicks and
// keys wait until the handler is done, so nothing starts in the middle of it.
void ProcessPendingEvents();

}  // namespace quorvin::gui
