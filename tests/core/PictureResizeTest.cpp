// Pictures resized for a DPI: smooth where they are real colours, exact
// where they are see-through.
#include <gtest/gtest.h>

#include "pictures/PictureResize.h"

namespace corvane {
namespace {

constexpr std::uint32_t kKey = 0xFF00FF;

TEST(PictureResize, SmoothBetweenColoursExactAtTheKey) {
  // key | black | white, one row, drawn 4 times as wide.
  Surface picture(3, 1);
  picture.At(0, 0) = 0xFF000000u | kKey;
  picture.At(1, 0) = 0xFF000000u;
  picture.At(2, 0) = 0xFFFFFFFFu;
  const Surface wide = ResizeKeyed(picture.View(), 12, 2, kKey);
  ASSERT_EQ(wide.Width(), 12);
  ASSERT_EQ(wide.Height(), 2);
  for (int y = 0; y < 2; ++y) {
    // The key's own place stays the key exactly, nothing else turns into it.
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ((wide.At(x, y) & 0xFFFFFF) == kKey, x < 4) << x;
    // Beside the key only black is blended (no pink tint); towards white the
    // steps are greys, rising, not two blocks.
    for (int x = 4; x < 6; ++x) EXPECT_EQ(wide.At(x, y) & 0xFFFFFF, 0u) << x;
    int greys = 0;
    for (int x = 5; x < 12; ++x) {
      const Pixel p = wide.At(x, y);
      EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << "grey at " << x;
      EXPECT_GE(p & 0xFF, wide.At(x - 1, y) & 0xFF) << "rising at " << x;
      if ((p & 0xFF) != 0 && (p & 0xFF) != 0xFF) ++greys;
    }
    EXPECT_GE(greys, 3);
  }
  // Down to one pixel: the nearest source pixel decides; a single key pixel
  // in the middle of colour never leaks in.
  Surface one = ResizeKeyed(picture.View(), 1, 1, kKey);
  EXPECT_EQ(one.At(0, 0) & 0xFFFFFF, 0u);
  EXPECT_EQ(ResizeKeyed(Surface().View(), 0, 0, kKey).Width(), 1);
}

}  // namespace
}  // namespace corvane
