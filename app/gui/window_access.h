#pragma once
// The keyboard and the names that screen readers and automation tools need,
// laid over a window once its controls are built: Tab leaves the grids, the
// Tab order follows the screen, every field is tied to its label, and the
// settings window's Save is its default button.
class QWidget;

namespace quorvin::gui {

// For frmMain, frmList and frmSettings (told apart by their object names);
// the windows call it at the end of their constructors.
void SetUpKeyboardAndLabels(QWidget& window);

}  // namespace quorvin::gui
