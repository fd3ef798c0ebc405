#include "pictures/WinPicture.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "pictures/Bmp.h"
#include "pictures/Gif.h"
#include "pictures/Ico.h"
#include "pictures/Jpeg.h"
#include "pictures/PictureAlpha.h"
#include "pictures/Png.h"
#include "pictures/WinSurface.h"

namespace corvane {
namespace {

// No picture we show needs more; a bigger file is a mistake, not a picture.
constexpr LONGLONG kMaxFileSize = 256LL << 20;

// A placeable metafile starts with this key and gives the bounds and units.
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr std::size_t kPlaceableHeaderSize = 22;

std::string SystemMessage(DWORD error) {
  char buffer[256] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                           buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) text.pop_back();
  return text.empty() ? "system error " + std::to_string(error) : text;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName) {
  UniqueHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    file.Release_();  // the owner's invalid value is null, not INVALID_HANDLE_VALUE
    throw PictureError("Cannot open picture file \"" + fileName + "\": " + SystemMessage(GetLastError()));
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size))
    throw PictureError("Cannot read picture file \"" + fileName + "\": " + SystemMessage(GetLastError()));
  if (size.QuadPart > kMaxFileSize) throw PictureError("Picture file \"" + fileName + "\" is too large");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr))
      throw PictureError("Cannot read picture file \"" + fileName + "\": " + SystemMessage(GetLastError()));
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

std::string LowerExtension(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("\\/:");
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = fileName.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool AnyTranslucent(const Surface& s) {
  return std::any_of(s.Pixels().begin(), s.Pixels().end(), [](Pixel p) { return (p >> 24) != 0xFF; });
}

// Width and height of an icon from its bitmaps (a monochrome icon's mask
// holds the AND and XOR halves one above the other).
bool IconSize(HICON icon, int& width, int& height) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  UniqueBitmap mask(info.hbmMask);
  UniqueBitmap colour(info.hbmColor);
  BITMAP bm{};
  if (colour && GetObjectA(colour.Get(), sizeof bm, &bm)) {
    width = bm.bmWidth;
    height = bm.bmHeight;
    return true;
  }
  if (mask && GetObjectA(mask.Get(), sizeof bm, &bm)) {
    width = bm.bmWidth;
    height = bm.bmHeight / 2;
    return true;
  }
  return false;
}

// Size in pixels of an enhanced metafile: its bounds when recorded, else
// its frame (0.01 mm) scaled by the reference device it was made for.
void MetafileSize(HENHMETAFILE metafile, int& width, int& height) {
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile, sizeof header, &header);
  width = header.rclBounds.right - header.rclBounds.left + 1;
  height = header.rclBounds.bottom - header.rclBounds.top + 1;
  if (width <= 1 || height <= 1) {
    const LONG mmWidth = std::max<LONG>(header.szlMillimeters.cx, 1);
    const LONG mmHeight = std::max<LONG>(header.szlMillimeters.cy, 1);
    width = MulDiv(header.rclFrame.right - header.rclFrame.left, header.szlDevice.cx, mmWidth * 100);
    height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, header.szlDevice.cy, mmHeight * 100);
  }
}

UniqueEnhMetafile LoadWindowsMetafile(const std::vector<std::uint8_t>& bytes, int& width, int& height,
                                      const std::string& fileName) {
  ByteReader r(bytes, "WMF");
  std::size_t start = 0;
  METAFILEPICT picture{};
  bool placeable = false;
  if (r.Has(0, kPlaceableHeaderSize) && r.U32(0, "header") == kPlaceableKey) {
    // Bounds in metafile units, and how many units make an inch.
    auto s16 = [&](std::size_t at) { return static_cast<std::int16_t>(r.U16(at, "header")); };
    const int inch = r.U16(14, "header");
    const int w = s16(10) - s16(6);
    const int h = s16(12) - s16(8);
    if (inch <= 0 || w <= 0 || h <= 0) throw PictureError("Picture file \"" + fileName + "\" has bad metafile bounds");
    width = MulDiv(w, 96, inch);
    height = MulDiv(h, 96, inch);
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = MulDiv(w, 2540, inch);
    picture.yExt = MulDiv(h, 2540, inch);
    start = kPlaceableHeaderSize;
    placeable = true;
  }
  if (bytes.size() - start < 18) throw PictureError("Picture file \"" + fileName + "\" is not a metafile");
  UniqueEnhMetafile metafile(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - start), bytes.data() + start,
                                                nullptr, placeable ? &picture : nullptr));
  if (!metafile) throw PictureError("Picture file \"" + fileName + "\" is not a valid metafile");
  if (!placeable) MetafileSize(metafile.Get(), width, height);
  return metafile;
}

}  // namespace

TPicture::State TPicture::FromPixels(PictureKind kind, Surface pixels) {
  State state;
  state.kind = kind;
  state.width = pixels.Width();
  state.height = pixels.Height();
  if (AnyTranslucent(pixels)) {
    state.blend = CreateDibSection(pixels.View(), true);
    if (!state.blend) throw std::bad_alloc();  // named with its file by LoadFromFile
  }
  state.pixels = std::move(pixels);
  return state;
}

TPicture::State TPicture::Load(const std::string& fileName) {
  const std::string ext = LowerExtension(fileName);
  const bool known = ext == "bmp" || ext == "dib" || ext == "jpg" || ext == "jpeg" || ext == "jpe" ||
                     ext == "jfif" || ext == "png" || ext == "gif" || ext == "ico" || ext == "emf" ||
                     ext == "wmf";
  if (!known)
    throw PictureError("Unknown picture file extension (" + (ext.empty() ? std::string("none") : "." + ext) +
                       "): \"" + fileName + "\"");
  const std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
  try {
    if (ext == "bmp" || ext == "dib") {
      Surface pixels = DecodeBmp(bytes);
      State state;
      state.bitmap = CreateDibSection(pixels.View(), false);
      if (!state.bitmap) throw std::bad_alloc();
      state.kind = PictureKind::Bitmap;
      state.width = pixels.Width();
      state.height = pixels.Height();
      return state;
    }
    if (ext == "png") return FromPixels(PictureKind::Png, DecodePng(bytes));
    if (ext == "gif") {
      GifImage gif = DecodeGif(bytes);
      State state = FromPixels(PictureKind::Gif, std::move(gif.surface));
      state.hasTransparentColour = gif.transparentIndex >= 0;
      state.transparentColour = gif.transparentColour;
      return state;
    }
    if (ext == "ico") {
      // The size the system shows icons at, as an icon file is meant to be seen.
      Surface pixels = DecodeIco(bytes, GetSystemMetrics(SM_CXICON));
      State state;
      state.icon = CreateIconFromSurface(pixels.View());
      if (!state.icon) throw std::bad_alloc();
      state.kind = PictureKind::Icon;
      state.width = pixels.Width();
      state.height = pixels.Height();
      return state;
    }
    if (ext == "emf") {
      State state;
      if (bytes.size() < sizeof(ENHMETAHEADER) || bytes[40] != ' ' || bytes[41] != 'E' || bytes[42] != 'M' ||
          bytes[43] != 'F')
        throw PictureError("Picture file \"" + fileName + "\" is not an enhanced metafile");
      state.metafile = UniqueEnhMetafile(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
      if (!state.metafile) throw PictureError("Picture file \"" + fileName + "\" is not a valid metafile");
      MetafileSize(state.metafile.Get(), state.width, state.height);
      state.kind = PictureKind::Metafile;
      return state;
    }
    if (ext == "wmf") {
      State state;
      state.metafile = LoadWindowsMetafile(bytes, state.width, state.height, fileName);
      state.kind = PictureKind::Metafile;
      return state;
    }
    return FromPixels(PictureKind::Jpeg, DecodeJpeg(bytes));
  } catch (const PictureFormatError& e) {
    throw PictureError("Cannot load picture \"" + fileName + "\": " + e.what());
  }
}

void TPicture::LoadFromFile(const std::string& fileName) {
  State state;
  try {
    state = Load(fileName);
  } catch (const std::bad_alloc&) {
    // The file's bytes, the decode or the system's bitmap: whichever ran
    // out, the picture is one this program cannot hold.
    throw PictureError("Cannot load picture \"" + fileName +
                       "\": it is too large to load (out of memory)");
  }
  Replace(std::move(state));
}

void TPicture::Replace(State&& state) {
  m_state = std::move(state);
  if (OnChange) OnChange();
}

void TPicture::AssignIcon(HICON icon) {
  State state;
  if (icon) {
    state.icon = UniqueIcon(CopyIcon(icon));
    if (!state.icon || !IconSize(state.icon.Get(), state.width, state.height))
      throw PictureError("Cannot copy the icon");
    state.kind = PictureKind::Icon;
  }
  Replace(std::move(state));
}

void TPicture::AssignBitmap(UniqueBitmap bitmap) {
  State state;
  BITMAP info{};
  if (bitmap && GetObjectA(bitmap.Get(), sizeof info, &info)) {
    state.kind = PictureKind::Bitmap;
    state.width = info.bmWidth;
    state.height = std::abs(info.bmHeight);
    state.bitmap = std::move(bitmap);
  }
  Replace(std::move(state));
}

void TPicture::Assign(const TPicture& other) {
  if (&other == this) return;
  State state;
  try {
    state = Copy(other.m_state);
  } catch (const std::bad_alloc&) {
    throw PictureError("Cannot copy the picture: it is too large (out of memory)");
  }
  Replace(std::move(state));
}

TPicture::State TPicture::Copy(const State& from) {
  State state;
  state.kind = from.kind;
  state.width = from.width;
  state.height = from.height;
  state.hasTransparentColour = from.hasTransparentColour;
  state.transparentColour = from.transparentColour;
  switch (from.kind) {
    case PictureKind::Empty: break;
    case PictureKind::Bitmap: {
      state.bitmap = UniqueBitmap(static_cast<HBITMAP>(CopyImage(from.bitmap.Get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      if (!state.bitmap) throw PictureError("Cannot copy the bitmap");
      break;
    }
    case PictureKind::Icon:
      state.icon = UniqueIcon(CopyIcon(from.icon.Get()));
      if (!state.icon) throw PictureError("Cannot copy the icon");
      break;
    case PictureKind::Metafile:
      state.metafile = UniqueEnhMetafile(CopyEnhMetaFileA(from.metafile.Get(), nullptr));
      if (!state.metafile) throw PictureError("Cannot copy the metafile");
      break;
    case PictureKind::Jpeg: case PictureKind::Png: case PictureKind::Gif: {
      State copy = FromPixels(from.kind, from.pixels);
      copy.hasTransparentColour = from.hasTransparentColour;
      copy.transparentColour = from.transparentColour;
      state = std::move(copy);
      break;
    }
  }
  return state;
}

void TPicture::Clear() {
  Replace(State{});
}

bool TPicture::TransparentColour(Colour& colour) const {
  if (!m_state.hasTransparentColour) return false;
  colour = m_state.transparentColour;
  return true;
}

namespace {

// A 32-bit bitmap's pixels when its alpha bytes make something see-through;
// a fourth byte that is zero everywhere is unused (most writers leave it
// so), and 255 everywhere is an opaque bitmap.
Surface UsedAlpha(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmBitsPixel != 32) return Surface{};
  Surface pixels = SurfaceFromBitmap(bitmap);
  return CoverageOf(pixels.View()) == AlphaCoverage::Partial ? pixels : Surface{};
}

}  // namespace

Surface TPicture::AlphaPixels() const {
  switch (m_state.kind) {
    case PictureKind::Png: return m_state.blend ? m_state.pixels : Surface{};
    case PictureKind::Bitmap: return UsedAlpha(m_state.bitmap.Get());
    case PictureKind::Icon: {
      // The system draws an icon whose colour bitmap has alpha by that
      // alpha and ignores its mask; without alpha the mask decides.
      ICONINFO info{};
      if (!GetIconInfo(m_state.icon.Get(), &info)) return Surface{};
      UniqueBitmap mask(info.hbmMask);
      UniqueBitmap colour(info.hbmColor);
      return UsedAlpha(colour.Get());
    }
    default: return Surface{};
  }
}

void TPicture::Draw(HDC dc, const RECT& r) const {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (Empty() || w <= 0 || h <= 0 || Width() <= 0 || Height() <= 0) return;
  switch (m_state.kind) {
    case PictureKind::Empty: return;
    case PictureKind::Icon:
      DrawIconEx(dc, r.left, r.top, m_state.icon.Get(), w, h, 0, nullptr, DI_NORMAL);
      return;
    case PictureKind::Metafile:
      PlayEnhMetaFile(dc, m_state.metafile.Get(), &r);
      return;
    case PictureKind::Bitmap: {
      MemoryDC source(CreateCompatibleDC(dc));
      SelectGuard select(source.Get(), m_state.bitmap.Get());
      // Nearest pixel, never blended: skin pictures keep their exact colours.
      const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, r.left, r.top, w, h, source.Get(), 0, 0, Width(), Height(), SRCCOPY);
      SetStretchBltMode(dc, oldMode);
      return;
    }
    case PictureKind::Jpeg: case PictureKind::Png: case PictureKind::Gif: {
      if (m_state.blend) {
        MemoryDC source(CreateCompatibleDC(dc));
        SelectGuard select(source.Get(), m_state.blend.Get());
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, r.left, r.top, w, h, source.Get(), 0, 0, Width(), Height(), blend);
        return;
      }
      BITMAPINFO info = TopDownBitmapInfo(Width(), Height(), 32);
      const int oldMode = SetStretchBltMode(dc, m_state.kind == PictureKind::Jpeg ? HALFTONE : COLORONCOLOR);
      if (m_state.kind == PictureKind::Jpeg) SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchDIBits(dc, r.left, r.top, w, h, 0, 0, Width(), Height(), m_state.pixels.Pixels().data(), &info,
                    DIB_RGB_COLORS, SRCCOPY);
      SetStretchBltMode(dc, oldMode);
      return;
    }
  }
}

}  // namespace corvane
