// The canvas's pixels, lines, boxes, bevels and focus rectangle, each drawn
// straight into the image pixel by pixel.
#include "glimmet_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace glimmet {

template <typename Apply>
void Canvas::Cover(int left, int top, int right, int bottom, Apply apply) {
  const int x1 = std::max(Device(left), 0), y1 = std::max(Device(top), 0);
  const int x2 = std::min(Device(right), image_.width());
  const int y2 = std::min(Device(bottom), image_.height());
  for (int y = y1; y < y2; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    for (int x = x1; x < x2; ++x) apply(line[x]);
  }
}

void Canvas::Pixel(int x, int y, OleColor c) {
  if (ratio_ != 1.0) {
    const std::uint32_t p = ToPixel(c);
    Cover(x, y, x + 1, y + 1, [p](std::uint32_t& d) { d = p; });
    return;
  }
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  reinterpret_cast<std::uint32_t*>(image_.scanLine(y))[x] = ToPixel(c);
}

void Canvas::Run(int x, int y, int dx, int dy, int count, OleColor c) {
  for (int i = 0; i < count; ++i, x += dx, y += dy) Pixel(x, y, c);
}

void Canvas::Line(int x1, int y1, int x2, int y2, OleColor c) {
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  const int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
  if (dy == 0) return Run(x1, y1, sx, 0, dx, c);
  if (dx == 0) return Run(x1, y1, 0, sy, dy, c);
  // Bresenham along the major axis, the end point left out.
  int err = (dx > dy ? dx : -dy) / 2;
  for (int x = x1, y = y1; !(x == x2 && y == y2);) {
    Pixel(x, y, c);
    const int e = err;
    if (e > -dx) err -= dy, x += sx;
    if (e < dy) err += dx, y += sy;
  }
}

void Canvas::Fill(int left, int top, int right, int bottom, OleColor c) {
  if (ratio_ != 1.0) {
    const std::uint32_t p = ToPixel(c);
    Cover(left, top, right, bottom, [p](std::uint32_t& d) { d = p; });
    return;
  }
  left = std::max(left, 0), top = std::max(top, 0);
  right = std::min(right, image_.width()), bottom = std::min(bottom, image_.height());
  const std::uint32_t p = ToPixel(c);
  for (int y = top; y < bottom; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    std::fill(line + left, line + std::max(left, right), p);
  }
}

void Canvas::Frame(int left, int top, int right, int bottom, OleColor c) {
  if (right <= left || bottom <= top) return;
  Run(left, top, 1, 0, right - left, c);
  Run(left, bottom - 1, 1, 0, right - left, c);
  Run(left, top, 0, 1, bottom - top, c);
  Run(right - 1, top, 0, 1, bottom - top, c);
}

void Canvas::DrawBox(int x, int y, int width, int height, OleColor c, bool frameOnly) {
  if (frameOnly)
    Frame(x, y, x + width, y + height, c);
  else
    Fill(x, y, x + width, y + height, c);
}

void Canvas::DrawBevel(int w, int h, OleColor c1, OleColor c2, OleColor c3, OleColor c4, int k,
                       bool outerOnly) {
  const int e = k, r = w - 1 - k, b = h - 1 - k;
  // Runs are inclusive of both ends here, as the design lists them.
  auto column = [this](int x, int from, int to, OleColor c) {
    if (to >= from) Run(x, from, 0, 1, to - from + 1, c);
  };
  auto row = [this](int y, int from, int to, OleColor c) {
    if (to >= from) Run(from, y, 1, 0, to - from + 1, c);
  };
  column(e, e + 1, b, c1);
  row(e, e, r - 1, c1);
  column(r, e, b - 1, c2);
  row(b, e, r, c2);
  if (outerOnly) return;
  column(e + 1, e + 2, b - 1, c3);
  row(e + 1, e + 1, r - 2, c3);
  column(r - 1, e + 1, b - 2, c4);
  row(b - 1, e + 1, r - 1, c4);
}

void Canvas::FocusRect(const GlimmetRect& r, OleColor textColor) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const std::uint32_t text = ToPixel(textColor) & 0xFFFFFF;
  auto dot = [&](int x, int y) {
    const std::uint32_t mask = ((x + y) % 2 == 0) ? 0xFFFFFFu : text;
    if (ratio_ != 1.0) return Cover(x, y, x + 1, y + 1, [mask](std::uint32_t& d) { d ^= mask; });
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    auto& p = reinterpret_cast<std::uint32_t*>(image_.scanLine(y))[x];
    p ^= ((x + y) % 2 == 0) ? 0xFFFFFFu : text;
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    if (r.right - 1 > r.left) dot(r.right - 1, y);
  }
}

}  // namespace glimmet
