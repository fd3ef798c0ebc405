#include "pictures/WinSurface.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "pictures/PictureAlpha.h"

namespace corvane {

BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows top first, as Surface keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

namespace {

UniqueBitmap CreateTopDownDib(int width, int height, WORD bitCount, void** bits) {
  if (width <= 0 || height <= 0) return UniqueBitmap{};
  BITMAPINFO info = TopDownBitmapInfo(width, height, bitCount);
  return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace

UniqueBitmap CreateDibSection(const SurfaceView& pixels, bool premultiply) {
  void* bits = nullptr;
  UniqueBitmap bitmap = CreateTopDownDib(pixels.width, pixels.height, 32, &bits);
  if (!bitmap || !bits) return UniqueBitmap{};
  auto* out = static_cast<Pixel*>(bits);
  for (int y = 0; y < pixels.height; ++y) {
    const Pixel* in = pixels.Row(y);
    for (int x = 0; x < pixels.width; ++x) {
      *out++ = premultiply ? PremultiplyPixel(in[x]) : in[x];
    }
  }
  return bitmap;
}

UniqueBitmap CreateWhiteDib24(int width, int height) {
  void* bits = nullptr;
  UniqueBitmap bitmap = CreateTopDownDib(width, height, 24, &bits);
  if (!bitmap || !bits) return UniqueBitmap{};
  const std::size_t stride = ((static_cast<std::size_t>(width) * 24 + 31) / 32) * 4;
  std::memset(bits, 0xFF, stride * static_cast<std::size_t>(height));
  return bitmap;
}

Surface SurfaceFromBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
    return Surface{};
  Surface out(info.bmWidth, info.bmHeight);
  BITMAPINFO request = TopDownBitmapInfo(info.bmWidth, info.bmHeight, 32);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), out.View().pixels, &request,
                             DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return rows > 0 ? out : Surface{};
}

void DrawSurface(HDC dc, int x, int y, const SurfaceView& pixels) {
  if (!dc || pixels.IsEmpty()) return;
  // The system reads whole rows of the bitmap it is given: part of a wider
  // surface is copied out first, so nothing past the view's last pixel is read.
  if (pixels.stride != pixels.width) {
    Surface rows(pixels.width, pixels.height);
    for (int row = 0; row < pixels.height; ++row)
      std::copy_n(pixels.Row(row), pixels.width, rows.View().Row(row));
    DrawSurface(dc, x, y, rows.View());
    return;
  }
  BITMAPINFO info = TopDownBitmapInfo(pixels.width, pixels.height, 32);
  StretchDIBits(dc, x, y, pixels.width, pixels.height, 0, 0, pixels.width, pixels.height, pixels.pixels, &info,
                DIB_RGB_COLORS, SRCCOPY);
}

UniqueIcon CreateIconFromSurface(const SurfaceView& pixels) {
  if (pixels.IsEmpty()) return UniqueIcon{};
  UniqueBitmap colour = CreateDibSection(pixels, false);
  // The AND mask: set where fully transparent, so systems that ignore alpha
  // still show the shape. Monochrome rows are padded to 16 bits.
  const int stride = ((pixels.width + 15) / 16) * 2;
  std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(stride) * pixels.height, 0);
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      if ((pixels.At(x, y) >> 24) == 0)
        maskBits[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  UniqueBitmap mask(CreateBitmap(pixels.width, pixels.height, 1, 1, maskBits.data()));
  if (!colour || !mask) return UniqueIcon{};
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmMask = mask.Get();
  icon.hbmColor = colour.Get();
  // The icon copies both bitmaps; ours are released on return.
  return UniqueIcon(CreateIconIndirect(&icon));
}

OffscreenSurface::OffscreenSurface(int width, int height) {
  void* bits = nullptr;
  m_bitmap = CreateTopDownDib(width, height, 32, &bits);
  if (!m_bitmap || !bits) return;
  m_dc = MemoryDC(CreateCompatibleDC(nullptr));
  if (!m_dc) return;
  m_previous = SelectObject(m_dc.Get(), m_bitmap.Get());
  m_view = {static_cast<Pixel*>(bits), width, height, width};
}

OffscreenSurface::~OffscreenSurface() {
  // The bitmap must leave the DC before either is deleted.
  if (m_dc && m_previous) SelectObject(m_dc.Get(), m_previous);
}

}  // namespace corvane
