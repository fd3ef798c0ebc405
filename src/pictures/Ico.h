// Our reader for icon files (.ico): bitmap images with their AND masks, and
// PNG images as modern icons store their large sizes. Portable.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/Surface.h"
#include "pictures/PictureFormat.h"

namespace corvane {

// One image of an icon file as its directory describes it.
struct IcoEntry {
  int width = 0;   // 256 where the directory stores 0
  int height = 0;
  int bitCount = 0;
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
};

// Reads the directory of an icon (or cursor) file; throws PictureFormatError.
std::vector<IcoEntry> ReadIcoDirectory(std::span<const std::uint8_t> file);

// Index of the entry that best fits `size` pixels: the smallest at least
// that big, else the biggest; among equal sizes the deepest colour. A size
// of 0 asks for the biggest image.
std::size_t ChooseIcoEntry(const std::vector<IcoEntry>& entries, int size);

// Decodes one image of an icon file into straight 32-bit pixels: stored
// alpha when a 32-bit image has any, else alpha built from the AND mask.
Surface DecodeIcoEntry(std::span<const std::uint8_t> file, const IcoEntry& entry,
    const PictureLimits& limits = {});

// Reads the directory and decodes the entry ChooseIcoEntry picks.
Surface DecodeIco(std::span<const std::uint8_t> file, int size = 0,
    const PictureLimits& limits = {});

}  // namespace corvane
