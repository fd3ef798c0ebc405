// Small, exact pixel painting for the skin art: fills, gradients, bevelled
// boxes and glyphs written as text. Everything lands on whole pixels so the
// stored pictures stay crisp when the engine stretches them by repetition.
#pragma once

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string_view>

#include "core/DpiScale.h"
#include "core/Surface.h"

namespace corvane::tools {

constexpr Pixel Rgb(int r, int g, int b) {
  return 0xFF000000u | (Pixel(r & 0xFF) << 16) | (Pixel(g & 0xFF) << 8) | Pixel(b & 0xFF);
}

// The colour key of every skin picture.
inline constexpr Pixel kKey = Rgb(255, 0, 255);

// The scale a picture is drawn at. Every length of the design is given in
// 96-DPI pixels and turned into device pixels here, by the program's one DPI
// rule, so the pictures always match the metrics the engine cuts them by.
struct ArtScale {
  int dpi = kDesignDpi;

  // A designed length or position at this scale.
  int operator()(int designed) const { return ScaleToDpi(designed, dpi); }
  Rect operator()(Rect designed) const {
    return {(*this)(designed.left), (*this)(designed.top), (*this)(designed.right), (*this)(designed.bottom)};
  }
  double Factor() const { return double(dpi) / kDesignDpi; }
  // A hairline: one device pixel until the scale reaches two, then whole
  // pixels only, so a line never turns into a blend of two colours.
  int Line() const { return std::max(1, dpi / kDesignDpi); }
  // The hand-placed 100 % pixels are the design itself; other scales draw
  // the same shapes from geometry.
  bool IsDesign() const { return dpi == kDesignDpi; }
};

// a and b mixed, t = 0 gives a, t = 1 gives b (alpha stays opaque).
Pixel Mix(Pixel a, Pixel b, double t);

void FillRect(SurfaceView v, Rect r, Pixel p);
// Rows of r shade from top (first row) to bottom (last row).
void VerticalGradient(SurfaceView v, Rect r, Pixel top, Pixel bottom);
// Columns of r shade from left to right.
void HorizontalGradient(SurfaceView v, Rect r, Pixel left, Pixel right);

// How a control face looks in one state.
struct Look {
  Pixel border;
  Pixel top;     // fill at the first inner row
  Pixel bottom;  // fill at the last inner row
  Pixel glyph;   // ink for arrows, marks and symbols
  bool gloss;    // a light first inner row, for raised (not pressed) faces
};

// A one-pixel bordered box filling v, its corner pixels set to outside and
// the pixels just inside the corners softened, which reads as a 2 px radius.
void PaintBox(SurfaceView v, const Look& look, Pixel outside);

// The same box at a scale other than the design: borders `line` pixels
// thick and corners rounded with `radius`, their outside edge hard against
// `outside` (a pixel is either exactly the key or a real colour), their
// inside edge softened into the fill.
void PaintBoxScaled(SurfaceView v, const Look& look, Pixel outside, int line, int radius);

// Which corners RoundCorners reshapes.
enum Corner { kTopLeft = 1, kTopRight = 2, kBottomLeft = 4, kBottomRight = 8, kAllCorners = 15 };
// Rounds the corners of a box already painted into v with a `line` thick
// border: pixels whose centre lies outside the circle become `outside`, the
// ring is `border`, softened (by area) where it meets what lies inside.
void RoundCorners(SurfaceView v, int corners, int radius, int line, Pixel border, Pixel outside);

// A shape given by whether a point (in v's pixel coordinates, centres at
// .5) lies inside it, inked with coverage anti-aliasing over the pixels of
// `box`: a partly covered pixel mixes the ink into what is there, or into
// `behind` where that is the colour key, exactly as a glyph's half ink does.
using ShapeTest = std::function<bool(double x, double y)>;
void PaintShape(SurfaceView v, Rect box, const ShapeTest& inside, Pixel ink, Pixel behind);

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by);

// Makes rows [from, to) copies of the row halfway between them: the engine
// repeats or drops rows of a stretched centre, so a gradient there would band.
void FlattenRows(SurfaceView v, int from, int to);

// Glyph rows drawn with '#' as full ink, '+' as half ink over what is
// there; any other character leaves the pixel alone. A half-inked pixel over
// the colour key is mixed with `behind` instead, the colour the glyph will
// most often be seen on, so no pink fringe appears once the key is removed.
inline constexpr Pixel kBehindKey = Rgb(232, 234, 246);
void PaintGlyph(SurfaceView v, int x, int y, std::initializer_list<std::string_view> rows,
                Pixel ink, Pixel behind = kBehindKey);
// The same glyph centred in v (odd spare pixels go right and down).
void PaintGlyphCentred(SurfaceView v, std::initializer_list<std::string_view> rows, Pixel ink,
                       int dx = 0, int dy = 0, Pixel behind = kBehindKey);

// Copies src into dst at (x, y); the caller keeps it inside dst.
void Blit(SurfaceView dst, int x, int y, SurfaceView src);
// dst(x, y) = src(y, x); dst must be src's height wide and src's width high.
void Transpose(SurfaceView dst, SurfaceView src);

// Cell i (numbered from 0) of a strip of equal cells side by side.
SurfaceView CellOf(Surface& s, int index, int cellWidth);

}  // namespace corvane::tools
