#pragma once
// Fonts shared by the windows.
#include <QFont>
#include <QFontDatabase>

namespace quorvin::gui {

// The windows' sans font: Tahoma where installed, else a close relative.
inline QFont WindowFont() {
  QFont font;
  font.setFamilies({"Tahoma", "Liberation Sans", "DejaVu Sans", "Sans Serif"});
  font.setPointSizeF(9);
  return font;
}

// Fixed-pitch text that must line up (reports, holding messages).
inline QFont FixedPitchFont(double pointSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setFamilies({"Lucida Console", "DejaVu Sans Mono", "Liberation Mono", "Monospace"});
  font.setPointSizeF(pointSize);
  return font;
}

}  // namespace quorvin::gui
