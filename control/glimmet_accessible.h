// What screen readers and automation tools see of a Glimmet: a push button
// (a check box in check-box mode) with its caption as name, its tooltip as
// description, its access key, its states and the Press and SetFocus actions.
#pragma once

#include <QAccessibleWidget>

#include "glimmet_export.h"

class Glimmet;

class GLIMMET_EXPORT GlimmetAccessible : public QAccessibleWidget {
 public:
  explicit GlimmetAccessible(Glimmet* button);

  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  QString text(QAccessible::Text t) const override;

  QStringList actionNames() const override;
  QStringList keyBindingsForAction(const QString& actionName) const override;
  // Press (Toggle) only queues the click: it runs once the caller's call has
  // returned, so a tool is never held by a box the click opens.
  void doAction(const QString& actionName) override;

 private:
  Glimmet* Button() const;
  QString PressName() const;
};

namespace glimmet {
// The caption as it reads: access-key marks taken out, "&&" read as "&".
GLIMMET_EXPORT QString CaptionText(const QString& caption);
// Installs the interface factory once; every Glimmet constructor calls it.
void InstallAccessibleFactory();
// Tell assistive tools that the name, or the given states, of `button` changed.
void AccessibleNameChanged(QObject* button);
void AccessibleStateChanged(QObject* button, QAccessible::State changed);
inline QAccessible::State CheckedChange() {
  QAccessible::State s;
  s.checked = true;
  return s;
}
}  // namespace glimmet
