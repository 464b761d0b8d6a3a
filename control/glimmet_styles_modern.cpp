// The gradient and edge styles of the button: Windows XP, Mac, Java metal, KDE 2.
#include "glimmet_painter.h"

using namespace glimmet;

namespace {
constexpr OleColor kXpFrame = Rgb(0, 60, 115);
constexpr OleColor kXpCorner = Rgb(16, 77, 123);
}  // namespace

void GlimmetPainter::StyleWindowsXP(Look look) {
  const OleColor x = pal().XpFaceColor;
  auto xs = [this](OleColor c, int a) { return Shift(c, a, true); };
  auto frameAndCorners = [this](OleColor frame, OleColor corner) {
    cv.Frame(0, 0, W, H, frame);
    cv.Pixel(1, 1, corner), cv.Pixel(1, H - 2, corner);
    cv.Pixel(W - 2, 1, corner), cv.Pixel(W - 2, H - 2, corner);
  };
  if (look == Disabled) {
    cv.Fill(0, 0, W, H, xs(x, -24));
    DrawCaption(5);
    frameAndCorners(xs(x, -84), xs(x, -72));
    return;
  }
  if (look == Down) {
    const OleColor d = xs(x, -32);
    const float step = 25.0f / static_cast<float>(H);
    for (int r = 1; r <= H; ++r) {
      const int amount = static_cast<int>(std::nearbyint(-step * static_cast<float>(r)));
      cv.Line(0, H - r, W, H - r, xs(d, amount));
    }
    DrawCaption(2);
    frameAndCorners(kXpFrame, kXpCorner);
    cv.Line(2, H - 2, W - 2, H - 2, xs(d, 16));
    cv.Line(1, H - 3, W - 2, H - 3, xs(d, 10));
    cv.Line(W - 2, 2, W - 2, H - 2, xs(d, 5));
    cv.Line(W - 3, 3, W - 3, H - 3, x);
    cv.Line(2, 1, W - 2, 1, xs(d, -32));
    cv.Line(1, 2, W - 2, 2, xs(d, -24));
    cv.Line(1, 2, 1, H - 2, xs(d, -32));
    cv.Line(2, 2, 2, H - 2, xs(d, -22));
    return;
  }
  Gradient(x, 25, true);
  DrawCaption(Hover() ? 1 : 0);
  frameAndCorners(kXpFrame, kXpCorner);
  auto ring = [this](OleColor outline, OleColor bottom, OleColor top, OleColor second,
                     OleColor sides) {
    cv.Frame(1, 2, W - 1, H - 2, outline);
    cv.Line(2, H - 2, W - 2, H - 2, bottom);
    cv.Line(2, 1, W - 2, 1, top);
    cv.Line(1, 2, W - 1, 2, second);
    cv.Line(2, 3, 2, H - 3, sides);
    cv.Line(W - 3, 3, W - 3, H - 3, sides);
  };
  if (Hover()) {
    ring(Rgb(255, 178, 49), Rgb(231, 150, 0), Rgb(255, 243, 206), Rgb(255, 219, 140),
         Rgb(255, 203, 107));
  } else if (s.showFocusRect && (s.hasFocus || MarkedDefault())) {
    ring(Rgb(140, 174, 231), Rgb(107, 130, 239), Rgb(206, 231, 255), Rgb(189, 215, 247),
         Rgb(181, 209, 240));
  } else {
    cv.Line(2, H - 2, W - 2, H - 2, xs(x, -48));
    cv.Line(1, H - 3, W - 2, H - 3, xs(x, -32));
    cv.Line(W - 2, 2, W - 2, H - 2, xs(x, -36));
    cv.Line(W - 3, 3, W - 3, H - 3, xs(x, -24));
    cv.Line(2, 1, W - 2, 1, xs(x, 16));
    cv.Line(1, 2, W - 2, 2, xs(x, 10));
    cv.Line(1, 2, 1, H - 2, xs(x, -5));
    cv.Line(2, 3, 2, H - 3, xs(x, -10));
  }
  // The default button wears the focus ring already: the dotted rectangle
  // tells that it has the focus as well.
  if (MarkedDefault()) DrawFocus();
}

void GlimmetPainter::MacEdges() {
  const auto& p = pal();
  cv.Frame(0, 0, W, H, p.DarkShadowColor);
  cv.Pixel(1, 1, p.DarkShadowColor), cv.Pixel(1, H - 2, p.DarkShadowColor);
  cv.Pixel(W - 2, 1, p.DarkShadowColor), cv.Pixel(W - 2, H - 2, p.DarkShadowColor);
  cv.Line(1, 2, 2, 0, p.FaceColor);
  cv.Line(3, 2, W - 3, 2, p.HighlightColor);
  cv.Line(2, 2, 2, H - 3, p.HighlightColor);
  cv.Pixel(3, 3, p.HighlightColor);
  cv.Line(W - 3, 1, W - 3, H - 3, p.FaceColor);
  cv.Line(1, H - 3, W - 3, H - 3, p.FaceColor);
  cv.Pixel(W - 4, H - 4, p.FaceColor);
  cv.Line(W - 2, 2, W - 2, H - 2, p.ShadowColor);
  cv.Line(2, H - 2, W - 2, H - 2, p.ShadowColor);
  cv.Pixel(W - 3, H - 3, p.ShadowColor);
}

void GlimmetPainter::MacDown() {
  const auto& p = pal();
  const OleColor s16 = Shift(p.ShadowColor, -16);
  const OleColor s32 = Shift(p.ShadowColor, -32);
  const OleColor s64 = Shift(p.ShadowColor, -64);
  cv.Fill(1, 1, W - 1, H - 1, s16);
  s.pal.XpFaceColor = s16;
  DrawCaption(2);
  s.pal.XpFaceColor = Shift(p.FaceColor, 48);
  cv.Frame(0, 0, W, H, p.DarkShadowColor);
  cv.Frame(1, 1, W - 1, H - 1, s64);
  cv.Frame(2, 2, W - 2, H - 2, s32);
  cv.Pixel(2, 2, s64);
  cv.Pixel(3, 3, s32);
  cv.Pixel(1, 1, p.DarkShadowColor), cv.Pixel(1, H - 2, p.DarkShadowColor);
  cv.Pixel(W - 2, 1, p.DarkShadowColor), cv.Pixel(W - 2, H - 2, p.DarkShadowColor);
  cv.Line(W - 3, 1, W - 3, H - 3, p.ShadowColor);
  cv.Line(1, H - 3, W - 2, H - 3, p.ShadowColor);
  cv.Pixel(W - 4, H - 4, p.ShadowColor);
  cv.Line(W - 2, 3, W - 2, H - 2, s16);
  cv.Line(3, H - 2, W - 2, H - 2, s16);
  cv.Line(W - 2, H - 3, W - 4, H - 1, s32);
  cv.Pixel(2, H - 2, s32);
  cv.Pixel(W - 2, 2, s32);
}

void GlimmetPainter::StyleMac(Look look) {
  if (look == Down) return MacDown();
  cv.Fill(1, 1, W - 1, H - 1, pal().LightColor);
  DrawCaption(look == Disabled ? 3 : (Hover() ? 1 : 0));
  MacEdges();
}

void GlimmetPainter::StyleJavaMetal(Look look) {
  const auto& p = pal();
  auto focus = [this]() {
    if (!(s.hasFocus && s.showFocusRect)) return;
    const int left = s.captionRect.left - 2, top = s.captionRect.top - 1;
    cv.DrawBox(left, top, s.textWidth + 4, s.textHeight + 2, Rgb(153, 153, 204), true);
  };
  if (look == Up) {
    cv.Fill(1, 1, W, H, Shift(p.FaceColor, 12));
    DrawCaption(Hover() ? 1 : 0);
    cv.Frame(1, 1, W, H, p.HighlightColor);
    cv.Frame(0, 0, W - 1, H - 1, Shift(p.ShadowColor, -26));
    cv.Pixel(1, H - 2, Shift(p.ShadowColor, 26));
    cv.Pixel(W - 2, 1, Shift(p.ShadowColor, 26));
    focus();
  } else if (look == Down) {
    cv.Fill(1, 1, W - 1, H - 1, Shift(p.ShadowColor, 16));
    cv.Frame(0, 0, W - 1, H - 1, Shift(p.ShadowColor, -26));
    cv.Line(W - 1, 1, W - 1, H, p.HighlightColor);
    cv.Line(1, H - 1, W - 1, H - 1, p.HighlightColor);
    DrawText(s.captionRect, p.HoverTextColor);
    focus();
  } else {
    DrawCaption(4);
    cv.Frame(0, 0, W, H, p.ShadowColor);
  }
}

void GlimmetPainter::KdeEdges() {
  const auto& p = pal();
  cv.Frame(0, 0, W, H, Shift(p.ShadowColor, -50));
  cv.Frame(1, 1, W - 1, H - 1, Shift(p.FaceColor, -9));
  cv.Fill(2, 2, W - 2, 4, p.HighlightColor);
  cv.Fill(2, 4, 4, H - 2, p.HighlightColor);
}

void GlimmetPainter::StyleKDE(Look look) {
  const auto& p = pal();
  if (look == Up) {
    if (Hover())
      cv.Fill(0, 0, W, H, p.LightColor);
    else
      Gradient(p.HighlightColor, 58, false);
    DrawCaption(Hover() ? 1 : 0, MarkedDefault());
    KdeEdges();
    DrawFocus();
  } else if (look == Down) {
    cv.Fill(1, 1, W + 1, H + 1, Shift(p.FaceColor, -9));
    cv.Frame(0, 0, W, H, Shift(p.ShadowColor, -48));
    cv.Line(2, H - 2, W - 2, H - 2, p.HighlightColor);
    cv.Line(W - 2, 2, W - 2, H - 1, p.HighlightColor);
    DrawCaption(7);
    DrawFocus();
  } else {
    Gradient(p.HighlightColor, 58, false);
    KdeEdges();
    DrawCaption(6);
  }
}
