// A picture's own transparency: which pixels are visible, how a picture's
// alpha is spread, and colours premultiplied by alpha as the window system
// composes them. Portable: no system headers.
#pragma once

#include "core/Surface.h"

namespace corvane {

// The one rule for a visible pixel of a picture with alpha: anything not
// fully transparent is shown and takes the mouse.
constexpr bool IsVisible(Pixel p) { return (p >> 24) != 0; }

// Colour scaled by alpha, rounded to nearest (white at alpha 128 stays grey
// 128, so it comes back white when divided again).
constexpr Pixel PremultiplyPixel(Pixel p) {
  const Pixel a = p >> 24;
  auto scale = [a](Pixel c) { return (c * a + 127) / 255; };
  return (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
}

// A copy of straight-alpha pixels with their colours premultiplied.
Surface Premultiply(const SurfaceView& straight);

// How a picture's alpha is spread over its pixels.
enum class AlphaCoverage {
  Opaque,     // every pixel fully opaque (or no pixels): nothing to blend
  Partial,    // some pixel is see-through or soft, some is visible
  Invisible,  // every pixel fully transparent: nothing would show
};
AlphaCoverage CoverageOf(const SurfaceView& pixels);

}  // namespace corvane
