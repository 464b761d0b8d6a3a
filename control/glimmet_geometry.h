// Geometry of the Glimmet button: focus inset, window shape and the
// caption and picture layout, as functions of plain values.
#pragma once

#include <QFont>
#include <QRegion>

#include "glimmet.h"

namespace glimmet {

// FocusRect for a client area W x H (size change steps 1 and 2).
GLIMMET_EXPORT GlimmetRect FocusRectFor(int buttonType, int w, int h);

// BuildRegion: the window shape.
GLIMMET_EXPORT QRegion BuildRegion(int buttonType, int w, int h);

struct CaptionLayout {
  GlimmetRect start;  // R of step 1 (kept for the next layout)
  GlimmetRect captionRect, pressedCaptionRect;
  int textWidth = 0, textHeight = 0;
};

// Text flags of every caption measurement and drawing: word break, centred,
// "&" marks the access key.
int CaptionTextFlags(bool measuring);

// LayoutCaption steps 1 to 5; `previous` is R of the last layout.
GLIMMET_EXPORT CaptionLayout LayoutCaption(const QString& caption, const QFont& font, int w, int h,
                                           int picturePosition, int pictureWidth, int pictureHeight,
                                           GlimmetRect previous);

// PlacePicture: the picture's top-left corner.
GLIMMET_EXPORT QPoint PlacePicture(const QString& caption, int picturePosition,
                                   const GlimmetRect& captionRect, int w, int h, int pictureWidth,
                                   int pictureHeight);

// UpdateAccessKey: the access key of a caption, lower case, or empty.
GLIMMET_EXPORT QString AccessKeyOf(const QString& caption);

}  // namespace glimmet
