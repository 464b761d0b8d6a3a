// The private state of one Glimmet (its internal per-instance state).
#pragma once

#include <QImage>
#include <QRegion>
#include <QTimer>
#include <QVariant>

#include "glimmet.h"

struct GlimmetState {
  // Properties.
  qint32 buttonType = Glimmet::Windows32;
  QString caption;
  bool enabled = true;
  qint32 colorScheme = Glimmet::UseWindows;
  bool showFocusRect = true;
  glimmet::OleColor backColor = 0, backOver = 0, foreColor = 0, foreOver = 0;
  glimmet::OleColor maskColor = 0xC0C0C0;
  qint16 mousePointer = 0;
  QVariant mouseIcon, pictureNormal, pictureOver;
  bool useMaskColor = true;
  bool softBevel = false;
  qint32 picturePosition = Glimmet::cbLeft;
  bool useGreyscale = false;
  qint32 specialEffect = Glimmet::cbNone;
  bool handPointer = false;
  bool checkBoxBehaviour = false;
  bool value = false;
  QString accessKey;
  int accessShortcut = 0;  // id of the grabbed Alt+key shortcut

  // The container's ambient properties.
  bool userMode = true;
  bool displayAsDefault = false;

  // Paint and interaction state.
  quint8 drawState = 0;
  QString lastCaption;
  bool isHovering = false;
  bool hasFocus = false;
  quint8 lastMouseButton = 0;
  quint8 lastKeyCode = 0;
  bool redrawEnabled = true;
  bool resizeSuspended = false;
  quint8 captionStyle = 0;
  int clientWidth = 0, clientHeight = 0;
  bool clickAfterRelease = false;  // the release may complete a click
  bool buttonDown = false;         // a press is being held

  QRegion buttonRegion;
  QImage backgroundImage;  // "Transparent" only
  QImage surface;          // the persistent drawing surface

  // Palette and geometry.
  GlimmetPalette pal;
  GlimmetRect focusRect, captionRect, pressedCaptionRect;
  GlimmetRect layoutStart;  // R of LayoutCaption, kept for positions outside the enum
  int textWidth = 0, textHeight = 0;
  int pictureX = 0, pictureY = 0, pictureWidth = 0, pictureHeight = 0;

  QTimer overTimer;
};
