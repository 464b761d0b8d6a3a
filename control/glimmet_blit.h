// The picture compositor of the Glimmet button (BlitPicture).
#pragma once

#include <QImage>
#include <QSize>
#include <QVariant>

#include "glimmet_color.h"

namespace glimmet {

// The natural size of a picture in pixels (MeasurePicture); 0 x 0 for none.
GLIMMET_EXPORT QSize PictureSize(const QVariant& picture);

// Step 2: the source as a w x h RGB32 image. A bitmap without alpha is used
// as it is; an icon, or a bitmap with alpha, is drawn at its natural size onto
// a w x h image filled with `maskColor`. With a device pixel ratio above 1
// the image has that many more pixels each way (an icon drawn at that
// resolution, a bitmap enlarged without blending, so the mask colour stays).
GLIMMET_EXPORT QImage PictureSource(const QVariant& picture, int w, int h, OleColor maskColor,
                                    qreal ratio = 1.0);

struct BlitOptions {
  bool useMaskColor = true;
  OleColor maskValue = 0xC0C0C0;
  qint64 colour = -1;  // silhouette colour, -1 for none
  bool darkOnly = false;
  bool greyscale = false;
  bool fade = false;
};

// Steps 3 to 5 on `surface` (RGB32) at (x, y); `source` comes from PictureSource.
GLIMMET_EXPORT void BlitPicture(QImage& surface, int x, int y, int w, int h, const QImage& source,
                                const BlitOptions& options);

// The greyscale value of step 4 (two roundings to nearest, ties to even).
GLIMMET_EXPORT int GreyOf(int r, int g, int b);

}  // namespace glimmet
