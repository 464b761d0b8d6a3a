#pragma once
// Every button of every window is made here, from the window's stored layout:
// one property bag per button, keys in lower case. The windows only set a
// button's caption and enabled state and listen to its click and key release.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QWidget>

namespace quorvin::gui {

class AppButton : public QObject {
  Q_OBJECT
 public:
  AppButton(QWidget* widget, QObject* parent);
  QWidget* Widget() const { return widget_; }
  void SetCaption(const QString& caption);
  QString Caption() const;
  void SetEnabled(bool enabled);
  // The window's default button: drawn so, and pressed by Enter (the window does that).
  void SetDefault(bool isDefault);
  // Clicks the button as the clerk would, if it is enabled.
  void Press();

 signals:
  void clicked();
  void keyReleased(int keyCode);  // the original key codes: 45 Insert, 46 Delete

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> widget_;
};

// Creates the button described by `bag` ("name", "caption", "tooltip", ...)
// as a child of `parent`.
AppButton* CreateButton(QWidget* parent, const QVariantMap& bag);

}  // namespace quorvin::gui
