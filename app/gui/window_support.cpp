#include "gui/window_support.h"

#include <QApplication>
#include <QWidget>

namespace quorvin::gui {

void SetWaitCursor(bool wait) {
  if (wait)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void ProcessPendingEvents() {
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace quorvin::gui

namespace quorvin::gui {

void HideCellEditor(QWidget* editor, QWidget* grid) {
  QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == editor || editor->isAncestorOf(focus))) grid->setFocus();
  editor->hide();
}

}  // namespace quorvin::gui
