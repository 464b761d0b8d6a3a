// Loading a button's picture and measuring it, then copying it onto the
// button's surface, skipping the mask colour, greyed or as a silhouette.
#include "glimmet_blit.h"

#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace glimmet {

static QImage LoadedImage(const QVariant& picture) {
  if (picture.canConvert<QImage>() && picture.typeId() == QMetaType::QImage)
    return picture.value<QImage>();
  if (picture.typeId() == QMetaType::QPixmap) return picture.value<QPixmap>().toImage();
  if (picture.typeId() == QMetaType::QString) return QImage(picture.toString());
  return {};
}

QSize PictureSize(const QVariant& picture) {
  if (!picture.isValid() || picture.isNull()) return {0, 0};
  if (picture.typeId() == QMetaType::QIcon) {
    const QIcon icon = picture.value<QIcon>();
    if (icon.isNull()) return {0, 0};
    const QList<QSize> sizes = icon.availableSizes();
    return sizes.isEmpty() ? QSize(32, 32) : sizes.first();
  }
  if (picture.typeId() == QMetaType::QString) {
    QImageReader reader(picture.toString());
    const QSize size = reader.size();
    return size.isValid() ? size : QSize(0, 0);
  }
  const QImage image = LoadedImage(picture);
  return image.isNull() ? QSize(0, 0) : image.size();
}

QImage PictureSource(const QVariant& picture, int w, int h, OleColor maskColor, qreal ratio) {
  if (w <= 0 || h <= 0) return {};
  auto maskCanvas = [&] {
    QImage canvas(qRound(w * ratio), qRound(h * ratio), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(ToQColor(TranslateColor(maskColor)));
    return canvas;
  };
  if (picture.typeId() == QMetaType::QIcon) {
    const QIcon icon = picture.value<QIcon>();
    QImage canvas = maskCanvas();
    QPainter p(&canvas);
    const QSize natural = PictureSize(picture);
    icon.paint(&p, QRect(QPoint(0, 0), natural), Qt::AlignLeft | Qt::AlignTop);
    return canvas;
  }
  const QImage image = LoadedImage(picture);
  if (image.isNull()) return {};
  if (!image.hasAlphaChannel() && ratio == 1.0) return image.convertToFormat(QImage::Format_RGB32);
  if (!image.hasAlphaChannel())
    return image.convertToFormat(QImage::Format_RGB32)
        .scaled(qRound(image.width() * ratio), qRound(image.height() * ratio),
                Qt::IgnoreAspectRatio, Qt::FastTransformation);
  QImage canvas = maskCanvas();
  QPainter p(&canvas);
  p.drawImage(0, 0, image);
  return canvas;
}

int GreyOf(int r, int g, int b) {
  // Rounding to nearest with ties to even, as the original's conversions do.
  const double r3 = std::nearbyint(0.3 * r);
  return static_cast<int>(std::nearbyint(r3 + 0.59 * g + 0.11 * b));
}

void BlitPicture(QImage& surface, int x, int y, int w, int h, const QImage& source,
                 const BlitOptions& o) {
  if (w <= 0 || h <= 0 || source.isNull() || surface.isNull()) return;
  Q_ASSERT(surface.format() == QImage::Format_RGB32 && source.format() == QImage::Format_RGB32);
  const int rows = std::min(h, source.height());
  const int cols = std::min(w, source.width());
  const std::uint32_t silhouette = o.colour >= 0 ? ToPixel(static_cast<OleColor>(o.colour)) : 0;
  for (int j = 0; j < rows; ++j) {
    const int dy = y + j;
    if (dy < 0 || dy >= surface.height()) continue;
    const auto* src = reinterpret_cast<const std::uint32_t*>(source.constScanLine(j));
    auto* dst = reinterpret_cast<std::uint32_t*>(surface.scanLine(dy));
    for (int i = 0; i < cols; ++i) {
      const int dx = x + i;
      if (dx < 0 || dx >= surface.width()) continue;
      const OleColor p = FromPixel(src[i]);
      if (o.useMaskColor && p == o.maskValue) continue;
      const int r = Red(p), g = Green(p), b = Blue(p);
      if (o.colour >= 0) {
        if (o.darkOnly && r + g + b > 384) continue;
        dst[dx] = silhouette;
      } else if (o.greyscale) {
        const int grey = GreyOf(r, g, b);
        dst[dx] = ToPixel(Rgb(grey, grey, grey));
      } else if (o.fade) {
        const OleColor under = FromPixel(dst[dx]);
        dst[dx] = ToPixel(
            Rgb((2 * r + Red(under)) / 3, (2 * g + Green(under)) / 3, (2 * b + Blue(under)) / 3));
      } else {
        dst[dx] = ToPixel(p);
      }
    }
  }
}

}  // namespace glimmet
