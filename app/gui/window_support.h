#pragma once
// What every window does the same way as a WindowPort.
#include <QString>

class QWidget;

namespace quorvin::gui {

// The hourglass over the whole program, or the normal pointer again.
void SetWaitCursor(bool wait);

// Lets repaints and timers run while a handler waits; the clerk's clicks and
// keys wait until the handler is done, so nothing starts in the middle of it.
void ProcessPendingEvents();

// What every window caption ends with ("(demo)" for the demo), set once at start.
void SetCaptionSuffix(const QString& suffix);
// A caption as the window shows it, and back.
QString ShownCaption(const QString& caption);
QString CaptionOf(const QString& shown);

// Hides an in-cell editor that lies on `grid`. When the editor (or a part of
// it) has the focus, the grid takes the focus first: hidden while focused, the
// editor would hand the focus on as Tab does, and the table would take that
// for a move to the next cell.
void HideCellEditor(QWidget* editor, QWidget* grid);

}  // namespace quorvin::gui
