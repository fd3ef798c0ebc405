// Pictures with their own transparency: premultiplied colours, scaling in
// premultiplied space without dark fringes, and the visible pixels that
// shape the window and take the mouse.
#include <gtest/gtest.h>

#include <random>

#include "pictures/OpaqueRuns.h"
#include "pictures/PictureAlpha.h"
#include "pictures/PictureResize.h"
#include "pictures/PictureFormat.h"

namespace corvane {
namespace {

// Back to straight colour, as the screen's blend recovers it.
Pixel Unpremultiply(Pixel p) {
  const Pixel a = p >> 24;
  if (a == 0) return 0;
  auto un = [a](Pixel c) { return std::min<Pixel>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
}

int ChannelDistance(Pixel a, Pixel b) {
  int worst = 0;
  for (int c = 0; c < 3; ++c)
    worst = std::max(worst, std::abs(static_cast<int>((a >> (8 * c)) & 0xFF) - static_cast<int>((b >> (8 * c)) & 0xFF)));
  return worst;
}

TEST(PictureAlpha, PremultiplyRoundsEachChannelByAlpha) {
  const struct {
    Pixel straight, premultiplied;
  } cases[] = {
      {0x80FFFFFFu, 0x80808080u},  // white at half alpha: grey 128, white again when divided
      {0xFF123456u, 0xFF123456u},  // opaque: unchanged
      {0x00FFFFFFu, 0x00000000u},  // invisible: no colour left to bleed
      {0x40FF8001u, 0x40402000u},  // 255*64/255 = 64, 128*64/255 = 32.1, 1*64/255 = 0.25
      {0x01FFFFFFu, 0x01010101u},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PremultiplyPixel(c.straight), c.premultiplied) << std::hex << c.straight;
    Surface one(1, 1, c.straight);
    EXPECT_EQ(Premultiply(one.View()).At(0, 0), c.premultiplied);
  }
}

TEST(PictureAlpha, CoverageTellsOpaqueSoftAndInvisiblePictures) {
  const struct {
    std::vector<Pixel> pixels;
    AlphaCoverage coverage;
  } cases[] = {
      {{0xFFFFFFFFu, 0xFF000000u}, AlphaCoverage::Opaque},
      {{}, AlphaCoverage::Opaque},
      {{0x00FFFFFFu, 0xFFFFFFFFu}, AlphaCoverage::Partial},  // a hard cut-out counts
      {{0x80FFFFFFu}, AlphaCoverage::Partial},
      {{0x01000000u, 0x00FFFFFFu}, AlphaCoverage::Partial},  // one faint pixel is still visible
      {{0x00FFFFFFu, 0x00000000u}, AlphaCoverage::Invisible},
  };
  for (const auto& c : cases) {
    Surface s(static_cast<int>(c.pixels.size()), c.pixels.empty() ? 0 : 1);
    for (std::size_t i = 0; i < c.pixels.size(); ++i) s.At(static_cast<int>(i), 0) = c.pixels[i];
    EXPECT_EQ(CoverageOf(s.View()), c.coverage) << c.pixels.size();
  }
}

// A soft white disc edge: white at alpha 128 beside invisible black, the
// way most writers store fully transparent pixels.
TEST(PictureAlpha, ScalingInPremultipliedSpaceLeavesNoDarkFringe) {
  Surface straight(4, 3, 0x00000000u);
  for (int y = 0; y < 3; ++y) {
    straight.At(1, y) = 0x80FFFFFFu;
    straight.At(2, y) = y == 1 ? 0xFFFFFFFFu : 0x80FFFFFFu;
  }
  const Surface premultiplied = Premultiply(straight.View());
  for (const auto& [w, h] : {std::pair{8, 6}, {12, 9}, {5, 4}, {3, 2}, {1, 1}, {4, 3}}) {
    const Surface scaled = ResizePremultiplied(premultiplied.View(), w, h);
    ASSERT_EQ(scaled.Width(), w);
    ASSERT_EQ(scaled.Height(), h);
    int soft = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Pixel p = scaled.At(x, y);
        if (!IsVisible(p)) continue;
        EXPECT_EQ(ChannelDistance(Unpremultiply(p), 0xFFFFFFu), 0) << w << "x" << h << " at " << x << "," << y;
        soft += (p >> 24) != 0xFF;
      }
    if (w > 4) {
      EXPECT_GT(soft, 0) << "edges blend at " << w;
    }
  }
  // A straight-alpha blend of the same pixels turns the rim grey: what the
  // premultiplied one must not do.
  const Surface naive = ResizeKeyed(straight.View(), 8, 6, 0x123456);
  EXPECT_GT(ChannelDistance(naive.At(1, 2), 0xFFFFFFu), 20);
}

TEST(PictureAlpha, ScaledPixelsStayValidPremultipliedColours) {
  // Random straight pixels: after premultiply and any scale, no channel
  // exceeds alpha (the system would show such a pixel brighter than it is).
  std::mt19937 random(7);
  Surface straight(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) straight.At(x, y) = random();
  const Surface premultiplied = Premultiply(straight.View());
  for (const auto& [w, h] : {std::pair{17, 11}, {3, 2}, {10, 5}}) {
    const Surface scaled = ResizePremultiplied(premultiplied.View(), w, h);
    for (Pixel p : scaled.Pixels()) {
      const Pixel a = p >> 24;
      EXPECT_LE((p >> 16) & 0xFF, a);
      EXPECT_LE((p >> 8) & 0xFF, a);
      EXPECT_LE(p & 0xFF, a);
    }
  }
}

TEST(PictureAlpha, ShownSizeScalesByDpiWithinThePictureLimits) {
  const struct {
    Size picture;
    int dpi;
    Size shown;
  } cases[] = {
      {{32, 32}, 96, {32, 32}},
      {{32, 32}, 192, {64, 64}},
      {{1, 1}, 144, {2, 2}},
      {{100, 50}, 120, {125, 63}},
      {{7680, 4320}, 96, {7680, 4320}},
      {{7680, 4320}, 192, {7680, 4320}},  // the largest picture is not multiplied past the limit
      {{16384, 2}, 144, {16384, 2}},
      {{3000, 2000}, 192, {6000, 4000}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShownSize(c.picture, c.dpi), c.shown) << c.picture.width << "x" << c.picture.height << " at " << c.dpi;
}

TEST(PictureAlpha, VisibleRunsAreThePixelsWithAlphaWhateverTheirColour) {
  // A transparent corner, a white square inside a red one, a faint rim: the
  // white pixels are as visible as the red ones (no key colour).
  const char* rows[] = {
      "  rrrr",
      " rWWrr",
      "frWWr ",
      "ffrr  ",
  };
  Surface s(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const char c = rows[y][x];
      s.At(x, y) = c == 'r' ? 0xFFFF0000u : c == 'W' ? 0xFFFFFFFFu : c == 'f' ? 0x01FFFFFFu : 0x00FFFFFFu;
    }
  const std::vector<Rect> runs = VisibleRuns(s.View());
  EXPECT_EQ(runs, (std::vector<Rect>{{2, 0, 6, 1}, {1, 1, 6, 2}, {0, 2, 5, 3}, {0, 3, 4, 4}}));
  // The runs are exactly the visible pixels.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      bool inRun = false;
      for (const Rect& r : runs) inRun = inRun || r.Contains({x, y});
      EXPECT_EQ(inRun, IsVisible(s.At(x, y))) << x << "," << y;
    }
}

}  // namespace
}  // namespace corvane
