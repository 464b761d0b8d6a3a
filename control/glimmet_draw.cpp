// Redraw and the parts every style shares: captions, focus, pictures.
#include "glimmet_geometry.h"
#include "glimmet_painter.h"

using namespace glimmet;

GlimmetPainter::GlimmetPainter(Glimmet& glimmet, GlimmetState& state)
    : g(glimmet), s(state), cv(state.surface), W(state.clientWidth), H(state.clientHeight) {}

GlimmetPainter::~GlimmetPainter() = default;

QPainter& GlimmetPainter::Text() {
  if (!text_) {
    text_ = std::make_unique<QPainter>(&s.surface);
    text_->setRenderHint(QPainter::Antialiasing, false);
    text_->setFont(g.font());
  }
  return *text_;
}

void Glimmet::Redraw(int state, bool force) {
  auto& s = *d;
  if (s.checkBoxBehaviour && s.value) state = 2;
  if (!(force || s.caption != s.lastCaption || state != s.drawState)) return;
  if (s.clientHeight == 0 || !s.redrawEnabled) return;
  s.drawState = static_cast<quint8>(state);
  s.lastCaption = s.caption;
  // The surface has the screen's device pixels, so that captions and pictures
  // are as sharp as the rest of the window at any scale.
  const qreal ratio = devicePixelRatioF();
  const QSize size(qRound(s.clientWidth * ratio), qRound(s.clientHeight * ratio));
  if (s.surface.size() != size || s.surface.devicePixelRatio() != ratio) {
    s.surface = QImage(size, QImage::Format_RGB32);
    s.surface.setDevicePixelRatio(ratio);
  }
  s.surface.fill(Qt::black);  // clear, and make sure nobody shares the pixels

  const bool swap = s.isHovering && s.colorScheme == Custom;
  const OleColor savedBack = s.backColor;
  if (swap) {
    s.backColor = s.backOver;
    ComputePalette();
  }
  {
    GlimmetPainter painter(*this, s);
    painter.cv.Fill(0, 0, s.clientWidth, s.clientHeight, s.pal.FaceColor);
    if (!s.enabled)
      painter.Paint(GlimmetPainter::Disabled);
    else if (state == 2)
      painter.Paint(GlimmetPainter::Down);
    else if (state == 0)
      painter.Paint(GlimmetPainter::Up);
  }
  if (swap) {
    s.backColor = savedBack;
    ComputePalette();
  }
  update();
}

void GlimmetPainter::Paint(Look look) {
  switch (s.buttonType) {
    case Glimmet::Windows16:
      StyleWindows16(look);
      break;
    case Glimmet::Windows32:
      StyleWindows32(look);
      break;
    case Glimmet::WindowsXP:
      StyleWindowsXP(look);
      break;
    case Glimmet::Mac:
      StyleMac(look);
      break;
    case Glimmet::JavaMetal:
      StyleJavaMetal(look);
      break;
    case Glimmet::Netscape6:
      StyleNetscape(look);
      break;
    case Glimmet::SimpleFlat:
      StyleSimpleFlat(look);
      break;
    case Glimmet::FlatHighlight:
      StyleFlatHighlight(look);
      break;
    case Glimmet::OfficeXP:
      StyleOfficeXP(look);
      break;
    case Glimmet::Transparent:
      StyleTransparent(look);
      break;
    case Glimmet::Hover3D:
      StyleHover3D(look);
      break;
    case Glimmet::OvalFlat:
      StyleOvalFlat(look);
      break;
    case Glimmet::KDE2:
      StyleKDE(look);
      break;
    default:
      break;  // 10 and values outside the enumeration: face and picture only
  }
  DrawPicture(look);
}

void GlimmetPainter::DrawText(const GlimmetRect& r, OleColor c, bool bold) {
  if (s.caption.isEmpty()) return;
  QPainter& p = Text();
  if (bold) {
    QFont f = g.font();
    f.setBold(true);
    p.setFont(f);
  }
  p.setPen(ToQColor(c));
  p.drawText(r.ToQRect(), CaptionTextFlags(false), s.caption);
  if (bold) p.setFont(g.font());
}

void GlimmetPainter::DrawCaptionEffect(const GlimmetRect& r, int style, bool bold) {
  if (s.specialEffect <= 0) return;
  OleColor base = pal().FaceColor;
  const int type = s.buttonType;
  if (type == 3 || type == 4 || type == 14)
    base = pal().XpFaceColor;
  else if (style == 1 && s.colorScheme != Glimmet::Custom && type == 9)
    base = pal().SelectionLightColor;
  const bool engraved = s.specialEffect == Glimmet::cbEngraved;
  const bool embossed = s.specialEffect == Glimmet::cbEmbossed;
  auto moved = [&r](int by) {
    return GlimmetRect{r.left + by, r.top + by, r.right + by, r.bottom + by};
  };
  DrawText(moved(1), Shift(base, engraved ? 40 : -40), bold);
  if (embossed || engraved) DrawText(moved(-1), Shift(base, embossed ? 40 : -40), bold);
}

void GlimmetPainter::DrawCaption(int style, bool bold) {
  s.captionStyle = static_cast<quint8>(style);
  switch (style) {
    case 0:
      DrawCaptionEffect(s.captionRect, style, bold);
      DrawText(s.captionRect, pal().TextColor, bold);
      break;
    case 1:
      DrawCaptionEffect(s.captionRect, style, bold);
      DrawText(s.captionRect, pal().HoverTextColor, bold);
      break;
    case 2:
      DrawCaptionEffect(s.pressedCaptionRect, style, bold);
      DrawText(s.pressedCaptionRect,
               s.buttonType == Glimmet::Mac ? pal().LightColor : pal().HoverTextColor, bold);
      break;
    case 3:
      DrawText(s.pressedCaptionRect, pal().HighlightColor);
      DrawText(s.captionRect, pal().ShadowColor);
      break;
    case 4:
      DrawText(s.captionRect, pal().ShadowColor);
      break;
    case 5:
      DrawText(s.captionRect, Shift(pal().XpFaceColor, -104, true));
      break;
    case 6:
      DrawText(s.pressedCaptionRect, pal().HighlightColor);
      DrawText(s.captionRect, pal().FaceColor);
      break;
    case 7:
      DrawText(s.pressedCaptionRect, Shift(pal().ShadowColor, -50));
      DrawText(s.captionRect, pal().HighlightColor);
      break;
    default:
      break;
  }
}

void GlimmetPainter::DrawFocus() {
  if (s.showFocusRect && s.hasFocus) cv.FocusRect(s.focusRect, pal().TextColor);
}

void GlimmetPainter::Gradient(OleColor base, int n, bool blue) {
  const float step = static_cast<float>(n) / static_cast<float>(H);
  for (int y = 1; y <= H; ++y) {
    const int amount = static_cast<int>(std::nearbyint(-step * static_cast<float>(y)));
    cv.Line(0, y, W, y, Shift(base, amount, blue));
  }
}

void GlimmetPainter::Blit(const QVariant& picture, int d, BlitOptions o) {
  o.useMaskColor = s.useMaskColor;
  o.maskValue = pal().MaskValue;
  const qreal ratio = s.surface.devicePixelRatio();
  const QImage source = PictureSource(picture, s.pictureWidth, s.pictureHeight, s.maskColor, ratio);
  text_.reset();  // the compositor works on the pixels directly
  BlitPicture(s.surface, qRound((s.pictureX + d) * ratio), qRound((s.pictureY + d) * ratio),
              qRound(s.pictureWidth * ratio), qRound(s.pictureHeight * ratio), source, o);
}

void GlimmetPainter::DrawPictureEffect(int d, const QVariant& picture) {
  if (s.specialEffect <= 0) return;
  OleColor base = pal().FaceColor;
  if (s.buttonType == Glimmet::WindowsXP)
    base = pal().XpFaceColor;
  else if (d == -1 && s.colorScheme != Glimmet::Custom)
    base = pal().SelectionLightColor;
  const bool engraved = s.specialEffect == Glimmet::cbEngraved;
  const bool embossed = s.specialEffect == Glimmet::cbEmbossed;
  BlitOptions o;
  o.colour = Shift(base, engraved ? 40 : -40);
  Blit(picture, d + 1, o);
  if (embossed || engraved) {
    o.colour = Shift(base, embossed ? 40 : -40);
    Blit(picture, d - 1, o);
  }
}

void GlimmetPainter::DrawPicture(Look look) {
  if (s.pictureWidth == 0 || s.pictureHeight == 0 || !s.pictureNormal.isValid() ||
      s.pictureNormal.isNull())
    return;
  const QVariant& normal = s.pictureNormal;
  const QVariant& over = s.pictureOver;
  const bool hasOver = over.isValid() && !over.isNull();
  const int type = s.buttonType;
  BlitOptions plain;
  if (look == Up && Hover()) {
    if (type == Glimmet::OfficeXP) {
      DrawPictureEffect(-1, normal);
      BlitOptions shadow;
      shadow.colour = pal().ShadowColor;
      Blit(normal, 1, shadow);
      Blit(normal, -1, plain);
    } else {
      DrawPictureEffect(0, hasOver ? over : normal);
      Blit(hasOver ? over : normal, 0, plain);
    }
  } else if (look == Up) {
    DrawPictureEffect(0, normal);
    BlitOptions o;
    o.greyscale = s.useGreyscale;
    o.fade = type == Glimmet::OfficeXP;
    Blit(normal, 0, o);
  } else if (look == Down) {
    if (hasOver && type != Glimmet::OfficeXP) {
      Blit(over, type == Glimmet::JavaMetal ? 0 : 1, plain);
    } else if (type != Glimmet::JavaMetal && type != Glimmet::OfficeXP) {
      DrawPictureEffect(1, normal);
      Blit(normal, 1, plain);
    } else {
      DrawPictureEffect(0, normal);
      Blit(normal, 0, plain);
    }
  } else {
    BlitOptions o;
    if (type == Glimmet::WindowsXP) {
      o.greyscale = true;
      Blit(normal, 1, o);
    } else if (type == Glimmet::JavaMetal || type == Glimmet::Netscape6 ||
               type == Glimmet::OfficeXP) {
      o.darkOnly = true;
      o.colour = type == Glimmet::OfficeXP ? Shift(pal().ShadowColor, 13) : pal().ShadowColor;
      Blit(normal, 0, o);
    } else {
      o.darkOnly = true;
      o.colour = pal().HighlightColor;
      Blit(normal, 1, o);
      o.colour = pal().ShadowColor;
      Blit(normal, 0, o);
    }
  }
  if (s.picturePosition == Glimmet::cbBackground) DrawCaption(s.captionStyle);
}
