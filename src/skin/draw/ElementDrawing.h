// Painting skin elements onto surfaces: cell location, nine-slice and
// three-slice layouts, colour-key transparency and region runs. Portable: the
// geometry is pure functions over rectangles and the pixel work runs on
// Surfaces; putting results on screen is the Windows side's single blit.
#pragma once

#include <vector>

#include "core/Surface.h"

namespace corvane {

// The four fixed margins of a nine-slice cut (or, left and right only, the
// fixed ends of a three-slice strip), from an element's LeftWidth, TopHeight,
// RightWidth and BottomHeight.
struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Margins&, const Margins&) = default;
};

// Where cell index (1-based) of a strip of frames equal cells lies in a
// bitmap of the given size: side by side, or stacked when vertical. A frame
// count below 1 is taken as 1 and the index is kept inside the strip, so bad
// skin data can never address pixels outside the picture.
Rect CellRect(Size bitmap, int frames, int index, bool vertical);

// Which way a stretch runs; the window system picks shrunk rows and shrunk
// columns by different steps.
enum class StretchAxis { Columns, Rows };

// Source column or row for destination position i (0 <= i < dstLen) when
// srcLen pixels are stretched to dstLen: the colour-on-colour rule (pixels
// dropped or repeated, never blended), picking exactly the pixels the window
// system's colour-on-colour StretchBlt picks along that axis.
int StretchSourceIndex(int i, int srcLen, int dstLen, StretchAxis axis);

// Copies src rectangle onto dst rectangle, stretching by StretchSourceIndex.
// Both rectangles are clipped to their surfaces; pixels whose source falls
// outside the source surface are left alone. With a key, source pixels of
// that colour are skipped (transparent).
void StretchCopy(SurfaceView dst, const Rect& dstRect, SurfaceView src, const Rect& srcRect);
void StretchCopyKeyed(SurfaceView dst, const Rect& dstRect, SurfaceView src, const Rect& srcRect,
                      Colour key);

// One step of a slice layout: copy source (bitmap coordinates) to target
// (result coordinates), stretched, or repeated from target's top-left.
struct SlicePiece {
  enum class Kind { Stretch, Tile };
  Kind kind = Kind::Stretch;
  Rect source;
  Rect target;
  friend bool operator==(const SlicePiece&, const SlicePiece&) = default;
};

// The nine-slice layout of cell into a w x h result, in painting order (the
// tiled centre may run under the right and bottom edges, which are painted
// after it). Margins wider than the target are dropped in pairs.
std::vector<SlicePiece> PlanNineSlice(Size target, const Rect& cell, Margins margins, bool tile);

// The three-slice layout with a tiled middle: fixed left end, middle pieces of
// the cell's middle width repeated (the last may run under the right end),
// fixed right end; every piece spans the full target height.
std::vector<SlicePiece> PlanStrip(Size target, const Rect& cell, Margins margins);

// The three-slice layout with a stretched middle; a cell wider than the target
// is stretched whole instead.
std::vector<SlicePiece> PlanStretchedStrip(Size target, const Rect& cell, Margins margins);

// Runs a plan from bitmap into result (pieces clipped to both).
void ApplyPlan(SurfaceView result, SurfaceView bitmap, const std::vector<SlicePiece>& plan);

// A new surface the size of target holding the nine-slice image of one cell.
Surface BuildElementBitmap(const Rect& target, const Surface& bitmap, Margins margins,
                           bool vertical, bool tile, int frames, int index);

// BuildElementBitmap put at target's top-left on canvas, magenta left out
// when transparent.
void DrawElement(SurfaceView canvas, const Rect& target, const Surface& bitmap, bool vertical,
                 bool tile, bool transparent, int frames, int index, Margins margins);

// Three-slice strip with a tiled middle (left and right margins used).
void DrawStrip(SurfaceView canvas, const Rect& target, const Surface& bitmap, bool vertical,
               bool transparent, int frames, int index, Margins margins);

// One cell of a horizontal strip stretched to target.
void DrawFrameCell(SurfaceView canvas, const Rect& target, const Surface& bitmap,
                   bool transparent, int frames, int index);

// Top-left where a cell of cellSize lands when centred unscaled in target
// (halves truncated toward zero, so an oversized cell overhangs evenly).
Point CentredOrigin(const Rect& target, Size cellSize);

// One cell of a horizontal strip, unscaled, centred in target.
void DrawCentredCell(SurfaceView canvas, const Rect& target, const Surface& bitmap,
                     bool transparent, int frames, int index);

// Three-slice strip whose middle is stretched; always copied opaque.
void DrawStretchedStrip(SurfaceView canvas, const Rect& target, const Surface& bitmap,
                        bool vertical, int frames, int index, Margins ends);

// bitmap drawn at target's top-left; pixels of key leave the canvas untouched.
void DrawTransparent(SurfaceView canvas, const Rect& target, SurfaceView bitmap, Colour key);

// source rectangle of bitmap repeated from target's top-left over target;
// the last row and column of tiles are clipped by the canvas only.
void TileBitmap(SurfaceView canvas, const Rect& target, SurfaceView bitmap, const Rect& source);

// The opaque area of bitmap as one-pixel-high run rectangles, row by row, left
// to right, shifted by (x0, y0). A pixel is transparent when each component
// lies in [key component, key component + tolerance] (capped at 255); the
// tolerances come blue first, as callers have always passed them.
std::vector<Rect> RegionFromBitmap(SurfaceView bitmap, int x0, int y0, int blueTolerance,
                                   int greenTolerance, int redTolerance, Colour key);

}  // namespace corvane
