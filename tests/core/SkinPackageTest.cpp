#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "HeapMeter.h"
#include "PictureBytes.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinPackage.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(std::string_view s) { return Bytes(s.begin(), s.end()); }

void PutInt32(Bytes& out, std::int64_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

// A package assembled field by field, so every size can be forged.
Bytes RawPackage(std::int32_t version, std::int64_t listLength, std::string_view list, int extra,
                 const std::vector<std::int64_t>& sizes, const Bytes& data) {
  Bytes out;
  PutInt32(out, version);
  PutInt32(out, listLength);
  PutInt32(out, 0x11111111);
  PutInt32(out, 0x22222222);
  out.insert(out.end(), static_cast<std::size_t>(extra), 0xAB);
  out.insert(out.end(), list.begin(), list.end());
  for (auto s : sizes) PutInt32(out, s);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// A 2 x 1 24-bit bitmap: blue then red, with two unused bytes before the
// pixels that the file header's offset skips.
Bytes TinyBmp() {
  Bytes b{'B', 'M'};
  PutInt32(b, 14 + 40 + 2 + 8);
  PutInt32(b, 0);
  PutInt32(b, 14 + 40 + 2);
  PutInt32(b, 40);
  PutInt32(b, 2);
  PutInt32(b, 1);
  b.push_back(1), b.push_back(0), b.push_back(24), b.push_back(0);
  for (int i = 0; i < 6; ++i) PutInt32(b, 0);
  b.push_back(0xEE), b.push_back(0xEE);
  for (std::uint8_t v : {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00}) b.push_back(v);
  return b;
}

std::vector<SkinPackageFile> SampleFiles() {
  return {{"Buttons.bmp", TinyBmp()}, {"skin.INI", FromText("[Buttons]\r\nImage=buttons.bmp\r\n")},
          {"empty.bmp", {}}, {"frametop.bmp", TinyBmp()}};
}

TEST(SkinPackage, EveryVersionPlacesTheNamesAfterItsExtraHeader) {
  const std::pair<std::int32_t, std::size_t> versions[] = {{20000, 16}, {30000, 272}, {40000, 96},
                                                           {50000, 64}, {60000, 133}, {70000, 85}};
  for (auto [version, firstName] : versions) {
    SCOPED_TRACE(version);
    const Bytes package = WriteSkinPackage(SampleFiles(), version);
    ASSERT_GT(package.size(), firstName + 7);
    EXPECT_EQ(std::string(package.begin() + static_cast<std::ptrdiff_t>(firstName),
                          package.begin() + static_cast<std::ptrdiff_t>(firstName) + 7),
              "Buttons");
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPackage(package)) << reader.LastError();
    EXPECT_EQ(reader.Status(), SkinLoadStatus::Loaded);
    EXPECT_EQ(reader.Version(), version);
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"buttons.bmp", "skin.ini", "empty.bmp", "frametop.bmp"}));
    EXPECT_EQ(reader.ExtractFile("BUTTONS.bmp"), TinyBmp());
  }
}

TEST(SkinPackage, LayoutOfAThirtySevenFilePackage) {
  // Names adding up to a 593-byte list put the size table at 678 and the
  // first file at 826 in a version-70000 package.
  std::vector<SkinPackageFile> files;
  for (int i = 0; i < 36; ++i) {
    std::string name = "picture" + std::to_string(100 + i) + ".bmp";  // 14 characters
    files.push_back({name, Bytes(static_cast<std::size_t>(i + 1), static_cast<std::uint8_t>(i))});
  }
  files.push_back({"definition_.ini", FromText("[Skin]")});  // 15 characters
  const Bytes package = WriteSkinPackage(files);
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(package));
  EXPECT_EQ(reader.NameListLength(), 593);
  EXPECT_EQ(reader.Count(), 37u);
  EXPECT_EQ(package[678], 1);  // first size entry
  EXPECT_EQ(package[826], 0);  // first byte of the first file
  EXPECT_EQ(package[827], 1);  // second file starts right after it
  EXPECT_EQ(reader.Entries()[35].offset, 35u * 36u / 2u);
  EXPECT_EQ(reader.ExtractFile("picture135.bmp"), Bytes(36, 35));
}

TEST(SkinPackage, NameListSplitsLikeTextLines) {
  EXPECT_EQ(SplitSkinNameList("a\r\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitSkinNameList("a\rb\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitSkinNameList("a\n\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitSkinNameList("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitSkinNameList("a\n\r"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitSkinNameList("").empty());
  EXPECT_EQ(SplitSkinNameList(std::string_view("a\0b", 3)), (std::vector<std::string>{"a"}));
}

TEST(SkinPackage, EmptyLineIsANameWithItsOwnSize) {
  const std::string list = "A.bmp\r\n\r\nB.bmp\r\n";
  const Bytes package = RawPackage(20000, static_cast<std::int64_t>(list.size()), list, 0, {2, 1, 3},
                                   FromText("aaXbbb"));
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(package)) << reader.LastError();
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a.bmp", "", "b.bmp"}));
  EXPECT_EQ(reader.ExtractFile(""), FromText("X"));
  EXPECT_EQ(reader.ExtractFile("b.BMP"), FromText("bbb"));
  EXPECT_EQ(reader.Reserved1(), 0x11111111);
}

TEST(SkinPackage, FirstOfTwoEqualNamesWins) {
  const std::string list = "x.bmp\r\nX.BMP\r\n";
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(
      RawPackage(20000, static_cast<std::int64_t>(list.size()), list, 0, {1, 2}, FromText("123"))));
  EXPECT_EQ(reader.ExtractFile("x.bmp"), FromText("1"));
  EXPECT_EQ(reader.FileAt(1), FromText("23"));
  EXPECT_TRUE(reader.FileAt(2).empty());
}

TEST(SkinPackage, ExtractFirstContaining) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(WriteSkinPackage(SampleFiles())));
  Bytes target = FromText("stale");
  std::string name = "unchanged";
  ASSERT_TRUE(reader.ExtractFirstContaining(".ini", target, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(target, FromText("[Buttons]\r\nImage=buttons.bmp\r\n"));
  // Case-sensitive against the lower-case names.
  name = "unchanged";
  EXPECT_FALSE(reader.ExtractFirstContaining(".INI", target, name));
  EXPECT_TRUE(target.empty());
  EXPECT_EQ(name, "unchanged");
  ASSERT_TRUE(reader.ExtractFirstContaining("top", target, name));
  EXPECT_EQ(name, "frametop.bmp");
  Bytes missing = FromText("stale");
  EXPECT_FALSE(reader.ExtractFile("nothere.bmp", missing));
  EXPECT_TRUE(missing.empty());
}

TEST(SkinPackage, BitmapFetchRule) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(WriteSkinPackage(SampleFiles())));
  EXPECT_EQ(reader.FetchBitmapFile("BUTTONS.bmp"), TinyBmp());
  EXPECT_EQ(reader.FetchBitmapFile("skins\\Buttons.bmp"), TinyBmp());
  EXPECT_EQ(reader.FetchBitmapFile("c:/art/frametop.bmp"), TinyBmp());
  EXPECT_TRUE(reader.FetchBitmapFile("buttons.BMP").empty());  // the extension test is exact
  EXPECT_TRUE(reader.FetchBitmapFile("buttons").empty());
  EXPECT_TRUE(reader.FetchBitmapFile("").empty());
  EXPECT_TRUE(reader.FetchBitmapFile("skins\\").empty());
  EXPECT_TRUE(reader.FetchBitmapFile("skin.ini").empty());
  EXPECT_TRUE(reader.FetchBitmapFile("missing.bmp").empty());

  const Surface picture = reader.FetchBitmap("Buttons.bmp");
  ASSERT_EQ(picture.Width(), 2);
  ASSERT_EQ(picture.Height(), 1);
  EXPECT_TRUE(SameColour(picture.At(0, 0), Rgb(0, 0, 255)));
  EXPECT_TRUE(SameColour(picture.At(1, 0), Rgb(255, 0, 0)));
  EXPECT_TRUE(reader.FetchBitmap("empty.bmp").IsEmpty());
  EXPECT_TRUE(reader.FetchBitmap("buttons.BMP").IsEmpty());
}

TEST(SkinPackage, UndecodableBitmapIsEmptyNotAnError) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(WriteSkinPackage({{"bad.bmp", FromText("BM not really")}})));
  EXPECT_FALSE(reader.FetchBitmapFile("bad.bmp").empty());
  EXPECT_TRUE(reader.FetchBitmap("bad.bmp").IsEmpty());
}

TEST(SkinPackage, ABitmapClaimingAHugePictureIsNoPictureAndCostsLittle) {
  // 72 bytes of run-length bitmap whose header claims 5000 x 5000.
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(WriteSkinPackage(
      {{"huge.bmp", testing::ReadFixture("pictures/large/claims-5000-rle8.bmp")}})));
  Surface picture;
  if (auto peak = testing::PeakHeapBytes([&] { picture = reader.FetchBitmap("huge.bmp"); }))
    EXPECT_LT(*peak, 1u << 20);
  else
    picture = reader.FetchBitmap("huge.bmp");
  EXPECT_TRUE(picture.IsEmpty());
}

TEST(SkinPackage, UnknownVersionsGiveTheOlderSkinMessage) {
  for (std::int32_t version : {0, 10000, 20001, 80000, -70000}) {
    SCOPED_TRACE(version);
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPackage(WriteSkinPackage(SampleFiles())));
    Bytes package = WriteSkinPackage(SampleFiles());
    package[0] = static_cast<std::uint8_t>(version);
    package[1] = static_cast<std::uint8_t>(version >> 8);
    package[2] = static_cast<std::uint8_t>(version >> 16);
    package[3] = static_cast<std::uint8_t>(version >> 24);
    EXPECT_FALSE(reader.LoadPackage(package));
    EXPECT_EQ(reader.Status(), SkinLoadStatus::UnknownVersion);
    EXPECT_EQ(reader.LastError(), "This is Older Skin File\rPlease update to new version !");
    // A failed load leaves nothing of the previous package behind.
    EXPECT_EQ(reader.Count(), 0u);
    EXPECT_TRUE(reader.ExtractFile("buttons.bmp").empty());
  }
  TSkinReader reader;
  EXPECT_FALSE(reader.LoadPackage(Bytes{0x20, 0x4E}));
  EXPECT_EQ(reader.Status(), SkinLoadStatus::UnknownVersion);
  EXPECT_FALSE(reader.Load(Bytes{}));
  EXPECT_EQ(reader.Status(), SkinLoadStatus::UnknownVersion);
}

void ExpectMalformed(const Bytes& package, std::string_view reasonPart) {
  TSkinReader reader;
  EXPECT_FALSE(reader.LoadPackage(package));
  EXPECT_EQ(reader.Status(), SkinLoadStatus::Malformed);
  EXPECT_NE(reader.LastError().find(reasonPart), std::string::npos) << reader.LastError();
  EXPECT_EQ(reader.Count(), 0u);
}

TEST(SkinPackage, MalformedPackagesAreRefusedWithAReason) {
  ExpectMalformed(Bytes{0x20, 0x4E, 0, 0, 5, 0}, "header");
  ExpectMalformed(RawPackage(20000, -1, "", 0, {}, {}), "negative length");
  ExpectMalformed(RawPackage(20000, 100, "a.bmp\r\n", 0, {}, {}), "name list");
  // The extra header counts: 69 bytes missing from a version-70000 package.
  ExpectMalformed(RawPackage(70000, 7, "a.bmp\r\n", 0, {1}, FromText("x")), "name list");
  ExpectMalformed(RawPackage(20000, 14, "a.bmp\r\nb.bmp\r\n", 0, {1}, {}), "size table");
  ExpectMalformed(RawPackage(20000, 7, "a.bmp\r\n", 0, {-1}, FromText("xyz")), "negative size");
  ExpectMalformed(RawPackage(20000, 14, "a.bmp\r\nb.bmp\r\n", 0, {2, 2}, FromText("xyz")), "b.bmp");
  // Sizes that overflow 32 bits when added still cannot reach past the data.
  ExpectMalformed(RawPackage(20000, 14, "a.bmp\r\nb.bmp\r\n", 0, {0x7FFFFFFF, 0x7FFFFFFF}, FromText("xyz")),
                  "past the end");
}

TEST(SkinPackage, AtMostOneThousandAndOneNames) {
  std::string list;
  for (int i = 0; i < 1002; ++i) list += "f\r\n";
  const std::vector<std::int64_t> sizes(1002, 0);
  ExpectMalformed(RawPackage(20000, static_cast<std::int64_t>(list.size()), list, 0, sizes, {}), "1002 files");
  list.resize(list.size() - 3);
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadPackage(
      RawPackage(20000, static_cast<std::int64_t>(list.size()), list, 0, std::vector<std::int64_t>(1001, 0), {})));
  EXPECT_EQ(reader.Count(), 1001u);
}

TEST(SkinPackage, TrailingBytesAfterTheFilesAreHarmless) {
  Bytes package = WriteSkinPackage(SampleFiles());
  package.insert(package.end(), 59, 0x77);
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPackage(package));
  EXPECT_EQ(reader.ExtractFile("frametop.bmp"), TinyBmp());
}

TEST(SkinStream, LoadDecompressesAndIndexes) {
  const Bytes stream = WriteSkinStream(SampleFiles(), 60000);
  const Bytes package = WriteSkinPackage(SampleFiles(), 60000);
  EXPECT_EQ(DecodeSkinStream(stream), package);
  TSkinReader reader;
  ASSERT_TRUE(reader.Load(stream)) << reader.LastError();
  EXPECT_EQ(reader.Version(), 60000);
  EXPECT_EQ(reader.ExtractFile("skin.ini"), FromText("[Buttons]\r\nImage=buttons.bmp\r\n"));
  // A forged size beyond the decoder's limit is refused, not allocated.
  Bytes forged = stream;
  forged[0] = forged[1] = forged[2] = 0xFF, forged[3] = 0x7F;
  EXPECT_FALSE(reader.Load(forged));
  EXPECT_EQ(reader.Status(), SkinLoadStatus::Malformed);
  EXPECT_NE(reader.LastError().find("LZH"), std::string::npos);
}

TEST(SkinStream, LoadKeepsToTheCallersLimit) {
  const Bytes stream = WriteSkinStream(SampleFiles(), 60000);
  const std::size_t size = WriteSkinPackage(SampleFiles(), 60000).size();
  TSkinReader reader;
  // A package of exactly the limit loads; one byte less of limit refuses it
  // as malformed, and nothing of the earlier package stays indexed.
  ASSERT_TRUE(reader.Load(stream, size)) << reader.LastError();
  EXPECT_EQ(reader.ExtractFile("skin.ini"), FromText("[Buttons]\r\nImage=buttons.bmp\r\n"));
  EXPECT_FALSE(reader.Load(stream, size - 1));
  EXPECT_EQ(reader.Status(), SkinLoadStatus::Malformed);
  EXPECT_NE(reader.LastError().find("exceeds the limit of " + std::to_string(size - 1)), std::string::npos)
      << reader.LastError();
  EXPECT_EQ(reader.Count(), 0u);
}

TEST(SkinStream, WritersRefuseWhatCannotBeStored) {
  EXPECT_THROW(WriteSkinPackage(SampleFiles(), 65000), SkinPackageError);
  EXPECT_THROW(WriteSkinPackage({{"a\r\nb.bmp", {}}}), SkinPackageError);
  EXPECT_THROW(WriteSkinPackage({{std::string("a\0b", 3), {}}}), SkinPackageError);
  EXPECT_THROW(WriteSkinPackage(std::vector<SkinPackageFile>(1002, {"f", {}})), SkinPackageError);
  EXPECT_NO_THROW(WriteSkinPackage(std::vector<SkinPackageFile>(1001, {"f", {}})));
  // Nothing at all is a valid, empty package.
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadPackage(WriteSkinPackage({})));
  EXPECT_EQ(reader.Count(), 0u);
}

TEST(SkinStreamProperty, CountThenBytes) {
  const Bytes stream = WriteSkinStream(SampleFiles());
  const Bytes payload = WriteSkinStreamProperty(stream);
  ASSERT_EQ(payload.size(), stream.size() + 4);
  EXPECT_EQ(payload[0], static_cast<std::uint8_t>(stream.size()));
  Bytes held = FromText("previous");
  ASSERT_TRUE(ReadSkinStreamProperty(payload, held));
  EXPECT_EQ(held, stream);

  // A count of 0 or less keeps what the component held.
  held = FromText("previous");
  EXPECT_EQ(WriteSkinStreamProperty({}), (Bytes{0, 0, 0, 0}));
  EXPECT_FALSE(ReadSkinStreamProperty(Bytes{0, 0, 0, 0}, held));
  EXPECT_FALSE(ReadSkinStreamProperty(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 2}, held));
  EXPECT_EQ(held, FromText("previous"));

  EXPECT_THROW(ReadSkinStreamProperty(Bytes{5, 0, 0, 0, 1, 2}, held), SkinPackageError);
  EXPECT_THROW(ReadSkinStreamProperty(Bytes{5, 0}, held), SkinPackageError);
  EXPECT_EQ(held, FromText("previous"));
  // Only the announced bytes belong to the stream.
  ASSERT_TRUE(ReadSkinStreamProperty(Bytes{2, 0, 0, 0, 9, 8, 7}, held));
  EXPECT_EQ(held, (Bytes{9, 8}));
}

}  // namespace
}  // namespace corvane
