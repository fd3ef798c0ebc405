// JPEG pictures through libjpeg-turbo, decoded from memory. Portable.
#pragma once

#include <cstdint>
#include <span>

#include "core/Surface.h"
#include "pictures/PictureFormat.h"

namespace corvane {

// True when the bytes start with a JPEG start-of-image marker.
bool IsJpeg(std::span<const std::uint8_t> data);

// Decodes a baseline or progressive JPEG (grey, colour or CMYK) into opaque
// 32-bit pixels. A file cut short is an error, not a half-grey picture.
// Throws PictureFormatError with the library's reason.
Surface DecodeJpeg(std::span<const std::uint8_t> data);
// The same within the given limits.
Surface DecodeJpegWithLimits(std::span<const std::uint8_t> data, const PictureLimits& limits);

}  // namespace corvane
