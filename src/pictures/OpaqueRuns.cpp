#include "pictures/OpaqueRuns.h"

namespace corvane {

std::uint32_t DefaultTransparentRgb(const SurfaceView& pixels) {
  if (pixels.IsEmpty()) return 0;
  return pixels.At(0, pixels.height - 1) & 0x00FFFFFFu;
}

std::vector<Rect> OpaqueRuns(const SurfaceView& pixels, std::uint32_t transparentRgb) {
  const std::uint32_t key = transparentRgb & 0x00FFFFFFu;
  return RunsWhere(pixels, [key](Pixel p) { return (p & 0x00FFFFFFu) != key; });
}

std::vector<Rect> VisibleRuns(const SurfaceView& pixels) { return RunsWhere(pixels, IsVisible); }

}  // namespace corvane
