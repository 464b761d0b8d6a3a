// Pixel-exact drawing primitives of the Glimmet surface: every line
// and pixel lands where the design puts it, without antialiasing.
// Coordinates are the button's pixels; on a surface with a device pixel
// ratio above 1 each of them covers its whole block of device pixels.
#pragma once

#include <QImage>

#include "glimmet.h"

namespace glimmet {

class GLIMMET_EXPORT Canvas {
 public:
  explicit Canvas(QImage& image) : image_(image), ratio_(image.devicePixelRatio()) {}

  void Pixel(int x, int y, OleColor c);
  // A 1-pixel line from (x1, y1) up to, not including, (x2, y2).
  void Line(int x1, int y1, int x2, int y2, OleColor c);
  // Fill the rectangle (left, top)-(right, bottom), right and bottom exclusive.
  void Fill(int left, int top, int right, int bottom, OleColor c);
  // Outline the same rectangle: its outermost pixels.
  void Frame(int left, int top, int right, int bottom, OleColor c);
  // DrawBox(x, y, width, height, colour, frameOnly).
  void DrawBox(int x, int y, int width, int height, OleColor c, bool frameOnly);
  // DrawBevel on a W x H surface (k is 0 or 1).
  void DrawBevel(int w, int h, OleColor c1, OleColor c2, OleColor c3, OleColor c4, int k,
                 bool outerOnly);
  // The dotted focus rectangle: every other border pixel inverted, the
  // others combined with the text colour by exclusive or.
  void FocusRect(const GlimmetRect& r, OleColor textColor);

 private:
  void Run(int x, int y, int dx, int dy, int count, OleColor c);
  // The first device pixel of button pixel v.
  int Device(int v) const { return ratio_ == 1.0 ? v : qRound(v * ratio_); }
  // Applies `apply` to every device pixel of the button pixels
  // (left, top)-(right, bottom), clipped to the surface.
  template <typename Apply>
  void Cover(int left, int top, int right, int bottom, Apply apply);
  QImage& image_;
  const qreal ratio_;
};

}  // namespace glimmet
