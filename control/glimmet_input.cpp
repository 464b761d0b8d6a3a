// mouse, keyboard, focus, access key and hover.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>

#include "glimmet_accessible.h"
#include "glimmet_keys.h"
#include "glimmet_state.h"

using namespace glimmet;

bool Glimmet::IsMouseOver() const {
  return QApplication::widgetAt(QCursor::pos()) == this;
}

void Glimmet::HandleMouseDown(short button, short shift, float x, float y) {
  emit MouseDown(button, shift, x, y);
  d->lastMouseButton = static_cast<quint8>(button);
  if (button != 2) Redraw(2, false);
}

void Glimmet::mousePressEvent(QMouseEvent* e) {
  const QPointF at = e->position();
  d->clickAfterRelease = true;
  d->buttonDown = true;
  HandleMouseDown(MouseButtonsOf(e->button()), ShiftStateOf(e->modifiers()),
                  static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void Glimmet::mouseDoubleClickEvent(QMouseEvent* e) {
  // The double-click notification. Qt delivers it after the second press,
  // which has already been handled as a press; without that press (a platform
  // that replaces it), the press handling runs here as the original control did.
  d->clickAfterRelease = false;  // a double click raises no second Click
  if (d->buttonDown) return;
  if (d->lastMouseButton == 1 && e->button() == Qt::LeftButton) {
    d->buttonDown = true;
    HandleMouseDown(1, 0, 0.0f, 0.0f);
  }
}

void Glimmet::mouseMoveEvent(QMouseEvent* e) {
  short button = MouseButtonsOf(e->buttons()), shift = ShiftStateOf(e->modifiers());
  float x = static_cast<float>(e->position().x()), y = static_cast<float>(e->position().y());
  emit MouseMove(button, shift, x, y);
  if (button >= 2) return;
  if (IsMouseOver()) {
    if (button == 0 && !d->isHovering) {
      d->overTimer.start();
      d->isHovering = true;
      Redraw(0, true);
      emit MouseOver();
    } else if (button == 1) {
      d->isHovering = true;
      Redraw(2, false);
      d->isHovering = false;
    }
  } else {
    Redraw(0, false);
  }
}

void Glimmet::mouseReleaseEvent(QMouseEvent* e) {
  short button = MouseButtonsOf(e->button()), shift = ShiftStateOf(e->modifiers());
  float x = static_cast<float>(e->position().x()), y = static_cast<float>(e->position().y());
  const bool inside = rect().contains(e->position().toPoint()) &&
                      (mask().isEmpty() || mask().contains(e->position().toPoint()));
  const bool click = d->clickAfterRelease && inside;
  d->clickAfterRelease = false;
  d->buttonDown = false;
  emit MouseUp(button, shift, x, y);
  if (button != 2) Redraw(0, false);
  if (click) HandleClick();
}

void Glimmet::HandleClick() {
  if (d->lastMouseButton != 1 || !d->enabled) return;
  if (d->checkBoxBehaviour) d->value = !d->value;
  Redraw(0, true);
  repaint();
  if (d->checkBoxBehaviour) glimmet::AccessibleStateChanged(this, glimmet::CheckedChange());
  emit Click();
}

void Glimmet::PressFromAssistant() {
  if (!isEnabled()) return;  // disabled meanwhile: a clerk could not click it either
  HandleAccessKey();
}

void Glimmet::HandleAccessKey() {
  d->lastMouseButton = 1;
  HandleClick();
}

void Glimmet::OverTimerTick() {
  if (IsMouseOver()) return;
  d->overTimer.stop();
  d->isHovering = false;
  Redraw(0, true);
  emit MouseOut();
}

void Glimmet::keyPressEvent(QKeyEvent* e) {
  short key = VirtualKeyOf(e->key(), e->modifiers()), shift = ShiftStateOf(e->modifiers());
  emit KeyDown(key, shift);
  d->lastKeyCode = static_cast<quint8>(key);
  if (key == 32)
    Redraw(2, false);
  else if (key == 37 || key == 38)
    focusNextPrevChild(false);
  else if (key == 39 || key == 40)
    focusNextPrevChild(true);
  const QString text = e->text();
  if (!text.isEmpty() && text.at(0).unicode() < 256) {
    short ascii = static_cast<short>(text.at(0).unicode());
    emit KeyPress(ascii);
  }
}

void Glimmet::keyReleaseEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;  // the platform repeats key downs only
  short key = VirtualKeyOf(e->key(), e->modifiers()), shift = ShiftStateOf(e->modifiers());
  emit KeyUp(key, shift);
  if (d->lastKeyCode == 32 && key == 32) {
    if (d->checkBoxBehaviour) d->value = !d->value;
    Redraw(0, false);
    repaint();
    if (d->checkBoxBehaviour) glimmet::AccessibleStateChanged(this, glimmet::CheckedChange());
    emit Click();
  }
}

void Glimmet::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  d->hasFocus = true;
  Redraw(d->drawState, true);
}

void Glimmet::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  d->hasFocus = false;
  Redraw(d->drawState, true);
}

bool Glimmet::event(QEvent* e) {
  if (e->type() == QEvent::Shortcut) {
    auto* se = static_cast<QShortcutEvent*>(e);
    if (d->accessShortcut != 0 && se->shortcutId() == d->accessShortcut) {
      HandleAccessKey();
      return true;
    }
  }
  return QWidget::event(e);
}
