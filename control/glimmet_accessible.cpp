// The accessibility interface of the Glimmet button and its factory.
#include "glimmet_accessible.h"

#include <QKeySequence>
#include <QMetaObject>
#include <QPointer>

#include "glimmet.h"

GlimmetAccessible::GlimmetAccessible(Glimmet* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

Glimmet* GlimmetAccessible::Button() const {
  return static_cast<Glimmet*>(widget());
}

QAccessible::Role GlimmetAccessible::role() const {
  return Button()->CheckBoxBehaviour() ? QAccessible::CheckBox : QAccessible::Button;
}

QAccessible::State GlimmetAccessible::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  const Glimmet* b = Button();
  if (b->CheckBoxBehaviour()) {
    s.checkable = true;
    s.checked = b->Value();
  } else {
    // The down look while a mouse button or the space bar holds it.
    s.pressed = b->DrawState() == 2;
  }
  s.defaultButton = b->DisplayAsDefault();
  s.disabled = !b->Enabled() || !b->isEnabled();
  return s;
}

QString GlimmetAccessible::text(QAccessible::Text t) const {
  const Glimmet* b = Button();
  switch (t) {
    case QAccessible::Name:
      return b->accessibleName().isEmpty() ? glimmet::CaptionText(b->Caption())
                                           : b->accessibleName();
    case QAccessible::Accelerator:
      return b->AccessKeys().isEmpty()
                 ? QString()
                 : QKeySequence(QStringLiteral("Alt+") + b->AccessKeys().toUpper())
                       .toString(QKeySequence::NativeText);
    default:
      return QAccessibleWidget::text(t);  // Description: the accessible one, else the tooltip
  }
}

QString GlimmetAccessible::PressName() const {
  return Button()->CheckBoxBehaviour() ? toggleAction() : pressAction();
}

QStringList GlimmetAccessible::actionNames() const {
  QStringList names;
  if (widget()->isEnabled()) names << PressName();
  if (widget()->focusPolicy() != Qt::NoFocus) names << setFocusAction();
  return names;
}

QStringList GlimmetAccessible::keyBindingsForAction(const QString& actionName) const {
  if (actionName == PressName() && !text(QAccessible::Accelerator).isEmpty())
    return {text(QAccessible::Accelerator)};
  return QAccessibleWidget::keyBindingsForAction(actionName);
}

void GlimmetAccessible::doAction(const QString& actionName) {
  if (actionName != PressName()) {
    QAccessibleWidget::doAction(actionName);
    return;
  }
  QPointer<Glimmet> button = Button();
  QMetaObject::invokeMethod(
      button,
      [button] {
        if (button) button->PressFromAssistant();
      },
      Qt::QueuedConnection);
}

namespace glimmet {

QString CaptionText(const QString& caption) {
  QString text;
  text.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption.at(i) == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) text += caption.at(++i);
      continue;
    }
    text += caption.at(i);
  }
  return text;
}

static QAccessibleInterface* GlimmetFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("Glimmet") && object && object->isWidgetType())
    if (auto* button = qobject_cast<Glimmet*>(object)) return new GlimmetAccessible(button);
  return nullptr;
}

void InstallAccessibleFactory() {
  static const bool installed = (QAccessible::installFactory(&GlimmetFactory), true);
  Q_UNUSED(installed);
}

void AccessibleNameChanged(QObject* button) {
  QAccessibleEvent event(button, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void AccessibleStateChanged(QObject* button, QAccessible::State changed) {
  QAccessibleStateChangeEvent event(button, changed);
  QAccessible::updateAccessibility(&event);
}

}  // namespace glimmet
