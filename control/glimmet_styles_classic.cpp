// The frame styles of the button: Windows 16/32-bit, Netscape, the flat styles,
// Office XP, Transparent, 3D Hover and Oval Flat.
#include "glimmet_painter.h"

using namespace glimmet;

void GlimmetPainter::StyleWindows16(Look look) {
  const auto& p = pal();
  if (look == Down) {
    DrawCaption(2);
    cv.DrawBevel(W, H, p.ShadowColor, p.HighlightColor, p.ShadowColor, p.HighlightColor, 1, false);
    cv.Frame(0, 0, W, H, p.DarkShadowColor);
    DrawFocus();
    return;
  }
  DrawCaption(look == Disabled ? 3 : (Hover() ? 1 : 0));
  cv.DrawBevel(W, H, p.HighlightColor, p.ShadowColor, p.HighlightColor, p.ShadowColor, 1, false);
  cv.Frame(0, 0, W, H, p.DarkShadowColor);
  if (look == Up) DrawFocus();
}

void GlimmetPainter::StyleWindows32(Look look) {
  const auto& p = pal();
  const bool marked = s.showFocusRect && MarkedDefault();
  if (look == Up) {
    DrawCaption(Hover() ? 1 : 0);
    if (marked) {
      cv.DrawBevel(W, H, p.HighlightColor, p.DarkShadowColor, p.LightColor, p.ShadowColor, 1,
                   false);
      DrawFocus();
      cv.Frame(0, 0, W, H, p.DarkShadowColor);
    } else {
      cv.DrawBevel(W, H, p.HighlightColor, p.DarkShadowColor, p.LightColor, p.ShadowColor, 0,
                   false);
    }
  } else if (look == Down) {
    DrawCaption(2);
    if (marked) {
      cv.Frame(0, 0, W, H, p.DarkShadowColor);
      cv.Frame(1, 1, W - 1, H - 1, p.ShadowColor);
      DrawFocus();
    } else {
      cv.DrawBevel(W, H, p.DarkShadowColor, p.HighlightColor, p.ShadowColor, p.LightColor, 0,
                   false);
    }
  } else {
    DrawCaption(3);
    cv.DrawBevel(W, H, p.HighlightColor, p.DarkShadowColor, p.LightColor, p.ShadowColor, 0, false);
  }
}

void GlimmetPainter::StyleNetscape(Look look) {
  const auto& p = pal();
  const OleColor l8 = Shift(p.LightColor, 8);
  if (look == Down) {
    DrawCaption(2);
    cv.DrawBevel(W, H, p.ShadowColor, l8, p.ShadowColor, l8, 0, false);
    DrawFocus();
    return;
  }
  DrawCaption(look == Disabled ? 4 : (Hover() ? 1 : 0));
  cv.DrawBevel(W, H, l8, p.ShadowColor, l8, p.ShadowColor, 0, false);
  if (look == Up) DrawFocus();
}

void GlimmetPainter::StyleSimpleFlat(Look look) {
  const auto& p = pal();
  if (look == Down) {
    DrawCaption(2);
    cv.DrawBevel(W, H, p.ShadowColor, p.HighlightColor, 0, 0, 0, true);
    DrawFocus();
    return;
  }
  DrawCaption(look == Disabled ? 3 : (Hover() ? 1 : 0));
  cv.DrawBevel(W, H, p.HighlightColor, p.ShadowColor, 0, 0, 0, true);
  if (look == Up) DrawFocus();
}

void GlimmetPainter::StyleFlatHighlight(Look look) {
  const auto& p = pal();
  if (look == Up) {
    DrawCaption(Hover() ? 1 : 0);
    if (Hover()) cv.DrawBevel(W, H, p.HighlightColor, p.ShadowColor, 0, 0, 0, true);
    DrawFocus();
  } else if (look == Down) {
    DrawCaption(2);
    cv.DrawBevel(W, H, p.ShadowColor, p.HighlightColor, 0, 0, 0, true);
    DrawFocus();
  } else {
    DrawCaption(3);
  }
}

void GlimmetPainter::StyleOfficeXP(Look look) {
  const auto& p = pal();
  if (look == Up) {
    if (Hover()) cv.Fill(1, 1, W + 1, H + 1, p.SelectionLightColor);
    DrawCaption(Hover() ? 1 : 0);
    if (Hover()) cv.Frame(0, 0, W, H, p.SelectionColor);
    DrawFocus();
  } else if (look == Down) {
    if (Hover())
      cv.Fill(0, 0, W, H,
              s.colorScheme == Glimmet::Custom ? Shift(p.SelectionLightColor, -32)
                                               : TintColor(p.SelectionColor, 128));
    DrawCaption(2);
    cv.Frame(0, 0, W, H, p.SelectionColor);
    DrawFocus();
  } else {
    DrawCaption(4);
  }
}

void GlimmetPainter::StyleTransparent(Look look) {
  if (!s.backgroundImage.isNull()) {
    QPainter& p = Text();
    p.drawImage(0, 0, s.backgroundImage);
  }
  if (look == Up) {
    DrawCaption(Hover() ? 1 : 0);
    DrawFocus();
  } else if (look == Down) {
    DrawCaption(2);
    DrawFocus();
  } else {
    DrawCaption(3);
  }
}

void GlimmetPainter::StyleHover3D(Look look) {
  const auto& p = pal();
  if (look == Up) {
    DrawCaption(Hover() ? 1 : 0);
    if (Hover())
      cv.DrawBevel(W, H, p.HighlightColor, p.DarkShadowColor, p.LightColor, p.ShadowColor, 0,
                   false);
    DrawFocus();
  } else if (look == Down) {
    DrawCaption(2);
    cv.DrawBevel(W, H, p.DarkShadowColor, p.HighlightColor, p.ShadowColor, p.LightColor, 0, false);
    DrawFocus();
  } else {
    DrawCaption(3);
  }
}

void GlimmetPainter::StyleOvalFlat(Look look) {
  const auto& p = pal();
  auto ellipse = [this](OleColor pen, OleColor fill) {
    QPainter& painter = Text();
    painter.setPen(QPen(ToQColor(pen), 2));
    painter.setBrush(ToQColor(fill));
    // The 2-pixel pen stays inside (0, 0)-(W, H) as the platform's ellipse does.
    painter.drawEllipse(QRectF(1, 1, W - 2, H - 2));
    painter.setBrush(Qt::NoBrush);
  };
  if (look == Up) {
    ellipse(Hover() ? p.ShadowColor : p.FaceColor, p.FaceColor);
    DrawCaption(Hover() ? 1 : 0);
  } else if (look == Down) {
    ellipse(p.DarkShadowColor, Shift(p.FaceColor, -32));
    DrawCaption(2);
  } else {
    DrawCaption(3);
  }
}
