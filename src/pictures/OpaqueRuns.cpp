#include "pictures/OpaqueRuns.h"

namespace corvane {

std::uint32_t DefaultTransparentRgb(const SurfaceView& pixels) {
  if (pixels.IsEmpty()) return 0;
  return pixels.At(0, pixels.height - 1) & 0x00FFFFFFu;
}

std::vector<Rect> OpaqueRuns(const SurfaceView& pixels, std::uint32_t transparentRgb) {
  std::vector<Rect> runs;
  if (pixels.IsEmpty()) return runs;
  const std::uint32_t key = transparentRgb & 0x00FFFFFFu;
  for (int y = 0; y < pixels.height; ++y) {
    const Pixel* row = pixels.Row(y);
    int x = 0;
    while (x < pixels.width) {
      while (x < pixels.width && (row[x] & 0x00FFFFFFu) == key) ++x;
      if (x == pixels.width) break;
      int start = x;
      while (x < pixels.width && (row[x] & 0x00FFFFFFu) != key) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
  return runs;
}

}  // namespace corvane
