#include <gtest/gtest.h>

#include "core/Surface.h"

namespace corvane {
namespace {

TEST(Rect, IntersectionOfDisjointRectanglesIsEmpty) {
  EXPECT_TRUE(Rect::FromSize(0, 0, 10, 10).Intersect(Rect::FromSize(10, 0, 5, 5)).IsEmpty());
  EXPECT_EQ(Rect::FromSize(0, 0, 10, 10).Intersect(Rect::FromSize(5, -5, 10, 10)),
            (Rect{5, 0, 10, 5}));
}

TEST(Surface, ColourAndPixelOrdersAreDistinct) {
  // 0x00BBGGRR colour, 0xAARRGGBB pixel: red must land in the pixel's third byte.
  EXPECT_EQ(PixelFromColour(Rgb(0x12, 0x34, 0x56)), 0xFF123456u);
  EXPECT_EQ(ColourFromPixel(0x80123456u), Rgb(0x12, 0x34, 0x56));
  EXPECT_TRUE(SameColour(0x00FF00FFu, kColourKey));
}

TEST(Surface, SubViewIsClippedAndSharesPixels) {
  Surface s(4, 3);
  SurfaceView sub = s.View().Sub({2, 1, 9, 9});
  ASSERT_EQ(sub.width, 2);
  ASSERT_EQ(sub.height, 2);
  sub.Fill(0xFFABCDEFu);
  EXPECT_EQ(s.At(2, 1), 0xFFABCDEFu);
  EXPECT_EQ(s.At(3, 2), 0xFFABCDEFu);
  EXPECT_EQ(s.At(1, 1), 0u);
  EXPECT_TRUE(s.View().Sub({5, 5, 9, 9}).IsEmpty());
}

}  // namespace
}  // namespace corvane
