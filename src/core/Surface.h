// Pixel surfaces: 32-bit BGRA, top-down rows. The meeting point of the core
// and the window system: on Windows a SurfaceView can wrap a DIB section's
// memory, so GDI and the core draw into the very same pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Geometry.h"

namespace corvane {

// One pixel in memory order B, G, R, A; as a 32-bit value 0xAARRGGBB.
using Pixel = std::uint32_t;

constexpr Pixel PixelFromColour(Colour c, std::uint8_t alpha = 0xFF) {
  return (Pixel{alpha} << 24) | (Pixel(RedOf(c)) << 16) | (Pixel(GreenOf(c)) << 8) |
         Pixel(BlueOf(c));
}
constexpr Colour ColourFromPixel(Pixel p) {
  return Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}
// Compares colour only; alpha plays no part in the magenta key or in regions.
constexpr bool SameColour(Pixel p, Colour c) { return (p & 0x00FFFFFF) == (PixelFromColour(c) & 0x00FFFFFF); }

// A borrowed rectangle of pixels; stride counts pixels, not bytes.
struct SurfaceView {
  Pixel* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  Pixel* Row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
  Pixel& At(int x, int y) const { return Row(y)[x]; }
  bool IsEmpty() const { return width <= 0 || height <= 0 || pixels == nullptr; }
  Rect Bounds() const { return {0, 0, width, height}; }
  // The part of this surface inside r (clipped to the bounds).
  SurfaceView Sub(const Rect& r) const {
    Rect c = r.Intersect(Bounds());
    if (c.IsEmpty()) return {};
    return {&At(c.left, c.top), c.Width(), c.Height(), stride};
  }
  void Fill(Pixel p) const {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) At(x, y) = p;
  }
};

// A surface that owns its pixels.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Pixel fill = 0)
      : m_width(width > 0 ? width : 0),
        m_height(height > 0 ? height : 0),
        m_pixels(static_cast<std::size_t>(m_width) * m_height, fill) {}

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool IsEmpty() const { return m_width == 0 || m_height == 0; }
  SurfaceView View() { return {m_pixels.data(), m_width, m_height, m_width}; }
  // Read-only access goes through the same view type; callers must not write.
  SurfaceView View() const { return {const_cast<Pixel*>(m_pixels.data()), m_width, m_height, m_width}; }
  Pixel& At(int x, int y) { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
  Pixel At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
  const std::vector<Pixel>& Pixels() const { return m_pixels; }
  friend bool operator==(const Surface&, const Surface&) = default;

 private:
  int m_width = 0;
  int m_height = 0;
  std::vector<Pixel> m_pixels;
};

}  // namespace corvane
