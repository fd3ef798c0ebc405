#include <gtest/gtest.h>

#include "PictureBytes.h"
#include "pictures/Gif.h"

namespace corvane {
namespace {

using testing::Bytes;
using testing::ReadFixture;
using testing::ReferencePixel;

void ExpectReference(const GifImage& image, const char* name) {
  const Surface& s = image.surface;
  ASSERT_EQ(s.Width(), 8) << name;
  ASSERT_EQ(s.Height(), 6) << name;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      if (testing::IsReferenceSolid(x, y)) {
        EXPECT_EQ(s.At(x, y), ReferencePixel(x, y)) << name << " at " << x << "," << y;
      }
  ASSERT_GE(image.transparentIndex, 0) << name;
  EXPECT_EQ(s.At(0, 5) >> 24, 0u) << name;
  EXPECT_EQ(s.At(1, 5) >> 24, 0u) << name;
  EXPECT_EQ(s.At(0, 5) & 0xFFFFFF, PixelFromColour(image.transparentColour) & 0xFFFFFF) << name;
}

TEST(Gif, FirstFrameWithItsTransparentColour) {
  ExpectReference(DecodeGif(ReadFixture("pictures/ref.gif")), "plain");
  ExpectReference(DecodeGif(ReadFixture("pictures/ref-interlaced.gif")), "interlaced");
}

// A GIF made here, so every field is known: a 4 x 3 logical screen and one
// 2 x 2 frame at (1, 1) of LZW-coded pixels.
Bytes MakeGif(bool transparency, std::uint8_t background, bool secondFrame) {
  Bytes g = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 3, 0, 0x81, background, 0};
  // Global colour table of 4: black, red, green, blue.
  g.insert(g.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
  if (transparency) g.insert(g.end(), {0x21, 0xF9, 4, 0x01, 0, 0, 2, 0});
  // Frame at (1,1), 2 x 2, no local table; LZW minimum code size 2.
  g.insert(g.end(), {0x2C, 1, 0, 1, 0, 2, 0, 2, 0, 0, 2});
  // Codes: clear 4, then 1, 2, 3 in 3 bits; the table then reaches 8 entries,
  // so 1 and the end code 5 take 4 bits. Packed low bit first.
  g.insert(g.end(), {3, 0x8C, 0x16, 0x05, 0});
  if (secondFrame) {
    g.insert(g.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0});
  }
  g.push_back(0x3B);
  return g;
}

TEST(Gif, FramePlacedOnItsLogicalScreen) {
  GifImage opaque = DecodeGif(MakeGif(false, 3, true));
  const Surface& s = opaque.surface;
  ASSERT_EQ(s.Width(), 4);
  ASSERT_EQ(s.Height(), 3);
  EXPECT_EQ(opaque.transparentIndex, -1);
  EXPECT_EQ(s.At(0, 0), 0xFF0000FFu);  // background colour 3 around the frame
  EXPECT_EQ(s.At(1, 1), 0xFFFF0000u);
  EXPECT_EQ(s.At(2, 1), 0xFF00FF00u);
  EXPECT_EQ(s.At(1, 2), 0xFF0000FFu);
  EXPECT_EQ(s.At(2, 2), 0xFFFF0000u);

  GifImage keyed = DecodeGif(MakeGif(true, 3, false));
  EXPECT_EQ(keyed.transparentIndex, 2);
  EXPECT_EQ(keyed.transparentColour, Rgb(0, 255, 0));
  EXPECT_EQ(keyed.surface.At(2, 1), 0x0000FF00u);  // index 2: transparent green
  EXPECT_EQ(keyed.surface.At(0, 0) >> 24, 0u);      // uncovered screen is transparent too
  EXPECT_EQ(keyed.surface.At(1, 1), 0xFFFF0000u);
}

TEST(Gif, MalformedFilesGiveClearErrors) {
  auto expectError = [](const Bytes& data, const std::string& words) {
    try {
      DecodeGif(data);
      ADD_FAILURE() << "no error; expected \"" << words << "\"";
    } catch (const PictureFormatError& e) {
      EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
  };
  expectError({}, "not a GIF");
  expectError(ReadFixture("pictures/ref-rgba.png"), "not a GIF");

  Bytes full = MakeGif(false, 0, false);
  for (std::size_t keep : {std::size_t{8}, std::size_t{20}, std::size_t{30}, full.size() - 4}) {
    Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(keep));
    expectError(cut, "GIF");
  }

  Bytes noImage = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 3, 0, 0, 0, 0, 0x3B};
  expectError(noImage, "no picture");

  Bytes noTable = MakeGif(false, 0, false);
  noTable[10] = 0;  // no global table: the colours now read as the frame
  expectError(noTable, "GIF");

  Bytes huge = MakeGif(false, 0, false);
  huge[6] = 0xFF;  // a 65535-wide logical screen
  huge[7] = 0xFF;
  expectError(huge, "too large");
}

}  // namespace
}  // namespace corvane
