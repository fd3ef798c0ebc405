// The DPI rule with exact numbers, and skin pictures scaled to a DPI: whole
// factors replicate pixels, other factors average without ever mixing the
// colour key into a real colour or one cell into its neighbour.
#include <gtest/gtest.h>

#include <set>

#include "core/DpiScale.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/draw/PictureScaling.h"

namespace corvane {
namespace {

constexpr Pixel kKey = PixelFromColour(kColourKey);
constexpr Pixel kRed = PixelFromColour(Rgb(255, 0, 0));
constexpr Pixel kBlue = PixelFromColour(Rgb(0, 0, 255));
constexpr Pixel kWhite = PixelFromColour(Rgb(255, 255, 255));

TEST(DpiScale, RoundsHalfAwayFromZero) {
  struct Case {
    int designed, dpi, shown;
  } cases[] = {
      {4, 192, 8},     {25, 192, 50},  {531, 192, 1062}, {330, 192, 660},  // twice, exactly
      {5, 120, 6},     {3, 120, 4},    {1, 120, 1},      {2, 144, 3},      // 6.25, 3.75, 1.25, 3
      {11, 144, 17},   {-11, 144, -17}, {-11, 120, -14},  {0, 144, 0},     // 16.5 both ways, -13.75
      {7, 168, 12},    {7, 96, 7},     {7, 0, 7},        {7, -5, 7},       // 12.25; no DPI is 96
      {1, 48, 1},      {3, 72, 2},     {33177600, 288, 99532800},          // down; no overflow
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleToDpi(c.designed, c.dpi), c.shown) << c.designed << " at " << c.dpi;
}

TEST(DpiScale, BoundsScaleCornerAndSizeSoEqualWidthsStayEqual) {
  // Two buttons of one designed width 75 at x 10 and x 91: at 120 DPI the
  // right edges would round differently if edges were scaled one by one.
  EXPECT_EQ(ScaleBoundsToDpi(Rect::FromSize(10, 5, 75, 25), 120), Rect::FromSize(13, 6, 94, 31));
  EXPECT_EQ(ScaleBoundsToDpi(Rect::FromSize(91, 5, 75, 25), 120), Rect::FromSize(114, 6, 94, 31));
  EXPECT_EQ(ScaleBoundsToDpi(Rect::FromSize(0, 0, 531, 330), 192), Rect::FromSize(0, 0, 1062, 660));
  EXPECT_EQ(ScaleMargins({4, 25, 4, 5}, 192), (Margins{8, 50, 8, 10}));
  EXPECT_EQ(ScaleMargins({4, 3, 4, 3}, 144), (Margins{6, 5, 6, 5}));
}

TEST(DpiScale, DesignedValuesSurviveEveryRoundTrip) {
  // Whatever a designed value scaled to is taken back to exactly that value,
  // and a value the program or user set is taken back to the nearest
  // designed one: moving between DPIs never accumulates rounding.
  for (int dpi : {96, 110, 120, 144, 168, 192, 240, 288})
    for (int designed : {-11, 0, 1, 3, 5, 13, 19, 25, 330, 531}) {
      const int shown = ScaleToDpi(designed, dpi);
      EXPECT_EQ(UnscaleFromDpi(shown, dpi), designed) << designed << " at " << dpi;
      EXPECT_EQ(DesignedAfter(designed, shown, dpi), designed) << designed << " at " << dpi;
    }
  EXPECT_EQ(DesignedAfter(10, 31, 144), 21);  // 31 px at 150 % is a new 20.67
  EXPECT_EQ(DesignedAfter(10, 15, 144), 10);  // still what 10 gives
  // 3 at 120 DPI shows as 4, and 4 at 120 also shows as 5: each keeps its own.
  EXPECT_EQ(DesignedAfter(3, 4, 120), 3);
  EXPECT_EQ(DesignedAfter(4, 5, 120), 4);
  // Moving a control keeps its designed size; resizing keeps its corner.
  const Rect designed = Rect::FromSize(10, 5, 75, 25);
  EXPECT_EQ(DesignedBoundsAfter(designed, Rect::FromSize(40, 6, 94, 31), 120), Rect::FromSize(32, 5, 75, 25));
  EXPECT_EQ(DesignedBoundsAfter(designed, Rect::FromSize(13, 6, 120, 31), 120), Rect::FromSize(10, 5, 96, 25));
}

TEST(PictureScaling, WholeFactorsReplicatePixelsExactly) {
  Surface picture(2, 2);
  picture.At(0, 0) = kKey;
  picture.At(1, 0) = kRed;
  picture.At(0, 1) = kBlue;
  picture.At(1, 1) = (kWhite & 0x00FFFFFF) | 0x7F000000;  // a partial alpha survives too
  for (int dpi : {96, 192, 288}) {
    const int n = dpi / 96;
    Surface scaled = ScalePicture(picture.View(), 1, dpi);
    ASSERT_EQ(scaled.Width(), 2 * n);
    ASSERT_EQ(scaled.Height(), 2 * n);
    for (int y = 0; y < 2 * n; ++y)
      for (int x = 0; x < 2 * n; ++x) EXPECT_EQ(scaled.At(x, y), picture.At(x / n, y / n)) << dpi;
  }
}

TEST(PictureScaling, FractionalFactorsKeepTheKeyExactAndNeverTintRealColours) {
  // Key beside white, one row: at 150 % the middle output pixel covers a
  // third of a key pixel and a third of a white one.
  Surface picture(2, 1);
  picture.At(0, 0) = kKey;
  picture.At(1, 0) = kWhite;
  Surface scaled = ScalePicture(picture.View(), 1, 144);
  ASSERT_EQ(scaled.Width(), 3);
  EXPECT_EQ(scaled.At(0, 0), kKey);
  EXPECT_EQ(scaled.At(1, 0), kWhite);  // an even share goes to the colour, unmixed
  EXPECT_EQ(scaled.At(2, 0), kWhite);

  // A real picture: a keyed border around a two-colour body. At every
  // fractional DPI each output pixel is the key or has no magenta in it.
  Surface art(13, 9, kKey);
  for (int y = 2; y < 7; ++y)
    for (int x = 2; x < 11; ++x) art.At(x, y) = x < 6 ? kRed : kWhite;
  for (int dpi : {110, 120, 144, 168, 240}) {
    Surface s = ScalePicture(art.View(), 1, dpi);
    EXPECT_EQ(s.Width(), ScaleToDpi(13, dpi));
    EXPECT_EQ(s.Height(), ScaleToDpi(9, dpi));
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) {
        const Pixel p = s.At(x, y);
        if (p == kKey) continue;
        // Red and white mix to (255, g, g); a key blend would raise blue above green.
        EXPECT_EQ((p >> 16) & 0xFF, 255u) << dpi << " at " << x << "," << y;
        EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << dpi << " at " << x << "," << y;
      }
    EXPECT_EQ(s.At(0, 0), kKey);
    EXPECT_EQ(s.At(s.Width() / 2 + 2, s.Height() / 2), kWhite);
  }
  // Without transparency the key is a colour like any other.
  Surface plain = ScalePicture(picture.View(), 1, 144, false);
  EXPECT_EQ(plain.At(1, 0), PixelFromColour(Rgb(255, 128, 255)));
}

TEST(PictureScaling, EachCellIsScaledOnItsOwn) {
  // Three cells of 5 pixels: red, blue, red. At 125 % each becomes 6 wide and
  // no colour of one cell appears in another.
  Surface strip(15, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 15; ++x) strip.At(x, y) = x / 5 == 1 ? kBlue : kRed;
  Surface s = ScalePicture(strip.View(), 3, 120);
  ASSERT_EQ(s.Width(), 18);
  ASSERT_EQ(s.Height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 18; ++x) EXPECT_EQ(s.At(x, y), x / 6 == 1 ? kBlue : kRed) << x << "," << y;
  // A strip that does not divide evenly gives the last cell the remainder.
  Surface odd(7, 1, kRed);
  EXPECT_EQ(ScalePicture(odd.View(), 2, 192).Width(), 14);
  EXPECT_EQ(ScalePicture(odd.View(), 2, 144).Width(), 5 + 6);  // cells 3 and 4 wide: 4.5 -> 5, 6
  EXPECT_TRUE(ScalePicture(Surface().View(), 1, 144).IsEmpty());
}

}  // namespace
}  // namespace corvane
