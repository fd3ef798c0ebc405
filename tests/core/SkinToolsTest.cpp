// The build tools behind the stored skin: the BMP writer (checked against
// the program's own BMP reader) and the packer's folder order and unpacking
// guards.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "BmpWriter.h"
#include "SkinPackTool.h"
#include "pictures/Bmp.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinPackage.h"

namespace corvane::tools {
namespace {

namespace fs = std::filesystem;

// ---- BMP writer ---------------------------------------------------------

Surface Pattern(int width, int height, int colours) {
  Surface s(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int i = (x * 7 + y * 3) % colours;
      s.At(x, y) = 0xFF000000u | (Pixel(i * 37 & 0xFF) << 16) | (Pixel(i * 11 & 0xFF) << 8) | Pixel(i);
    }
  return s;
}

TEST(BmpWriter, EveryDepthDecodesBackToThePicture) {
  struct Case {
    int bits, colours;
  };
  // Odd widths put padding at the end of every row at every depth.
  for (const Case c : {Case{1, 2}, Case{4, 16}, Case{8, 200}, Case{24, 500}, Case{32, 500}}) {
    for (int width : {1, 3, 13, 33}) {
      SCOPED_TRACE(testing::Message() << c.bits << " bits, width " << width);
      const Surface s = Pattern(width, 5, c.colours);
      const std::vector<std::uint8_t> bytes = EncodeBmp(s, c.bits);
      const BmpInfo info = ProbeBmp(bytes);
      EXPECT_EQ(info.bitCount, c.bits);
      EXPECT_FALSE(info.topDown);
      const Surface back = DecodeBmp(bytes);
      ASSERT_EQ(back.Width(), width);
      ASSERT_EQ(back.Height(), 5);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < width; ++x)
          ASSERT_EQ(back.At(x, y) & 0xFFFFFF, s.At(x, y) & 0xFFFFFF) << x << "," << y;
    }
  }
}

TEST(BmpWriter, FileIsHeadersPaletteAndPaddedRowsOnly) {
  const Surface s = Pattern(5, 3, 4);
  EXPECT_EQ(EncodeBmp(s, 24).size(), 54u + 16 * 3);       // 15 bytes of pixels padded to 16
  EXPECT_EQ(EncodeBmp(s, 32).size(), 54u + 20 * 3);
  EXPECT_EQ(EncodeBmp(s, 4).size(), 54u + 4 * 4 + 4 * 3);  // own palette of the 4 colours used
}

TEST(BmpWriter, GivenPaletteTakesTheNearestEntry) {
  Surface s(2, 1);
  s.At(0, 0) = 0xFF101010;  // nearer black
  s.At(1, 0) = 0xFFF0E0F0;  // nearer white
  const Surface back = DecodeBmp(EncodeBmp(s, 1, {0xFF000000, 0xFFFFFFFF}));
  EXPECT_EQ(back.At(0, 0) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(back.At(1, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(BmpWriter, RefusesWhatItCannotWrite) {
  EXPECT_THROW(EncodeBmp(Pattern(4, 4, 3), 1), std::invalid_argument);  // 3 colours, 2 slots
  EXPECT_THROW(EncodeBmp(Pattern(4, 4, 2), 16), std::invalid_argument);
  EXPECT_THROW(EncodeBmp(Surface(), 24), std::invalid_argument);
  EXPECT_THROW(EncodeBmp(Pattern(4, 4, 2), 1, std::vector<Pixel>(3, 0)), std::invalid_argument);
}

// ---- skin packer ----------------------------------------------------------

// A fresh folder per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    m_path = fs::temp_directory_path() /
             ("corvane-skin-tools-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              std::to_string(counter++) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_path);
    fs::create_directories(m_path);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

void WriteText(const fs::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary);
  f << text;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(SkinPack, FolderOrderFollowsTheDefinitionThenNamesThenTheDefinition) {
  TempDir dir;
  WriteText(dir.Path() / "a.bmp", "A");
  WriteText(dir.Path() / "b.bmp", "B");
  WriteText(dir.Path() / "notes.txt", "N");
  WriteText(dir.Path() / "c.bmp", "C");
  // Windows-style directory parts and capitals, as definitions are written.
  WriteText(dir.Path() / "My Skin.ini",
            "[Buttons]\r\nBitmap=B.bmp\r\n[Tabs]\r\nImage=skins\\C.BMP\r\nOther=b.bmp\r\n");
  const std::vector<SkinPackageFile> files = CollectSkinFolder(dir.Path());
  std::vector<std::string> names;
  for (const auto& f : files) names.push_back(f.first);
  EXPECT_EQ(names, (std::vector<std::string>{"b.bmp", "c.bmp", "a.bmp", "notes.txt", "my skin.ini"}));
  EXPECT_EQ(files[0].second, Bytes("B"));
  EXPECT_EQ(files[4].second.size(), ReadBytes(dir.Path() / "My Skin.ini").size());
}

TEST(SkinPack, RefusesFoldersWithoutOneClearDefinition) {
  TempDir none;
  WriteText(none.Path() / "a.bmp", "A");
  EXPECT_THROW(CollectSkinFolder(none.Path()), std::runtime_error);

  TempDir two;
  WriteText(two.Path() / "one.ini", "[x]\r\n");
  WriteText(two.Path() / "two.ini", "[y]\r\n");
  EXPECT_THROW(CollectSkinFolder(two.Path()), std::runtime_error);

  // Lower-cased in the package, these two would become one name.
  TempDir cases;
  WriteText(cases.Path() / "skin.ini", "[x]\r\n");
  WriteText(cases.Path() / "Pic.bmp", "1");
  WriteText(cases.Path() / "pic.bmp", "2");
  // Only where the file system keeps both (it does not under Windows).
  if (ReadBytes(cases.Path() / "Pic.bmp") == Bytes("1")) {
    EXPECT_THROW(CollectSkinFolder(cases.Path()), std::runtime_error);
  }
}

TEST(SkinPack, PackUnpackRepackIsByteForByteStable) {
  TempDir dir, out, again;
  WriteText(dir.Path() / "skin.ini", "[Buttons]\r\nBitmap=Z.bmp\r\n");
  WriteText(dir.Path() / "z.bmp", std::string(3000, 'z'));
  WriteText(dir.Path() / "y.bmp", "why");
  const fs::path skn = dir.Path().parent_path() / (dir.Path().filename().string() + ".skn");
  PackSkinFolder(dir.Path(), skn);
  UnpackSkin(skn, out.Path());
  EXPECT_EQ(ReadBytes(out.Path() / "z.bmp"), ReadBytes(dir.Path() / "z.bmp"));
  EXPECT_EQ(ReadBytes(out.Path() / "y.bmp"), Bytes("why"));
  EXPECT_EQ(ReadBytes(out.Path() / "skin.ini"), ReadBytes(dir.Path() / "skin.ini"));

  const fs::path skn2 = again.Path() / "again.skn";
  PackSkinFolder(out.Path(), skn2);
  EXPECT_EQ(ReadBytes(skn2), ReadBytes(skn));
  EXPECT_FALSE(fs::exists(skn.string() + ".tmp"));
  fs::remove(skn);
}

TEST(SkinPack, UnpackRefusesNamesThatLeaveTheFolderAndWritesNothing) {
  TempDir dir;
  for (const char* evil : {"../evil.bmp", "sub/evil.bmp", "..", "c:evil.bmp", "dir\\evil.bmp"}) {
    SCOPED_TRACE(evil);
    const fs::path skn = dir.Path() / "evil.skn";
    const auto stream = WriteSkinStream({{"fine.bmp", Bytes("ok")}, {evil, Bytes("x")}, {"s.ini", Bytes("")}});
    std::ofstream(skn, std::ios::binary).write(reinterpret_cast<const char*>(stream.data()),
                                                static_cast<std::streamsize>(stream.size()));
    const fs::path target = dir.Path() / "out" / "inner";
    EXPECT_THROW(UnpackSkin(skn, target), std::runtime_error);
    EXPECT_FALSE(fs::exists(target / "fine.bmp"));
    EXPECT_FALSE(fs::exists(dir.Path() / "out" / "evil.bmp"));
  }
}

TEST(SkinPack, UnpackKeepsTheFileTheProgramWouldRead) {
  TempDir dir, out;
  const fs::path skn = dir.Path() / "dup.skn";
  const auto stream = WriteSkinStream({{"a.bmp", Bytes("first")}, {"a.bmp", Bytes("second")}, {"s.ini", Bytes("")}});
  std::ofstream(skn, std::ios::binary).write(reinterpret_cast<const char*>(stream.data()),
                                              static_cast<std::streamsize>(stream.size()));
  UnpackSkin(skn, out.Path());
  EXPECT_EQ(ReadBytes(out.Path() / "a.bmp"), Bytes("first"));
}

TEST(SkinPack, UnpackOfSomethingElseSaysWhy) {
  TempDir dir, out;
  const fs::path bad = dir.Path() / "old.skn";
  // A valid stream around a package of a version we do not read.
  std::vector<std::uint8_t> package(16, 0);
  package[0] = 0x10;  // version 10000
  package[1] = 0x27;
  const auto stream = EncodeSkinStream(package);
  std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char*>(stream.data()),
                                              static_cast<std::streamsize>(stream.size()));
  try {
    UnpackSkin(bad, out.Path() / "x");
    FAIL() << "an unknown version was unpacked";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Older Skin File"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(out.Path() / "x"));
}

}  // namespace
}  // namespace corvane::tools
