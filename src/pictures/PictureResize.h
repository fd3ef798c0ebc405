// A picture drawn larger or smaller for a display's DPI, smoothly (a photo
// never turns into blocks) while its see-through colour stays exact: an
// output pixel is the key exactly where the nearest source pixel is, and
// other pixels blend only the real colours around them, so a window shaped
// by the key keeps a clean outline without a fringe of the key's colour.
// Portable.
#pragma once

#include <cstdint>

#include "core/Surface.h"

namespace corvane {

// The picture at width x height (each at least 1). keyRgb: the see-through
// colour as 0x00RRGGBB (alpha plays no part).
Surface ResizeKeyed(const SurfaceView& picture, int width, int height, std::uint32_t keyRgb);

}  // namespace corvane
