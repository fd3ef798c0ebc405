// A picture drawn larger or smaller for a display's DPI, smoothly (a photo
// never turns into blocks) while its see-through colour stays exact: an
// output pixel is the key exactly where the nearest source pixel is, and
// other pixels blend only the real colours around them, so a window shaped
// by the key keeps a clean outline without a fringe of the key's colour.
// Portable.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "core/Surface.h"

namespace corvane {

// The picture at width x height (each at least 1). keyRgb: the see-through
// colour as 0x00RRGGBB (alpha plays no part).
Surface ResizeKeyed(const SurfaceView& picture, int width, int height, std::uint32_t keyRgb);

// A picture with premultiplied alpha at width x height (each at least 1),
// blended in premultiplied space: a see-through pixel adds nothing to its
// neighbours' colour, so soft edges keep their colour instead of taking on
// a dark fringe from the invisible pixels beside them.
Surface ResizePremultiplied(const SurfaceView& picture, int width, int height);

// The size a picture designed at 96 DPI is shown at on a display of dpi;
// its own size when the scaled one would exceed what a picture may hold
// (the largest allowed picture is never multiplied past the limits).
Size ShownSize(Size picture, int dpi);

}  // namespace corvane
