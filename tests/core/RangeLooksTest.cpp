// The geometry of skinned progress bars, up-downs and track bars, with exact
// numbers.
#include <gtest/gtest.h>

#include <climits>

#include "skin/controls/RangeLooks.h"

namespace corvane {
namespace {

TEST(ProgressFill, ScalesThePositionWithinTheRangeAndNeverLeavesTheBar) {
  struct Case {
    int length, position, low, high, fill;
  } cases[] = {
      {100, 0, 0, 100, 0},
      {100, 100, 0, 100, 100},
      {100, 50, 0, 100, 50},
      {100, 1, 0, 3, 33},
      {100, 2, 0, 3, 67},  // rounded to the nearest pixel
      {200, 75, 50, 100, 100},
      {200, 50, 50, 100, 0},  // the low limit counts
      {100, 0, -50, 50, 50},
      {100, -50, -50, 50, 0},  // ranges below zero fill too
      {100, 150, 0, 100, 100},
      {100, -10, 0, 100, 0},  // outside the range: full or empty
      {100, 5, 5, 5, 0},
      {100, 5, 9, 1, 0},  // an empty range divides by nothing
      {0, 50, 0, 100, 0},
      {-4, 50, 0, 100, 0},
      {300, 0, INT_MIN, INT_MAX, 150},  // the widest range of the control
      {300, INT_MAX, INT_MIN, INT_MAX, 300},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScaledFill(c.length, c.position, c.low, c.high), c.fill)
        << c.length << " " << c.position << " " << c.low << ".." << c.high;
}

TEST(ProgressFill, PlainStyleFromTheLeftEdgeChunkStyleInsideTheTrough) {
  // |##########........|  plain: the whole height from x = 0
  // |+----------------+|  chunk: 2 pixels in on every side, so the full
  // |+##########.....+|  bar still shows the trough's frame
  Size bar{104, 18};
  EXPECT_EQ(ProgressFillRect(bar, 50, 0, 100, false), (Rect{0, 0, 52, 18}));
  EXPECT_EQ(ProgressFillRect(bar, 100, 0, 100, false), (Rect{0, 0, 104, 18}));
  EXPECT_EQ(ProgressFillRect(bar, 0, 0, 100, false), Rect{});
  EXPECT_EQ(ProgressFillRect(bar, 50, 0, 100, true), (Rect{2, 2, 52, 16}));
  EXPECT_EQ(ProgressFillRect(bar, 100, 0, 100, true), (Rect{2, 2, 102, 16}));
  EXPECT_EQ(ProgressFillRect(bar, 0, 0, 100, true), Rect{});
  EXPECT_EQ(ProgressFillRect({4, 18}, 100, 0, 100, true), Rect{});  // no inside at all
  // A vertical bar is composed lying down: its height runs along the fill.
  EXPECT_EQ(LyingSize({18, 104}, true), (Size{104, 18}));
  EXPECT_EQ(LyingSize({104, 18}, false), (Size{104, 18}));
}

TEST(ProgressFill, TiledChunksStartAfterTheLeftMarginAndAreCutToTheFill) {
  // Chunks 10 x 8 in a 20-pixel-high bar, left margin 2: from x = 4,
  // centred at y = 6; a fill ending at x = 27 cuts the third chunk.
  Rect fill{2, 2, 27, 18};
  EXPECT_EQ(ProgressChunkTiles(fill, 20, {10, 8}, 2),
            (std::vector<ChunkTile>{{{4, 6, 14, 14}, {0, 0, 10, 8}},
                                    {{14, 6, 24, 14}, {0, 0, 10, 8}},
                                    {{24, 6, 27, 14}, {0, 0, 3, 8}}}));
  // A chunk taller than the fill shows its middle rows.
  EXPECT_EQ(ProgressChunkTiles({2, 2, 8, 8}, 10, {10, 8}, 2),
            (std::vector<ChunkTile>{{{4, 2, 8, 8}, {0, 1, 4, 7}}}));
  EXPECT_TRUE(ProgressChunkTiles({}, 20, {10, 8}, 2).empty());
  EXPECT_TRUE(ProgressChunkTiles(fill, 20, {0, 8}, 2).empty());
}

TEST(UpDown, HalvesStatesAndCells) {
  // Vertical 16 x 21: up is rows 0-9, down rows 10-20; horizontal 31 x 13:
  // left columns 0-14, right 15-30.
  EXPECT_EQ(SplitUpDown({0, 0, 16, 21}, false), (UpDownHalves{{0, 0, 16, 10}, {0, 10, 16, 21}}));
  EXPECT_EQ(SplitUpDown({0, 0, 31, 13}, true), (UpDownHalves{{0, 0, 15, 13}, {15, 0, 31, 13}}));
  EXPECT_EQ(SplitUpDown({3, 3, 13, 17}, false), (UpDownHalves{{3, 3, 13, 10}, {3, 10, 13, 17}}));

  // No hot look; the press shows only under the cursor; disabled wins.
  EXPECT_EQ(UpDownHalfState(true, false, true), 1);
  EXPECT_EQ(UpDownHalfState(true, true, true), 2);
  EXPECT_EQ(UpDownHalfState(true, true, false), 1);
  EXPECT_EQ(UpDownHalfState(false, true, true), 3);
  // Cells 1-3 for up or left, 5-7 for down or right.
  EXPECT_EQ(UpDownCell(2, 0), 2);
  EXPECT_EQ(UpDownCell(3, 1), 7);
}

TEST(UpDown, InsideAnEditItKeepsOffTheEditsBorder) {
  // An up-down 16 x 17 at the right of an edit's client area; the edit's
  // window reaches 2 pixels beyond it on the top, right and bottom, one
  // pixel short of the skinned border.
  EXPECT_EQ(InsideEditRect({0, 0, 16, 17}, {-80, -2, 18, 19}), (Rect{0, 1, 15, 16}));
  // Far enough inside already: unchanged.
  EXPECT_EQ(InsideEditRect({0, 0, 16, 17}, {-80, -5, 20, 22}), (Rect{0, 0, 16, 17}));
  // An edit too low for anything.
  EXPECT_EQ(InsideEditRect({0, 0, 16, 4}, {-80, -1, 18, 5}), Rect{});
}

TEST(UpDown, PlainArrowsAreCentredTrianglesPointingTheirWay) {
  Rect half{0, 0, 15, 10};  // centre (7, 5)
  EXPECT_EQ(ArrowBars(half, ArrowDirection::Up),
            (std::vector<Rect>{{7, 4, 8, 5}, {6, 5, 9, 6}, {5, 6, 10, 7}}));
  EXPECT_EQ(ArrowBars(half, ArrowDirection::Right),
            (std::vector<Rect>{{8, 5, 9, 6}, {7, 4, 8, 7}, {6, 3, 7, 8}}));
  // A sliver of a half keeps what fits.
  EXPECT_EQ(ArrowBars({0, 0, 15, 2}, ArrowDirection::Up),
            (std::vector<Rect>{{7, 0, 8, 1}, {6, 1, 9, 2}}));
  EXPECT_TRUE(ArrowBars({}, ArrowDirection::Up).empty());
}

TEST(TrackChannel, ThreePiecesAlongTheChannel) {
  using K = SlicePiece::Kind;
  // Horizontal: picture 10 x 5 with 2-pixel ends over a channel 100 x 9
  // at (8, 10): centred, 2 rows down.
  EXPECT_EQ(TrackChannelPlan({8, 10, 108, 19}, {10, 5}, {2, 2, 2, 2}, false),
            (std::vector<SlicePiece>{{K::Stretch, {0, 0, 2, 5}, {8, 12, 10, 17}},
                                     {K::Stretch, {2, 0, 8, 5}, {10, 12, 106, 17}},
                                     {K::Stretch, {8, 0, 10, 5}, {106, 12, 108, 17}}}));
  // A picture taller than the channel starts at its top.
  EXPECT_EQ(TrackChannelPlan({8, 10, 108, 14}, {10, 5}, {2, 2, 2, 2}, false)[1].target,
            (Rect{10, 10, 106, 15}));
  // Vertical: picture 4 x 16 with 3-pixel ends over a channel 10 wide at
  // x = 20, rows 5-84: moved right by 3 to the middle.
  EXPECT_EQ(TrackChannelPlan({20, 5, 30, 85}, {4, 16}, {3, 3, 3, 3}, true),
            (std::vector<SlicePiece>{{K::Stretch, {0, 0, 4, 3}, {23, 5, 27, 8}},
                                     {K::Stretch, {0, 3, 4, 13}, {23, 8, 27, 82}},
                                     {K::Stretch, {0, 13, 4, 16}, {23, 82, 27, 85}}}));
  // A channel shorter than both ends: the whole picture, stretched.
  EXPECT_EQ(TrackChannelPlan({0, 0, 3, 5}, {10, 5}, {2, 2, 2, 2}, false),
            (std::vector<SlicePiece>{{K::Stretch, {0, 0, 10, 5}, {0, 0, 3, 5}}}));
  EXPECT_TRUE(TrackChannelPlan({}, {10, 5}, {2, 2, 2, 2}, false).empty());
  EXPECT_TRUE(TrackChannelPlan({0, 0, 50, 5}, {}, {2, 2, 2, 2}, false).empty());
  EXPECT_EQ(PlanBounds(TrackChannelPlan({8, 10, 108, 19}, {10, 5}, {2, 2, 2, 2}, false)),
            (Rect{8, 12, 108, 17}));
  EXPECT_EQ(PlanBounds({}), Rect{});
}

TEST(MediaButtons, VisibleButtonsShareTheBarInTheirOrder) {
  // Buttons 0, 2 and 3 of five visible on a 100-pixel bar: 33, 33, 34.
  std::vector<Rect> buttons = MediaButtonRects({100, 30}, 0b01101, 5);
  EXPECT_EQ(buttons,
            (std::vector<Rect>{{0, 0, 33, 30}, {}, {33, 0, 66, 30}, {66, 0, 100, 30}, {}}));
  EXPECT_EQ(MediaButtonAt(buttons, 0), 0);
  EXPECT_EQ(MediaButtonAt(buttons, 33), 2);
  EXPECT_EQ(MediaButtonAt(buttons, 99), 3);
  EXPECT_EQ(MediaButtonAt(buttons, 100), -1);
  EXPECT_EQ(MediaButtonAt(buttons, -1), -1);
  EXPECT_EQ(MediaButtonRects({100, 30}, 0, 5), std::vector<Rect>(5));
}

}  // namespace
}  // namespace corvane
