#include <gtest/gtest.h>

#include "PictureBytes.h"
#include "pictures/Jpeg.h"

namespace corvane {
namespace {

using testing::Bytes;
using testing::PixelDistance;
using testing::ReadFixture;

// The fixture is 32 x 16: left half (200, 40, 40), right half (40, 80, 200).
void ExpectHalves(const Surface& s, Pixel left, Pixel right, const char* name) {
  ASSERT_EQ(s.Width(), 32) << name;
  ASSERT_EQ(s.Height(), 16) << name;
  // Away from the seam a quality-95 JPEG stays within a few levels.
  for (int y = 0; y < 16; y += 5) {
    EXPECT_LE(PixelDistance(s.At(3, y), left), 6) << name << std::hex << " " << s.At(3, y);
    EXPECT_LE(PixelDistance(s.At(28, y), right), 6) << name << std::hex << " " << s.At(28, y);
    EXPECT_EQ(s.At(3, y) >> 24, 0xFFu);
  }
}

TEST(Jpeg, BaselineProgressiveGreyAndCmyk) {
  ExpectHalves(DecodeJpeg(ReadFixture("pictures/flat.jpg")), 0xFFC82828, 0xFF2850C8, "baseline");
  ExpectHalves(DecodeJpeg(ReadFixture("pictures/flat-progressive.jpg")), 0xFFC82828, 0xFF2850C8,
               "progressive");
  // The grey fixture was written with HD luma weights (0.2126, 0.7152, 0.0722).
  ExpectHalves(DecodeJpeg(ReadFixture("pictures/flat-gray.jpg")), 0xFF4A4A4A, 0xFF505050, "grey");
  ExpectHalves(DecodeJpeg(ReadFixture("pictures/flat-cmyk.jpg")), 0xFFC82828, 0xFF2850C8, "cmyk");
}

TEST(Jpeg, MalformedFilesGiveClearErrors) {
  auto expectError = [](const Bytes& data, const std::string& words) {
    try {
      DecodeJpeg(data);
      ADD_FAILURE() << "no error; expected \"" << words << "\"";
    } catch (const PictureFormatError& e) {
      EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
  };
  expectError({}, "not a JPEG");
  expectError(ReadFixture("pictures/ref-rgba.png"), "not a JPEG");

  const Bytes full = ReadFixture("pictures/flat.jpg");
  ASSERT_GT(full.size(), 200u);
  expectError(Bytes(full.begin(), full.begin() + 20), "damaged");
  std::size_t scan = 0;  // start of scan marker: the entropy-coded data follows
  for (std::size_t i = 0; i + 1 < full.size() && scan == 0; ++i)
    if (full[i] == 0xFF && full[i + 1] == 0xDA) scan = i;
  ASSERT_GT(scan, 0u);
  expectError(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(scan + 20)), "truncated");

  // Find the frame header (SOF0) and claim an enormous width.
  Bytes wide = full;
  for (std::size_t i = 0; i + 8 < wide.size(); ++i)
    if (wide[i] == 0xFF && wide[i + 1] == 0xC0) {
      wide[i + 7] = 0x4E;  // width 20000, big-endian, at SOF + 7
      wide[i + 8] = 0x20;
      break;
    }
  expectError(wide, "too large");

  Bytes garbage = full;
  for (std::size_t i = garbage.size() / 2; i < garbage.size() - 2; ++i) garbage[i] = 0xFF;
  // Filling the scan with marker bytes must end in an error or a picture, never a crash.
  try {
    Surface s = DecodeJpeg(garbage);
    EXPECT_EQ(s.Width(), 32);
  } catch (const PictureFormatError&) {
  }
}

}  // namespace
}  // namespace corvane
