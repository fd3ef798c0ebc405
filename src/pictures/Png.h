// PNG pictures through libpng, decoded from memory. Portable.
#pragma once

#include <cstdint>
#include <span>

#include "core/Surface.h"
#include "pictures/PictureFormat.h"

namespace corvane {

// True when the bytes start with the PNG signature.
bool IsPng(std::span<const std::uint8_t> data);

// Decodes a PNG of any colour type and depth into straight (not
// premultiplied) 32-bit pixels; alpha and tRNS transparency are kept.
// Throws PictureFormatError naming what libpng found wrong.
Surface DecodePng(std::span<const std::uint8_t> data);
// The same within the given limits.
Surface DecodePngWithLimits(std::span<const std::uint8_t> data, const PictureLimits& limits);

}  // namespace corvane
