#include "SkinArtPaint.h"

#include <algorithm>
#include <cmath>

namespace corvane::tools {

Pixel Mix(Pixel a, Pixel b, double t) {
  auto channel = [&](int shift) {
    const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    return static_cast<int>(std::lround(ca + (cb - ca) * t));
  };
  return Rgb(channel(16), channel(8), channel(0));
}

void FillRect(SurfaceView v, Rect r, Pixel p) { v.Sub(r).Fill(p); }

void VerticalGradient(SurfaceView v, Rect r, Pixel top, Pixel bottom) {
  const Rect c = r.Intersect(v.Bounds());
  for (int y = c.top; y < c.bottom; ++y) {
    const double t = r.Height() > 1 ? double(y - r.top) / (r.Height() - 1) : 0.0;
    const Pixel p = Mix(top, bottom, t);
    for (int x = c.left; x < c.right; ++x) v.At(x, y) = p;
  }
}

void HorizontalGradient(SurfaceView v, Rect r, Pixel left, Pixel right) {
  const Rect c = r.Intersect(v.Bounds());
  for (int x = c.left; x < c.right; ++x) {
    const double t = r.Width() > 1 ? double(x - r.left) / (r.Width() - 1) : 0.0;
    const Pixel p = Mix(left, right, t);
    for (int y = c.top; y < c.bottom; ++y) v.At(x, y) = p;
  }
}

void PaintBox(SurfaceView v, const Look& look, Pixel outside) {
  const int w = v.width, h = v.height;
  if (w < 3 || h < 3) {
    v.Fill(look.border);
    return;
  }
  VerticalGradient(v, {1, 1, w - 1, h - 1}, look.top, look.bottom);
  if (look.gloss && h > 4) FillRect(v, {1, 1, w - 1, 2}, Mix(look.top, Rgb(255, 255, 255), 0.7));
  FillRect(v, {0, 0, w, 1}, look.border);
  FillRect(v, {0, h - 1, w, h}, look.border);
  FillRect(v, {0, 0, 1, h}, look.border);
  FillRect(v, {w - 1, 0, w, h}, look.border);
  const Point corners[4] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
  const Point inner[4] = {{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}};
  for (int i = 0; i < 4; ++i) {
    v.At(corners[i].x, corners[i].y) = outside;
    Pixel& p = v.At(inner[i].x, inner[i].y);
    p = Mix(p, look.border, 0.5);
  }
}

void PaintBoxScaled(SurfaceView v, const Look& look, Pixel outside, int line, int radius) {
  const int w = v.width, h = v.height;
  if (w <= 2 * line || h <= 2 * line) {
    v.Fill(look.border);
    return;
  }
  VerticalGradient(v, {line, line, w - line, h - line}, look.top, look.bottom);
  if (look.gloss && h > 4 * line)
    FillRect(v, {line, line, w - line, 2 * line}, Mix(look.top, Rgb(255, 255, 255), 0.7));
  FillRect(v, {0, 0, w, line}, look.border);
  FillRect(v, {0, h - line, w, h}, look.border);
  FillRect(v, {0, 0, line, h}, look.border);
  FillRect(v, {w - line, 0, w, h}, look.border);
  RoundCorners(v, kAllCorners, radius, line, look.border, outside);
}

void RoundCorners(SurfaceView v, int corners, int radius, int line, Pixel border, Pixel outside) {
  constexpr int kSamples = 4;
  const double r = radius;
  for (int c = 0; c < 4; ++c) {
    if (!(corners & (1 << c))) continue;
    const bool left = c == 0 || c == 2, top = c < 2;
    for (int dy = 0; dy < radius && dy < v.height; ++dy)
      for (int dx = 0; dx < radius && dx < v.width; ++dx) {
        // (dx, dy) counts inwards from the corner; the circle's centre
        // sits radius pixels in along both axes.
        Pixel& p = v.At(left ? dx : v.width - 1 - dx, top ? dy : v.height - 1 - dy);
        if (std::hypot(dx + 0.5 - r, dy + 0.5 - r) > r) {
          p = outside;
          continue;
        }
        int ring = 0;
        for (int sy = 0; sy < kSamples; ++sy)
          for (int sx = 0; sx < kSamples; ++sx) {
            const double d = std::hypot(dx + (sx + 0.5) / kSamples - r, dy + (sy + 0.5) / kSamples - r);
            if (d > r - line) ++ring;
          }
        p = Mix(p, border, double(ring) / (kSamples * kSamples));
      }
  }
}

void PaintShape(SurfaceView v, Rect box, const ShapeTest& inside, Pixel ink, Pixel behind) {
  constexpr int kSamples = 5;
  const Rect c = box.Intersect(v.Bounds());
  for (int y = c.top; y < c.bottom; ++y)
    for (int x = c.left; x < c.right; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
      if (hits == 0) continue;
      Pixel& q = v.At(x, y);
      q = Mix(q == kKey ? behind : q, ink, double(hits) / (kSamples * kSamples));
    }
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double vx = bx - ax, vy = by - ay;
  const double length2 = vx * vx + vy * vy;
  const double t = length2 > 0 ? std::clamp(((px - ax) * vx + (py - ay) * vy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(px - (ax + t * vx), py - (ay + t * vy));
}

void FlattenRows(SurfaceView v, int from, int to) {
  const int middle = (from + to) / 2;
  for (int y = from; y < to; ++y)
    if (y != middle)
      for (int x = 0; x < v.width; ++x) v.At(x, y) = v.At(x, middle);
}

void PaintGlyph(SurfaceView v, int x, int y, std::initializer_list<std::string_view> rows,
                Pixel ink, Pixel behind) {
  int row = 0;
  for (std::string_view r : rows) {
    for (int col = 0; col < static_cast<int>(r.size()); ++col) {
      const Point p{x + col, y + row};
      if (!v.Bounds().Contains(p)) continue;
      if (r[col] == '#') v.At(p.x, p.y) = ink;
      if (r[col] == '+') {
        Pixel& q = v.At(p.x, p.y);
        q = Mix(q == kKey ? behind : q, ink, 0.5);
      }
    }
    ++row;
  }
}

void PaintGlyphCentred(SurfaceView v, std::initializer_list<std::string_view> rows, Pixel ink,
                       int dx, int dy, Pixel behind) {
  int w = 0;
  for (std::string_view r : rows) w = std::max(w, static_cast<int>(r.size()));
  const int h = static_cast<int>(rows.size());
  PaintGlyph(v, (v.width - w + 1) / 2 + dx, (v.height - h + 1) / 2 + dy, rows, ink, behind);
}

void Blit(SurfaceView dst, int x, int y, SurfaceView src) {
  for (int row = 0; row < src.height; ++row)
    for (int col = 0; col < src.width; ++col) dst.At(x + col, y + row) = src.At(col, row);
}

void Transpose(SurfaceView dst, SurfaceView src) {
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) dst.At(y, x) = src.At(x, y);
}

SurfaceView CellOf(Surface& s, int index, int cellWidth) {
  return s.View().Sub(Rect::FromSize(index * cellWidth, 0, cellWidth, s.Height()));
}

}  // namespace corvane::tools
