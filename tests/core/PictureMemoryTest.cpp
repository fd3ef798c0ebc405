// The decoders' memory follows what a file holds, never what its header
// claims: tiny files claiming huge pictures fail with their own error before
// any canvas is allocated, a large picture that is a small file still loads,
// and running out of memory is the decoders' error, not a bare bad_alloc.
#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>

#include "HeapMeter.h"
#include "PictureBytes.h"
#include "pictures/Bmp.h"
#include "pictures/Gif.h"
#include "pictures/Ico.h"
#include "pictures/Jpeg.h"
#include "pictures/Png.h"

namespace corvane {
namespace {

using testing::Bytes;
using testing::ReadFixture;

using Decoder = std::function<Surface(std::span<const std::uint8_t>)>;

struct Format {
  const char* suffix;  // of the fixture names
  Decoder decode;
};

const Format kFormats[] = {
    {".png", [](std::span<const std::uint8_t> b) { return DecodePng(b); }},
    {".gif", [](std::span<const std::uint8_t> b) { return DecodeGif(b).surface; }},
    {".jpg", [](std::span<const std::uint8_t> b) { return DecodeJpeg(b); }},
    {"-rle8.bmp", [](std::span<const std::uint8_t> b) { return DecodeBmp(b); }},
    {".ico", [](std::span<const std::uint8_t> b) { return DecodeIco(b); }},
};

constexpr std::size_t kMiB = 1u << 20;

// The decoder's error text, or the size it decoded.
std::string Outcome(const Decoder& decode, const Bytes& file) {
  try {
    const Surface s = decode(file);
    return "decoded " + std::to_string(s.Width()) + " x " + std::to_string(s.Height());
  } catch (const PictureFormatError& e) {
    return e.what();
  }
}

// The outcome of one decode, measured where the build can: its peak heap
// must stay under `budget` (counted, or enforced as an address-space limit).
std::string DecodeWithin(std::size_t budget, const Decoder& decode, const Bytes& file,
                         const std::string& name) {
  std::string text;
  if (auto peak = testing::PeakHeapBytes([&] { text = Outcome(decode, file); })) {
    EXPECT_LT(*peak, budget) << name << " took " << *peak / kMiB << " MiB";
    return text;
  }
  if (auto limited = testing::RunWithinAddressSpace(budget, [&] { return Outcome(decode, file); }))
    return *limited;
  return Outcome(decode, file);  // no way to measure here: the message still counts
}

TEST(PictureMemory, TinyFilesClaimingHugePicturesFailCheaplyWithTheirOwnError) {
  // Past the pixel limit the size alone refuses them; within it (5000 x 5000,
  // 100 MB of canvas) the data they hold cannot fill the canvas.
  struct Claim {
    const char* side;
    const char* words;
  };
  for (const Claim& claim : {Claim{"16384", "too large to load (16384 x 16384 pixels"},
                             Claim{"5000", "cannot hold 5000 x 5000 pixels"}}) {
    for (const Format& format : kFormats) {
      const std::string name = std::string("large/claims-") + claim.side + format.suffix;
      const Bytes file = ReadFixture("pictures/" + name);
      ASSERT_GT(file.size(), 30u) << name;
      ASSERT_LT(file.size(), 400u) << name;
      const std::string text = DecodeWithin(64 * kMiB, format.decode, file, name);
      EXPECT_NE(text.find(claim.words), std::string::npos) << name << ": " << text;
    }
  }
}

TEST(PictureMemory, ALargePictureThatIsASmallFileStillLoads) {
  // 4096 x 4096 of one colour at one bit per pixel, packed about 1000 : 1,
  // close to what deflate can do at all: the data rule must let it through,
  // and the decode needs its canvas and next to nothing besides.
  const Bytes file = ReadFixture("pictures/large/one-colour-4096.png");
  ASSERT_LT(file.size(), 4096u);
  Surface picture;
  if (auto peak = testing::PeakHeapBytes([&] { picture = DecodePng(file); })) {
    // The canvas is 64 MiB: counted (so the meter sees the libraries' and
    // our allocations), and nothing of that size besides.
    EXPECT_GE(*peak, 64 * kMiB);
    EXPECT_LT(*peak, 65 * kMiB) << *peak / kMiB << " MiB";
  } else {
    picture = DecodePng(file);
  }
  ASSERT_EQ(picture.Width(), 4096);
  ASSERT_EQ(picture.Height(), 4096);
  for (auto [x, y] :
       {std::pair{0, 0}, std::pair{4095, 0}, std::pair{2048, 2048}, std::pair{4095, 4095}})
    EXPECT_EQ(picture.At(x, y), 0xFF1E90FFu) << x << "," << y;
}

TEST(PictureMemory, RunningOutOfMemoryIsTheDecodersOwnError) {
  // Legitimate 7680 x 4320 pictures (133 MB of canvas) in 40 MB of address space.
  const Bytes png = ReadFixture("pictures/large/one-colour-8k.png");
  testing::DibBuilder bits;
  bits.width = 7680;
  bits.height = 4320;
  bits.bitCount = 1;
  bits.palette = {0x000000, 0xFFFFFF};
  bits.pixels.assign(7680 / 8 * 4320, 0xAA);
  const Bytes bmp = bits.File();
  Bytes ico = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0};
  testing::Put32(ico, static_cast<std::uint32_t>(png.size()));
  testing::Put32(ico, 22);
  ico.insert(ico.end(), png.begin(), png.end());

  struct Case {
    const char* name;
    Decoder decode;
    const Bytes& file;
  };
  const Case cases[] = {{"png", kFormats[0].decode, png},
                        {"bmp", kFormats[3].decode, bmp},
                        {"ico", kFormats[4].decode, ico}};
  for (const Case& c : cases) {
    auto text =
        testing::RunWithinAddressSpace(40 * kMiB, [&] { return Outcome(c.decode, c.file); });
    if (!text) GTEST_SKIP() << "this build cannot limit a child's address space";
    EXPECT_NE(text->find("picture is too large to load (out of memory)"), std::string::npos)
        << c.name << ": " << *text;
  }
  // Without the limit they decode.
  EXPECT_EQ(Outcome(kFormats[0].decode, png), "decoded 7680 x 4320");
}

}  // namespace
}  // namespace corvane
