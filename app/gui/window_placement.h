#pragma once
// The main window's size, place and maximized state, kept per user in the
// user's configuration folder (never beside the program, never in the data
// folder) and given back at the next start. A place that lies on no screen
// present now (a monitor unplugged since) is not used: the window comes up
// on the primary screen instead.
#include <QRect>
#include <QString>
#include <utility>

class QWidget;

namespace quorvin::gui {

// The file's name in the user's quorvin configuration folder.
inline constexpr const char* kWindowPlacementFileName = "window.ini";

class WindowPlacement {
 public:
  // Keeps the placement in `file`, an ini file; an empty name keeps nothing.
  explicit WindowPlacement(QString file = {}) : file_(std::move(file)) {}

  // Before the window is first shown.
  void Restore(QWidget* window) const;
  void Save(const QWidget* window) const;

  // Where a window of `saved` geometry goes: there when a fair part of it is
  // on a present screen, else centred on the primary screen, no larger than it.
  static QRect OnAScreen(const QRect& saved);

 private:
  QString file_;
};

}  // namespace quorvin::gui
