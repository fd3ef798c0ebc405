// Builders for small picture files made byte by byte, so decoder tests state
// exactly what a file holds instead of trusting another program's writer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvane::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void Patch32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A device-independent bitmap: info header, masks, palette, then the rows
// exactly as given (already in file order and padded).
struct DibBuilder {
  int width = 1;
  int height = 1;  // as stored: negative for top-down, doubled for icons
  int bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;
  std::vector<std::uint32_t> masks;    // written after a 40-byte header, or inside a bigger one
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  Bytes pixels;

  Bytes Header() const {
    Bytes b;
    Put32(b, headerSize);
    if (headerSize == 12) {
      Put16(b, static_cast<unsigned>(width));
      Put16(b, static_cast<unsigned>(height));
      Put16(b, 1);
      Put16(b, static_cast<unsigned>(bitCount));
      for (std::uint32_t c : palette) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
        b.push_back(static_cast<std::uint8_t>(c >> 16));
      }
      return b;
    }
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(bitCount));
    Put32(b, compression);
    Put32(b, static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<std::uint32_t>(palette.size()));
    Put32(b, 0);
    if (headerSize > 40) {
      for (std::size_t i = 0; 40 + 4 * i < headerSize; ++i)
        Put32(b, i < masks.size() ? masks[i] : 0);
    } else {
      for (std::uint32_t m : masks) Put32(b, m);
    }
    for (std::uint32_t c : palette) Put32(b, c);
    return b;
  }
  Bytes Dib() const {
    Bytes b = Header();
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
  }
  // A .bmp file; gap bytes between palette and pixels test the stated offset.
  Bytes File(std::size_t gap = 0) const {
    Bytes header = Header();
    Bytes b{'B', 'M'};
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + header.size() + gap);
    Put32(b, static_cast<std::uint32_t>(offset + pixels.size()));
    Put32(b, 0);
    Put32(b, offset);
    b.insert(b.end(), header.begin(), header.end());
    b.insert(b.end(), gap, 0xEE);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
  }
};

// The 8 x 6 reference picture the fixture script writes in every format:
// primaries on row 0, a grey ramp below, two fully transparent pixels at the
// bottom left and one half-transparent pixel at the bottom right.
inline std::uint32_t ReferencePixel(int x, int y) {
  static const std::uint32_t kTop[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                                        0xFF000000, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
  if (y == 0) return kTop[x];
  if (y == 5 && x < 2) return 0x00000000;
  if (y == 5 && x == 7) return 0x804080C0;
  const std::uint32_t g = 32u * static_cast<std::uint32_t>(x);
  return 0xFF000000u | (g << 16) | (g << 8) | g;
}
inline bool IsReferenceSolid(int x, int y) { return !(y == 5 && (x < 2 || x == 7)); }

// Channel-wise distance, for lossy formats.
inline int PixelDistance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    worst = std::max(worst, d < 0 ? -d : d);
  }
  return worst;
}

inline Bytes ReadFixture(const std::string& relative) {
  std::ifstream in(std::string(CORVANE_FIXTURES) + "/" + relative, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace corvane::testing
