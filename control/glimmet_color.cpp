// Turning OLE colours into Qt colours and back, looking system colours up in
// the palette, and lightening, darkening and tinting a colour.
#include "glimmet_color.h"

#include <QApplication>
#include <algorithm>

namespace glimmet {

OleColor FromQColor(const QColor& color) {
  return Rgb(color.red(), color.green(), color.blue());
}

QColor ToQColor(OleColor c) {
  return QColor(Red(c), Green(c), Blue(c));
}

OleColor SystemColorFrom(const QPalette& p, int index) {
  // Qt's palette roles standing in for the platform's system colours.
  switch (index) {
    case kScrollBar:
      return FromQColor(p.color(QPalette::Mid));
    case kBackground:
      return FromQColor(p.color(QPalette::Window));
    case kActiveCaption:
      return FromQColor(p.color(QPalette::Highlight));
    case kInactiveCaption:
      return FromQColor(p.color(QPalette::Mid));
    case kMenu:
      return FromQColor(p.color(QPalette::Window));
    case kWindow:
      return FromQColor(p.color(QPalette::Base));
    case kWindowFrame:
      return FromQColor(p.color(QPalette::Shadow));
    case kMenuText:
      return FromQColor(p.color(QPalette::WindowText));
    case kWindowText:
      return FromQColor(p.color(QPalette::Text));
    case kCaptionText:
      return FromQColor(p.color(QPalette::HighlightedText));
    case kActiveBorder:
    case kInactiveBorder:
      return FromQColor(p.color(QPalette::Button));
    case kAppWorkspace:
      return FromQColor(p.color(QPalette::Dark));
    case kHighlight:
      return FromQColor(p.color(QPalette::Highlight));
    case kHighlightText:
      return FromQColor(p.color(QPalette::HighlightedText));
    case kButtonFace:
      return FromQColor(p.color(QPalette::Button));
    case kButtonShadow:
      return FromQColor(p.color(QPalette::Dark));
    case kGrayText:
      return FromQColor(p.color(QPalette::Disabled, QPalette::Text));
    case kButtonText:
      return FromQColor(p.color(QPalette::ButtonText));
    case kInactiveCaptionText:
      return FromQColor(p.color(QPalette::WindowText));
    case kButtonHighlight:
      return FromQColor(p.color(QPalette::Light));
    case k3DDarkShadow:
      return FromQColor(p.color(QPalette::Shadow));
    case k3DLight:
      return FromQColor(p.color(QPalette::Midlight));
    case kInfoText:
      return FromQColor(p.color(QPalette::ToolTipText));
    case kInfoBackground:
      return FromQColor(p.color(QPalette::ToolTipBase));
    default:
      return 0;
  }
}

OleColor TranslateColor(OleColor color, const QPalette& palette) {
  if (color & kSystemBit) return SystemColorFrom(palette, static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

OleColor TranslateColor(OleColor color) {
  return TranslateColor(color, QApplication::palette());
}

OleColor ShiftColor(OleColor color, int amount, bool blueProportional, bool softBevel) {
  if (softBevel) amount /= 2;  // C++ division truncates toward zero, as the drawing rules ask
  int r = Red(color) + amount;
  int g = Green(color) + amount;
  int b = blueProportional ? Blue(color) + (Blue(color) * amount) / 192 : Blue(color) + amount;
  if (amount > 0) {
    r = std::min(r, 255), g = std::min(g, 255), b = std::min(b, 255);
  } else if (amount < 0) {
    r = std::max(r, 0), g = std::max(g, 0), b = std::max(b, 0);
  }
  return Rgb(r, g, b);
}

OleColor TintColor(OleColor color, int amount) {
  auto tint = [amount](int x) { return std::clamp(amount + ((255 - amount) * x) / 255, 0, 255); };
  return Rgb(tint(Red(color)), tint(Green(color)), tint(Blue(color)));
}

}  // namespace glimmet
