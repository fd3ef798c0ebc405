#include <gtest/gtest.h>

#include "skin/draw/ElementDrawing.h"

namespace corvane {
namespace {

using K = SlicePiece::Kind;
constexpr Pixel kMagenta = 0xFFFF00FFu;
constexpr Pixel kCanvas = 0xFF0A0B0Cu;

// A strip whose every pixel tells where it came from: blue = x, green = y.
Surface Coordinates(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.At(x, y) = 0xFF000000u | static_cast<Pixel>(y << 8 | x);
  return s;
}
int SourceX(Pixel p) { return static_cast<int>(p & 0xFF); }
int SourceY(Pixel p) { return static_cast<int>((p >> 8) & 0xFF); }

TEST(CellRect, SideBySideStackedAndGuarded) {
  EXPECT_EQ(CellRect({102, 17}, 6, 3, false), Rect::FromSize(34, 0, 17, 17));
  EXPECT_EQ(CellRect({142, 50}, 2, 2, true), (Rect{0, 25, 142, 50}));
  // Integer division drops the odd column.
  EXPECT_EQ(CellRect({103, 17}, 6, 6, false), Rect::FromSize(85, 0, 17, 17));
  // A frame count of 0 and indexes outside the strip stay inside the picture.
  EXPECT_EQ(CellRect({40, 10}, 0, 1, false), (Rect{0, 0, 40, 10}));
  EXPECT_EQ(CellRect({60, 10}, 6, 9, false), Rect::FromSize(50, 0, 10, 10));
  EXPECT_EQ(CellRect({60, 10}, 6, -3, false), Rect::FromSize(0, 0, 10, 10));
}

TEST(Stretch, PixelsAreDroppedOrRepeatedNeverBlended) {
  constexpr auto kCols = StretchAxis::Columns;
  // 2 -> 4 repeats each source pixel twice; 4 -> 2 keeps the second of each pair.
  EXPECT_EQ(StretchSourceIndex(0, 2, 4, kCols), 0);
  EXPECT_EQ(StretchSourceIndex(1, 2, 4, kCols), 0);
  EXPECT_EQ(StretchSourceIndex(2, 2, 4, kCols), 1);
  EXPECT_EQ(StretchSourceIndex(3, 2, 4, kCols), 1);
  EXPECT_EQ(StretchSourceIndex(0, 4, 2, kCols), 1);
  EXPECT_EQ(StretchSourceIndex(1, 4, 2, kCols), 3);
  EXPECT_EQ(StretchSourceIndex(1, 3, 2, kCols), 2);
  EXPECT_EQ(StretchSourceIndex(2, 2, 3, kCols), 1);

  const Surface src = Coordinates(3, 1);
  Surface dst(7, 2, kCanvas);
  StretchCopy(dst.View(), {0, 0, 7, 2}, src.View(), {0, 0, 3, 1});
  std::vector<int> xs;
  for (int x = 0; x < 7; ++x) xs.push_back(SourceX(dst.At(x, 1)));
  EXPECT_EQ(xs, (std::vector<int>{0, 0, 1, 1, 1, 2, 2}));
  for (int x = 0; x < 7; ++x) EXPECT_EQ(dst.At(x, 0), dst.At(x, 1));
}

std::vector<int> SourceIndexes(int srcLen, int dstLen, StretchAxis axis) {
  std::vector<int> out;
  for (int i = 0; i < dstLen; ++i) out.push_back(StretchSourceIndex(i, srcLen, dstLen, axis));
  return out;
}

TEST(Stretch, PicksThePixelsTheWindowSystemPicks) {
  using V = std::vector<int>;
  constexpr auto kCols = StretchAxis::Columns;
  constexpr auto kRows = StretchAxis::Rows;
  // Growing is the same along both axes; a centre on a boundary goes left.
  EXPECT_EQ(SourceIndexes(2, 3, kCols), (V{0, 0, 1}));
  EXPECT_EQ(SourceIndexes(2, 3, kRows), (V{0, 0, 1}));
  EXPECT_EQ(SourceIndexes(3, 7, kRows), (V{0, 0, 1, 1, 1, 2, 2}));
  EXPECT_EQ(SourceIndexes(2, 5, kCols), (V{0, 0, 0, 1, 1}));
  // Shrinking keeps the last column but the first row.
  EXPECT_EQ(SourceIndexes(10, 4, kCols), (V{2, 4, 7, 9}));
  EXPECT_EQ(SourceIndexes(10, 4, kRows), (V{0, 3, 5, 8}));
  EXPECT_EQ(SourceIndexes(7, 3, kCols), (V{1, 4, 6}));
  EXPECT_EQ(SourceIndexes(7, 3, kRows), (V{0, 2, 5}));
  EXPECT_EQ(SourceIndexes(7, 5, kCols), (V{0, 2, 3, 5, 6}));
  // One target column shows the last but one source column; one row the first.
  EXPECT_EQ(SourceIndexes(2, 1, kCols), (V{0}));
  EXPECT_EQ(SourceIndexes(9, 1, kCols), (V{7}));
  EXPECT_EQ(SourceIndexes(9, 1, kRows), (V{0}));
  // Degenerate lengths never index anything but 0.
  EXPECT_EQ(StretchSourceIndex(3, 0, 5, kCols), 0);
  EXPECT_EQ(StretchSourceIndex(3, 5, 0, kRows), 0);
}

TEST(Stretch, EveryLengthPairStaysInsideInOrderWithoutGaps) {
  for (StretchAxis axis : {StretchAxis::Columns, StretchAxis::Rows})
    for (int srcLen = 1; srcLen <= 200; ++srcLen)
      for (int dstLen = 1; dstLen <= 200; ++dstLen) {
        const std::vector<int> map = SourceIndexes(srcLen, dstLen, axis);
        for (std::size_t i = 0; i < map.size(); ++i) {
          ASSERT_GE(map[i], 0) << srcLen << " -> " << dstLen;
          ASSERT_LT(map[i], srcLen) << srcLen << " -> " << dstLen;
          if (i == 0) continue;
          // Growing shows every source pixel (steps of 0 or 1); shrinking
          // never shows one twice.
          const int step = map[i] - map[i - 1];
          if (dstLen >= srcLen)
            ASSERT_TRUE(step == 0 || step == 1) << srcLen << " -> " << dstLen << " at " << i;
          else
            ASSERT_GE(step, 1) << srcLen << " -> " << dstLen << " at " << i;
        }
        if (dstLen >= srcLen) {
          EXPECT_EQ(map.front(), 0);
          EXPECT_EQ(map.back(), srcLen - 1) << srcLen << " -> " << dstLen;
        }
      }
}

TEST(Stretch, ShrunkRowsAndColumnsFollowTheirOwnSteps) {
  // A 4 x 4 picture shrunk to 2 x 2: columns 1 and 3, rows 0 and 2.
  const Surface src = Coordinates(4, 4);
  Surface dst(2, 2, kCanvas);
  StretchCopy(dst.View(), {0, 0, 2, 2}, src.View(), {0, 0, 4, 4});
  EXPECT_EQ(dst.At(0, 0), src.At(1, 0));
  EXPECT_EQ(dst.At(1, 0), src.At(3, 0));
  EXPECT_EQ(dst.At(0, 1), src.At(1, 2));
  EXPECT_EQ(dst.At(1, 1), src.At(3, 2));
}

TEST(Stretch, ClipsToBothSurfacesWithoutTouchingOutside) {
  const Surface src = Coordinates(4, 4);
  Surface dst(3, 3, kCanvas);
  // Source reaches past the picture on the right: those columns are skipped.
  StretchCopy(dst.View(), {-1, 1, 5, 2}, src.View(), {2, 0, 8, 1});
  EXPECT_EQ(dst.At(0, 1), src.At(3, 0));
  EXPECT_EQ(dst.At(1, 1), kCanvas);
  EXPECT_EQ(dst.At(0, 0), kCanvas);
}

TEST(NineSlice, CornersFixedEdgesStretchedCentreTiled) {
  // |L|   top edge   |R|     cell 2 of a 26x21 strip, margins 4,3,4,3,
  // |-+--------------+-|     target 80x30: corners unscaled, edges
  // | |    centre    | |     stretched, centre tiled, then the right and
  // |-+--------------+-|     bottom edges painted over the tiles' overhang
  const Rect cell = CellRect({130, 21}, 5, 2, false);
  const auto plan = PlanNineSlice({80, 30}, cell, {4, 3, 4, 3}, true);
  const std::vector<SlicePiece> expected = {
      {K::Stretch, {26, 0, 30, 3}, {0, 0, 4, 3}},      // top-left
      {K::Stretch, {26, 18, 30, 21}, {0, 27, 4, 30}},  // bottom-left
      {K::Stretch, {48, 0, 52, 3}, {76, 0, 80, 3}},    // top-right
      {K::Stretch, {26, 3, 30, 18}, {0, 3, 4, 27}},    // left edge
      {K::Stretch, {30, 0, 48, 3}, {4, 0, 76, 3}},     // top edge
      {K::Tile, {30, 3, 48, 18}, {4, 3, 76, 27}},      // centre
      {K::Stretch, {48, 18, 52, 21}, {76, 27, 80, 30}},  // bottom-right
      {K::Stretch, {48, 3, 52, 18}, {76, 3, 80, 27}},  // right edge
      {K::Stretch, {30, 18, 48, 21}, {4, 27, 76, 30}},  // bottom edge
  };
  EXPECT_EQ(plan, expected);
  EXPECT_EQ(PlanNineSlice({80, 30}, cell, {4, 3, 4, 3}, false)[5].kind, K::Stretch);
}

TEST(NineSlice, NarrowTargetDropsBothSideMargins) {
  // 7 < 4 + 4: the whole width comes from the cell's full columns.
  const auto plan = PlanNineSlice({7, 30}, {0, 0, 26, 21}, {4, 3, 4, 3}, false);
  const std::vector<SlicePiece> expected = {
      {K::Stretch, {0, 0, 26, 3}, {0, 0, 7, 3}},
      {K::Stretch, {0, 3, 26, 18}, {0, 3, 7, 27}},
      {K::Stretch, {0, 18, 26, 21}, {0, 27, 7, 30}},
  };
  EXPECT_EQ(plan, expected);
  // Low target: the top and bottom go instead.
  const auto low = PlanNineSlice({30, 5}, {0, 0, 26, 21}, {4, 3, 4, 3}, false);
  ASSERT_EQ(low.size(), 3u);
  EXPECT_EQ(low[0].target, (Rect{0, 0, 4, 5}));
  EXPECT_EQ(low[1].target, (Rect{4, 0, 26, 5}));
  EXPECT_EQ(low[2].target, (Rect{26, 0, 30, 5}));
}

TEST(NineSlice, BadMarginsNeverTurnSlicesInsideOut) {
  for (const auto& piece : PlanNineSlice({40, 40}, {0, 0, 10, 10}, {-5, 8, 12, -1}, false)) {
    EXPECT_GT(piece.source.Width(), 0);
    EXPECT_GT(piece.source.Height(), 0);
    EXPECT_GT(piece.target.Width(), 0);
  }
  EXPECT_TRUE(PlanNineSlice({0, 10}, {0, 0, 10, 10}, {}, false).empty());
}

TEST(BuildElementBitmap, SameSizeTiledTargetReproducesTheCell) {
  const Surface strip = Coordinates(60, 12);
  const Surface built = BuildElementBitmap({5, 5, 25, 17}, strip, {3, 2, 4, 3}, false, true, 3, 2);
  ASSERT_EQ(built.Width(), 20);
  ASSERT_EQ(built.Height(), 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(built.At(x, y), strip.At(20 + x, y)) << x << "," << y;
}

TEST(BuildElementBitmap, CentreRepeatsAndCornersStayPut) {
  // Cell 6x6 with margins 2: centre 2x2, tiled over a 10x10 target's 6x6 middle.
  const Surface strip = Coordinates(6, 6);
  const Surface built = BuildElementBitmap({0, 0, 10, 10}, strip, {2, 2, 2, 2}, false, true, 1, 1);
  for (int y = 2; y < 8; ++y)
    for (int x = 2; x < 8; ++x) {
      EXPECT_EQ(SourceX(built.At(x, y)), 2 + (x - 2) % 2);
      EXPECT_EQ(SourceY(built.At(x, y)), 2 + (y - 2) % 2);
    }
  EXPECT_EQ(built.At(9, 9), strip.At(5, 5));
  EXPECT_EQ(built.At(8, 0), strip.At(4, 0));
  EXPECT_EQ(built.At(0, 8), strip.At(0, 4));
  // Stretched instead: the middle columns are repeated, never mixed.
  const Surface stretched =
      BuildElementBitmap({0, 0, 10, 10}, strip, {2, 2, 2, 2}, false, false, 1, 1);
  EXPECT_EQ(SourceX(stretched.At(2, 5)), 2);
  EXPECT_EQ(SourceX(stretched.At(4, 5)), 2);
  EXPECT_EQ(SourceX(stretched.At(5, 5)), 3);
  EXPECT_EQ(SourceX(stretched.At(7, 5)), 3);
}

TEST(DrawElement, TransparentLeavesMagentaPixelsOfTheCanvas) {
  Surface cell(4, 4, 0xFF112233u);
  cell.At(0, 0) = kMagenta;
  Surface canvas(8, 8, kCanvas);
  DrawElement(canvas.View(), {2, 2, 6, 6}, cell, false, false, true, 1, 1, {});
  EXPECT_EQ(canvas.At(2, 2), kCanvas);
  EXPECT_EQ(canvas.At(3, 2), 0xFF112233u);
  EXPECT_EQ(canvas.At(1, 1), kCanvas);
  EXPECT_EQ(canvas.At(6, 6), kCanvas);
  DrawElement(canvas.View(), {2, 2, 6, 6}, cell, false, false, false, 1, 1, {});
  EXPECT_EQ(canvas.At(2, 2), kMagenta);
  // An inside-out target draws nothing.
  Surface untouched(4, 4, kCanvas);
  DrawElement(untouched.View(), {3, 3, 1, 1}, cell, false, false, false, 1, 1, {});
  EXPECT_EQ(untouched, Surface(4, 4, kCanvas));
}

TEST(Strip, MiddleRepeatsAndMayRunUnderTheRightEnd) {
  const auto plan = PlanStrip({40, 10}, {20, 0, 40, 6}, {3, 0, 5, 0});
  const std::vector<SlicePiece> expected = {
      {K::Stretch, {20, 0, 23, 6}, {0, 0, 3, 10}},
      {K::Stretch, {23, 0, 35, 6}, {3, 0, 15, 10}},
      {K::Stretch, {23, 0, 35, 6}, {15, 0, 27, 10}},
      {K::Stretch, {23, 0, 35, 6}, {27, 0, 39, 10}},
      {K::Stretch, {35, 0, 40, 6}, {35, 0, 40, 10}},
  };
  EXPECT_EQ(plan, expected);
  // Nothing left between the ends: just the two ends, and the loop ends.
  EXPECT_EQ(PlanStrip({40, 10}, {0, 0, 8, 6}, {4, 0, 4, 0}).size(), 2u);
}

TEST(Strip, DrawsEndsAndTiledMiddle) {
  const Surface strip = Coordinates(10, 2);
  Surface canvas(20, 4, kCanvas);
  DrawStrip(canvas.View(), {0, 0, 20, 4}, strip, false, false, 1, 1, {2, 0, 2, 0});
  std::vector<int> xs;
  for (int x = 0; x < 20; ++x) xs.push_back(SourceX(canvas.At(x, 3)));
  EXPECT_EQ(xs, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 8, 9}));
}

TEST(StretchedStrip, ThreePiecesOrWholeCell) {
  const auto plan = PlanStretchedStrip({50, 8}, {0, 0, 20, 8}, {5, 0, 6, 0});
  const std::vector<SlicePiece> expected = {
      {K::Stretch, {0, 0, 5, 8}, {0, 0, 5, 8}},
      {K::Stretch, {5, 0, 14, 8}, {5, 0, 44, 8}},
      {K::Stretch, {14, 0, 20, 8}, {44, 0, 50, 8}},
  };
  EXPECT_EQ(plan, expected);
  const auto whole = PlanStretchedStrip({15, 8}, {20, 0, 40, 8}, {5, 0, 6, 0});
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0].source, (Rect{20, 0, 40, 8}));
  EXPECT_EQ(whole[0].target, (Rect{0, 0, 15, 8}));

  const Surface strip = Coordinates(20, 8);
  Surface canvas(60, 8, kCanvas);
  DrawStretchedStrip(canvas.View(), {5, 0, 55, 8}, strip, false, 1, 1, {5, 0, 6, 0});
  EXPECT_EQ(canvas.At(4, 0), kCanvas);
  EXPECT_EQ(SourceX(canvas.At(5, 0)), 0);
  EXPECT_EQ(SourceX(canvas.At(54, 0)), 19);
  EXPECT_EQ(canvas.At(55, 0), kCanvas);
}

TEST(Cells, FrameCellStretchesAndCentredCellDoesNot) {
  const Surface strip = Coordinates(102, 17);
  Surface canvas(40, 40, kCanvas);
  DrawCentredCell(canvas.View(), {10, 10, 30, 20}, strip, false, 6, 3);
  // 17x17 in 20x10: left 10 + 3/2 = 11, top 10 + (-7)/2 = 7 (toward zero).
  EXPECT_EQ(CentredOrigin({10, 10, 30, 20}, {17, 17}), (Point{11, 7}));
  EXPECT_EQ(canvas.At(11, 7), strip.At(34, 0));
  EXPECT_EQ(canvas.At(27, 23), strip.At(50, 16));
  EXPECT_EQ(canvas.At(10, 7), kCanvas);
  EXPECT_EQ(canvas.At(28, 7), kCanvas);

  Surface target(34, 17, kCanvas);
  DrawFrameCell(target.View(), {0, 0, 34, 17}, strip, false, 6, 2);
  EXPECT_EQ(SourceX(target.At(0, 0)), 17);
  EXPECT_EQ(SourceX(target.At(1, 0)), 17);
  EXPECT_EQ(SourceX(target.At(33, 16)), 33);
}

TEST(DrawTransparent, KeyPixelsLeaveTheCanvas) {
  Surface pic(2, 2, 0xFF445566u);
  pic.At(1, 0) = kMagenta;
  pic.At(0, 1) = 0xFFFF01FFu;  // one off the key: drawn
  Surface canvas(3, 3, kCanvas);
  DrawTransparent(canvas.View(), {1, 1, 3, 3}, pic.View(), kColourKey);
  EXPECT_EQ(canvas.At(1, 1), 0xFF445566u);
  EXPECT_EQ(canvas.At(2, 1), kCanvas);
  EXPECT_EQ(canvas.At(1, 2), 0xFFFF01FFu);
  EXPECT_EQ(canvas.At(0, 0), kCanvas);
}

TEST(TileBitmap, RepeatsFromTopLeftClippedByTheCanvasOnly) {
  const Surface src = Coordinates(5, 5);
  Surface canvas(10, 6, kCanvas);
  TileBitmap(canvas.View(), {1, 1, 6, 4}, src.View(), {1, 1, 4, 3});
  // 3x2 tiles from (1,1) over 5x3: two tiles each way, so the last column
  // (x 6) and row (y 4) overhang the target.
  EXPECT_EQ(canvas.At(1, 1), src.At(1, 1));
  EXPECT_EQ(canvas.At(4, 1), src.At(1, 1));
  EXPECT_EQ(canvas.At(6, 2), src.At(3, 2));
  EXPECT_EQ(canvas.At(6, 4), src.At(3, 2));
  EXPECT_EQ(canvas.At(7, 1), kCanvas);
  EXPECT_EQ(canvas.At(0, 1), kCanvas);
  EXPECT_EQ(canvas.At(1, 5), kCanvas);

  Surface untouched(10, 6, kCanvas);
  TileBitmap(untouched.View(), {0, 0, 10, 6}, src.View(), {2, 0, 2, 5});
  TileBitmap(untouched.View(), {0, 0, 10, 6}, src.View(), {3, 0, 2, 5});
  EXPECT_EQ(untouched, Surface(10, 6, kCanvas));
}

TEST(RegionFromBitmap, RunsPerRowWithTolerance) {
  Surface all(4, 3, kMagenta);
  EXPECT_TRUE(RegionFromBitmap(all.View(), 0, 0, 1, 1, 1, kColourKey).empty());

  Surface solid(4, 2, 0xFF000000u);
  EXPECT_EQ(RegionFromBitmap(solid.View(), 10, 20, 1, 1, 1, kColourKey),
            (std::vector<Rect>{{10, 20, 14, 21}, {10, 21, 14, 22}}));

  // Row:  O  M  g1  O  O  g2     (M magenta, g1 green 1, g2 green 2)
  Surface row(6, 1, 0xFF808080u);
  row.At(1, 0) = kMagenta;
  row.At(2, 0) = 0xFFFF01FFu;
  row.At(5, 0) = 0xFFFF02FFu;
  EXPECT_EQ(RegionFromBitmap(row.View(), 0, 0, 1, 1, 1, kColourKey),
            (std::vector<Rect>{{0, 0, 1, 1}, {3, 0, 6, 1}}));
  // Without tolerance green 1 is opaque.
  EXPECT_EQ(RegionFromBitmap(row.View(), 0, 0, 0, 0, 0, kColourKey),
            (std::vector<Rect>{{0, 0, 1, 1}, {2, 0, 6, 1}}));
  // Tolerances come blue first: only the green one matters here.
  EXPECT_EQ(RegionFromBitmap(row.View(), 0, 0, 0, 2, 0, kColourKey),
            (std::vector<Rect>{{0, 0, 1, 1}, {3, 0, 5, 1}}));
}

}  // namespace
}  // namespace corvane
