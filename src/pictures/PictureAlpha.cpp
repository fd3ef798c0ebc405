#include "pictures/PictureAlpha.h"

namespace corvane {

Surface Premultiply(const SurfaceView& straight) {
  Surface out(straight.width, straight.height);
  for (int y = 0; y < straight.height; ++y)
    for (int x = 0; x < straight.width; ++x) out.At(x, y) = PremultiplyPixel(straight.At(x, y));
  return out;
}

AlphaCoverage CoverageOf(const SurfaceView& pixels) {
  bool anyVisible = false, allOpaque = true;
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) {
      const Pixel p = pixels.At(x, y);
      anyVisible = anyVisible || IsVisible(p);
      allOpaque = allOpaque && (p >> 24) == 0xFF;
    }
  if (allOpaque) return AlphaCoverage::Opaque;
  return anyVisible ? AlphaCoverage::Partial : AlphaCoverage::Invisible;
}

}  // namespace corvane
