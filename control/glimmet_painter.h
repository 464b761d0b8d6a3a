// One paint of a Glimmet: the state Redraw works on while it runs.
#pragma once

#include <QPainter>
#include <memory>

#include "glimmet_blit.h"
#include "glimmet_canvas.h"
#include "glimmet_state.h"

struct GlimmetPainter {
  enum Look { Up = 0, Down = 1, Disabled = 2 };

  GlimmetPainter(Glimmet& glimmet, GlimmetState& state);
  ~GlimmetPainter();

  Glimmet& g;
  GlimmetState& s;
  glimmet::Canvas cv;
  const int W, H;

  const GlimmetPalette& pal() const { return s.pal; }
  glimmet::OleColor Shift(glimmet::OleColor c, int amount, bool blue = false) const {
    return glimmet::ShiftColor(c, amount, blue, s.softBevel);
  }
  bool Hover() const { return s.isHovering; }
  // The container marks the control as its default button. Focus alone does
  // not: only the XP look treats a focused button like the default one.
  bool MarkedDefault() const { return s.displayAsDefault; }

  // Step 6 and 7 of Redraw for one look.
  void Paint(Look look);

  // Captions, focus and pictures (glimmet_draw.cpp).
  void DrawCaption(int style, bool bold = false);
  void DrawText(const GlimmetRect& r, glimmet::OleColor c, bool bold = false);
  void DrawCaptionEffect(const GlimmetRect& r, int style, bool bold);
  void DrawFocus();
  void DrawPicture(Look look);
  void DrawPictureEffect(int d, const QVariant& picture);
  void Blit(const QVariant& picture, int d, glimmet::BlitOptions o);
  void Gradient(glimmet::OleColor base, int n, bool blue);

  // The looks of each style (glimmet_styles_*.cpp); return false to skip
  // the caption for out-of-range styles.
  void StyleWindows16(Look look);
  void StyleWindows32(Look look);
  void StyleWindowsXP(Look look);
  void StyleMac(Look look);
  void MacEdges();
  void MacDown();
  void StyleJavaMetal(Look look);
  void StyleNetscape(Look look);
  void StyleSimpleFlat(Look look);
  void StyleFlatHighlight(Look look);
  void StyleOfficeXP(Look look);
  void StyleTransparent(Look look);
  void StyleHover3D(Look look);
  void StyleOvalFlat(Look look);
  void StyleKDE(Look look);
  void KdeEdges();

 private:
  QPainter& Text();
  std::unique_ptr<QPainter> text_;
};
