// Writes surfaces as Windows BMP files, the only picture format a skin
// package carries (tools only; the program reads them with its own decoder).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Surface.h"

namespace corvane::tools {

// Encodes s as a bottom-up BMP of the given depth (1, 4, 8, 24 or 32).
// Palette depths map every pixel to its nearest palette entry; an empty
// palette makes one from the picture's own colours and throws when they do
// not fit. 32-bit pixels keep their alpha byte. Throws std::invalid_argument
// on an unsupported depth or an empty surface.
std::vector<std::uint8_t> EncodeBmp(const Surface& s, int bitsPerPixel,
                                    const std::vector<Pixel>& palette = {});

// EncodeBmp, then writes the bytes to path; throws std::runtime_error on I/O failure.
void WriteBmpFile(const std::string& path, const Surface& s, int bitsPerPixel,
                  const std::vector<Pixel>& palette = {});

}  // namespace corvane::tools
