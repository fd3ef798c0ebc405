#include "skin/draw/ElementDrawing.h"

#include <algorithm>

namespace corvane {

namespace {

bool HasArea(const Rect& r) { return r.Width() > 0 && r.Height() > 0; }

// Skin files may carry negative margins; they would turn slices inside out.
Margins NonNegative(Margins m) {
  return {std::max(m.left, 0), std::max(m.top, 0), std::max(m.right, 0), std::max(m.bottom, 0)};
}

void AddPiece(std::vector<SlicePiece>& plan, SlicePiece::Kind kind, const Rect& source,
              const Rect& target) {
  // A slice with no area (or one turned inside out by margins larger than the
  // cell) draws nothing rather than a mirrored copy.
  if (HasArea(source) && HasArea(target)) plan.push_back({kind, source, target});
}

void CopyToCanvas(SurfaceView canvas, const Rect& target, SurfaceView picture, bool transparent) {
  const Rect dst = Rect::FromSize(target.left, target.top, picture.width, picture.height);
  if (transparent)
    StretchCopyKeyed(canvas, dst, picture, picture.Bounds(), kColourKey);
  else
    StretchCopy(canvas, dst, picture, picture.Bounds());
}

template <bool Keyed>
void StretchCopyImpl(SurfaceView dst, const Rect& dstRect, SurfaceView src, const Rect& srcRect,
                     Colour key) {
  if (dst.IsEmpty() || src.IsEmpty() || !HasArea(dstRect) || !HasArea(srcRect)) return;
  const Rect clip = dstRect.Intersect(dst.Bounds());
  if (clip.IsEmpty()) return;
  const int dw = dstRect.Width(), dh = dstRect.Height();
  const int sw = srcRect.Width(), sh = srcRect.Height();
  if (dw == sw && dh == sh) {
    // Same size: every target pixel takes the source pixel at its own
    // offset (what the stretch rule gives for equal lengths), so rows are
    // copied straight; most copies of composed pictures are of this kind.
    const int dx = srcRect.left - dstRect.left, dy = srcRect.top - dstRect.top;
    const int left = std::max(clip.left, -dx), right = std::min(clip.right, src.width - dx);
    if (left >= right) return;
    for (int y = std::max(clip.top, -dy); y < std::min(clip.bottom, src.height - dy); ++y) {
      const Pixel* from = src.Row(y + dy) + left + dx;
      Pixel* to = dst.Row(y) + left;
      if constexpr (Keyed) {
        for (int x = 0; x < right - left; ++x)
          if (!SameColour(from[x], key)) to[x] = from[x];
      } else {
        std::copy(from, from + (right - left), to);
      }
    }
    return;
  }
  std::vector<int> columns(static_cast<std::size_t>(clip.Width()));
  for (int x = clip.left; x < clip.right; ++x)
    columns[static_cast<std::size_t>(x - clip.left)] =
        srcRect.left + StretchSourceIndex(x - dstRect.left, sw, dw, StretchAxis::Columns);
  for (int y = clip.top; y < clip.bottom; ++y) {
    const int sy = srcRect.top + StretchSourceIndex(y - dstRect.top, sh, dh, StretchAxis::Rows);
    if (sy < 0 || sy >= src.height) continue;
    const Pixel* srcRow = src.Row(sy);
    Pixel* dstRow = dst.Row(y);
    for (int x = clip.left; x < clip.right; ++x) {
      const int sx = columns[static_cast<std::size_t>(x - clip.left)];
      if (sx < 0 || sx >= src.width) continue;
      const Pixel p = srcRow[sx];
      if constexpr (Keyed) {
        if (SameColour(p, key)) continue;
      }
      dstRow[x] = p;
    }
  }
}

}  // namespace

Rect CellRect(Size bitmap, int frames, int index, bool vertical) {
  frames = std::max(frames, 1);
  index = std::clamp(index, 1, frames);
  if (vertical) {
    const int cellH = bitmap.height / frames;
    return Rect::FromSize(0, (index - 1) * cellH, bitmap.width, cellH);
  }
  const int cellW = bitmap.width / frames;
  return Rect::FromSize((index - 1) * cellW, 0, cellW, bitmap.height);
}

int StretchSourceIndex(int i, int srcLen, int dstLen, StretchAxis axis) {
  if (dstLen <= 0 || srcLen <= 0) return 0;
  // Surfaces composed here sit next to surfaces the window system stretched,
  // so this reproduces its colour-on-colour blit pixel for pixel, as measured
  // for every pair of lengths up to 70 in both directions, rather than an
  // ideal nearest pixel. The system steps rows and columns differently when
  // shrinking, whichever way up the bitmap is stored.
  if (dstLen >= srcLen) {
    // Growing, either axis: the source pixel under the target pixel's
    // centre; a centre exactly on a boundary takes the pixel before it.
    return static_cast<int>(((2LL * i + 1) * srcLen - 1) / (2LL * dstLen));
  }
  if (axis == StretchAxis::Rows) {
    // Shrinking rows: the source pixel nearest the target pixel's top edge
    // (a tie goes down), so the first row always shows the first source row.
    return static_cast<int>((2LL * i * srcLen + dstLen) / (2LL * dstLen));
  }
  // Shrinking columns to a single pixel takes the last but one source
  // column, not the middle one; a one-pixel border stretched by either side
  // must show the same colour.
  if (dstLen == 1) return srcLen - 2;
  // Shrinking columns: the source pixel half a pixel before the target
  // pixel's right edge, so the last column always shows the last source one.
  return static_cast<int>(((2LL * i + 2) * srcLen - dstLen) / (2LL * dstLen));
}

void StretchCopy(SurfaceView dst, const Rect& dstRect, SurfaceView src, const Rect& srcRect) {
  StretchCopyImpl<false>(dst, dstRect, src, srcRect, 0);
}

void StretchCopyKeyed(SurfaceView dst, const Rect& dstRect, SurfaceView src, const Rect& srcRect,
                      Colour key) {
  StretchCopyImpl<true>(dst, dstRect, src, srcRect, key);
}

std::vector<SlicePiece> PlanNineSlice(Size target, const Rect& cell, Margins margins, bool tile) {
  std::vector<SlicePiece> plan;
  const int w = target.width, h = target.height;
  if (w <= 0 || h <= 0) return plan;
  Margins m = NonNegative(margins);
  if (w < m.left + m.right) m.left = m.right = 0;
  if (h < m.top + m.bottom) m.top = m.bottom = 0;
  const int L = m.left, T = m.top, R = m.right, B = m.bottom;
  const int cl = cell.left, ct = cell.top, cr = cell.right, cb = cell.bottom;
  using K = SlicePiece::Kind;
  if (L * T > 0) AddPiece(plan, K::Stretch, {cl, ct, cl + L, ct + T}, {0, 0, L, T});
  if (L * B > 0) AddPiece(plan, K::Stretch, {cl, cb - B, cl + L, cb}, {0, h - B, L, h});
  if (R * T > 0) AddPiece(plan, K::Stretch, {cr - R, ct, cr, ct + T}, {w - R, 0, w, T});
  if (L > 0) AddPiece(plan, K::Stretch, {cl, ct + T, cl + L, cb - B}, {0, T, L, h - B});
  if (T > 0) AddPiece(plan, K::Stretch, {cl + L, ct, cr - R, ct + T}, {L, 0, w - R, T});
  AddPiece(plan, tile ? K::Tile : K::Stretch, {cl + L, ct + T, cr - R, cb - B},
           {L, T, w - R, h - B});
  if (R * B > 0) AddPiece(plan, K::Stretch, {cr - R, cb - B, cr, cb}, {w - R, h - B, w, h});
  if (R > 0) AddPiece(plan, K::Stretch, {cr - R, ct + T, cr, cb - B}, {w - R, T, w, h - B});
  if (B > 0) AddPiece(plan, K::Stretch, {cl + L, cb - B, cr - R, cb}, {L, h - B, w - R, h});
  return plan;
}

std::vector<SlicePiece> PlanStrip(Size target, const Rect& cell, Margins margins) {
  std::vector<SlicePiece> plan;
  const int w = target.width, h = target.height;
  if (w <= 0 || h <= 0) return plan;
  const Margins m = NonNegative(margins);
  const int L = m.left, R = m.right;
  using K = SlicePiece::Kind;
  AddPiece(plan, K::Stretch, {cell.left, cell.top, cell.left + L, cell.bottom}, {0, 0, L, h});
  // With no middle left between the ends there is nothing to repeat; stopping
  // here also keeps a zero-width middle from looping forever.
  const int middle = cell.Width() - L - R;
  if (middle > 0) {
    for (int x = L; x < w - R; x += middle)
      AddPiece(plan, K::Stretch, {cell.left + L, cell.top, cell.left + L + middle, cell.bottom},
               {x, 0, x + middle, h});
  }
  AddPiece(plan, K::Stretch, {cell.right - R, cell.top, cell.right, cell.bottom}, {w - R, 0, w, h});
  return plan;
}

std::vector<SlicePiece> PlanStretchedStrip(Size target, const Rect& cell, Margins margins) {
  std::vector<SlicePiece> plan;
  const int w = target.width, h = target.height;
  if (w <= 0 || h <= 0) return plan;
  using K = SlicePiece::Kind;
  if (cell.Width() > w) {
    AddPiece(plan, K::Stretch, cell, {0, 0, w, h});
    return plan;
  }
  const Margins m = NonNegative(margins);
  const int L = m.left, R = m.right;
  AddPiece(plan, K::Stretch, {cell.left, cell.top, cell.left + L, cell.bottom}, {0, 0, L, h});
  AddPiece(plan, K::Stretch, {cell.left + L, cell.top, cell.right - R, cell.bottom},
           {L, 0, w - R, h});
  AddPiece(plan, K::Stretch, {cell.right - R, cell.top, cell.right, cell.bottom}, {w - R, 0, w, h});
  return plan;
}

void ApplyPlan(SurfaceView result, SurfaceView bitmap, const std::vector<SlicePiece>& plan) {
  for (const SlicePiece& piece : plan) {
    if (piece.kind == SlicePiece::Kind::Tile)
      TileBitmap(result, piece.target, bitmap, piece.source);
    else
      StretchCopy(result, piece.target, bitmap, piece.source);
  }
}

Surface BuildElementBitmap(const Rect& target, const Surface& bitmap, Margins margins,
                           bool vertical, bool tile, int frames, int index) {
  const int w = target.Width(), h = target.Height();
  if (w <= 0 || h <= 0) return {};
  Surface result(w, h, 0xFF000000u);
  if (bitmap.IsEmpty()) return result;
  const Rect cell = CellRect({bitmap.Width(), bitmap.Height()}, frames, index, vertical);
  ApplyPlan(result.View(), bitmap.View(), PlanNineSlice({w, h}, cell, margins, tile));
  return result;
}

void DrawElement(SurfaceView canvas, const Rect& target, const Surface& bitmap, bool vertical,
                 bool tile, bool transparent, int frames, int index, Margins margins) {
  if (!HasArea(target)) return;
  const Surface built = BuildElementBitmap(target, bitmap, margins, vertical, tile, frames, index);
  CopyToCanvas(canvas, target, built.View(), transparent);
}

void DrawStrip(SurfaceView canvas, const Rect& target, const Surface& bitmap, bool vertical,
               bool transparent, int frames, int index, Margins margins) {
  if (!HasArea(target) || bitmap.IsEmpty()) return;
  Surface scratch(target.Width(), target.Height(), 0xFF000000u);
  const Rect cell = CellRect({bitmap.Width(), bitmap.Height()}, frames, index, vertical);
  ApplyPlan(scratch.View(), bitmap.View(),
            PlanStrip({target.Width(), target.Height()}, cell, margins));
  CopyToCanvas(canvas, target, scratch.View(), transparent);
}

void DrawFrameCell(SurfaceView canvas, const Rect& target, const Surface& bitmap,
                   bool transparent, int frames, int index) {
  if (!HasArea(target) || bitmap.IsEmpty()) return;
  const Rect cell = CellRect({bitmap.Width(), bitmap.Height()}, frames, index, false);
  if (transparent)
    StretchCopyKeyed(canvas, target, bitmap.View(), cell, kColourKey);
  else
    StretchCopy(canvas, target, bitmap.View(), cell);
}

Point CentredOrigin(const Rect& target, Size cellSize) {
  return {target.left + (target.Width() - cellSize.width) / 2,
          target.top + (target.Height() - cellSize.height) / 2};
}

void DrawCentredCell(SurfaceView canvas, const Rect& target, const Surface& bitmap,
                     bool transparent, int frames, int index) {
  if (!HasArea(target) || bitmap.IsEmpty()) return;
  const Rect cell = CellRect({bitmap.Width(), bitmap.Height()}, frames, index, false);
  const Point at = CentredOrigin(target, {cell.Width(), cell.Height()});
  const Rect dst = Rect::FromSize(at.x, at.y, cell.Width(), cell.Height());
  if (transparent)
    StretchCopyKeyed(canvas, dst, bitmap.View(), cell, kColourKey);
  else
    StretchCopy(canvas, dst, bitmap.View(), cell);
}

void DrawStretchedStrip(SurfaceView canvas, const Rect& target, const Surface& bitmap,
                        bool vertical, int frames, int index, Margins ends) {
  if (!HasArea(target) || bitmap.IsEmpty()) return;
  const Rect cell = CellRect({bitmap.Width(), bitmap.Height()}, frames, index, vertical);
  for (const SlicePiece& piece :
       PlanStretchedStrip({target.Width(), target.Height()}, cell, ends))
    StretchCopy(canvas, piece.target.Offset(target.left, target.top), bitmap.View(), piece.source);
}

void DrawTransparent(SurfaceView canvas, const Rect& target, SurfaceView bitmap, Colour key) {
  if (!HasArea(target) || bitmap.IsEmpty()) return;
  const int w = std::min(target.Width(), bitmap.width);
  const int h = std::min(target.Height(), bitmap.height);
  StretchCopyKeyed(canvas, Rect::FromSize(target.left, target.top, w, h), bitmap,
                   Rect::FromSize(0, 0, w, h), key);
}

void TileBitmap(SurfaceView canvas, const Rect& target, SurfaceView bitmap, const Rect& source) {
  const int sw = source.Width(), sh = source.Height();
  if (sw <= 0 || sh <= 0 || !HasArea(target) || canvas.IsEmpty()) return;
  // Whole tiles are laid from the target's top-left; only the canvas clips
  // the last ones, exactly as repeated blits of one scratch tile would.
  const long long tilesX = (target.Width() + sw - 1) / sw;
  const long long tilesY = (target.Height() + sh - 1) / sh;
  const Rect covered{target.left, target.top,
                     static_cast<int>(std::min<long long>(target.left + tilesX * sw, 1LL << 30)),
                     static_cast<int>(std::min<long long>(target.top + tilesY * sh, 1LL << 30))};
  const Rect clip = covered.Intersect(canvas.Bounds());
  for (int y = clip.top; y < clip.bottom; ++y) {
    const int sy = source.top + (y - target.top) % sh;
    const bool rowInside = !bitmap.IsEmpty() && sy >= 0 && sy < bitmap.height;
    Pixel* dstRow = canvas.Row(y);
    for (int x = clip.left; x < clip.right; ++x) {
      const int sx = source.left + (x - target.left) % sw;
      // Source pixels outside the picture read as black, like an uncovered
      // part of a fresh scratch bitmap.
      dstRow[x] = (rowInside && sx >= 0 && sx < bitmap.width) ? bitmap.At(sx, sy) : 0xFF000000u;
    }
  }
}

std::vector<Rect> RegionFromBitmap(SurfaceView bitmap, int x0, int y0, int blueTolerance,
                                   int greenTolerance, int redTolerance, Colour key) {
  std::vector<Rect> runs;
  if (bitmap.IsEmpty()) return runs;
  const int lowR = RedOf(key), lowG = GreenOf(key), lowB = BlueOf(key);
  const int highR = std::min(lowR + std::max(redTolerance, 0), 255);
  const int highG = std::min(lowG + std::max(greenTolerance, 0), 255);
  const int highB = std::min(lowB + std::max(blueTolerance, 0), 255);
  auto transparent = [&](Pixel p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r >= lowR && r <= highR && g >= lowG && g <= highG && b >= lowB && b <= highB;
  };
  for (int y = 0; y < bitmap.height; ++y) {
    const Pixel* row = bitmap.Row(y);
    int x = 0;
    while (x < bitmap.width) {
      while (x < bitmap.width && transparent(row[x])) ++x;
      if (x >= bitmap.width) break;
      const int start = x;
      while (x < bitmap.width && !transparent(row[x])) ++x;
      runs.push_back({x0 + start, y0 + y, x0 + x, y0 + y + 1});
    }
  }
  return runs;
}

}  // namespace corvane
