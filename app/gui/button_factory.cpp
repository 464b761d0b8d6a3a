#include "gui/button_factory.h"

#include <QKeyEvent>
#include <QPushButton>

#include "gui/grid_view.h"

namespace quorvin::gui {

AppButton::AppButton(QWidget* widget, QObject* parent) : QObject(parent), widget_(widget) {
  widget_->installEventFilter(this);
  if (auto* push = qobject_cast<QPushButton*>(widget_))
    connect(push, &QPushButton::clicked, this, &AppButton::clicked);
}

void AppButton::SetCaption(const QString& caption) {
  if (auto* push = qobject_cast<QPushButton*>(widget_)) push->setText(caption);
}

QString AppButton::Caption() const {
  if (auto* push = qobject_cast<QPushButton*>(widget_)) return push->text();
  return {};
}

void AppButton::SetEnabled(bool enabled) {
  widget_->setEnabled(enabled);
}

bool AppButton::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget_ && event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat())
      if (int code = LegacyKeyCode(key->key())) emit keyReleased(code);
  }
  return QObject::eventFilter(watched, event);
}

AppButton* CreateButton(QWidget* parent, const QVariantMap& bag) {
  auto* button = new QPushButton(parent);
  button->setObjectName(bag.value("name").toString());
  button->setText(bag.value("caption").toString());
  button->setToolTip(bag.value("tooltip").toString());
  button->setAutoDefault(false);
  button->setCursor(Qt::PointingHandCursor);
  return new AppButton(button, button);
}

}  // namespace quorvin::gui
