#include <gtest/gtest.h>

#include "skin/data/BitmapUtils.h"

namespace corvane {
namespace {

// A provider whose system colours are easy to recognise in results.
class FakeSystem final : public SystemColourProvider {
 public:
  Colour SysColour(int index) const override { return Rgb(index, 2 * index, 3 * index); }
  int HorzScrollArrowWidth() const override { return 10; }
};

Surface Numbered(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.At(x, y) = 0xFF000000u | static_cast<Pixel>(y * 16 + x);
  return s;
}

TEST(Blend, PercentAndPerMilleWeights) {
  EXPECT_EQ(Blend(0x000000, 0xFFFFFF, 50), 0x808080);
  // 150 is per mille: 15 % grey, 85 % of the second colour.
  EXPECT_EQ(Blend(0x808080, Rgb(200, 0, 100), 150), Rgb(189, 19, 104));
  EXPECT_EQ(Blend(Rgb(10, 20, 30), Rgb(200, 100, 0), 0), Rgb(200, 100, 0));
  EXPECT_EQ(Blend(Rgb(10, 20, 30), Rgb(200, 100, 0), 1000), Rgb(10, 20, 30));
}

TEST(Blend, ResolvesSystemColoursAndStaysInByteRange) {
  FakeSystem sys;
  // 0x8000000A names system colour 10.
  EXPECT_EQ(Blend(static_cast<Colour>(0x8000000A), 0, 1000, sys), Rgb(10, 20, 30));
  // A weight beyond its divisor must not wrap into the neighbouring channel.
  const Colour c = Blend(0xFFFFFF, 0x000000, 5000);
  EXPECT_EQ(c, 0xFFFFFF);
}

TEST(ColourSaturation, DarkColoursAndRounding) {
  EXPECT_EQ(ColourSaturation(0x202020), 200);
  EXPECT_EQ(ColourSaturation(0x0000FF), 255);
  EXPECT_EQ(ColourSaturation(0xA0A0A0), 0);
  EXPECT_EQ(ColourSaturation(0x000000), 200);
  // (255 - 128) / 255 * 255 = 127 exactly; (160-1)/160*255 = 253.40625 -> 253.
  EXPECT_EQ(ColourSaturation(Rgb(255, 128, 200)), 127);
  EXPECT_EQ(ColourSaturation(Rgb(1, 160, 100)), 253);
}

TEST(Gradient, ColoursRiseFallAndMidpoint) {
  EXPECT_EQ(BuildGradientColours(1, Rgb(0, 0, 0), Rgb(100, 51, 255)),
            (std::vector<Colour>{Rgb(50, 25, 127)}));
  const auto up = BuildGradientColours(5, Rgb(0, 0, 0), Rgb(100, 8, 255));
  ASSERT_EQ(up.size(), 5u);
  EXPECT_EQ(up.front(), Rgb(0, 0, 0));
  EXPECT_EQ(up[1], Rgb(25, 2, 64));  // (2 + 100) / 4 = 25, (2 + 8) / 4 = 2, (2 + 255) / 4 = 64
  EXPECT_EQ(up.back(), Rgb(100, 8, 255));
  // A falling channel truncates toward zero: (1 - 2*255) / 2 = -254, so it ends at 1.
  const auto down = BuildGradientColours(3, Rgb(255, 0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(down.back(), Rgb(1, 0, 0));
  EXPECT_TRUE(BuildGradientColours(0, 1, 2).empty());
}

TEST(Gradient, CacheHitsReuseSlotsAndFallingGradientsMiss) {
  GradientCache cache;
  const auto* first = &cache.Lookup(10, Rgb(0, 0, 0), Rgb(90, 90, 90));
  EXPECT_EQ(cache.NextSlot(), 1);
  EXPECT_EQ(&cache.Lookup(10, Rgb(0, 0, 0), Rgb(90, 90, 90)), first);
  EXPECT_EQ(cache.NextSlot(), 1);
  // Same ends but another length is a different gradient.
  EXPECT_NE(&cache.Lookup(11, Rgb(0, 0, 0), Rgb(90, 90, 90)), first);
  EXPECT_EQ(cache.NextSlot(), 2);
  // Its last entry is not c2, so every lookup rebuilds.
  cache.Lookup(3, Rgb(255, 0, 0), 0);
  cache.Lookup(3, Rgb(255, 0, 0), 0);
  EXPECT_EQ(cache.NextSlot(), 4);
  // Sixteen more misses wrap the ring and evict the first array.
  for (int i = 0; i < 16; ++i) cache.Lookup(20 + i, 0, Rgb(0, 0, 200));
  EXPECT_EQ(cache.NextSlot(), 4);
  const auto& again = cache.Lookup(10, Rgb(0, 0, 0), Rgb(90, 90, 90));
  EXPECT_EQ(cache.NextSlot(), 5);
  EXPECT_EQ(again.back(), Rgb(90, 90, 90));
}

TEST(Gradient, FillPaintsBandsClippedToTheSurface) {
  Surface s(4, 6, 0xFF123456u);
  GradientFill(s.View(), {1, -2, 3, 8}, Rgb(0, 0, 0), true, Rgb(0, 0, 90));
  // Ten rows from black to blue 90; rows -2 and -1 fall off the surface.
  const auto bands = BuildGradientColours(10, 0, Rgb(0, 0, 90));
  for (int y = 0; y < 6; ++y) {
    EXPECT_EQ(s.At(0, y), 0xFF123456u);
    EXPECT_EQ(s.At(1, y), PixelFromColour(bands[static_cast<std::size_t>(y + 2)])) << y;
    EXPECT_EQ(s.At(2, y), s.At(1, y));
    EXPECT_EQ(s.At(3, y), 0xFF123456u);
  }
  Surface h(5, 1);
  GradientFill(h.View(), {0, 0, 5, 1}, Rgb(0, 0, 0), false, Rgb(40, 0, 0));
  EXPECT_EQ(h.At(0, 0), PixelFromColour(Rgb(0, 0, 0)));
  EXPECT_EQ(h.At(4, 0), PixelFromColour(Rgb(40, 0, 0)));
}

TEST(ReplaceMagenta, OnlyExactMagentaChanges) {
  Surface s(3, 1);
  s.At(0, 0) = 0xFFFF00FFu;
  s.At(1, 0) = 0xFFFE00FFu;  // red 254: not the key
  s.At(2, 0) = 0x00FF00FFu;  // alpha plays no part
  ReplaceMagenta(s, Rgb(0xE3, 0xE2, 0xEC));
  EXPECT_EQ(s.At(0, 0), 0xFFE3E2ECu);
  EXPECT_EQ(s.At(1, 0), 0xFFFE00FFu);
  EXPECT_EQ(s.At(2, 0), 0x00E3E2ECu);
  // A system colour value is used as raw bytes, not resolved.
  Surface t(1, 1, 0xFFFF00FFu);
  ReplaceMagenta(t, static_cast<Colour>(0x8000000F));
  EXPECT_EQ(t.At(0, 0), 0xFF0F0000u);
}

TEST(Transforms, MirrorFlipAndRotations) {
  const Surface original = Numbered(3, 2);
  Surface m = original;
  MirrorBitmap(m);
  EXPECT_EQ(m.At(0, 0), original.At(2, 0));
  EXPECT_EQ(m.At(2, 1), original.At(0, 1));
  EXPECT_EQ(m.At(1, 1), original.At(1, 1));
  Surface f = original;
  FlipBitmap(f);
  EXPECT_EQ(f.At(0, 0), original.At(0, 1));
  EXPECT_EQ(f.At(2, 1), original.At(2, 0));

  Surface left = original;
  RotateBitmapLeft(left);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  // Counter-clockwise: the old top-right corner is now the top-left.
  EXPECT_EQ(left.At(0, 0), original.At(2, 0));
  EXPECT_EQ(left.At(1, 0), original.At(2, 1));
  EXPECT_EQ(left.At(0, 2), original.At(0, 0));
  Surface right = original;
  RotateBitmapRight(right);
  EXPECT_EQ(right.At(0, 0), original.At(0, 1));
  EXPECT_EQ(right.At(1, 0), original.At(0, 0));
  EXPECT_EQ(right.At(1, 2), original.At(2, 0));

  RotateBitmapRight(left);
  EXPECT_EQ(left, original);
  Surface odd = Numbered(5, 3);
  const Surface before = odd;
  FlipBitmap(odd);
  FlipBitmap(odd);
  MirrorBitmap(odd);
  MirrorBitmap(odd);
  EXPECT_EQ(odd, before);
  Surface empty;
  RotateBitmapLeft(empty);
  EXPECT_TRUE(empty.IsEmpty());
}

}  // namespace
}  // namespace corvane
