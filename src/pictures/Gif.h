// GIF pictures through giflib, decoded from memory: the first frame. Portable.
#pragma once

#include <cstdint>
#include <span>

#include "core/Surface.h"
#include "pictures/PictureFormat.h"

namespace corvane {

// The first frame of a GIF on its logical screen.
struct GifImage {
  // Transparent pixels (and screen areas the frame does not cover, when the
  // GIF has transparency) carry alpha 0; all others are opaque.
  Surface surface;
  // The frame's transparent colour index, or -1 when it has none.
  int transparentIndex = -1;
  // The colour the transparent index stands for, for users that key on a
  // colour instead of alpha.
  Colour transparentColour = 0;
};

// True when the bytes start with "GIF87a" or "GIF89a".
bool IsGif(std::span<const std::uint8_t> data);

// Decodes the first frame; throws PictureFormatError with giflib's reason.
GifImage DecodeGif(std::span<const std::uint8_t> data);
// The same within the given limits.
GifImage DecodeGifWithLimits(std::span<const std::uint8_t> data, const PictureLimits& limits);

}  // namespace corvane
