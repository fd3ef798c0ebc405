#include <gtest/gtest.h>

#include "PictureBytes.h"
#include "pictures/Bmp.h"

namespace corvane {
namespace {

using testing::Bytes;
using testing::DibBuilder;

// Expects a PictureFormatError whose message contains `words`.
template <typename F>
void ExpectFormatError(F&& decode, const std::string& words) {
  try {
    decode();
    ADD_FAILURE() << "no error; expected one mentioning \"" << words << "\"";
  } catch (const PictureFormatError& e) {
    EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
  }
}

// A 3 x 2 picture at 24 bits: rows are 9 bytes, padded to 12.
DibBuilder ThreeByTwo24(bool topDown) {
  DibBuilder b;
  b.width = 3;
  b.height = topDown ? -2 : 2;
  const Bytes first = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0xAA, 0xAA, 0xAA};  // red green blue
  const Bytes second = {0, 0, 0, 255, 255, 255, 0x10, 0x20, 0x30, 0xAA, 0xAA, 0xAA};
  b.pixels = first;
  b.pixels.insert(b.pixels.end(), second.begin(), second.end());
  return b;
}

TEST(Bmp, TwentyFourBitsBottomUpAndTopDownReadRowsInTheirOrder) {
  Surface up = DecodeBmp(ThreeByTwo24(false).File());
  ASSERT_EQ(up.Width(), 3);
  ASSERT_EQ(up.Height(), 2);
  // Stored bottom-up: the first stored row is the picture's last.
  EXPECT_EQ(up.At(0, 1), 0xFFFF0000u);
  EXPECT_EQ(up.At(1, 1), 0xFF00FF00u);
  EXPECT_EQ(up.At(2, 1), 0xFF0000FFu);
  EXPECT_EQ(up.At(0, 0), 0xFF000000u);
  EXPECT_EQ(up.At(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(up.At(2, 0), 0xFF302010u);

  Surface down = DecodeBmp(ThreeByTwo24(true).File());
  EXPECT_EQ(down.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(down.At(2, 1), 0xFF302010u);
}

TEST(Bmp, PaletteDepthsPickTheirEntries) {
  DibBuilder one;  // 10 pixels wide: the bits run across a byte boundary
  one.width = 10;
  one.bitCount = 1;
  one.palette = {0x000000, 0xFFFFFF};
  one.pixels = {0b10110000, 0b01000000, 0, 0};
  Surface s1 = DecodeBmp(one.File());
  const int expected[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(s1.At(x, 0), expected[x] ? 0xFFFFFFFFu : 0xFF000000u) << x;

  DibBuilder four;
  four.width = 3;
  four.bitCount = 4;
  four.palette.resize(16);
  four.palette[2] = 0x123456;
  four.palette[15] = 0xABCDEF;
  four.pixels = {0x2F, 0x20, 0, 0};
  Surface s4 = DecodeBmp(four.File());
  EXPECT_EQ(s4.At(0, 0), 0xFF123456u);
  EXPECT_EQ(s4.At(1, 0), 0xFFABCDEFu);
  EXPECT_EQ(s4.At(2, 0), 0xFF123456u);

  DibBuilder eight;  // a short palette: index 200 lies outside it and shows black
  eight.width = 2;
  eight.bitCount = 8;
  eight.palette = {0x00FF00, 0x0000FF};
  eight.pixels = {1, 200, 0, 0};
  Surface s8 = DecodeBmp(eight.File());
  EXPECT_EQ(s8.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(s8.At(1, 0), 0xFF000000u);
}

TEST(Bmp, SixteenBitsAsFiveFiveFiveAndAsFiveSixFiveBitFields) {
  DibBuilder plain;  // 5-5-5: full red, full white, mid green
  plain.width = 3;
  plain.bitCount = 16;
  plain.pixels = {0x00, 0x7C, 0xFF, 0x7F, 0x00, 0x02, 0, 0};
  Surface s = DecodeBmp(plain.File());
  EXPECT_EQ(s.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(s.At(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(s.At(2, 0), 0xFF008400u);  // 16 of 31 scaled to 0..255

  DibBuilder fields = plain;
  fields.compression = 3;
  fields.masks = {0xF800, 0x07E0, 0x001F};
  fields.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};
  Surface f = DecodeBmp(fields.File());
  EXPECT_EQ(f.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(f.At(1, 0), 0xFF00FF00u);
  EXPECT_EQ(f.At(2, 0), 0xFF0000FFu);
}

TEST(Bmp, ThirtyTwoBitsKeepStoredAlphaUnlessNoneIsUsed) {
  DibBuilder b;
  b.width = 2;
  b.bitCount = 32;
  b.pixels = {0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60, 0x00};
  Surface s = DecodeBmp(b.File());
  EXPECT_EQ(s.At(0, 0), 0x80302010u);
  EXPECT_EQ(s.At(1, 0), 0x00605040u);

  b.pixels[3] = 0;  // every alpha byte zero: the writer left the byte unused
  Surface opaque = DecodeBmp(b.File());
  EXPECT_EQ(opaque.At(0, 0), 0xFF302010u);
  EXPECT_EQ(opaque.At(1, 0), 0xFF605040u);
}

TEST(Bmp, VersionFiveHeaderCarriesItsMasksInside) {
  DibBuilder b;
  b.headerSize = 124;
  b.width = 1;
  b.bitCount = 32;
  b.compression = 3;
  b.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};  // stored R, G, B, A
  b.pixels = {0x11, 0x22, 0x33, 0x44};
  EXPECT_EQ(DecodeBmp(b.File()).At(0, 0), 0x44112233u);

  b.masks.resize(3);  // no alpha mask: opaque
  EXPECT_EQ(DecodeBmp(b.File()).At(0, 0), 0xFF112233u);
}

TEST(Bmp, OldCoreHeaderWithThreeBytePalette) {
  DibBuilder b;
  b.headerSize = 12;
  b.width = 2;
  b.bitCount = 1;
  b.palette = {0x0000FF, 0xFF0000};
  b.pixels = {0b01000000, 0, 0, 0};
  Surface s = DecodeBmp(b.File());
  EXPECT_EQ(s.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(s.At(1, 0), 0xFFFF0000u);
}

TEST(Bmp, StatedPixelOffsetIsHonoured) {
  DibBuilder b = ThreeByTwo24(true);
  Surface s = DecodeBmp(b.File(/*gap=*/7));
  EXPECT_EQ(s.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(s.At(2, 1), 0xFF302010u);
}

TEST(Bmp, RunLengthEncodedEightAndFourBits) {
  DibBuilder rle8;
  rle8.width = 4;
  rle8.height = 2;
  rle8.bitCount = 8;
  rle8.compression = 1;
  rle8.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  // bottom row: 3 x index 1, then a literal run of three 2s of which only one
  // fits; next row: delta
  // right 1, then 2 x index 3, end of bitmap.
  rle8.pixels = {3, 1, 0, 3, 2, 2, 2, 0, 0, 0, 0, 2, 1, 0, 2, 3, 0, 1};
  Surface s = DecodeBmp(rle8.File());
  EXPECT_EQ(s.At(0, 1), 0xFFFF0000u);
  EXPECT_EQ(s.At(2, 1), 0xFFFF0000u);
  EXPECT_EQ(s.At(3, 1), 0xFF00FF00u);
  EXPECT_EQ(s.At(0, 0), 0xFF000000u);  // skipped by the delta: colour 0
  EXPECT_EQ(s.At(1, 0), 0xFF0000FFu);
  EXPECT_EQ(s.At(2, 0), 0xFF0000FFu);
  EXPECT_EQ(s.At(3, 0), 0xFF000000u);

  DibBuilder rle4 = rle8;
  rle4.bitCount = 4;
  rle4.compression = 2;
  rle4.height = 1;
  rle4.pixels = {4, 0x12, 0, 1};  // alternating 1, 2, 1, 2
  Surface f = DecodeBmp(rle4.File());
  EXPECT_EQ(f.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(f.At(1, 0), 0xFF00FF00u);
  EXPECT_EQ(f.At(3, 0), 0xFF00FF00u);
}

TEST(Bmp, RunLengthDataCannotWriteOutsideThePicture) {
  DibBuilder b;
  b.width = 2;
  b.height = 2;
  b.bitCount = 8;
  b.compression = 1;
  b.palette = {0x000000, 0xFFFFFF};
  b.pixels = {255, 1, 0, 2, 200, 200, 255, 1, 0, 0, 255, 1, 0, 0, 255, 1, 0, 1};
  Surface s = DecodeBmp(b.File());
  EXPECT_EQ(s.At(0, 1), 0xFFFFFFFFu);
  EXPECT_EQ(s.At(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(s.At(0, 0), 0xFF000000u);

  b.pixels = {0, 9, 1, 2};  // a literal run of 9 with 2 bytes behind it
  ExpectFormatError([&] { DecodeBmp(b.File()); }, "truncated");
}

TEST(Bmp, ProbeReadsHeadersOnly) {
  DibBuilder b = ThreeByTwo24(true);
  b.pixels.clear();  // no pixels at all: the probe must not care
  BmpInfo info = ProbeBmp(b.File());
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(info.bitCount, 24);
  EXPECT_TRUE(info.topDown);
}

TEST(Bmp, MalformedFilesGiveClearErrors) {
  ExpectFormatError([] { DecodeBmp({}); }, "not a BMP");
  Bytes png = {0x89, 'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  ExpectFormatError([&] { DecodeBmp(png); }, "not a BMP");

  Bytes cut = ThreeByTwo24(false).File();
  cut.resize(cut.size() - 4);  // part of the last row is missing
  ExpectFormatError([&] { DecodeBmp(cut); }, "truncated");
  Bytes headerOnly = ThreeByTwo24(false).File();
  headerOnly.resize(30);
  ExpectFormatError([&] { DecodeBmp(headerOnly); }, "truncated");

  DibBuilder depth = ThreeByTwo24(false);
  depth.bitCount = 7;
  ExpectFormatError([&] { DecodeBmp(depth.File()); }, "bit depth 7");

  DibBuilder jpeg = ThreeByTwo24(false);
  jpeg.compression = 4;
  ExpectFormatError([&] { DecodeBmp(jpeg.File()); }, "JPEG");

  DibBuilder palette;
  palette.bitCount = 8;
  palette.palette.resize(256);
  Bytes shortPalette = palette.File();
  shortPalette.resize(14 + 40 + 100);
  ExpectFormatError([&] { DecodeBmp(shortPalette); }, "palette");

  Bytes intoHeader = ThreeByTwo24(false).File();
  testing::Patch32(intoHeader, 10, 20);
  ExpectFormatError([&] { DecodeBmp(intoHeader); }, "points into the header");
  Bytes pastEnd = ThreeByTwo24(false).File();
  testing::Patch32(pastEnd, 10, 100000);
  ExpectFormatError([&] { DecodeBmp(pastEnd); }, "past the end");

  Bytes oddHeader = ThreeByTwo24(false).File();
  testing::Patch32(oddHeader, 14, 33);
  ExpectFormatError([&] { DecodeBmp(oddHeader); }, "unknown size 33");
}

TEST(Bmp, AbsurdSizesAreRefusedBeforeAllocating) {
  DibBuilder huge = ThreeByTwo24(false);
  huge.width = kMaxPictureDimension + 1;
  ExpectFormatError([&] { DecodeBmp(huge.File()); }, "too large");
  huge.width = 3;
  huge.height = INT32_MIN;  // negating this in 32 bits would overflow
  ExpectFormatError([&] { DecodeBmp(huge.File()); }, "too large");
  huge.height = 0;
  ExpectFormatError([&] { DecodeBmp(huge.File()); }, "no pixels");
  huge.height = 1;
  huge.width = -5;
  ExpectFormatError([&] { DecodeBmp(huge.File()); }, "no pixels");

  // The largest side both ways is more pixels than any picture may have.
  DibBuilder claim;
  claim.width = kMaxPictureDimension;
  claim.height = kMaxPictureDimension;
  claim.pixels.assign(64, 0);
  ExpectFormatError([&] { DecodeBmp(claim.File()); }, "too large to load");
  // A short file claiming a picture within the limits fails on its missing rows.
  claim.width = 5000;
  claim.height = 5000;
  ExpectFormatError([&] { DecodeBmp(claim.File()); }, "truncated");

  // Tighter limits, as fuzzers use them, count pixels too.
  ExpectFormatError([&] { DecodeBmpWithLimits(ThreeByTwo24(false).File(), {16, 5}); }, "too large");
  EXPECT_EQ(DecodeBmpWithLimits(ThreeByTwo24(false).File(), {16, 6}).Width(), 3);

  // The largest allowed width decodes when its one row is present.
  DibBuilder wide;
  wide.width = kMaxPictureDimension;
  wide.bitCount = 1;
  wide.palette = {0, 0xFFFFFF};
  wide.pixels.assign(kMaxPictureDimension / 8, 0xFF);
  Surface s = DecodeBmp(wide.File());
  EXPECT_EQ(s.Width(), kMaxPictureDimension);
  EXPECT_EQ(s.At(kMaxPictureDimension - 1, 0), 0xFFFFFFFFu);
}

TEST(Bmp, BareDibForIconsHalvesTheHeightAndReportsWhereTheMaskStarts) {
  DibBuilder b;
  b.width = 2;
  b.height = 4;  // 2 colour rows + 2 mask rows
  b.bitCount = 32;
  b.pixels.assign(2 * 2 * 4, 0);
  b.pixels[3] = 0x7F;
  b.pixels.insert(b.pixels.end(), 8, 0);  // the mask
  DibImage image = DecodeDib(b.Dib(), true);
  EXPECT_EQ(image.surface.Height(), 2);
  EXPECT_TRUE(image.alphaUsed);
  EXPECT_EQ(image.pixelEnd, 40u + 16u);
  EXPECT_EQ(image.surface.At(0, 1), 0x7F000000u);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Files another program wrote must read back as the same reference picture.
TEST(Bmp, FilesWrittenElsewhereMatchTheReferencePicture) {
  struct Case {
    const char* file;
    bool alpha;
  };
  for (const Case& c : {Case{"pictures/ref-24.bmp", false}, Case{"pictures/ref-palette.bmp", false},
                        Case{"pictures/ref-32.bmp", true}}) {
    Surface s = DecodeBmp(testing::ReadFixture(c.file));
    ASSERT_EQ(s.Width(), 8) << c.file;
    ASSERT_EQ(s.Height(), 6) << c.file;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        if (!c.alpha && !testing::IsReferenceSolid(x, y)) continue;
        // 16 colours cannot hold the grey ramp exactly: allow the palette's rounding.
        const int tolerance = std::string(c.file).find("palette") != std::string::npos ? 24 : 0;
        EXPECT_LE(testing::PixelDistance(s.At(x, y), testing::ReferencePixel(x, y)), tolerance)
            << c.file << " at " << x << "," << y << std::hex << " " << s.At(x, y);
      }
  }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(Bmp, RunLengthFileWrittenElsewhere) {
  Surface s = DecodeBmp(testing::ReadFixture("pictures/rle8.bmp"));
  ASSERT_EQ(s.Width(), 12);
  ASSERT_EQ(s.Height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 2 && x <= 6 && y >= 1 && y <= 3;
      EXPECT_EQ(s.At(x, y), inside ? 0xFF0000FFu : 0xFFFFFFFFu) << x << "," << y;
    }
}

// Found by fuzzing: a zero pixel offset and a true-colour header announcing
// 40895 palette entries put the pixels past the end of the file.
TEST(Bmp, RegressionAnnouncedPaletteBeyondTheFile) {
  try {
    DecodeBmp(testing::ReadFixture("pictures/regressions/bmp-palette-past-end.bmp"));
    ADD_FAILURE() << "decoded";
  } catch (const PictureFormatError& e) {
    EXPECT_NE(std::string(e.what()).find("truncated"), std::string::npos) << e.what();
  }
  DibBuilder icon;
  icon.width = 1;
  icon.height = 2;
  icon.pixels.assign(8, 0);
  Bytes dib = icon.Dib();
  testing::Patch32(dib, 32, 40000);  // colours used
  EXPECT_THROW(DecodeDib(dib, true), PictureFormatError);
}

}  // namespace
}  // namespace corvane
