// The look: a light grey-blue face, deep-blue ink, one blue accent for
// "selected" and "pressed", and hairline borders with softened corners.
// Bands that the engine stretches are kept uniform along the stretch, since
// it repeats or drops pixels rather than resampling.
#include "SkinArt.h"

#include <cmath>

#include "SkinArtPaint.h"

namespace corvane::tools {
namespace {

// The palette the skin definition's [Colours] section announces.
constexpr Pixel kFace = Rgb(227, 226, 236);
constexpr Pixel kHilight = Rgb(64, 91, 166);
constexpr Pixel kTitle = Rgb(47, 61, 128);
constexpr Pixel kTitleInactive = Rgb(147, 149, 159);
constexpr Pixel kShadow = Rgb(188, 190, 203);
constexpr Pixel kMenu = Rgb(245, 244, 249);
constexpr Pixel kWhite = Rgb(255, 255, 255);

// Derived tones: borders and fills that sit between the announced colours.
constexpr Pixel kBorder = Rgb(150, 156, 184);
constexpr Pixel kBorderHot = Rgb(104, 128, 198);
constexpr Pixel kBorderDisabled = Rgb(202, 204, 216);
constexpr Pixel kTrack = Rgb(238, 238, 245);
constexpr Pixel kTrackEdge = Rgb(222, 223, 233);

constexpr Look kNormal{kBorder, Rgb(252, 252, 255), Rgb(228, 229, 240), kTitle, true};
constexpr Look kHot{kBorderHot, Rgb(250, 252, 255), Rgb(216, 225, 248), kHilight, true};
constexpr Look kPressed{kHilight, Rgb(196, 206, 236), Rgb(214, 222, 245), kTitle, false};
constexpr Look kDisabled{kBorderDisabled, Rgb(241, 241, 246), Rgb(235, 235, 241), kShadow, false};

// ---- glyphs -------------------------------------------------------------

const std::initializer_list<std::string_view> kArrowDown = {
    "#######",
    ".#####.",
    "..###..",
    "...#...",
};
const std::initializer_list<std::string_view> kArrowUp = {
    "...#...",
    "..###..",
    ".#####.",
    "#######",
};
const std::initializer_list<std::string_view> kArrowLeft = {
    "...#", "..##", ".###", "####", ".###", "..##", "...#",
};
const std::initializer_list<std::string_view> kArrowRight = {
    "#...", "##..", "###.", "####", "###.", "##..", "#...",
};
const std::initializer_list<std::string_view> kSmallDown = {"#####", ".###.", "..#.."};
const std::initializer_list<std::string_view> kSmallUp = {"..#..", ".###.", "#####"};
const std::initializer_list<std::string_view> kSmallLeft = {"..#", ".##", "###", ".##", "..#"};
const std::initializer_list<std::string_view> kSmallRight = {"#..", "##.", "###", "##.", "#.."};

const std::initializer_list<std::string_view> kCheck = {
    ".......+#",
    "......+##",
    "+#...+##+",
    "##+.+##+.",
    "+##+##+..",
    ".+###+...",
    "..+#+....",
};

const std::initializer_list<std::string_view> kCloseGlyph = {
    "##+...+##",
    "+##+.+##+",
    ".+##+##+.",
    "..+###+..",
    ".+##+##+.",
    "+##+.+##+",
    "##+...+##",
};
const std::initializer_list<std::string_view> kMaximise = {
    "#########",
    "#########",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#########",
};
const std::initializer_list<std::string_view> kMinimise = {
    "#########",
    "#########",
};
const std::initializer_list<std::string_view> kRestore = {
    "..#######",
    "..#######",
    "..#.....#",
    "#######.#",
    "#######.#",
    "#.....###",
    "#.....#..",
    "#######..",
};
const std::initializer_list<std::string_view> kMdiMinimise = {"#######", "#######"};
const std::initializer_list<std::string_view> kMdiRestore = {
    "..#####",
    "..#...#",
    "#####.#",
    "#...#.#",
    "#...###",
    "#...#..",
    "#####..",
};
const std::initializer_list<std::string_view> kMdiClose = {
    "##...##",
    "+##.##+",
    ".+###+.",
    "..###..",
    ".+###+.",
    "+##.##+",
    "##...##",
};

// ---- the scale ----------------------------------------------------------

// The scale of the picture being drawn (the generator draws one skin at a
// time). S(n) is a designed length in device pixels, Line() a hairline.
ArtScale S;
int Line() { return S.Line(); }

// ---- glyphs at other scales ---------------------------------------------

// Glyph coordinates are design pixels from the glyph's top-left (gx, gy),
// itself a design position in the cell; the shape is drawn at the scale
// around the same point, with coverage anti-aliasing.
using GlyphRows = std::initializer_list<std::string_view>;
using ScaledGlyph = void (*)(SurfaceView cell, int gx, int gy, Pixel ink, Pixel behind);

enum class Towards { Down, Up, Left, Right };

struct Glyph {
  const GlyphRows* rows;  // the 100 % design, pixel by pixel
  ScaledGlyph scaled;     // the same shape at any other scale, or null for an arrow
  Towards arrow = Towards::Down;
};

struct GlyphPoint {
  double x, y;
};

// A filled triangle, its corners in glyph coordinates.
void GlyphTriangle(SurfaceView cell, int gx, int gy, GlyphPoint a, GlyphPoint b, GlyphPoint c, Pixel ink,
                   Pixel behind) {
  const double f = S.Factor();
  auto at = [&](GlyphPoint p) { return GlyphPoint{(gx + p.x) * f, (gy + p.y) * f}; };
  const GlyphPoint p[3] = {at(a), at(b), at(c)};
  auto side = [](GlyphPoint u, GlyphPoint v, double x, double y) {
    return (v.x - u.x) * (y - u.y) - (v.y - u.y) * (x - u.x);
  };
  const Rect box{static_cast<int>(std::floor(std::min({p[0].x, p[1].x, p[2].x}))),
                 static_cast<int>(std::floor(std::min({p[0].y, p[1].y, p[2].y}))),
                 static_cast<int>(std::ceil(std::max({p[0].x, p[1].x, p[2].x}))),
                 static_cast<int>(std::ceil(std::max({p[0].y, p[1].y, p[2].y})))};
  PaintShape(cell, box, [&](double x, double y) {
    const double d0 = side(p[0], p[1], x, y), d1 = side(p[1], p[2], x, y), d2 = side(p[2], p[0], x, y);
    return (d0 >= 0 && d1 >= 0 && d2 >= 0) || (d0 <= 0 && d1 <= 0 && d2 <= 0);
  }, ink, behind);
}

// Round-ended strokes through the given segments, `width` design pixels wide.
void GlyphStrokes(SurfaceView cell, int gx, int gy, std::initializer_list<std::pair<GlyphPoint, GlyphPoint>> segments,
                  double width, Pixel ink, Pixel behind) {
  const double f = S.Factor(), half = width * f / 2;
  Rect box{cell.width, cell.height, 0, 0};
  for (const auto& [a, b] : segments)
    for (const GlyphPoint& q : {a, b}) {
      box.left = std::min(box.left, static_cast<int>(std::floor((gx + q.x) * f - half)));
      box.top = std::min(box.top, static_cast<int>(std::floor((gy + q.y) * f - half)));
      box.right = std::max(box.right, static_cast<int>(std::ceil((gx + q.x) * f + half)));
      box.bottom = std::max(box.bottom, static_cast<int>(std::ceil((gy + q.y) * f + half)));
    }
  PaintShape(cell, box, [&](double x, double y) {
    for (const auto& [a, b] : segments)
      if (SegmentDistance(x, y, (gx + a.x) * f, (gy + a.y) * f, (gx + b.x) * f, (gy + b.y) * f) <= half)
        return true;
    return false;
  }, ink, behind);
}

// Window symbols are outlines on the pixel grid: crisp at every scale, their
// edges at the scaled design positions, their lines whole hairlines.
class GlyphMask {
 public:
  GlyphMask(SurfaceView cell, int gx, int gy) : m_cell(cell), m_gx(gx), m_gy(gy), m_mask(cell.width, cell.height, 0) {}
  // The design rectangle (glyph coordinates) at the scale.
  Rect At(Rect r) const { return S(Rect{m_gx + r.left, m_gy + r.top, m_gx + r.right, m_gy + r.bottom}); }
  void Set(Rect r, bool ink = true) { m_mask.View().Sub(r).Fill(ink ? 1 : 0); }
  // A window: one-line sides and bottom under a title bar of `titleLines`.
  GlyphMask& Window(Rect designed, int titleLines) {
    const Rect o = At(designed);
    Set(o);
    Set({o.left + Line(), o.top + titleLines * Line(), o.right - Line(), o.bottom - Line()}, false);
    return *this;
  }
  // A window in front of another, hiding what it covers of it.
  GlyphMask& WindowOver(Rect back, Rect front, int titleLines) {
    Window(back, titleLines);
    Set(At(front), false);
    return Window(front, titleLines);
  }
  // A bar `width` design pixels long, two lines thick, at the glyph's top.
  GlyphMask& Bar(int width) {
    const Rect bar = At({0, 0, width, 0});
    Set({bar.left, bar.top, bar.right, bar.top + 2 * Line()});
    return *this;
  }
  void Ink(Pixel ink) const {
    for (int y = 0; y < m_cell.height; ++y)
      for (int x = 0; x < m_cell.width; ++x)
        if (m_mask.At(x, y)) m_cell.At(x, y) = ink;
  }

 private:
  SurfaceView m_cell;
  int m_gx, m_gy;
  Surface m_mask;
};

// Arrows are triangles filling their 100 % pattern's box, the point towards
// the named side.
const Glyph kArrowDownGlyph{&kArrowDown, nullptr, Towards::Down};
const Glyph kArrowUpGlyph{&kArrowUp, nullptr, Towards::Up};
const Glyph kArrowLeftGlyph{&kArrowLeft, nullptr, Towards::Left};
const Glyph kArrowRightGlyph{&kArrowRight, nullptr, Towards::Right};
const Glyph kSmallDownGlyph{&kSmallDown, nullptr, Towards::Down};
const Glyph kSmallUpGlyph{&kSmallUp, nullptr, Towards::Up};
const Glyph kSmallLeftGlyph{&kSmallLeft, nullptr, Towards::Left};
const Glyph kSmallRightGlyph{&kSmallRight, nullptr, Towards::Right};
const Glyph kCheckGlyph{&kCheck, [](SurfaceView c, int x, int y, Pixel ink, Pixel behind) {
  GlyphStrokes(c, x, y, {{{0.9, 3.1}, {3.5, 5.8}}, {{3.5, 5.8}, {8.4, 0.9}}}, 2.0, ink, behind);
}};
const Glyph kCloseGlyphShape{&kCloseGlyph, [](SurfaceView c, int x, int y, Pixel ink, Pixel behind) {
  GlyphStrokes(c, x, y, {{{1, 0.8}, {8, 6.2}}, {{8, 0.8}, {1, 6.2}}}, 2.0, ink, behind);
}};
const Glyph kMdiCloseGlyph{&kMdiClose, [](SurfaceView c, int x, int y, Pixel ink, Pixel behind) {
  GlyphStrokes(c, x, y, {{{1, 1}, {6, 6}}, {{6, 1}, {1, 6}}}, 1.8, ink, behind);
}};
const Glyph kMaximiseGlyph{&kMaximise, [](SurfaceView c, int x, int y, Pixel ink, Pixel) {
  GlyphMask(c, x, y).Window({0, 0, 9, 7}, 2).Ink(ink);
}};
const Glyph kMinimiseGlyph{&kMinimise, [](SurfaceView c, int x, int y, Pixel ink, Pixel) {
  GlyphMask(c, x, y).Bar(9).Ink(ink);
}};
const Glyph kRestoreGlyph{&kRestore, [](SurfaceView c, int x, int y, Pixel ink, Pixel) {
  GlyphMask(c, x, y).WindowOver({2, 0, 9, 6}, {0, 3, 7, 8}, 2).Ink(ink);
}};
const Glyph kMdiMinimiseGlyph{&kMdiMinimise, [](SurfaceView c, int x, int y, Pixel ink, Pixel) {
  GlyphMask(c, x, y).Bar(7).Ink(ink);
}};
const Glyph kMdiRestoreGlyph{&kMdiRestore, [](SurfaceView c, int x, int y, Pixel ink, Pixel) {
  GlyphMask(c, x, y).WindowOver({2, 0, 7, 5}, {0, 2, 5, 7}, 1).Ink(ink);
}};

// The glyph centred in cell as at 100 % (odd spare pixels go right and
// down), dx and dy design pixels off that.
void DrawGlyph(SurfaceView cell, const Glyph& glyph, Pixel ink, int dx = 0, int dy = 0,
                       Pixel behind = kBehindKey) {
  if (S.IsDesign()) {
    PaintGlyphCentred(cell, *glyph.rows, ink, dx, dy, behind);
    return;
  }
  int w = 0;
  for (std::string_view r : *glyph.rows) w = std::max(w, static_cast<int>(r.size()));
  const int h = static_cast<int>(glyph.rows->size());
  const int cw = UnscaleFromDpi(cell.width, S.dpi), ch = UnscaleFromDpi(cell.height, S.dpi);
  const int gx = (cw - w + 1) / 2 + dx, gy = (ch - h + 1) / 2 + dy;
  if (glyph.scaled) {
    glyph.scaled(cell, gx, gy, ink, behind);
    return;
  }
  const double W = w, H = h;
  switch (glyph.arrow) {
    case Towards::Down: GlyphTriangle(cell, gx, gy, {0, 0}, {W, 0}, {W / 2, H}, ink, behind); break;
    case Towards::Up: GlyphTriangle(cell, gx, gy, {0, H}, {W, H}, {W / 2, 0}, ink, behind); break;
    case Towards::Left: GlyphTriangle(cell, gx, gy, {W, 0}, {W, H}, {0, H / 2}, ink, behind); break;
    case Towards::Right: GlyphTriangle(cell, gx, gy, {0, 0}, {0, H}, {W, H / 2}, ink, behind); break;
  }
}

// The 100 % box, or the same box drawn at the scale.
void Box(SurfaceView v, const Look& look, Pixel outside) {
  if (S.IsDesign()) PaintBox(v, look, outside);
  else PaintBoxScaled(v, look, outside, Line(), S(2));
}

// ---- shared pieces ------------------------------------------------------

Surface NewPicture(int width, int height, Pixel fill = kKey) { return Surface(width, height, fill); }

// A picture of `across` x `down` equal cells, each cell's designed size
// scaled on its own (as the engine scales cells).
Surface NewCells(int across, int cellWidth, int cellHeight, Pixel fill = kKey, int down = 1) {
  return NewPicture(across * S(cellWidth), down * S(cellHeight), fill);
}

// A glyph-only button face at rest, a boxed one when hot or pressed.
void PaintGlyphButton(SurfaceView cell, const Look& look, bool boxed, const Glyph& glyph, int dy = 0) {
  cell.Fill(kKey);
  if (boxed) Box(cell, look, kKey);
  DrawGlyph(cell, glyph, look.glyph, 0, dy);
}

// The profile across a scroll bar's thickness: hairline edges, light trough.
Pixel TrackProfile(int i, int thickness, bool enabled) {
  if (i < Line() || i >= thickness - Line()) return kTrackEdge;
  return enabled ? kTrack : Rgb(232, 232, 239);
}

// A horizontal scroll thumb (30 x 15) over its trough: the box sits one
// line in from the ends and two from the long sides, so the trough frames it.
void PaintThumbH(SurfaceView cell, const Look& look) {
  for (int y = 0; y < cell.height; ++y)
    FillRect(cell, {0, y, cell.width, y + 1}, TrackProfile(y, cell.height, true));
  const Look thumb{look.border, look.top, look.bottom, look.glyph, look.gloss};
  SurfaceView box = cell.Sub({Line(), 2 * Line(), cell.width - Line(), cell.height - 2 * Line()});
  Box(box, thumb, kTrack);
}

// The grip drawn across the middle of a horizontal thumb: three raised
// ridges, on a background copied from the thumb's own middle column so the
// grip joins the thumb seamlessly whatever its keying.
void PaintGripH(SurfaceView cell, const Look& look) {
  Surface thumb(S(30), S(15));
  PaintThumbH(thumb.View(), look);
  for (int y = 0; y < cell.height; ++y) FillRect(cell, {0, y, cell.width, y + 1}, thumb.At(S(15), y));
  const Pixel dark = Mix(look.border, look.bottom, 0.25);
  const Pixel light = Mix(look.top, kWhite, 0.6);
  for (int x : {4, 7, 10}) {
    FillRect(cell, {S(x), S(5), S(x) + Line(), S(10)}, dark);
    FillRect(cell, {S(x) + Line(), S(5), S(x) + 2 * Line(), S(10)}, light);
  }
}

// ---- push buttons, check boxes, radio buttons ---------------------------

Surface DrawButtons() {
  Surface s = NewCells(5, 26, 21);
  const int cw = S(26);
  Box(CellOf(s, 0, cw), kNormal, kKey);
  Box(CellOf(s, 1, cw), kPressed, kKey);
  Box(CellOf(s, 2, cw), kDisabled, kKey);
  Box(CellOf(s, 3, cw), kHot, kKey);
  // Focus is shown by this cell alone (no focus rectangle), so it gets the
  // accent border plus a soft inner ring that survives any stretch.
  SurfaceView focused = CellOf(s, 4, cw);
  Box(focused, {kHilight, kNormal.top, kNormal.bottom, kTitle, true}, kKey);
  const Pixel ring = Rgb(176, 192, 236);
  const int l = Line();
  SurfaceView inner = focused.Sub({l, l, focused.width - l, focused.height - l});
  // The ring runs straight where the border does, clear of the rounded
  // corners (at 100 %: it skips the corner pixel).
  const int skip = S(2) - l;
  FillRect(inner, {skip, 0, inner.width - skip, l}, ring);
  FillRect(inner, {skip, inner.height - l, inner.width - skip, inner.height}, ring);
  FillRect(inner, {0, skip, l, inner.height - skip}, ring);
  FillRect(inner, {inner.width - l, skip, inner.width, inner.height - skip}, ring);
  // The centre (rows 3 to 17) stretches; the shading lives in the fixed rows.
  FlattenRows(s.View(), S(3), s.Height() - S(3));
  return s;
}

enum class Mark { None, Check, Mixed };

void PaintCheckCell(SurfaceView cell, const Look& look, Mark mark) {
  cell.Fill(kKey);
  const Look box{look.border, look.gloss ? kWhite : look.top, look.bottom, look.glyph, false};
  Box(cell, box, kKey);
  const Pixel ink = look.glyph == kTitle ? kHilight : look.glyph;
  if (mark == Mark::Check) {
    if (S.IsDesign()) PaintGlyph(cell, 2, 3, kCheck, ink);
    else kCheckGlyph.scaled(cell, 2, 3, ink, kBehindKey);
  }
  if (mark == Mark::Mixed) FillRect(cell, S(Rect{4, 4, 9, 9}), ink);
}

// Cells run normal, hot, pressed, disabled for unchecked, checked and
// indeterminate; the engine picks 1, 4, 5, 8, 9 and 12 of them.
Surface DrawCheckBox() {
  Surface s = NewCells(12, 13, 13);
  const Look looks[4] = {kNormal, kHot, kPressed, kDisabled};
  const Mark marks[3] = {Mark::None, Mark::Check, Mark::Mixed};
  for (int m = 0; m < 3; ++m)
    for (int l = 0; l < 4; ++l) PaintCheckCell(CellOf(s, m * 4 + l, S(13)), looks[l], marks[m]);
  return s;
}

// Radio circles are antialiased against the face colour they normally sit
// on; pixels the circle does not touch at all stay keyed.
void PaintRadioCell(SurfaceView cell, const Look& look, bool checked) {
  constexpr int kSamples = 4;
  const double f = S.Factor(), size = cell.width;
  const double cx = size / 2, cy = size / 2;
  const double outer = 6.4 * f, ring = outer - Line(), spot = 2.6 * f;
  const Pixel dot = look.glyph == kTitle ? kHilight : look.glyph;
  for (int y = 0; y < cell.height; ++y) {
    for (int x = 0; x < cell.width; ++x) {
      double r = 0, g = 0, b = 0;
      int inside = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double px = x + (sx + 0.5) / kSamples, py = y + (sy + 0.5) / kSamples;
          const double d = std::hypot(px - cx, py - cy);
          Pixel p = kFace;
          if (d <= outer) {
            ++inside;
            p = d > ring ? look.border : Mix(look.gloss ? kWhite : look.top, look.bottom, py / size);
            if (checked && d <= spot) p = dot;
          }
          r += (p >> 16) & 0xFF;
          g += (p >> 8) & 0xFF;
          b += p & 0xFF;
        }
      }
      const int n = kSamples * kSamples;
      cell.At(x, y) = inside == 0 ? kKey : Rgb(int(r / n + 0.5), int(g / n + 0.5), int(b / n + 0.5));
    }
  }
}

Surface DrawRadioButton() {
  Surface s = NewCells(8, 13, 13);
  const Look looks[4] = {kNormal, kHot, kPressed, kDisabled};
  for (int c = 0; c < 2; ++c)
    for (int l = 0; l < 4; ++l) PaintRadioCell(CellOf(s, c * 4 + l, S(13)), looks[l], c == 1);
  return s;
}

// ---- progress -----------------------------------------------------------

Surface DrawProgress() {
  Surface s = NewCells(1, 10, 5);
  Box(s.View(), {Rgb(170, 174, 198), Rgb(232, 233, 241), Rgb(248, 248, 252), kTitle, false}, kKey);
  FillRect(s.View(), {Line(), S(2), s.Width() - Line(), s.Height() - Line()}, Rgb(248, 248, 252));
  return s;
}

Surface DrawProgressChunk() {
  Surface s = NewCells(1, 102, 15);
  const int w = s.Width(), h = s.Height(), l = Line();
  Box(s.View(), {Rgb(56, 82, 156), Rgb(132, 158, 224), Rgb(68, 96, 174), kWhite, false}, kKey);
  FillRect(s.View(), {S(2), l, w - S(4), 2 * l}, Rgb(168, 188, 236));
  // A lighter end cap marks the leading edge of the fill.
  VerticalGradient(s.View(), {w - S(4), S(2), w - l, h - S(2)}, Rgb(150, 172, 232), Rgb(96, 122, 196));
  FlattenRows(s.View(), S(2), h - S(2));
  return s;
}

// ---- tabs ---------------------------------------------------------------

void PaintTab(SurfaceView cell, const Look& look, bool current, bool accent) {
  cell.Fill(kFace);  // outer corners: face, as the area beneath is rarely painted
  const int top = current ? 0 : S(2);
  const int w = cell.width, h = cell.height, l = Line();
  // The body is flat (it stretches); only the fixed top rows shade into it.
  FillRect(cell, {l, top + l, w - l, h}, look.bottom);
  VerticalGradient(cell, {l, top + l, w - l, S(5)}, look.top, look.bottom);
  FillRect(cell, {l, top, w - l, top + l}, look.border);
  FillRect(cell, {0, top + l, l, h}, look.border);
  FillRect(cell, {w - l, top + l, w, h}, look.border);
  if (S.IsDesign()) {
    cell.At(1, top + 1) = Mix(cell.At(1, top + 1), look.border, 0.5);
    cell.At(w - 2, top + 1) = Mix(cell.At(w - 2, top + 1), look.border, 0.5);
  }
  if (accent) {
    if (S.IsDesign()) FillRect(cell, {2, 0, w - 2, 1}, kHilight);
    else FillRect(cell, {l, 0, w - l, S(1)}, kHilight);
    FillRect(cell, {l, S(1), w - l, S(2)}, kHilight);
    FillRect(cell, {l, S(2), w - l, S(3)}, Mix(kHilight, look.top, 0.6));
  }
  if (!S.IsDesign()) {
    // Square the outline first, then round its top corners over the accent.
    FillRect(cell, {0, top, l, top + l}, look.border);
    FillRect(cell, {w - l, top, w, top + l}, look.border);
    RoundCorners(cell.Sub({0, top, w, h}), kTopLeft | kTopRight, S(2), l, accent ? kHilight : look.border,
                 kFace);
  }
  // The current tab opens into the page; the others sit on its top line.
  if (!current) FillRect(cell, {0, h - l, w, h}, kBorder);
}

Surface DrawTab() {
  Surface s = NewCells(5, 26, 23);
  const int cw = S(26);
  const Look other{Rgb(170, 174, 198), Rgb(238, 238, 244), Rgb(219, 219, 230), kTitle, false};
  // The current tab's body is the face colour, so it flows into the page.
  const Look current{kBorder, kWhite, kFace, kTitle, false};
  PaintTab(CellOf(s, 0, cw), other, false, false);
  PaintTab(CellOf(s, 1, cw), current, true, true);
  PaintTab(CellOf(s, 2, cw), {kBorderHot, kWhite, Rgb(226, 232, 248), kTitle, false}, false, false);
  PaintTab(CellOf(s, 3, cw), {kBorderDisabled, Rgb(238, 238, 243), Rgb(232, 232, 238), kShadow, false},
           false, false);
  PaintTab(CellOf(s, 4, cw), other, false, false);
  FlattenRows(s.View(), S(4), s.Height() - S(1));
  return s;
}

Surface DrawTabSheet() {
  Surface s = NewCells(1, 51, 100, kFace);
  SurfaceView v = s.View();
  const int w = s.Width(), h = s.Height(), l = Line();
  FillRect(v, {l, l, w - l, 2 * l}, Rgb(243, 242, 249));
  FillRect(v, {l, l, 2 * l, h - l}, Rgb(243, 242, 249));
  FillRect(v, {l, h - 2 * l, w - l, h - l}, Rgb(212, 213, 225));
  FillRect(v, {w - 2 * l, l, w - l, h - l}, Rgb(212, 213, 225));
  FillRect(v, {0, 0, w, l}, kBorder);
  FillRect(v, {0, h - l, w, h}, kBorder);
  FillRect(v, {0, 0, l, h}, kBorder);
  FillRect(v, {w - l, 0, w, h}, kBorder);
  return s;
}

// ---- combo box, extra images --------------------------------------------

Surface DrawComboButton() {
  Surface s = NewCells(4, 16, 16);
  const Look looks[4] = {kNormal, kPressed, kDisabled, kHot};
  for (int i = 0; i < 4; ++i) {
    SurfaceView cell = CellOf(s, i, S(16));
    Box(cell, looks[i], kKey);
    DrawGlyph(cell, kArrowDownGlyph, looks[i].glyph, 0, i == 1 ? 1 : 0);
  }
  return s;
}

// The size grip: dimples on a diagonal, each a dark dot with a light one
// below-right, as if pressed into the bar.
void PaintSizeGrip(SurfaceView cell) {
  cell.Fill(kKey);
  const int l = Line();
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      if (row + col < 3) continue;
      const int x = S(3 + col * 3), y = S(4 + row * 3);
      FillRect(cell, {x, y, x + l, y + l}, Rgb(150, 154, 178));
      FillRect(cell, {x + l, y + l, x + 2 * l, y + 2 * l}, kWhite);
    }
  }
}

Surface DrawExtraImages() {
  Surface s = NewPicture(5 * S(16), S(17));
  const Pixel inks[4] = {kTitle, kHilight, kShadow, kHilight};
  for (int i = 0; i < 4; ++i) DrawGlyph(CellOf(s, i, S(16)), kArrowDownGlyph, inks[i], 0, i == 1 ? 1 : 0);
  PaintSizeGrip(CellOf(s, 4, S(16)));
  return s;
}

// ---- status bar, header -------------------------------------------------

void PaintStatusCell(SurfaceView cell, int bevel) {
  const int l = Line();
  cell.Fill(kFace);
  FillRect(cell, {0, 0, cell.width, l}, kShadow);
  FillRect(cell, {0, l, cell.width, 2 * l}, Rgb(243, 242, 249));
  if (bevel == 0) return;
  const Pixel dark = Rgb(190, 193, 210), light = kWhite;
  const Pixel topLeft = bevel < 0 ? dark : light, bottomRight = bevel < 0 ? light : dark;
  const Rect panel{S(2), S(3), cell.width - S(2), cell.height - S(2)};
  FillRect(cell, {panel.left, panel.top, panel.right, panel.top + l}, topLeft);
  FillRect(cell, {panel.left, panel.top, panel.left + l, panel.bottom}, topLeft);
  FillRect(cell, {panel.left, panel.bottom - l, panel.right, panel.bottom}, bottomRight);
  FillRect(cell, {panel.right - l, panel.top + l, panel.right, panel.bottom}, bottomRight);
}

Surface DrawStatusBar() {
  Surface s = NewCells(3, 68, 21);
  PaintStatusCell(CellOf(s, 0, S(68)), -1);
  PaintStatusCell(CellOf(s, 1, S(68)), 1);
  PaintStatusCell(CellOf(s, 2, S(68)), 0);
  return s;
}

void PaintHeaderCell(SurfaceView cell, Pixel top, Pixel bottom, Pixel underline) {
  const int w = cell.width, h = cell.height, l = Line();
  VerticalGradient(cell, {0, 0, w, h - 2 * l}, top, bottom);
  FillRect(cell, {0, h - 2 * l, w, h - l}, underline);
  FillRect(cell, {0, h - l, w, h}, kShadow);
  FillRect(cell, {w - 2 * l, S(3), w - l, h - S(4)}, Rgb(204, 206, 220));
  FillRect(cell, {w - l, S(3), w, h - S(4)}, kWhite);
}

Surface DrawHeader() {
  Surface s = NewCells(5, 20, 17);
  const int cw = S(20);
  const Pixel plain = Rgb(232, 233, 242);
  PaintHeaderCell(CellOf(s, 0, cw), Rgb(252, 252, 255), plain, plain);
  PaintHeaderCell(CellOf(s, 1, cw), Rgb(248, 250, 255), Rgb(222, 229, 248), kHilight);
  PaintHeaderCell(CellOf(s, 2, cw), Rgb(212, 218, 238), Rgb(226, 230, 243), Rgb(226, 230, 243));
  PaintHeaderCell(CellOf(s, 3, cw), Rgb(252, 252, 255), plain, plain);
  PaintHeaderCell(CellOf(s, 4, cw), Rgb(252, 252, 255), plain, plain);
  FlattenRows(s.View(), S(2), s.Height() - 2 * Line());
  return s;
}

// ---- scroll bars --------------------------------------------------------

Surface DrawScrollbarArrow() {
  Surface s = NewCells(23, 15, 15);
  const int cw = S(15), l = Line();
  const Glyph* glyphs[4] = {&kArrowLeftGlyph, &kArrowRightGlyph, &kArrowUpGlyph, &kArrowDownGlyph};
  // Per part: normal, pressed, (free: disabled look), hot.
  const Look looks[4] = {kNormal, kPressed, kDisabled, kHot};
  for (int part = 0; part < 4; ++part) {
    for (int state = 0; state < 4; ++state) {
      SurfaceView cell = CellOf(s, part * 4 + state, cw);
      cell.Fill(kKey);
      Box(cell.Sub({l, l, cw - l, cw - l}), looks[state], kKey);
      // Even-sized glyph rows sit half a pixel off; nudge the side arrows
      // so they look centred rather than leaning.
      DrawGlyph(cell, *glyphs[part], looks[state].glyph, part == 0 ? -1 : 0, 0);
    }
  }
  const Look grips[3] = {kNormal, kPressed, kHot};
  for (int i = 0; i < 3; ++i) {
    PaintGripH(CellOf(s, 16 + i, cw), grips[i]);
    Surface h(cw, cw);
    PaintGripH(h.View(), grips[i]);
    Transpose(CellOf(s, 19 + i, cw), h.View());
  }
  Box(CellOf(s, 22, cw).Sub({l, l, cw - l, cw - l}), kNormal, kKey);
  return s;
}

Surface DrawScrollThumbH() {
  Surface s = NewCells(4, 30, 15);
  const Look looks[4] = {kNormal, kPressed, kHot, kDisabled};
  for (int i = 0; i < 4; ++i) PaintThumbH(CellOf(s, i, S(30)), looks[i]);
  return s;
}

Surface DrawScrollThumbV() {
  Surface h = DrawScrollThumbH();
  Surface s = NewCells(4, 15, 30);
  for (int i = 0; i < 4; ++i) {
    Surface cell(S(15), S(30));
    Transpose(cell.View(), CellOf(h, i, S(30)));
    Blit(s.View(), i * S(15), 0, cell.View());
  }
  return s;
}

// Cells: 1 enabled, 2 free (pressed trough), 3 disabled, 4 free.
Surface DrawScrollBarH() {
  Surface s = NewCells(4, 20, 15);
  const int cw = S(20), h = s.Height();
  for (int i = 0; i < 4; ++i) {
    SurfaceView cell = CellOf(s, i, cw);
    const bool enabled = i == 0 || i == 1;
    for (int y = 0; y < h; ++y) FillRect(cell, {0, y, cw, y + 1}, TrackProfile(y, h, enabled));
    if (i == 1) FillRect(cell, {0, Line(), cw, h - Line()}, Rgb(214, 218, 234));
  }
  return s;
}

Surface DrawScrollBarV() {
  Surface h = DrawScrollBarH();
  Surface s = NewCells(4, 15, 4);
  const int cw = S(15);
  for (int i = 0; i < 4; ++i)
    for (int x = 0; x < cw; ++x)
      for (int y = 0; y < s.Height(); ++y) s.At(i * cw + x, y) = h.At(i * S(20) + S(16), x);
  return s;
}

// ---- menus --------------------------------------------------------------

Surface DrawMenuBackground() {
  Surface s = NewCells(1, 20, 20, kMenu);
  SurfaceView v = s.View();
  const int w = s.Width(), h = s.Height(), l = Line();
  FillRect(v, {l, l, w - l, h - l}, kWhite);
  FillRect(v, {2 * l, 2 * l, w - 2 * l, h - 2 * l}, kMenu);
  const Pixel border = Rgb(150, 156, 184);
  FillRect(v, {0, 0, w, l}, border);
  FillRect(v, {0, h - l, w, h}, border);
  FillRect(v, {0, 0, l, h}, border);
  FillRect(v, {w - l, 0, w, h}, border);
  return s;
}

Surface DrawMenuItem() {
  Surface s = NewCells(5, 20, 18);
  const int cw = S(20), l = Line();
  // 1: normal items let the menu background show.
  // 2: separator, a groove in the bottom eight rows.
  SurfaceView sep = CellOf(s, 1, cw);
  FillRect(sep, {S(2), S(13), cw - S(2), S(13) + l}, Rgb(208, 210, 224));
  FillRect(sep, {S(2), S(13) + l, cw - S(2), S(13) + 2 * l}, kWhite);
  // 3 (free): a disabled item under the cursor.
  Box(CellOf(s, 2, cw), {Rgb(196, 200, 222), Rgb(232, 234, 244), Rgb(224, 227, 240), kShadow, false}, kKey);
  // 4: the selected item, dark enough for near-white text.
  Box(CellOf(s, 3, cw), {Rgb(48, 72, 142), Rgb(88, 114, 188), Rgb(64, 91, 166), kWhite, false}, kKey);
  FillRect(CellOf(s, 3, cw), {S(2), l, cw - S(2), 2 * l}, Rgb(120, 144, 208));
  FlattenRows(CellOf(s, 2, cw), S(3), s.Height() - S(3));
  FlattenRows(CellOf(s, 3, cw), S(3), s.Height() - S(3));
  return s;
}

// ---- track bars ---------------------------------------------------------

Surface DrawTrackChannel() {
  Surface s = NewCells(1, 10, 5, kFace);
  SurfaceView v = s.View();
  const int w = s.Width(), h = s.Height(), l = Line();
  FillRect(v, {l, 0, w - l, l}, Rgb(160, 166, 192));
  FillRect(v, {0, l, w, h - l}, Rgb(160, 166, 192));
  FillRect(v, {l, l, w - l, 2 * l}, Rgb(212, 214, 228));
  FillRect(v, {l, 2 * l, w - l, h - l}, Rgb(244, 244, 249));
  FillRect(v, {l, h - l, w - l, h}, kWhite);
  return s;
}

Surface DrawTrackChannelVert() {
  Surface s = NewCells(1, 10, 5, kFace);
  SurfaceView v = s.View();
  const int l = Line(), width = S(5), left = (s.Width() - width) / 2;
  // A groove centred in the picture: border, shade, trough, light.
  const Pixel border = Rgb(160, 166, 192);
  FillRect(v, {left, 0, left + l, s.Height()}, border);
  FillRect(v, {left + l, 0, left + 2 * l, s.Height()}, Rgb(212, 214, 228));
  FillRect(v, {left + 2 * l, 0, left + width - l, s.Height()}, Rgb(244, 244, 249));
  FillRect(v, {left + width - l, 0, left + width, s.Height()}, kWhite);
  FillRect(v, {left + l, 0, left + width - l, l}, border);
  FillRect(v, {left, 0, left + l, l}, kFace);
  FillRect(v, {left + width - l, 0, left + width, l}, kFace);
  return s;
}

// A pointer-shaped thumb: a box whose lower part narrows to a point.
void PaintPointerThumb(SurfaceView cell, const Look& look, int bodyRows) {
  cell.Fill(kKey);
  const int w = cell.width, mid = w / 2, l = Line();
  for (int y = 0; y < cell.height; ++y) {
    const int half = y < bodyRows ? mid : mid - (y - bodyRows + 1) * mid / (cell.height - bodyRows);
    const int left = mid - half, right = mid + half;
    const Pixel fill = Mix(look.gloss ? kWhite : look.top, look.bottom, double(y) / cell.height);
    for (int x = left; x <= right; ++x) cell.At(x, y) = fill;
    FillRect(cell, {left, y, std::min(left + l, right + 1), y + 1}, look.border);
    FillRect(cell, {std::max(right + 1 - l, left), y, right + 1, y + 1}, look.border);
    if (y < l) FillRect(cell, {left, y, right + 1, y + 1}, look.border);
  }
  if (S.IsDesign()) {
    cell.At(0, 0) = kKey;
    cell.At(w - 1, 0) = kKey;
    cell.At(1, 1) = Mix(cell.At(1, 1), look.border, 0.5);
    cell.At(w - 2, 1) = Mix(cell.At(w - 2, 1), look.border, 0.5);
  } else {
    RoundCorners(cell.Sub({0, 0, 2 * mid + 1, cell.height}), kTopLeft | kTopRight, S(2), l, look.border, kKey);
  }
}

// Only cell 2 is ever drawn, in every state: it gets the resting look.
Surface DrawTrackThumbH() {
  Surface s = NewCells(5, 9, 20);
  const Look looks[5] = {kHot, {kBorderHot, kWhite, Rgb(222, 228, 246), kTitle, true}, kPressed,
                         kDisabled, kNormal};
  for (int i = 0; i < 5; ++i) PaintPointerThumb(CellOf(s, i, S(9)), looks[i], S(14));
  return s;
}

Surface DrawTrackBot() {
  Surface s = NewCells(5, 11, 11);
  const Look looks[5] = {kNormal, kHot, kPressed, kDisabled, kNormal};
  for (int i = 0; i < 5; ++i) PaintPointerThumb(CellOf(s, i, S(11)), looks[i], S(6));
  return s;
}

// ---- MDI and caption buttons --------------------------------------------

Surface DrawMdiButtons() {
  Surface s = NewCells(12, 13, 13);
  const int cw = S(13);
  const Glyph* glyphs[3] = {&kMdiMinimiseGlyph, &kMdiRestoreGlyph, &kMdiCloseGlyph};
  for (int b = 0; b < 3; ++b) {
    const int dy = b == 0 ? 3 : 0;  // the minimise bar sits low, like its big brother
    PaintGlyphButton(CellOf(s, b * 4 + 0, cw), kNormal, false, *glyphs[b], dy);
    PaintGlyphButton(CellOf(s, b * 4 + 1, cw), kPressed, true, *glyphs[b], dy);
    PaintGlyphButton(CellOf(s, b * 4 + 2, cw), kDisabled, false, *glyphs[b], dy);
    PaintGlyphButton(CellOf(s, b * 4 + 3, cw), kHot, true, *glyphs[b], dy);
  }
  return s;
}

// Cells: normal, pressed, hot, inactive or disabled; 5 and 6 stay keyed.
Surface DrawCaptionButton(const Glyph& glyph, int dy) {
  Surface s = NewCells(6, 17, 17);
  const int cw = S(17);
  const Look hot{kBorderHot, Rgb(250, 252, 255), Rgb(214, 224, 248), kHilight, true};
  const Look pressed{kTitle, Rgb(64, 91, 166), Rgb(84, 110, 184), kWhite, false};
  const Look inactive{kBorderDisabled, kWhite, kWhite, kTitleInactive, false};
  PaintGlyphButton(CellOf(s, 0, cw), kNormal, false, glyph, dy);
  PaintGlyphButton(CellOf(s, 1, cw), pressed, true, glyph, dy);
  PaintGlyphButton(CellOf(s, 2, cw), hot, true, glyph, dy);
  PaintGlyphButton(CellOf(s, 3, cw), inactive, false, glyph, dy);
  return s;
}

// ---- spin buttons -------------------------------------------------------

struct SpinLook {
  Pixel border, fill, glyph;
};
const SpinLook kSpinLooks[4] = {
    {kBorder, Rgb(240, 240, 247), kTitle},
    {kHilight, Rgb(204, 212, 238), kTitle},
    {kBorderDisabled, Rgb(236, 236, 241), kShadow},
    {kBorderHot, Rgb(236, 241, 253), kHilight},
};

// One half of an up-down control. Only the first half carries the divider
// line, so the two halves never double it.
void PaintSpinHalf(SurfaceView cell, const SpinLook& look, bool vertical, bool first) {
  cell.Fill(look.fill);
  const int w = cell.width, h = cell.height, l = Line();
  FillRect(cell, {0, 0, l, h}, look.border);
  FillRect(cell, {w - l, 0, w, h}, look.border);
  FillRect(cell, {0, 0, w, l}, look.border);
  FillRect(cell, {0, h - l, w, h}, look.border);
  if (vertical && !first) FillRect(cell, {l, 0, w - l, l}, look.fill);
  if (!vertical && !first) FillRect(cell, {0, l, l, h - l}, look.fill);
  // Round the two outer corners against the face the control sits on.
  if (!S.IsDesign()) {
    const int corners = vertical ? (first ? kTopLeft | kTopRight : kBottomLeft | kBottomRight)
                                 : (first ? kTopLeft | kBottomLeft : kTopRight | kBottomRight);
    RoundCorners(cell, corners, S(2), l, look.border, kFace);
    return;
  }
  const Point corners[2][2] = {{{0, 0}, {w - 1, 0}}, {{0, h - 1}, {w - 1, h - 1}}};
  const Point hcorners[2][2] = {{{0, 0}, {0, h - 1}}, {{w - 1, 0}, {w - 1, h - 1}}};
  for (const Point& p : vertical ? corners[first ? 0 : 1] : hcorners[first ? 0 : 1])
    cell.At(p.x, p.y) = kFace;
}

Surface DrawSpin(bool vertical) {
  const int cw = vertical ? 13 : 11, ch = vertical ? 11 : 13;
  Surface s = NewCells(8, cw, ch);
  for (int half = 0; half < 2; ++half)
    for (int i = 0; i < 4; ++i) {
      const int look = i == 3 ? 3 : i;
      PaintSpinHalf(CellOf(s, half * 4 + i, S(cw)), kSpinLooks[look], vertical, half == 0);
    }
  return s;
}

// Glyphs are opaque (their keying is undefined), on their button's own fill.
Surface DrawSpinArrows(bool vertical) {
  const int cw = vertical ? 7 : 6, ch = vertical ? 6 : 7;
  Surface s = NewCells(8, cw, ch);
  for (int half = 0; half < 2; ++half)
    for (int i = 0; i < 4; ++i) {
      const SpinLook& look = kSpinLooks[i == 3 ? 3 : i];
      SurfaceView cell = CellOf(s, half * 4 + i, S(cw));
      cell.Fill(look.fill);
      const Glyph& glyph = vertical ? (half == 0 ? kSmallUpGlyph : kSmallDownGlyph)
                                    : (half == 0 ? kSmallLeftGlyph : kSmallRightGlyph);
      DrawGlyph(cell, glyph, look.glyph);
    }
  return s;
}

// ---- the window frame ---------------------------------------------------

// The frame is painted as one whole window, 150 x 100, and the border
// pictures are cut from it; that way the rounded corners and bevels meet
// exactly where the engine joins the pieces.
constexpr int kWindowWidth = 150, kWindowHeight = 100, kCaption = 25, kSide = 4, kBottom = 5;

// The window's parts at the scale. The caption and bottom pictures are as
// wide as their own scaled width, the sides fill the rest, so every piece
// keeps the size the engine scales its cells to.
struct WindowParts {
  int side = S(kSide), caption = S(kCaption), bottom = S(kBottom);
  int width = S(kWindowWidth - 2 * kSide) + 2 * S(kSide), height = S(kWindowHeight);
};

Surface PaintWindow(bool active) {
  const Pixel outer = active ? Rgb(78, 100, 168) : Rgb(160, 163, 180);
  const Pixel capTop = active ? Rgb(246, 247, 253) : Rgb(244, 244, 247);
  const Pixel capBottom = active ? Rgb(220, 224, 241) : Rgb(231, 231, 237);
  const Pixel inner = active ? Rgb(184, 191, 218) : Rgb(208, 209, 219);
  const Pixel gleam = Mix(capTop, kWhite, 0.7);
  const WindowParts p;
  const int W = p.width, H = p.height, side = p.side, caption = p.caption, bottom = p.bottom, l = Line();

  Surface s(W, H, capBottom);
  SurfaceView v = s.View();
  VerticalGradient(v, {0, 0, W, caption}, capTop, capBottom);
  FillRect(v, {l, l, W - l, 2 * l}, gleam);
  FillRect(v, {l, l, 2 * l, H - l}, Mix(capBottom, kWhite, 0.55));
  FillRect(v, {l, l, 2 * l, caption}, gleam);
  // Inner hairline round the client area.
  FillRect(v, {side - l, caption - l, W - side + l, caption}, inner);
  FillRect(v, {side - l, caption - l, side, H - bottom + l}, inner);
  FillRect(v, {W - side, caption - l, W - side + l, H - bottom + l}, inner);
  FillRect(v, {side - l, H - bottom, W - side + l, H - bottom + l}, inner);
  FillRect(v, {side, caption, W - side, H - bottom}, kWhite);  // client: never part of a picture
  // Outer line.
  FillRect(v, {0, 0, W, l}, outer);
  FillRect(v, {0, H - l, W, H}, outer);
  FillRect(v, {0, 0, l, H}, outer);
  FillRect(v, {W - l, 0, W, H}, outer);

  // Round corners: 6 px at the top, 2 px at the bottom; outside is cut, so
  // the edge against it is hard: a pixel is cut or it is the outline.
  // left / top say which corner: the loop walks inwards from it.
  auto corner = [&](double radius, bool left, bool top) {
    const int n = static_cast<int>(radius);
    for (int dy = 0; dy < n; ++dy)
      for (int dx = 0; dx < n; ++dx) {
        const int x = left ? dx : W - 1 - dx, y = top ? dy : H - 1 - dy;
        const double d = std::hypot(dx + 0.5 - radius, dy + 0.5 - radius);
        if (d > radius) v.At(x, y) = kKey;
        else if (d > radius - l) v.At(x, y) = outer;
        else if (d > radius - 2 * l && top) v.At(x, y) = gleam;
      }
  };
  corner(S(6), true, true);
  corner(S(6), false, true);
  corner(S(2), true, false);
  corner(S(2), false, false);
  return s;
}

void CopyRect(SurfaceView dst, int x, int y, const Surface& src, Rect r) {
  Blit(dst, x, y, src.View().Sub(r));
}

struct Frame {
  Surface left, right, top, bottom, minCaption;
};

Frame DrawFrame() {
  const Surface active = PaintWindow(true), inactive = PaintWindow(false);
  const WindowParts p;
  const int W = p.width, H = p.height, l = Line();
  // The minimised caption: both ends of the big caption, then its bottom
  // line; one cell across, so its ends share the scaled width.
  const int minWidth = S(92), minEnd = S(46), minRight = minWidth - minEnd, minCell = S(21),
            minCaption = minCell - l;
  Frame f{NewPicture(2 * p.side, H), NewPicture(2 * p.side, H), NewPicture(W - 2 * p.side, 2 * p.caption),
          NewPicture(W - 2 * p.side, 2 * p.bottom), NewPicture(minWidth, 2 * minCell)};
  const Surface* states[2] = {&active, &inactive};
  for (int i = 0; i < 2; ++i) {
    const Surface& w = *states[i];
    CopyRect(f.left.View(), i * p.side, 0, w, {0, 0, p.side, H});
    CopyRect(f.right.View(), i * p.side, 0, w, {W - p.side, 0, W, H});
    CopyRect(f.top.View(), 0, i * p.caption, w, {p.side, 0, W - p.side, p.caption});
    CopyRect(f.bottom.View(), 0, i * p.bottom, w, {p.side, H - p.bottom, W - p.side, H});
    CopyRect(f.minCaption.View(), 0, i * minCell, w, {0, 0, minEnd, minCaption});
    CopyRect(f.minCaption.View(), minEnd, i * minCell, w, {W - minRight, 0, W, minCaption});
    CopyRect(f.minCaption.View(), 0, i * minCell + minCaption, w, {0, H - l, minEnd, H});
    CopyRect(f.minCaption.View(), minEnd, i * minCell + minCaption, w, {W - minRight, H - l, W, H});
  }
  return f;
}

}  // namespace

std::vector<SkinPicture> DrawStoredSkin(int dpi) {
  S = ArtScale{dpi};
  Frame frame = DrawFrame();
  std::vector<SkinPicture> p;
  auto add = [&](const char* name, int bits, Surface s) { p.push_back({name, bits, std::move(s)}); };
  add("buttons.bmp", 24, DrawButtons());
  add("checkbox.bmp", 24, DrawCheckBox());
  add("radiobutton.bmp", 24, DrawRadioButton());
  add("progress.bmp", 24, DrawProgress());
  add("progresschunk.bmp", 24, DrawProgressChunk());
  add("tab.bmp", 24, DrawTab());
  add("tabsheet.bmp", 24, DrawTabSheet());
  add("comboboxbtn.bmp", 24, DrawComboButton());
  add("statusbar.bmp", 24, DrawStatusBar());
  add("header.bmp", 24, DrawHeader());
  add("scrollbararrow.bmp", 32, DrawScrollbarArrow());
  add("scrollbarhthumb.bmp", 24, DrawScrollThumbH());
  add("scrollbarvthumb.bmp", 24, DrawScrollThumbV());
  add("scrollbarhbar.bmp", 24, DrawScrollBarH());
  add("scrollbarvbar.bmp", 24, DrawScrollBarV());
  add("menubackground.bmp", 32, DrawMenuBackground());
  add("menuitem.bmp", 32, DrawMenuItem());
  add("extraimages.bmp", 24, DrawExtraImages());
  add("trackthumbh.bmp", 24, DrawTrackThumbH());
  add("trackbot.bmp", 24, DrawTrackBot());
  add("trackbar.bmp", 24, DrawTrackChannel());
  add("trackbarv.bmp", 24, DrawTrackChannelVert());
  add("mdibutton.bmp", 24, DrawMdiButtons());
  add("spin.bmp", 24, DrawSpin(true));
  add("spinarrow.bmp", 24, DrawSpinArrows(true));
  add("spinh.bmp", 24, DrawSpin(false));
  add("spinharrow.bmp", 24, DrawSpinArrows(false));
  add("closebutton.bmp", 24, DrawCaptionButton(kCloseGlyphShape, 0));
  add("maxbutton.bmp", 24, DrawCaptionButton(kMaximiseGlyph, 0));
  add("minbutton.bmp", 24, DrawCaptionButton(kMinimiseGlyph, 3));
  add("restrorebutton.bmp", 24, DrawCaptionButton(kRestoreGlyph, 0));
  add("frameleft.bmp", 24, std::move(frame.left));
  add("frameright.bmp", 24, std::move(frame.right));
  add("frametop.bmp", 24, std::move(frame.top));
  add("framebottom.bmp", 24, std::move(frame.bottom));
  add("mincaption.bmp", 24, std::move(frame.minCaption));
  return p;
}

}  // namespace corvane::tools
