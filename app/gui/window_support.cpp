// The caption suffix every window shows, the hourglass, letting repaints run
// during long work, and hiding an open cell editor.
#include "gui/window_support.h"

#include <QApplication>
#include <QWidget>

namespace quorvin::gui {
namespace {
QString& Suffix() {
  static QString suffix;
  return suffix;
}
}  // namespace

void SetCaptionSuffix(const QString& suffix) {
  Suffix() = suffix;
}

QString ShownCaption(const QString& caption) {
  return caption + Suffix();
}

QString CaptionOf(const QString& shown) {
  return !Suffix().isEmpty() && shown.endsWith(Suffix()) ? shown.chopped(Suffix().size()) : shown;
}

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
