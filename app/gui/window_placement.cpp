// Reading and writing the main window's placement with QSettings, and
// keeping it on a screen that is there.
#include "gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace quorvin::gui {
namespace {

constexpr const char* kGroup = "MainWindow";
// The part of a window that must be on a screen for its place to be kept:
// enough to see it and take it by its title.
constexpr int kSeenWidth = 120, kSeenHeight = 60;

}  // namespace

QRect WindowPlacement::OnAScreen(const QRect& saved) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect seen = screen->availableGeometry().intersected(saved);
    if (seen.width() >= std::min(kSeenWidth, saved.width()) &&
        seen.height() >= std::min(kSeenHeight, saved.height()))
      return saved;
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return saved;
  const QRect room = primary->availableGeometry();
  QRect placed(QPoint(0, 0), saved.size().boundedTo(room.size()));
  placed.moveCenter(room.center());
  return placed;
}

void WindowPlacement::Restore(QWidget* window) const {
  if (file_.isEmpty()) return;
  QSettings settings(file_, QSettings::IniFormat);
  settings.beginGroup(kGroup);
  const QRect saved = settings.value("Geometry").toRect();
  const bool maximized = settings.value("Maximized", false).toBool();
  settings.endGroup();
  if (saved.width() <= 0 || saved.height() <= 0) return;
  window->setGeometry(OnAScreen(saved));
  if (maximized) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void WindowPlacement::Save(const QWidget* window) const {
  if (file_.isEmpty()) return;
  QSettings settings(file_, QSettings::IniFormat);
  settings.beginGroup(kGroup);
  // A maximized window keeps the place it goes back to when restored.
  settings.setValue("Geometry",
                    window->isMaximized() ? window->normalGeometry() : window->geometry());
  settings.setValue("Maximized", window->isMaximized());
  settings.endGroup();
  settings.sync();
}

}  // namespace quorvin::gui
