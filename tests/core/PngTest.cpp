#include <gtest/gtest.h>

#include <zlib.h>

#include "PictureBytes.h"
#include "pictures/Png.h"

namespace corvane {
namespace {

using testing::Bytes;
using testing::ReadFixture;
using testing::ReferencePixel;

void ExpectReference(const Surface& s, bool withAlpha, const char* name) {
  ASSERT_EQ(s.Width(), 8) << name;
  ASSERT_EQ(s.Height(), 6) << name;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      if (!withAlpha && !testing::IsReferenceSolid(x, y)) continue;
      EXPECT_EQ(s.At(x, y), ReferencePixel(x, y)) << name << " at " << x << "," << y;
    }
}

TEST(Png, EveryColourTypeDecodesToTheReferencePicture) {
  ExpectReference(DecodePng(ReadFixture("pictures/ref-rgba.png")), true, "rgba");
  ExpectReference(DecodePng(ReadFixture("pictures/ref-rgba16.png")), true, "16 bits");
  ExpectReference(DecodePng(ReadFixture("pictures/ref-interlaced.png")), true, "interlaced");
  ExpectReference(DecodePng(ReadFixture("pictures/ref-rgb.png")), false, "rgb");
  ExpectReference(DecodePng(ReadFixture("pictures/ref-palette.png")), false, "palette");

  Surface opaque = DecodePng(ReadFixture("pictures/ref-rgb.png"));
  EXPECT_EQ(opaque.At(0, 5), 0xFFFFFFFFu);  // transparency flattened on white when written
}

TEST(Png, GreyPicturesBecomeGreyPixels) {
  Surface s = DecodePng(ReadFixture("pictures/ref-gray.png"));
  ASSERT_EQ(s.Width(), 8);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(s.At(x, 2), ReferencePixel(x, 2)) << x;
  EXPECT_EQ(s.At(3, 0), 0xFFFFFFFFu);
}

// A minimal PNG made here: signature, IHDR, one IDAT and IEND.
Bytes Chunk(const char* type, const Bytes& payload) {
  Bytes out;
  const std::uint32_t n = static_cast<std::uint32_t>(payload.size());
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  Bytes body(type, type + 4);
  body.insert(body.end(), payload.begin(), payload.end());
  const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
  out.insert(out.end(), body.begin(), body.end());
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  return out;
}

Bytes MakePng(std::uint32_t width, std::uint32_t height, std::uint8_t colourType, const Bytes& raw) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  for (std::uint32_t v : {width, height})
    for (int i = 3; i >= 0; --i) header.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  header.insert(header.end(), {8, colourType, 0, 0, 0});
  Bytes packed(compressBound(static_cast<uLong>(raw.size())));
  uLongf packedSize = static_cast<uLongf>(packed.size());
  compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(packedSize);
  for (const Bytes& c : {Chunk("IHDR", header), Chunk("IDAT", packed), Chunk("IEND", {})})
    png.insert(png.end(), c.begin(), c.end());
  return png;
}

TEST(Png, AlphaIsStraightNotPremultiplied) {
  // One RGBA pixel (filter byte 0 first): a dim translucent orange.
  Surface s = DecodePng(MakePng(1, 1, 6, {0, 200, 100, 50, 64}));
  EXPECT_EQ(s.At(0, 0), 0x40C86432u);
}

TEST(Png, MalformedFilesGiveClearErrors) {
  auto expectError = [](const Bytes& data, const std::string& words) {
    try {
      DecodePng(data);
      ADD_FAILURE() << "no error; expected \"" << words << "\"";
    } catch (const PictureFormatError& e) {
      EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
  };
  expectError({}, "not a PNG");
  expectError(ReadFixture("pictures/ref.gif"), "not a PNG");

  Bytes cut = ReadFixture("pictures/ref-rgba.png");
  ASSERT_GT(cut.size(), 60u);
  cut.resize(cut.size() / 2);
  expectError(cut, "truncated");

  Bytes badCrc = ReadFixture("pictures/ref-rgba.png");
  badCrc[29] ^= 0xFF;  // inside IHDR's CRC
  expectError(badCrc, "damaged");

  expectError(MakePng(kMaxPictureDimension + 1, 1, 6, {0, 1, 2, 3, 4}), "damaged");
  expectError(MakePng(0, 1, 6, {0}), "damaged");
  // The data holds fewer rows than the header promises.
  expectError(MakePng(1, 3, 6, {0, 1, 2, 3, 4}), "damaged");
}

// Found by fuzzing: an 89-byte file whose chunk lengths claim megabytes
// made libpng allocate and clear them for seconds before failing.
TEST(Png, RegressionChunkLengthPastTheEndFailsAtOnce) {
  try {
    DecodePng(ReadFixture("pictures/regressions/png-huge-chunk-length.png"));
    ADD_FAILURE() << "decoded";
  } catch (const PictureFormatError& e) {
    EXPECT_NE(std::string(e.what()).find("runs past the end"), std::string::npos) << e.what();
  }
  Bytes noEnd = MakePng(1, 1, 6, {0, 1, 2, 3, 4});
  noEnd.resize(noEnd.size() - 12);  // IEND removed
  EXPECT_THROW(DecodePng(noEnd), PictureFormatError);
}

TEST(Png, SignatureCheckLooksAtTheFirstEightBytesOnly) {
  EXPECT_TRUE(IsPng(ReadFixture("pictures/ref-rgba.png")));
  Bytes sevenBytes = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A};
  EXPECT_FALSE(IsPng(sevenBytes));
}

}  // namespace
}  // namespace corvane
