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

// ---- shared pieces ------------------------------------------------------

Surface NewPicture(int width, int height, Pixel fill = kKey) { return Surface(width, height, fill); }

// A glyph-only button face at rest, a boxed one when hot or pressed.
void PaintGlyphButton(SurfaceView cell, const Look& look, bool boxed,
                      std::initializer_list<std::string_view> glyph, int dy = 0) {
  cell.Fill(kKey);
  if (boxed) PaintBox(cell, look, kKey);
  PaintGlyphCentred(cell, glyph, look.glyph, 0, dy);
}

// The profile across a scroll bar's thickness: hairline edges, light trough.
Pixel TrackProfile(int i, int thickness, bool enabled) {
  if (i == 0 || i == thickness - 1) return kTrackEdge;
  return enabled ? kTrack : Rgb(232, 232, 239);
}

// A horizontal scroll thumb (30 x 15) over its trough: the box sits one
// pixel in from the ends and two from the long sides, so the trough frames it.
void PaintThumbH(SurfaceView cell, const Look& look) {
  for (int y = 0; y < cell.height; ++y)
    FillRect(cell, {0, y, cell.width, y + 1}, TrackProfile(y, cell.height, true));
  const Look thumb{look.border, look.top, look.bottom, look.glyph, look.gloss};
  SurfaceView box = cell.Sub({1, 2, cell.width - 1, cell.height - 2});
  PaintBox(box, thumb, kTrack);
}

// The grip drawn across the middle of a horizontal thumb: three raised
// ridges, on a background copied from the thumb's own middle column so the
// grip joins the thumb seamlessly whatever its keying.
void PaintGripH(SurfaceView cell, const Look& look) {
  Surface thumb(30, 15);
  PaintThumbH(thumb.View(), look);
  for (int y = 0; y < 15; ++y) FillRect(cell, {0, y, 15, y + 1}, thumb.At(15, y));
  const Pixel dark = Mix(look.border, look.bottom, 0.25);
  const Pixel light = Mix(look.top, kWhite, 0.6);
  for (int x : {4, 7, 10}) {
    FillRect(cell, {x, 5, x + 1, 10}, dark);
    FillRect(cell, {x + 1, 5, x + 2, 10}, light);
  }
}

// ---- push buttons, check boxes, radio buttons ---------------------------

Surface DrawButtons() {
  Surface s = NewPicture(130, 21);
  PaintBox(CellOf(s, 0, 26), kNormal, kKey);
  PaintBox(CellOf(s, 1, 26), kPressed, kKey);
  PaintBox(CellOf(s, 2, 26), kDisabled, kKey);
  PaintBox(CellOf(s, 3, 26), kHot, kKey);
  // Focus is shown by this cell alone (no focus rectangle), so it gets the
  // accent border plus a soft inner ring that survives any stretch.
  SurfaceView focused = CellOf(s, 4, 26);
  PaintBox(focused, {kHilight, kNormal.top, kNormal.bottom, kTitle, true}, kKey);
  const Pixel ring = Rgb(176, 192, 236);
  SurfaceView inner = focused.Sub({1, 1, 25, 20});
  FillRect(inner, {1, 0, inner.width - 1, 1}, ring);
  FillRect(inner, {1, inner.height - 1, inner.width - 1, inner.height}, ring);
  FillRect(inner, {0, 1, 1, inner.height - 1}, ring);
  FillRect(inner, {inner.width - 1, 1, inner.width, inner.height - 1}, ring);
  // The centre (rows 3 to 17) stretches; the shading lives in the fixed rows.
  FlattenRows(s.View(), 3, 18);
  return s;
}

enum class Mark { None, Check, Mixed };

void PaintCheckCell(SurfaceView cell, const Look& look, Mark mark) {
  cell.Fill(kKey);
  const Look box{look.border, look.gloss ? kWhite : look.top, look.bottom, look.glyph, false};
  PaintBox(cell, box, kKey);
  if (mark == Mark::Check) PaintGlyph(cell, 2, 3, kCheck, look.glyph == kTitle ? kHilight : look.glyph);
  if (mark == Mark::Mixed)
    FillRect(cell, {4, 4, 9, 9}, look.glyph == kTitle ? kHilight : look.glyph);
}

// Cells run normal, hot, pressed, disabled for unchecked, checked and
// indeterminate; the engine picks 1, 4, 5, 8, 9 and 12 of them.
Surface DrawCheckBox() {
  Surface s = NewPicture(156, 13);
  const Look looks[4] = {kNormal, kHot, kPressed, kDisabled};
  const Mark marks[3] = {Mark::None, Mark::Check, Mark::Mixed};
  for (int m = 0; m < 3; ++m)
    for (int l = 0; l < 4; ++l) PaintCheckCell(CellOf(s, m * 4 + l, 13), looks[l], marks[m]);
  return s;
}

// Radio circles are antialiased against the face colour they normally sit
// on; pixels the circle does not touch at all stay keyed.
void PaintRadioCell(SurfaceView cell, const Look& look, bool checked) {
  constexpr int kSamples = 4;
  const double cx = 6.5, cy = 6.5;
  const Pixel dot = look.glyph == kTitle ? kHilight : look.glyph;
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 13; ++x) {
      double r = 0, g = 0, b = 0;
      int inside = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double px = x + (sx + 0.5) / kSamples, py = y + (sy + 0.5) / kSamples;
          const double d = std::hypot(px - cx, py - cy);
          Pixel p = kFace;
          if (d <= 6.4) {
            ++inside;
            p = d > 5.4 ? look.border : Mix(look.gloss ? kWhite : look.top, look.bottom, py / 13.0);
            if (checked && d <= 2.6) p = dot;
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
  Surface s = NewPicture(104, 13);
  const Look looks[4] = {kNormal, kHot, kPressed, kDisabled};
  for (int c = 0; c < 2; ++c)
    for (int l = 0; l < 4; ++l) PaintRadioCell(CellOf(s, c * 4 + l, 13), looks[l], c == 1);
  return s;
}

// ---- progress -----------------------------------------------------------

Surface DrawProgress() {
  Surface s = NewPicture(10, 5);
  PaintBox(s.View(), {Rgb(170, 174, 198), Rgb(232, 233, 241), Rgb(248, 248, 252), kTitle, false}, kKey);
  FillRect(s.View(), {1, 2, 9, 4}, Rgb(248, 248, 252));
  return s;
}

Surface DrawProgressChunk() {
  Surface s = NewPicture(102, 15);
  PaintBox(s.View(), {Rgb(56, 82, 156), Rgb(132, 158, 224), Rgb(68, 96, 174), kWhite, false}, kKey);
  FillRect(s.View(), {2, 1, 98, 2}, Rgb(168, 188, 236));
  // A lighter end cap marks the leading edge of the fill.
  VerticalGradient(s.View(), {98, 2, 101, 13}, Rgb(150, 172, 232), Rgb(96, 122, 196));
  FlattenRows(s.View(), 2, 13);
  return s;
}

// ---- tabs ---------------------------------------------------------------

void PaintTab(SurfaceView cell, const Look& look, bool current, bool accent) {
  cell.Fill(kFace);  // outer corners: face, as the area beneath is rarely painted
  const int top = current ? 0 : 2;
  const int w = cell.width, h = cell.height;
  // The body is flat (it stretches); only the fixed top rows shade into it.
  FillRect(cell, {1, top + 1, w - 1, h}, look.bottom);
  VerticalGradient(cell, {1, top + 1, w - 1, 5}, look.top, look.bottom);
  FillRect(cell, {1, top, w - 1, top + 1}, look.border);
  FillRect(cell, {0, top + 1, 1, h}, look.border);
  FillRect(cell, {w - 1, top + 1, w, h}, look.border);
  cell.At(1, top + 1) = Mix(cell.At(1, top + 1), look.border, 0.5);
  cell.At(w - 2, top + 1) = Mix(cell.At(w - 2, top + 1), look.border, 0.5);
  if (accent) {
    FillRect(cell, {2, 0, w - 2, 1}, kHilight);
    FillRect(cell, {1, 1, w - 1, 2}, kHilight);
    FillRect(cell, {1, 2, w - 1, 3}, Mix(kHilight, look.top, 0.6));
  }
  // The current tab opens into the page; the others sit on its top line.
  if (!current) FillRect(cell, {0, h - 1, w, h}, kBorder);
}

Surface DrawTab() {
  Surface s = NewPicture(130, 23);
  const Look other{Rgb(170, 174, 198), Rgb(238, 238, 244), Rgb(219, 219, 230), kTitle, false};
  // The current tab's body is the face colour, so it flows into the page.
  const Look current{kBorder, kWhite, kFace, kTitle, false};
  PaintTab(CellOf(s, 0, 26), other, false, false);
  PaintTab(CellOf(s, 1, 26), current, true, true);
  PaintTab(CellOf(s, 2, 26), {kBorderHot, kWhite, Rgb(226, 232, 248), kTitle, false}, false, false);
  PaintTab(CellOf(s, 3, 26), {kBorderDisabled, Rgb(238, 238, 243), Rgb(232, 232, 238), kShadow, false},
           false, false);
  PaintTab(CellOf(s, 4, 26), other, false, false);
  FlattenRows(s.View(), 4, 22);
  return s;
}

Surface DrawTabSheet() {
  Surface s = NewPicture(51, 100, kFace);
  SurfaceView v = s.View();
  FillRect(v, {1, 1, 50, 2}, Rgb(243, 242, 249));
  FillRect(v, {1, 1, 2, 99}, Rgb(243, 242, 249));
  FillRect(v, {1, 98, 50, 99}, Rgb(212, 213, 225));
  FillRect(v, {49, 1, 50, 99}, Rgb(212, 213, 225));
  FillRect(v, {0, 0, 51, 1}, kBorder);
  FillRect(v, {0, 99, 51, 100}, kBorder);
  FillRect(v, {0, 0, 1, 100}, kBorder);
  FillRect(v, {50, 0, 51, 100}, kBorder);
  return s;
}

// ---- combo box, extra images --------------------------------------------

Surface DrawComboButton() {
  Surface s = NewPicture(64, 16);
  const Look looks[4] = {kNormal, kPressed, kDisabled, kHot};
  for (int i = 0; i < 4; ++i) {
    SurfaceView cell = CellOf(s, i, 16);
    PaintBox(cell, looks[i], kKey);
    PaintGlyphCentred(cell, kArrowDown, looks[i].glyph, 0, i == 1 ? 1 : 0);
  }
  return s;
}

// The size grip: dimples on a diagonal, each a dark pixel with a light one
// below-right, as if pressed into the bar.
void PaintSizeGrip(SurfaceView cell) {
  cell.Fill(kKey);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      if (row + col < 3) continue;
      const int x = 3 + col * 3, y = 4 + row * 3;
      cell.At(x, y) = Rgb(150, 154, 178);
      cell.At(x + 1, y + 1) = kWhite;
    }
  }
}

Surface DrawExtraImages() {
  Surface s = NewPicture(80, 17);
  const Pixel inks[4] = {kTitle, kHilight, kShadow, kHilight};
  for (int i = 0; i < 4; ++i) PaintGlyphCentred(CellOf(s, i, 16), kArrowDown, inks[i], 0, i == 1 ? 1 : 0);
  PaintSizeGrip(CellOf(s, 4, 16));
  return s;
}

// ---- status bar, header -------------------------------------------------

void PaintStatusCell(SurfaceView cell, int bevel) {
  cell.Fill(kFace);
  FillRect(cell, {0, 0, cell.width, 1}, kShadow);
  FillRect(cell, {0, 1, cell.width, 2}, Rgb(243, 242, 249));
  if (bevel == 0) return;
  const Pixel dark = Rgb(190, 193, 210), light = kWhite;
  const Pixel topLeft = bevel < 0 ? dark : light, bottomRight = bevel < 0 ? light : dark;
  const Rect panel{2, 3, cell.width - 2, cell.height - 2};
  FillRect(cell, {panel.left, panel.top, panel.right, panel.top + 1}, topLeft);
  FillRect(cell, {panel.left, panel.top, panel.left + 1, panel.bottom}, topLeft);
  FillRect(cell, {panel.left, panel.bottom - 1, panel.right, panel.bottom}, bottomRight);
  FillRect(cell, {panel.right - 1, panel.top + 1, panel.right, panel.bottom}, bottomRight);
}

Surface DrawStatusBar() {
  Surface s = NewPicture(204, 21);
  PaintStatusCell(CellOf(s, 0, 68), -1);
  PaintStatusCell(CellOf(s, 1, 68), 1);
  PaintStatusCell(CellOf(s, 2, 68), 0);
  return s;
}

void PaintHeaderCell(SurfaceView cell, Pixel top, Pixel bottom, Pixel underline) {
  VerticalGradient(cell, {0, 0, cell.width, 15}, top, bottom);
  FillRect(cell, {0, 15, cell.width, 16}, underline);
  FillRect(cell, {0, 16, cell.width, 17}, kShadow);
  FillRect(cell, {18, 3, 19, 13}, Rgb(204, 206, 220));
  FillRect(cell, {19, 3, 20, 13}, kWhite);
}

Surface DrawHeader() {
  Surface s = NewPicture(100, 17);
  const Pixel plain = Rgb(232, 233, 242);
  PaintHeaderCell(CellOf(s, 0, 20), Rgb(252, 252, 255), plain, plain);
  PaintHeaderCell(CellOf(s, 1, 20), Rgb(248, 250, 255), Rgb(222, 229, 248), kHilight);
  PaintHeaderCell(CellOf(s, 2, 20), Rgb(212, 218, 238), Rgb(226, 230, 243), Rgb(226, 230, 243));
  PaintHeaderCell(CellOf(s, 3, 20), Rgb(252, 252, 255), plain, plain);
  PaintHeaderCell(CellOf(s, 4, 20), Rgb(252, 252, 255), plain, plain);
  FlattenRows(s.View(), 2, 15);
  return s;
}

// ---- scroll bars --------------------------------------------------------

Surface DrawScrollbarArrow() {
  Surface s = NewPicture(345, 15);
  const std::initializer_list<std::string_view>* glyphs[4] = {&kArrowLeft, &kArrowRight, &kArrowUp,
                                                              &kArrowDown};
  // Per part: normal, pressed, (free: disabled look), hot.
  const Look looks[4] = {kNormal, kPressed, kDisabled, kHot};
  for (int part = 0; part < 4; ++part) {
    for (int state = 0; state < 4; ++state) {
      SurfaceView cell = CellOf(s, part * 4 + state, 15);
      cell.Fill(kKey);
      PaintBox(cell.Sub({1, 1, 14, 14}), looks[state], kKey);
      // Even-sized glyph rows sit half a pixel off; nudge the side arrows
      // so they look centred rather than leaning.
      PaintGlyphCentred(cell, *glyphs[part], looks[state].glyph, part == 0 ? -1 : 0, 0);
    }
  }
  const Look grips[3] = {kNormal, kPressed, kHot};
  for (int i = 0; i < 3; ++i) {
    PaintGripH(CellOf(s, 16 + i, 15), grips[i]);
    Surface h(15, 15);
    PaintGripH(h.View(), grips[i]);
    Transpose(CellOf(s, 19 + i, 15), h.View());
  }
  PaintBox(CellOf(s, 22, 15).Sub({1, 1, 14, 14}), kNormal, kKey);
  return s;
}

Surface DrawScrollThumbH() {
  Surface s = NewPicture(120, 15);
  const Look looks[4] = {kNormal, kPressed, kHot, kDisabled};
  for (int i = 0; i < 4; ++i) PaintThumbH(CellOf(s, i, 30), looks[i]);
  return s;
}

Surface DrawScrollThumbV() {
  Surface h = DrawScrollThumbH();
  Surface s = NewPicture(60, 30);
  for (int i = 0; i < 4; ++i) {
    Surface cell(15, 30);
    Transpose(cell.View(), CellOf(h, i, 30));
    Blit(s.View(), i * 15, 0, cell.View());
  }
  return s;
}

// Cells: 1 enabled, 2 free (pressed trough), 3 disabled, 4 free.
Surface DrawScrollBarH() {
  Surface s = NewPicture(80, 15);
  for (int i = 0; i < 4; ++i) {
    SurfaceView cell = CellOf(s, i, 20);
    const bool enabled = i == 0 || i == 1;
    for (int y = 0; y < 15; ++y) FillRect(cell, {0, y, 20, y + 1}, TrackProfile(y, 15, enabled));
    if (i == 1) FillRect(cell, {0, 1, 20, 14}, Rgb(214, 218, 234));
  }
  return s;
}

Surface DrawScrollBarV() {
  Surface h = DrawScrollBarH();
  Surface s = NewPicture(60, 4);
  for (int i = 0; i < 4; ++i)
    for (int x = 0; x < 15; ++x)
      for (int y = 0; y < 4; ++y) s.At(i * 15 + x, y) = h.At(i * 20 + 16, x);
  return s;
}

// ---- menus --------------------------------------------------------------

Surface DrawMenuBackground() {
  Surface s = NewPicture(20, 20, kMenu);
  SurfaceView v = s.View();
  FillRect(v, {1, 1, 19, 19}, kWhite);
  FillRect(v, {2, 2, 18, 18}, kMenu);
  const Pixel border = Rgb(150, 156, 184);
  FillRect(v, {0, 0, 20, 1}, border);
  FillRect(v, {0, 19, 20, 20}, border);
  FillRect(v, {0, 0, 1, 20}, border);
  FillRect(v, {19, 0, 20, 20}, border);
  return s;
}

Surface DrawMenuItem() {
  Surface s = NewPicture(100, 18);
  // 1: normal items let the menu background show.
  // 2: separator, a groove in the bottom eight rows.
  SurfaceView sep = CellOf(s, 1, 20);
  FillRect(sep, {2, 13, 18, 14}, Rgb(208, 210, 224));
  FillRect(sep, {2, 14, 18, 15}, kWhite);
  // 3 (free): a disabled item under the cursor.
  PaintBox(CellOf(s, 2, 20), {Rgb(196, 200, 222), Rgb(232, 234, 244), Rgb(224, 227, 240), kShadow, false}, kKey);
  // 4: the selected item, dark enough for near-white text.
  PaintBox(CellOf(s, 3, 20), {Rgb(48, 72, 142), Rgb(88, 114, 188), Rgb(64, 91, 166), kWhite, false}, kKey);
  FillRect(CellOf(s, 3, 20), {2, 1, 18, 2}, Rgb(120, 144, 208));
  FlattenRows(CellOf(s, 2, 20), 3, 15);
  FlattenRows(CellOf(s, 3, 20), 3, 15);
  return s;
}

// ---- track bars ---------------------------------------------------------

Surface DrawTrackChannel() {
  Surface s = NewPicture(10, 5, kFace);
  SurfaceView v = s.View();
  FillRect(v, {1, 0, 9, 1}, Rgb(160, 166, 192));
  FillRect(v, {0, 1, 10, 4}, Rgb(160, 166, 192));
  FillRect(v, {1, 1, 9, 2}, Rgb(212, 214, 228));
  FillRect(v, {1, 2, 9, 4}, Rgb(244, 244, 249));
  FillRect(v, {1, 4, 9, 5}, kWhite);
  return s;
}

Surface DrawTrackChannelVert() {
  Surface s = NewPicture(10, 5, kFace);
  SurfaceView v = s.View();
  // Five columns of groove centred in the picture: border, shade, trough, trough, light.
  const Pixel columns[5] = {Rgb(160, 166, 192), Rgb(212, 214, 228), Rgb(244, 244, 249),
                            Rgb(244, 244, 249), kWhite};
  for (int i = 0; i < 5; ++i) FillRect(v, {2 + i, 0, 3 + i, 5}, columns[i]);
  FillRect(v, {3, 0, 6, 1}, Rgb(160, 166, 192));
  v.At(2, 0) = kFace;
  v.At(6, 0) = kFace;
  return s;
}

// A pointer-shaped thumb: a box whose lower part narrows to a point.
void PaintPointerThumb(SurfaceView cell, const Look& look, int bodyRows) {
  cell.Fill(kKey);
  const int w = cell.width, mid = w / 2;
  for (int y = 0; y < cell.height; ++y) {
    const int half = y < bodyRows ? mid : mid - (y - bodyRows + 1) * mid / (cell.height - bodyRows);
    const int left = mid - half, right = mid + half;
    const Pixel fill = Mix(look.gloss ? kWhite : look.top, look.bottom, double(y) / cell.height);
    for (int x = left; x <= right; ++x) cell.At(x, y) = fill;
    cell.At(left, y) = look.border;
    cell.At(right, y) = look.border;
    if (y == 0) FillRect(cell, {left, 0, right + 1, 1}, look.border);
  }
  cell.At(0, 0) = kKey;
  cell.At(w - 1, 0) = kKey;
  cell.At(1, 1) = Mix(cell.At(1, 1), look.border, 0.5);
  cell.At(w - 2, 1) = Mix(cell.At(w - 2, 1), look.border, 0.5);
}

// Only cell 2 is ever drawn, in every state: it gets the resting look.
Surface DrawTrackThumbH() {
  Surface s = NewPicture(45, 20);
  const Look looks[5] = {kHot, {kBorderHot, kWhite, Rgb(222, 228, 246), kTitle, true}, kPressed,
                         kDisabled, kNormal};
  for (int i = 0; i < 5; ++i) PaintPointerThumb(CellOf(s, i, 9), looks[i], 14);
  return s;
}

Surface DrawTrackBot() {
  Surface s = NewPicture(55, 11);
  const Look looks[5] = {kNormal, kHot, kPressed, kDisabled, kNormal};
  for (int i = 0; i < 5; ++i) PaintPointerThumb(CellOf(s, i, 11), looks[i], 6);
  return s;
}

// ---- MDI and caption buttons --------------------------------------------

Surface DrawMdiButtons() {
  Surface s = NewPicture(156, 13);
  const std::initializer_list<std::string_view>* glyphs[3] = {&kMdiMinimise, &kMdiRestore, &kMdiClose};
  for (int b = 0; b < 3; ++b) {
    const int dy = b == 0 ? 3 : 0;  // the minimise bar sits low, like its big brother
    PaintGlyphButton(CellOf(s, b * 4 + 0, 13), kNormal, false, *glyphs[b], dy);
    PaintGlyphButton(CellOf(s, b * 4 + 1, 13), kPressed, true, *glyphs[b], dy);
    PaintGlyphButton(CellOf(s, b * 4 + 2, 13), kDisabled, false, *glyphs[b], dy);
    PaintGlyphButton(CellOf(s, b * 4 + 3, 13), kHot, true, *glyphs[b], dy);
  }
  return s;
}

// Cells: normal, pressed, hot, inactive or disabled; 5 and 6 stay keyed.
Surface DrawCaptionButton(std::initializer_list<std::string_view> glyph, int dy) {
  Surface s = NewPicture(102, 17);
  const Look hot{kBorderHot, Rgb(250, 252, 255), Rgb(214, 224, 248), kHilight, true};
  const Look pressed{kTitle, Rgb(64, 91, 166), Rgb(84, 110, 184), kWhite, false};
  const Look inactive{kBorderDisabled, kWhite, kWhite, kTitleInactive, false};
  PaintGlyphButton(CellOf(s, 0, 17), kNormal, false, glyph, dy);
  PaintGlyphButton(CellOf(s, 1, 17), pressed, true, glyph, dy);
  PaintGlyphButton(CellOf(s, 2, 17), hot, true, glyph, dy);
  PaintGlyphButton(CellOf(s, 3, 17), inactive, false, glyph, dy);
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
  const int w = cell.width, h = cell.height;
  FillRect(cell, {0, 0, 1, h}, look.border);
  FillRect(cell, {w - 1, 0, w, h}, look.border);
  FillRect(cell, {0, 0, w, 1}, look.border);
  FillRect(cell, {0, h - 1, w, h}, look.border);
  if (vertical && !first) FillRect(cell, {1, 0, w - 1, 1}, look.fill);
  if (!vertical && !first) FillRect(cell, {0, 1, 1, h - 1}, look.fill);
  // Round the two outer corners against the face the control sits on.
  const Point corners[2][2] = {{{0, 0}, {w - 1, 0}}, {{0, h - 1}, {w - 1, h - 1}}};
  const Point hcorners[2][2] = {{{0, 0}, {0, h - 1}}, {{w - 1, 0}, {w - 1, h - 1}}};
  for (const Point& p : vertical ? corners[first ? 0 : 1] : hcorners[first ? 0 : 1])
    cell.At(p.x, p.y) = kFace;
}

Surface DrawSpin(bool vertical) {
  const int cw = vertical ? 13 : 11, ch = vertical ? 11 : 13;
  Surface s = NewPicture(cw * 8, ch);
  for (int half = 0; half < 2; ++half)
    for (int i = 0; i < 4; ++i) {
      const int look = i == 3 ? 3 : i;
      PaintSpinHalf(CellOf(s, half * 4 + i, cw), kSpinLooks[look], vertical, half == 0);
    }
  return s;
}

// Glyphs are opaque (their keying is undefined), on their button's own fill.
Surface DrawSpinArrows(bool vertical) {
  const int cw = vertical ? 7 : 6, ch = vertical ? 6 : 7;
  Surface s = NewPicture(cw * 8, ch);
  for (int half = 0; half < 2; ++half)
    for (int i = 0; i < 4; ++i) {
      const SpinLook& look = kSpinLooks[i == 3 ? 3 : i];
      SurfaceView cell = CellOf(s, half * 4 + i, cw);
      cell.Fill(look.fill);
      const auto& glyph = vertical ? (half == 0 ? kSmallUp : kSmallDown) : (half == 0 ? kSmallLeft : kSmallRight);
      PaintGlyphCentred(cell, glyph, look.glyph);
    }
  return s;
}

// ---- the window frame ---------------------------------------------------

// The frame is painted as one whole window, 150 x 100, and the border
// pictures are cut from it; that way the rounded corners and bevels meet
// exactly where the engine joins the pieces.
constexpr int kWindowWidth = 150, kWindowHeight = 100, kCaption = 25, kSide = 4, kBottom = 5;

Surface PaintWindow(bool active) {
  const Pixel outer = active ? Rgb(78, 100, 168) : Rgb(160, 163, 180);
  const Pixel capTop = active ? Rgb(246, 247, 253) : Rgb(244, 244, 247);
  const Pixel capBottom = active ? Rgb(220, 224, 241) : Rgb(231, 231, 237);
  const Pixel inner = active ? Rgb(184, 191, 218) : Rgb(208, 209, 219);
  const Pixel gleam = Mix(capTop, kWhite, 0.7);
  const int W = kWindowWidth, H = kWindowHeight;

  Surface s(W, H, capBottom);
  SurfaceView v = s.View();
  VerticalGradient(v, {0, 0, W, kCaption}, capTop, capBottom);
  FillRect(v, {1, 1, W - 1, 2}, gleam);
  FillRect(v, {1, 1, 2, H - 1}, Mix(capBottom, kWhite, 0.55));
  FillRect(v, {1, 1, 2, kCaption}, gleam);
  // Inner hairline round the client area.
  FillRect(v, {kSide - 1, kCaption - 1, W - kSide + 1, kCaption}, inner);
  FillRect(v, {kSide - 1, kCaption - 1, kSide, H - kBottom + 1}, inner);
  FillRect(v, {W - kSide, kCaption - 1, W - kSide + 1, H - kBottom + 1}, inner);
  FillRect(v, {kSide - 1, H - kBottom, W - kSide + 1, H - kBottom + 1}, inner);
  FillRect(v, {kSide, kCaption, W - kSide, H - kBottom}, kWhite);  // client: never part of a picture
  // Outer line.
  FillRect(v, {0, 0, W, 1}, outer);
  FillRect(v, {0, H - 1, W, H}, outer);
  FillRect(v, {0, 0, 1, H}, outer);
  FillRect(v, {W - 1, 0, W, H}, outer);

  // Round corners: 6 px at the top, 2 px at the bottom; outside is cut.
  // left / top say which corner: the loop walks inwards from it.
  auto corner = [&](double radius, bool left, bool top) {
    const int n = static_cast<int>(radius);
    for (int dy = 0; dy < n; ++dy)
      for (int dx = 0; dx < n; ++dx) {
        const int x = left ? dx : W - 1 - dx, y = top ? dy : H - 1 - dy;
        const double d = std::hypot(dx + 0.5 - radius, dy + 0.5 - radius);
        if (d > radius) v.At(x, y) = kKey;
        else if (d > radius - 1) v.At(x, y) = outer;
        else if (d > radius - 2 && top) v.At(x, y) = gleam;
      }
  };
  corner(6.0, true, true);
  corner(6.0, false, true);
  corner(2.0, true, false);
  corner(2.0, false, false);
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
  const int W = kWindowWidth, H = kWindowHeight;
  Frame f{NewPicture(8, 100), NewPicture(8, 100), NewPicture(142, 50), NewPicture(142, 10),
          NewPicture(92, 42)};
  const Surface* states[2] = {&active, &inactive};
  for (int i = 0; i < 2; ++i) {
    const Surface& w = *states[i];
    CopyRect(f.left.View(), i * kSide, 0, w, {0, 0, kSide, H});
    CopyRect(f.right.View(), i * kSide, 0, w, {W - kSide, 0, W, H});
    CopyRect(f.top.View(), 0, i * kCaption, w, {kSide, 0, W - kSide, kCaption});
    CopyRect(f.bottom.View(), 0, i * kBottom, w, {kSide, H - kBottom, W - kSide, H});
    // A small caption for minimised windows: both ends of the big one.
    CopyRect(f.minCaption.View(), 0, i * 21, w, {0, 0, 46, 20});
    CopyRect(f.minCaption.View(), 46, i * 21, w, {W - 46, 0, W, 20});
    CopyRect(f.minCaption.View(), 0, i * 21 + 20, w, {0, H - 1, 46, H});
    CopyRect(f.minCaption.View(), 46, i * 21 + 20, w, {W - 46, H - 1, W, H});
  }
  return f;
}

}  // namespace

std::vector<SkinPicture> DrawStoredSkin() {
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
  add("closebutton.bmp", 24, DrawCaptionButton(kCloseGlyph, 0));
  add("maxbutton.bmp", 24, DrawCaptionButton(kMaximise, 0));
  add("minbutton.bmp", 24, DrawCaptionButton(kMinimise, 3));
  add("restrorebutton.bmp", 24, DrawCaptionButton(kRestore, 0));
  add("frameleft.bmp", 24, std::move(frame.left));
  add("frameright.bmp", 24, std::move(frame.right));
  add("frametop.bmp", 24, std::move(frame.top));
  add("framebottom.bmp", 24, std::move(frame.bottom));
  add("mincaption.bmp", 24, std::move(frame.minCaption));
  return p;
}

}  // namespace corvane::tools
