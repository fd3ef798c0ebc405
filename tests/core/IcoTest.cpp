#include <gtest/gtest.h>

#include "PictureBytes.h"
#include "pictures/Ico.h"

namespace corvane {
namespace {

using testing::Bytes;
using testing::DibBuilder;
using testing::Put16;
using testing::Put32;

// An icon file around the given images (each a DIB or a PNG).
Bytes MakeIco(const std::vector<std::pair<int, Bytes>>& images, int bitCount = 32) {
  Bytes ico;
  Put16(ico, 0);
  Put16(ico, 1);
  Put16(ico, static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (const auto& [size, data] : images) {
    ico.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
    ico.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
    ico.push_back(0);
    ico.push_back(0);
    Put16(ico, 1);
    Put16(ico, static_cast<unsigned>(bitCount));
    Put32(ico, static_cast<std::uint32_t>(data.size()));
    Put32(ico, offset);
    offset += static_cast<std::uint32_t>(data.size());
  }
  for (const auto& image : images) ico.insert(ico.end(), image.second.begin(), image.second.end());
  return ico;
}

// A 2 x 2 icon image at `bits` per pixel with the given AND mask rows
// (bottom row first, as stored). Palette entry 1 is red, 0 black.
Bytes IconDib(int bits, std::uint8_t maskBottom, std::uint8_t maskTop, std::uint8_t alpha = 0) {
  DibBuilder b;
  b.width = 2;
  b.height = 4;
  b.bitCount = bits;
  if (bits <= 8) b.palette.assign(std::size_t{1} << bits, 0), b.palette[1] = 0xFF0000;
  for (int row = 0; row < 2; ++row) {
    Bytes line;
    switch (bits) {
      case 1: line = {0b11000000, 0, 0, 0}; break;
      case 4: line = {0x11, 0, 0, 0}; break;
      case 8: line = {1, 1, 0, 0}; break;
      case 24: line = {0, 0, 255, 0, 0, 255, 0, 0}; break;
      case 32: line = {0, 0, 255, alpha, 0, 0, 255, alpha}; break;
    }
    b.pixels.insert(b.pixels.end(), line.begin(), line.end());
  }
  for (std::uint8_t m : {maskBottom, maskTop}) b.pixels.insert(b.pixels.end(), {m, 0, 0, 0});
  return b.Dib();
}

TEST(Ico, EveryBitDepthTakesAlphaFromItsMask) {
  for (int bits : {1, 4, 8, 24, 32}) {
    // Mask: bottom row left pixel transparent, top row right pixel transparent.
    Surface s = DecodeIco(MakeIco({{2, IconDib(bits, 0b10000000, 0b01000000)}}, bits));
    ASSERT_EQ(s.Width(), 2) << bits;
    ASSERT_EQ(s.Height(), 2) << bits;
    EXPECT_EQ(s.At(0, 0), 0xFFFF0000u) << bits;
    EXPECT_EQ(s.At(1, 0), 0x00FF0000u) << bits;
    EXPECT_EQ(s.At(0, 1), 0x00FF0000u) << bits;
    EXPECT_EQ(s.At(1, 1), 0xFFFF0000u) << bits;
  }
}

TEST(Ico, StoredAlphaWinsOverTheMask) {
  Surface s = DecodeIco(MakeIco({{2, IconDib(32, 0xFF, 0xFF, 0x80)}}));
  EXPECT_EQ(s.At(0, 0), 0x80FF0000u);
  EXPECT_EQ(s.At(1, 1), 0x80FF0000u);
}

TEST(Ico, MissingMaskLeavesTheImageOpaque) {
  Bytes dib = IconDib(24, 0xFF, 0xFF);
  dib.resize(dib.size() - 8);  // both mask rows cut off
  Surface s = DecodeIco(MakeIco({{2, dib}}, 24));
  EXPECT_EQ(s.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(s.At(1, 1), 0xFFFF0000u);
}

TEST(Ico, ChoosesTheBestSize) {
  const std::vector<IcoEntry> entries = {
      {16, 16, 32, 0, 1}, {48, 48, 8, 0, 1}, {48, 48, 32, 0, 1}, {32, 32, 32, 0, 1}};
  EXPECT_EQ(ChooseIcoEntry(entries, 0), 2u);   // biggest, deepest
  EXPECT_EQ(ChooseIcoEntry(entries, 32), 3u);  // exact
  EXPECT_EQ(ChooseIcoEntry(entries, 20), 3u);  // smallest that is big enough
  EXPECT_EQ(ChooseIcoEntry(entries, 64), 2u);  // none big enough: the biggest
  EXPECT_EQ(ChooseIcoEntry(entries, 8), 0u);
}

TEST(Ico, FileWithBitmapAndPngImages) {
  const Bytes file = testing::ReadFixture("pictures/ref.ico");
  std::vector<IcoEntry> entries = ReadIcoDirectory(file);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].width, 256);  // stored as 0

  Surface big = DecodeIco(file);  // the PNG image
  EXPECT_EQ(big.Width(), 256);
  EXPECT_EQ(big.Height(), 256);
  Surface small = DecodeIco(file, 16);  // a bitmap image
  ASSERT_EQ(small.Width(), 16);
  ASSERT_EQ(small.Height(), 16);
  // The reference picture's transparent bottom-left corner survives scaling.
  EXPECT_EQ(small.At(0, 15) >> 24, 0u);
  EXPECT_EQ(big.At(0, 255) >> 24, 0u);
  // Its top-left is red in both.
  EXPECT_LE(testing::PixelDistance(small.At(0, 0), 0xFFFF0000u), 8);
  EXPECT_LE(testing::PixelDistance(big.At(0, 0), 0xFFFF0000u), 8);
}

TEST(Ico, MalformedFilesGiveClearErrors) {
  auto expectError = [](const Bytes& data, const std::string& words) {
    try {
      DecodeIco(data);
      ADD_FAILURE() << "no error; expected \"" << words << "\"";
    } catch (const PictureFormatError& e) {
      EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
  };
  expectError({}, "not an icon");
  expectError(testing::ReadFixture("pictures/ref-24.bmp"), "not an icon");
  expectError(Bytes{0, 0, 1, 0, 0, 0}, "no images");
  expectError(Bytes{0, 0, 1, 0, 5, 0, 1, 2, 3}, "truncated");

  Bytes outside = MakeIco({{2, IconDib(24, 0, 0)}}, 24);
  testing::Patch32(outside, 6 + 12, 100000);
  expectError(outside, "outside the file");
  Bytes tooLong = MakeIco({{2, IconDib(24, 0, 0)}}, 24);
  testing::Patch32(tooLong, 6 + 8, 0xFFFFFFF0u);  // offset + size overflow 32 bits
  expectError(tooLong, "outside the file");

  Bytes cutPixels = IconDib(24, 0, 0);
  cutPixels.resize(45);
  expectError(MakeIco({{2, cutPixels}}, 24), "truncated");

  Bytes brokenPng = testing::ReadFixture("pictures/ref-rgba.png");
  brokenPng.resize(40);
  expectError(MakeIco({{8, brokenPng}}), "PNG");
}

}  // namespace
}  // namespace corvane
