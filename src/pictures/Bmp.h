// Our reader for Windows bitmap files (.bmp, .dib) and for the bare bitmaps
// stored inside icons. Portable: bytes in, a 32-bit surface out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/Surface.h"
#include "pictures/PictureFormat.h"

namespace corvane {

// What a bitmap file's headers say, read without decoding any pixel.
struct BmpInfo {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  bool topDown = false;
};

// Reads and validates the headers of a .bmp file; throws PictureFormatError.
BmpInfo ProbeBmp(std::span<const std::uint8_t> file);

// Decodes a whole .bmp file (file header first) into a top-down surface:
// 1/4/8-bit palettes (also RLE-compressed), 16 bits (5-5-5 or bit fields),
// 24 and 32 bits, bottom-up or top-down. Bitmaps without alpha come out
// opaque. A 32-bit bitmap keeps its fourth byte as alpha, except when that
// byte is zero everywhere: most writers leave it unused, and an invisible
// picture is never what such a file means. Throws PictureFormatError.
Surface DecodeBmp(std::span<const std::uint8_t> file);
// The same within the given limits (a single-argument DecodeBmp stays
// usable as a plain decoder function pointer).
Surface DecodeBmpWithLimits(std::span<const std::uint8_t> file, const PictureLimits& limits);

// A bitmap decoded from a bare device-independent bitmap (info header first).
struct DibImage {
  Surface surface;
  int bitCount = 0;
  // True when a 32-bit image carried at least one non-zero alpha byte.
  bool alphaUsed = false;
  // True when rows were stored top first (the mask then is too).
  bool topDown = false;
  // Offset just past the colour pixels, where an icon's AND mask begins.
  std::size_t pixelEnd = 0;
};

// Decodes a bare DIB. With iconHeight the header's height counts the colour
// image and its mask together, as icons store it, and the surface gets half
// of it. Throws PictureFormatError.
DibImage DecodeDib(std::span<const std::uint8_t> dib, bool iconHeight,
    const PictureLimits& limits = {});

}  // namespace corvane
