// The focus inset and cut-off corners of each button type, and where the
// caption, its access key and the picture go on the button.
#include "glimmet_geometry.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>

namespace glimmet {

GlimmetRect FocusRectFor(int buttonType, int w, int h) {
  GlimmetRect r{0, 0, w, h};
  int inset = 4;
  if (buttonType >= 7 && buttonType <= 13) inset = 3;
  if (buttonType == 14) inset = 5;
  r.left += inset, r.top += inset, r.right -= inset, r.bottom -= inset;
  if (buttonType == 14) r.left += 1, r.top += 1, r.right += 1, r.bottom += 1;
  return r;
}

QRegion BuildRegion(int buttonType, int w, int h) {
  if (buttonType == 13) return QRegion(0, 0, w, h, QRegion::Ellipse);
  QRegion region(0, 0, w, h);
  auto cut = [&region](int x, int y) { region -= QRegion(x, y, 1, 1); };
  switch (buttonType) {
    case 1:
    case 14:
      cut(0, h - 1), cut(w - 1, 0), cut(0, 0), cut(w - 1, h - 1);
      break;
    case 5:
      cut(0, h - 1), cut(w - 1, 0);
      break;
    case 3:
    case 4:
      cut(0, 0), cut(1, 0), cut(0, h - 1), cut(1, h - 1);
      cut(w - 2, 0), cut(w - 1, 0), cut(w - 2, h - 1), cut(w - 1, h - 1);
      cut(0, 1), cut(0, h - 2), cut(w - 1, 1), cut(w - 1, h - 2);
      break;
    default:
      break;
  }
  return region;
}

int CaptionTextFlags(bool measuring) {
  // The original centres each line and asks for vertical centring, which its
  // text routine ignores for word-broken text: lines start at the top.
  return Qt::TextWordWrap | Qt::TextShowMnemonic | Qt::AlignTop |
         (measuring ? Qt::AlignLeft : Qt::AlignHCenter);
}

// The metrics of the surface the caption is drawn on (an image, not a screen).
static QFontMetrics SurfaceMetrics(const QFont& font) {
  static const QImage device(1, 1, QImage::Format_RGB32);
  return QFontMetrics(font, &device);
}

CaptionLayout LayoutCaption(const QString& caption, const QFont& font, int w, int h, int position,
                            int pw, int ph, GlimmetRect previous) {
  CaptionLayout out;
  GlimmetRect r = previous;
  switch (position) {
    case 0:
      r = {pw + 1, 1, w - 2, h - 2};
      break;
    case 1:
      r = {1, 1, w - pw - 2, h - 2};
      break;
    case 2:
      r = {1, ph + 1, w - 2, h - 2};
      break;
    case 3:
      r = {1, 1, w - 2, h - ph - 2};
      break;
    case 4:
      r = {1, 1, w - 2, h - 2};
      break;
    default:
      break;
  }
  out.start = r;
  // Measure: R keeps its left and top and gets the text's right and bottom.
  const QRect area(r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
  const QRect text = caption.isEmpty()
                         ? QRect(r.left, r.top, 0, 0)
                         : SurfaceMetrics(font).boundingRect(area, CaptionTextFlags(true), caption);
  r.right = r.left + text.width();
  r.bottom = r.top + text.height();
  out.textWidth = r.right - r.left;
  out.textHeight = r.bottom - r.top;
  int dx = 0, dy = 0;
  switch (position) {
    case 1:
      dx = (w - r.right - pw - 4) / 2, dy = (h - r.bottom) / 2;
      break;
    case 3:
      dx = (w - r.right) / 2, dy = (h - r.bottom - ph - 4) / 2;
      break;
    case 0:
    case 2:
    case 4:
      dx = (w - r.right) / 2, dy = (h - r.bottom) / 2;
      break;
    default:
      break;
  }
  out.captionRect = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  const GlimmetRect& c = out.captionRect;
  out.pressedCaptionRect = {c.left + 1, c.top + 1, c.right + 1, c.bottom + 1};
  return out;
}

QPoint PlacePicture(const QString& caption, int position, const GlimmetRect& c, int w, int h,
                    int pw, int ph) {
  if (!caption.trimmed().isEmpty() && position != 4) {
    switch (position) {
      case 0:
        return {c.left - pw - 4, (h - ph) / 2};
      case 1:
        return {c.right + 4, (h - ph) / 2};
      case 2:
        return {(w - pw) / 2, c.top - ph - 2};
      case 3:
        return {(w - pw) / 2, c.bottom + 2};
      default:
        break;  // a position outside the enumeration: centred
    }
  }
  return {(w - pw) / 2, (h - ph) / 2};
}

QString AccessKeyOf(const QString& caption) {
  // Positions below are 1-based as in the design; caption[p] is the character after p.
  const qsizetype len = caption.size();
  if (len <= 1) return {};
  const qsizetype p = caption.indexOf(QLatin1Char('&')) + 1;
  if (p == 0 || p >= len) return {};
  if (caption[p] != QLatin1Char('&')) return caption[p].toLower();
  const qsizetype q = caption.indexOf(QLatin1Char('&'), p + 1) + 1;
  if (q == 0 || q >= len) return {};
  if (caption[q] == QLatin1Char('&')) return {};
  return caption[q].toLower();
}

}  // namespace glimmet
