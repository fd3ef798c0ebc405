// The picture object under the real window system: every file kind, the
// failure rules, drawing with alpha, and copies that outlive their source.
#include "core/Surface.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/WinPicture.h"
#include "pictures/WinSurface.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Fixture(const std::string& name) { return std::string(CORVANE_FIXTURES) + "\\pictures\\" + name; }

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A private folder of files for one test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    m_path = std::string(base) + "corvane-pictures-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(GetTickCount());
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::string& f : m_files) DeleteFileA(f.c_str());
    RemoveDirectoryA(m_path.c_str());
  }
  std::string File(const std::string& name) {
    m_files.push_back(m_path + "\\" + name);
    return m_files.back();
  }
  std::string CopyOf(const std::string& fixture, const std::string& name) {
    std::string path = File(name);
    WriteBytes(path, ReadBytes(Fixture(fixture)));
    return path;
  }

 private:
  std::string m_path;
  std::vector<std::string> m_files;
};

// An enhanced metafile: a red rectangle filling 40 x 30 device pixels.
std::string WriteEmf(TempFolder& folder) {
  std::string path = folder.File("red.emf");
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), nullptr, nullptr);
  RECT r{0, 0, 40, 30};
  UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  FillRect(dc, &r, red.Get());
  UniqueEnhMetafile done(CloseEnhMetaFile(dc));
  return path;
}

// A placeable Windows metafile with bounds 80 x 60 at 96 units an inch.
std::string WriteWmf(TempFolder& folder, bool placeable) {
  HDC dc = CreateMetaFileA(nullptr);
  UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  HGDIOBJ old = SelectObject(dc, blue.Get());
  Rectangle(dc, 0, 0, 80, 60);
  SelectObject(dc, old);
  HMETAFILE metafile = CloseMetaFile(dc);
  const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
  Bytes body(size);
  GetMetaFileBitsEx(metafile, size, body.data());
  DeleteMetaFile(metafile);

  Bytes file;
  if (placeable) {
    const std::uint16_t words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 80, 60, 96, 0, 0};
    std::uint16_t checksum = 0;
    for (std::uint16_t w : words) checksum ^= w;
    for (std::uint16_t w : words) file.insert(file.end(), {std::uint8_t(w), std::uint8_t(w >> 8)});
    file.insert(file.end(), {std::uint8_t(checksum), std::uint8_t(checksum >> 8)});
  }
  file.insert(file.end(), body.begin(), body.end());
  std::string path = folder.File(placeable ? "blue.wmf" : "plain.wmf");
  WriteBytes(path, file);
  return path;
}

// Draws the picture onto a surface filled with `background` and returns it.
Surface DrawOnto(const TPicture& picture, int width, int height, Pixel background) {
  OffscreenSurface target(width, height);
  EXPECT_TRUE(target.Valid());
  target.View().Fill(background);
  RECT r{0, 0, width, height};
  picture.Draw(target.Dc(), r);
  GdiFlush();
  Surface out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.At(x, y) = target.View().At(x, y) & 0x00FFFFFFu;
  return out;
}

int Distance(Pixel a, Pixel b) {
  int worst = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    worst = std::max(worst, d < 0 ? -d : d);
  }
  return worst;
}

TEST(Picture, EveryExtensionLoadsWithItsKindAndSize) {
  TempFolder folder;
  struct Case {
    std::string path;
    PictureKind kind;
    int width;
    int height;
  };
  const std::vector<Case> cases = {
      {Fixture("ref-24.bmp"), PictureKind::Bitmap, 8, 6},
      {folder.CopyOf("ref-32.bmp", "copy.dib"), PictureKind::Bitmap, 8, 6},
      {Fixture("flat.jpg"), PictureKind::Jpeg, 32, 16},
      {folder.CopyOf("flat-progressive.jpg", "copy.jpeg"), PictureKind::Jpeg, 32, 16},
      {Fixture("ref-rgba.png"), PictureKind::Png, 8, 6},
      {folder.CopyOf("ref-rgba.png", "UPPER.PNG"), PictureKind::Png, 8, 6},
      {Fixture("ref.gif"), PictureKind::Gif, 8, 6},
      {Fixture("large\\one-colour-4096.png"), PictureKind::Png, 4096, 4096},  // 2 KB on disk
      {Fixture("ref.ico"), PictureKind::Icon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
      {WriteEmf(folder), PictureKind::Metafile, 40, 30},
      {WriteWmf(folder, true), PictureKind::Metafile, 80, 60},
  };
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  int expectedChanges = 0;
  for (const Case& c : cases) {
    ASSERT_NO_THROW(picture.LoadFromFile(c.path)) << c.path;
    ++expectedChanges;
    EXPECT_EQ(picture.Kind(), c.kind) << c.path;
    EXPECT_EQ(picture.Width(), c.width) << c.path;
    EXPECT_EQ(picture.Height(), c.height) << c.path;
    EXPECT_FALSE(picture.Empty()) << c.path;
    EXPECT_EQ(changes, expectedChanges) << c.path;
    EXPECT_EQ(picture.Bitmap() != nullptr, c.kind == PictureKind::Bitmap) << c.path;
  }

  // A metafile without the placeable header still loads, at a size of its own.
  picture.LoadFromFile(WriteWmf(folder, false));
  EXPECT_EQ(picture.Kind(), PictureKind::Metafile);
  EXPECT_GT(picture.Width(), 0);
  EXPECT_GT(picture.Height(), 0);
}

TEST(Picture, FailuresRaiseAClearErrorAndKeepThePreviousPicture) {
  TempFolder folder;
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  picture.LoadFromFile(Fixture("ref-rgba.png"));
  ASSERT_EQ(changes, 1);

  Bytes cut = ReadBytes(Fixture("ref-rgba.png"));
  cut.resize(cut.size() / 2);
  const std::string damaged = folder.File("damaged.png");
  WriteBytes(damaged, cut);
  const std::string notJpeg = folder.CopyOf("ref.gif", "really-a-gif.jpg");
  const std::string badEmf = folder.CopyOf("ref-24.bmp", "bitmap.emf");
  const std::string text = folder.File("notes.txt");
  WriteBytes(text, {'h', 'i'});

  struct Case {
    std::string path;
    std::string words;
  };
  for (const Case& c :
       {Case{folder.File("missing.png"), "Cannot open"},
        Case{text, "Unknown picture file extension (.txt)"},
        Case{folder.File("noextension"), "Unknown picture file extension (none)"},
        Case{damaged, "truncated"}, Case{notJpeg, "JPEG"}, Case{badEmf, "metafile"},
        Case{Fixture("large\\claims-16384.png"), "too large to load"},
        Case{Fixture("large\\claims-5000-rle8.bmp"), "cannot hold 5000 x 5000 pixels"}}) {
    try {
      picture.LoadFromFile(c.path);
      ADD_FAILURE() << "loaded " << c.path;
    } catch (const PictureError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(c.words), std::string::npos) << message;
      EXPECT_NE(message.find(c.path), std::string::npos) << "message does not name the file: " << message;
    }
    EXPECT_EQ(picture.Kind(), PictureKind::Png) << c.path;
    EXPECT_EQ(picture.Width(), 8) << c.path;
    EXPECT_EQ(changes, 1) << c.path;
  }
  // The kept picture still draws.
  EXPECT_EQ(DrawOnto(picture, 8, 6, 0).At(0, 0), 0xFF0000u);
}

TEST(Picture, PngAlphaIsBlendedOverWhatIsBelow) {
  TPicture picture;
  picture.LoadFromFile(Fixture("ref-rgba.png"));
  Surface s = DrawOnto(picture, 8, 6, 0xFFFFFFFFu);
  EXPECT_EQ(s.At(0, 0), 0xFF0000u);    // opaque red
  EXPECT_EQ(s.At(3, 2), 0x606060u);    // opaque grey
  EXPECT_EQ(s.At(0, 5), 0xFFFFFFu);    // fully transparent: the white shows
  EXPECT_EQ(s.At(1, 5), 0xFFFFFFu);
  // Half-transparent (64, 128, 192) over white.
  EXPECT_LE(Distance(s.At(7, 5), 0x9FBFDFu), 3) << std::hex << s.At(7, 5);

  // Stretched to twice the size, every source pixel covers 2 x 2.
  Surface big = DrawOnto(picture, 16, 12, 0xFF000080u);
  EXPECT_EQ(big.At(1, 1), 0xFF0000u);
  EXPECT_EQ(big.At(0, 11), 0x000080u);  // the background below the transparent corner
}

TEST(Picture, GifTransparencyShowsWhatIsBelow) {
  TPicture picture;
  picture.LoadFromFile(Fixture("ref.gif"));
  Colour key = -1;
  EXPECT_TRUE(picture.TransparentColour(key));
  Surface s = DrawOnto(picture, 8, 6, 0xFF123456u);
  EXPECT_EQ(s.At(0, 5), 0x123456u);
  EXPECT_EQ(s.At(1, 0), 0x00FF00u);

  TPicture png;
  png.LoadFromFile(Fixture("ref-rgba.png"));
  EXPECT_FALSE(png.TransparentColour(key));
}

TEST(Picture, BitmapsDrawTheirExactPixels) {
  TPicture picture;
  picture.LoadFromFile(Fixture("ref-24.bmp"));
  ASSERT_NE(picture.Bitmap(), nullptr);
  Surface s = DrawOnto(picture, 8, 6, 0);
  EXPECT_EQ(s.At(2, 0), 0x0000FFu);
  EXPECT_EQ(s.At(5, 3), 0xA0A0A0u);
  EXPECT_EQ(s.At(0, 5), 0xFFFFFFu);  // flattened on white when written

  // Stretched by whole pixels, never blended.
  Surface big = DrawOnto(picture, 24, 18, 0);
  // Three times wider: source pixel 2 (blue) covers x 6 to 8 exactly.
  EXPECT_EQ(big.At(5, 2), 0x00FF00u);
  EXPECT_EQ(big.At(6, 2), 0x0000FFu);
  EXPECT_EQ(big.At(8, 2), 0x0000FFu);
  EXPECT_EQ(big.At(9, 2), 0xFFFFFFu);
}

TEST(Picture, JpegDrawsItsColours) {
  TPicture picture;
  picture.LoadFromFile(Fixture("flat.jpg"));
  Surface s = DrawOnto(picture, 32, 16, 0);
  EXPECT_LE(Distance(s.At(4, 8), 0xC82828u), 8) << std::hex << s.At(4, 8);
  EXPECT_LE(Distance(s.At(28, 8), 0x2850C8u), 8) << std::hex << s.At(28, 8);
}

TEST(Picture, MetafilesPlayIntoTheRectangle) {
  TempFolder folder;
  TPicture picture;
  picture.LoadFromFile(WriteEmf(folder));
  Surface s = DrawOnto(picture, 40, 30, 0xFFFFFFFFu);
  EXPECT_EQ(s.At(20, 15), 0xFF0000u);

  picture.LoadFromFile(WriteWmf(folder, true));
  Surface w = DrawOnto(picture, 80, 60, 0xFFFFFFFFu);
  EXPECT_EQ(w.At(40, 30), 0x0000FFu);
}

// A 16 x 16 green icon with a transparent top-left quarter.
UniqueIcon MakeIcon() {
  Surface s(16, 16, 0xFF00C000u);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) s.At(x, y) = 0;
  return CreateIconFromSurface(s.View());
}

TEST(Picture, IconsAreCopiedAndBlended) {
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  {
    UniqueIcon original = MakeIcon();
    ASSERT_TRUE(original);
    picture.AssignIcon(original.Get());
  }  // the caller's icon is gone; the picture holds its own copy
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(picture.Kind(), PictureKind::Icon);
  EXPECT_EQ(picture.Width(), 16);
  EXPECT_EQ(picture.Height(), 16);
  EXPECT_NE(picture.Icon(), nullptr);
  Surface s = DrawOnto(picture, 16, 16, 0xFF0000FFu);
  EXPECT_EQ(s.At(12, 12), 0x00C000u);
  EXPECT_EQ(s.At(2, 2), 0x0000FFu);

  TPicture copy;
  copy.Assign(picture);
  picture.Clear();
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(copy.Kind(), PictureKind::Icon);
  EXPECT_EQ(DrawOnto(copy, 16, 16, 0).At(12, 12), 0x00C000u);
}

TEST(Picture, AssignedPicturesAreIndependent) {
  for (const char* file : {"ref-24.bmp", "ref-rgba.png", "ref.gif", "flat.jpg"}) {
    TPicture source;
    source.LoadFromFile(Fixture(file));
    TPicture copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Kind(), source.Kind()) << file;
    EXPECT_EQ(copy.Width(), source.Width()) << file;
    const Surface before = DrawOnto(source, source.Width(), source.Height(), 0xFF808080u);
    source.Clear();
    EXPECT_EQ(DrawOnto(copy, copy.Width(), copy.Height(), 0xFF808080u), before) << file;
    if (copy.Kind() == PictureKind::Bitmap) {
      EXPECT_NE(copy.Bitmap(), nullptr);
    }
  }
}

TEST(Picture, AssignBitmapTakesTheBitmap) {
  Surface pixels(5, 3, 0xFF112233u);
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  UniqueBitmap bitmap = CreateDibSection(pixels.View(), false);
  HBITMAP raw = bitmap.Get();
  picture.AssignBitmap(std::move(bitmap));
  EXPECT_EQ(picture.Kind(), PictureKind::Bitmap);
  EXPECT_EQ(picture.Bitmap(), raw);
  EXPECT_EQ(picture.Width(), 5);
  EXPECT_EQ(picture.Height(), 3);
  EXPECT_EQ(DrawOnto(picture, 5, 3, 0).At(4, 2), 0x112233u);

  UniqueBitmap white = CreateWhiteDib24(4, 2);
  picture.AssignBitmap(std::move(white));
  EXPECT_EQ(DrawOnto(picture, 4, 2, 0).At(3, 1), 0xFFFFFFu);

  picture.AssignBitmap(UniqueBitmap{});
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Bitmap(), nullptr);
  EXPECT_EQ(changes, 3);
}

TEST(OffscreenSurface, GdiAndTheCoreShareThePixels) {
  OffscreenSurface surface(10, 4);
  ASSERT_TRUE(surface.Valid());
  surface.View().Fill(0xFF000000u);
  RECT r{2, 1, 5, 3};
  UniqueBrush brush(CreateSolidBrush(RGB(10, 20, 30)));
  FillRect(surface.Dc(), &r, brush.Get());
  GdiFlush();
  EXPECT_EQ(surface.View().At(2, 1) & 0xFFFFFF, 0x0A141Eu);
  EXPECT_EQ(surface.View().At(4, 2) & 0xFFFFFF, 0x0A141Eu);
  EXPECT_EQ(surface.View().At(5, 2) & 0xFFFFFF, 0u);
  // And the other way: what the core writes, GDI reads.
  surface.View().At(9, 3) = 0xFF405060u;
  EXPECT_EQ(GetPixel(surface.Dc(), 9, 3), RGB(0x40, 0x50, 0x60));

  OffscreenSurface none(0, 5);
  EXPECT_FALSE(none.Valid());
}

}  // namespace
}  // namespace corvane
