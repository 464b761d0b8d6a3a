// Making a button from its property bag, and the AppButton that gives the
// windows its caption, enabled state, clicks and key releases.
#include "gui/button_factory.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPushButton>

#include "gui/grid_view.h"

#ifdef QUORVIN_HAVE_GLIMMET
#include "glimmet.h"
#endif

namespace quorvin::gui {

namespace {
// The look of every button of the program: the "Windows XP" style, hand pointer.
constexpr int kButtonStyle = 3;
}  // namespace

AppButton::AppButton(QWidget* widget, QObject* parent) : QObject(parent), widget_(widget) {
#ifdef QUORVIN_HAVE_GLIMMET
  if (auto* g = qobject_cast<Glimmet*>(widget_)) {
    connect(g, &Glimmet::Click, this, &AppButton::clicked);
    connect(g, &Glimmet::KeyUp, this,
            [this](short& keyCode, short&) { emit keyReleased(keyCode); });
    return;
  }
#endif
  widget_->installEventFilter(this);
  if (auto* push = qobject_cast<QPushButton*>(widget_))
    connect(push, &QPushButton::clicked, this, &AppButton::clicked);
}

void AppButton::SetCaption(const QString& caption) {
#ifdef QUORVIN_HAVE_GLIMMET
  if (auto* g = qobject_cast<Glimmet*>(widget_)) g->SetCaption(caption);
#endif
  if (auto* push = qobject_cast<QPushButton*>(widget_)) push->setText(caption);
}

QString AppButton::Caption() const {
#ifdef QUORVIN_HAVE_GLIMMET
  if (auto* g = qobject_cast<Glimmet*>(widget_)) return g->Caption();
#endif
  if (auto* push = qobject_cast<QPushButton*>(widget_)) return push->text();
  return {};
}

void AppButton::SetEnabled(bool enabled) {
#ifdef QUORVIN_HAVE_GLIMMET
  if (auto* g = qobject_cast<Glimmet*>(widget_)) {
    g->SetEnabled(enabled);
    return;
  }
#endif
  widget_->setEnabled(enabled);
}

void AppButton::SetDefault(bool isDefault) {
#ifdef QUORVIN_HAVE_GLIMMET
  if (auto* g = qobject_cast<Glimmet*>(widget_)) g->SetDisplayAsDefault(isDefault);
#endif
  if (auto* push = qobject_cast<QPushButton*>(widget_)) push->setDefault(isDefault);
}

void AppButton::Press() {
  if (widget_ && widget_->isEnabled()) emit clicked();
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
  const QString name = bag.value("name").toString();
  const QString caption = bag.value("caption").toString();
  QWidget* widget;
#ifdef QUORVIN_HAVE_GLIMMET
  QVariantMap properties = bag;
  properties.remove("name");
  properties.remove("caption");
  properties.remove("tooltip");
  if (!properties.contains("btype")) properties.insert("btype", kButtonStyle);
  if (!properties.contains("hand")) properties.insert("hand", true);
  properties.insert("tx", caption);
  widget = CreateGlimmet(parent, name, GlimmetPropertyBag(properties));
#else
  auto* push = new QPushButton(caption, parent);
  push->setObjectName(name);
  push->setAutoDefault(false);
  push->setCursor(Qt::PointingHandCursor);
  widget = push;
#endif
  widget->setToolTip(bag.value("tooltip").toString());
  QFontMetrics metrics(widget->font());
  widget->setMinimumWidth(std::max(84, metrics.horizontalAdvance(caption) + 28));
  widget->setFixedHeight(metrics.height() + 14);
  widget->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  return new AppButton(widget, widget);
}

}  // namespace quorvin::gui
