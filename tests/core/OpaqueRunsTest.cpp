// Opaque runs of a picture and the balanced fold that unites them.
#include <gtest/gtest.h>

#include <string>

#include "pictures/OpaqueRuns.h"

namespace corvane {
namespace {

constexpr Pixel W = 0xFFFFFFFF;  // white, the usual key
constexpr Pixel R = 0xFFFF0000;
constexpr Pixel G = 0xFF00FF00;

Surface Rows(std::initializer_list<std::string> rows) {
  // '.' = white, 'r' = red, 'g' = green, 'k' = white with alpha 0 (key by colour only)
  int h = static_cast<int>(rows.size());
  int w = static_cast<int>(rows.begin()->size());
  Surface s(w, h);
  int y = 0;
  for (const std::string& row : rows) {
    for (int x = 0; x < w; ++x)
      s.At(x, y) = row[x] == '.' ? W : row[x] == 'r' ? R : row[x] == 'g' ? G : 0x00FFFFFF;
    ++y;
  }
  return s;
}

TEST(OpaqueRuns, RunsAreMaximalPerRowAndEndAtTheWidth) {
  Surface s = Rows({
      "rr..gr",  // r r . . g r   -> [0,2) and [4,6): different colours still one run
      "......",  //               -> nothing
      ".r.r.r",  //               -> three one-pixel runs, the last reaching the edge
      "k.rrr.",  // alpha 0 white is still white: transparent
  });
  std::vector<Rect> runs = OpaqueRuns(s.View(), DefaultTransparentRgb(s.View()));
  std::vector<Rect> expected{{0, 0, 2, 1}, {4, 0, 6, 1}, {1, 2, 2, 3}, {3, 2, 4, 3},
                             {5, 2, 6, 3}, {2, 3, 5, 4}};
  EXPECT_EQ(runs, expected);
}

TEST(OpaqueRuns, KeyIsTheBottomLeftPixel) {
  Surface s = Rows({"..r", "rr."});
  EXPECT_EQ(DefaultTransparentRgb(s.View()), 0xFF0000u);
  // With red as the key, white is what remains.
  std::vector<Rect> expected{{0, 0, 2, 1}, {2, 1, 3, 2}};
  EXPECT_EQ(OpaqueRuns(s.View(), DefaultTransparentRgb(s.View())), expected);
}

TEST(OpaqueRuns, AllKeyGivesNoRunsAndNoKeyGivesWholeRows) {
  Surface clear = Rows({"...", "..."});
  EXPECT_TRUE(OpaqueRuns(clear.View(), 0xFFFFFF).empty());
  Surface full = Rows({"rgr", "grg"});
  std::vector<Rect> expected{{0, 0, 3, 1}, {0, 1, 3, 2}};
  EXPECT_EQ(OpaqueRuns(full.View(), 0xFFFFFF), expected);
}

TEST(OpaqueRuns, EmptyAndStridedSurfaces) {
  EXPECT_TRUE(OpaqueRuns(SurfaceView{}, 0).empty());
  EXPECT_EQ(DefaultTransparentRgb(SurfaceView{}), 0u);
  // A sub-view: the stride is wider than the width; pixels outside must not count.
  Surface s = Rows({"rrrr", "r..r", "rrrr"});
  SurfaceView inner = s.View().Sub({1, 1, 3, 2});
  EXPECT_TRUE(OpaqueRuns(inner, 0xFFFFFF).empty());
}

TEST(BalancedFold, KeepsOrderAndVisitsEveryLeafOnce) {
  for (std::size_t n : {0u, 1u, 2u, 3u, 7u, 8u, 9u, 100u}) {
    std::string expected;
    for (std::size_t i = 0; i < n; ++i) expected += static_cast<char>('a' + i % 26);
    int merges = 0;
    std::string folded = BalancedFold<std::string>(
        n, [](std::size_t i) { return std::string(1, static_cast<char>('a' + i % 26)); },
        [&merges](std::string a, std::string b) {
          ++merges;
          return a + b;
        });
    EXPECT_EQ(folded, expected) << n;
    EXPECT_EQ(merges, n == 0 ? 0 : static_cast<int>(n) - 1) << n;
  }
}

TEST(BalancedFold, MergesAreBalancedAndFewPartialsLive) {
  // Each merge's cost is the size of its inputs; a balanced fold of n unit
  // leaves costs about n log2 n, a left fold about n^2 / 2.
  const std::size_t n = 1024;
  long long cost = 0;
  int live = 0, maxLive = 0;
  struct Part {
    long long size = 0;
  };
  BalancedFold<Part>(
      n,
      [&](std::size_t) {
        maxLive = std::max(maxLive, ++live);
        return Part{1};
      },
      [&](Part a, Part b) {
        cost += a.size + b.size;
        --live;
        return Part{a.size + b.size};
      });
  EXPECT_EQ(cost, 1024LL * 10);  // exactly n * log2(n) for a power of two
  EXPECT_LE(maxLive, 11);
}

}  // namespace
}  // namespace corvane
