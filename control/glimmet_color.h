// Colour arithmetic of the Glimmet button. Colours are OLE colours:
// plain RGB as 0x00BBGGRR, or a system colour as 0x80000000 | index.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

#include "glimmet_export.h"

namespace glimmet {

using OleColor = std::uint32_t;

constexpr OleColor Rgb(int r, int g, int b) {
  return static_cast<OleColor>(r) | (static_cast<OleColor>(g) << 8) |
         (static_cast<OleColor>(b) << 16);
}
constexpr int Red(OleColor c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int Green(OleColor c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int Blue(OleColor c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// System colour indexes of the original platform, as OLE colours.
constexpr OleColor kSystemBit = 0x80000000u;
enum SystemColorIndex {
  kScrollBar = 0,
  kBackground = 1,
  kActiveCaption = 2,
  kInactiveCaption = 3,
  kMenu = 4,
  kWindow = 5,
  kWindowFrame = 6,
  kMenuText = 7,
  kWindowText = 8,
  kCaptionText = 9,
  kActiveBorder = 10,
  kInactiveBorder = 11,
  kAppWorkspace = 12,
  kHighlight = 13,
  kHighlightText = 14,
  kButtonFace = 15,
  kButtonShadow = 16,
  kGrayText = 17,
  kButtonText = 18,
  kInactiveCaptionText = 19,
  kButtonHighlight = 20,
  k3DDarkShadow = 21,
  k3DLight = 22,
  kInfoText = 23,
  kInfoBackground = 24
};
constexpr OleColor SystemColor(int index) {
  return kSystemBit | static_cast<OleColor>(index);
}

// The system colour `index` taken from a Qt palette (Qt's palette stands in
// for the platform's system colours).
GLIMMET_EXPORT OleColor SystemColorFrom(const QPalette& palette, int index);

// TranslateColor: a system colour becomes its plain RGB value from the
// application palette; a plain colour keeps its low 24 bits.
GLIMMET_EXPORT OleColor TranslateColor(OleColor color);
GLIMMET_EXPORT OleColor TranslateColor(OleColor color, const QPalette& palette);

// ShiftColor(c, a, blueProportional); softBevel halves `amount` first,
// truncating toward zero.
GLIMMET_EXPORT OleColor ShiftColor(OleColor color, int amount, bool blueProportional = false,
                                   bool softBevel = false);
GLIMMET_EXPORT OleColor TintColor(OleColor color, int amount);

GLIMMET_EXPORT QColor ToQColor(OleColor plainRgb);
GLIMMET_EXPORT OleColor FromQColor(const QColor& color);
// 0xAARRGGBB with opaque alpha, as a QImage::Format_RGB32 pixel.
constexpr std::uint32_t ToPixel(OleColor c) {
  return 0xFF000000u | (static_cast<std::uint32_t>(Red(c)) << 16) |
         (static_cast<std::uint32_t>(Green(c)) << 8) | static_cast<std::uint32_t>(Blue(c));
}
constexpr OleColor FromPixel(std::uint32_t p) {
  return Rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
             static_cast<int>(p & 0xFF));
}

}  // namespace glimmet
