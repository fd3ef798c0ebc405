#include "BmpWriter.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "LittleEndian.h"

namespace corvane::tools {
namespace {

int ColourDistance(Pixel a, Pixel b) {
  const int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
  const int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
  const int db = int(a & 0xFF) - int(b & 0xFF);
  return dr * dr + dg * dg + db * db;
}

std::vector<Pixel> OwnPalette(const Surface& s, std::size_t limit) {
  std::vector<Pixel> colours;
  for (Pixel p : s.Pixels()) {
    const Pixel c = p & 0x00FFFFFF;
    if (std::find(colours.begin(), colours.end(), c) == colours.end()) {
      if (colours.size() == limit)
        throw std::invalid_argument("picture has more colours than its bit depth can hold");
      colours.push_back(c);
    }
  }
  return colours;
}

std::uint32_t NearestIndex(const std::vector<Pixel>& palette, Pixel p) {
  std::uint32_t best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (std::uint32_t i = 0; i < palette.size(); ++i) {
    const int d = ColourDistance(palette[i], p);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Surface& s, int bitsPerPixel,
                                    const std::vector<Pixel>& palette) {
  const bool indexed = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8;
  if (!indexed && bitsPerPixel != 24 && bitsPerPixel != 32)
    throw std::invalid_argument("unsupported BMP bit depth " + std::to_string(bitsPerPixel));
  if (s.IsEmpty()) throw std::invalid_argument("cannot write an empty picture");

  std::vector<Pixel> colours;
  if (indexed) {
    const std::size_t limit = std::size_t{1} << bitsPerPixel;
    colours = palette.empty() ? OwnPalette(s, limit) : palette;
    if (colours.size() > limit) throw std::invalid_argument("palette larger than the bit depth allows");
  }

  const int w = s.Width(), h = s.Height();
  // Rows are padded to whole 32-bit words, a rule every BMP reader relies on.
  const std::size_t rowBytes = ((static_cast<std::size_t>(w) * bitsPerPixel + 31) / 32) * 4;
  const std::uint32_t pixelOffset = 14 + 40 + static_cast<std::uint32_t>(colours.size()) * 4;
  const std::size_t total = pixelOffset + rowBytes * h;

  std::vector<std::uint8_t> out;
  out.reserve(total);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<std::uint32_t>(total));
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, 40);
  Put32(out, w);
  Put32(out, h);  // positive: bottom-up, the layout every reader accepts
  Put16(out, 1);
  Put16(out, bitsPerPixel);
  Put32(out, 0);  // uncompressed
  Put32(out, static_cast<std::uint32_t>(rowBytes * h));
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, static_cast<std::uint32_t>(colours.size()));
  Put32(out, 0);
  for (Pixel c : colours) Put32(out, c & 0x00FFFFFF);

  for (int y = h - 1; y >= 0; --y) {
    const std::size_t rowStart = out.size();
    if (indexed) {
      std::uint32_t acc = 0;
      int bits = 0;
      for (int x = 0; x < w; ++x) {
        acc = (acc << bitsPerPixel) | NearestIndex(colours, s.At(x, y));
        bits += bitsPerPixel;
        if (bits == 8) {
          out.push_back(static_cast<std::uint8_t>(acc));
          acc = 0;
          bits = 0;
        }
      }
      if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
    } else {
      for (int x = 0; x < w; ++x) {
        const Pixel p = s.At(x, y);
        out.push_back(p & 0xFF);
        out.push_back((p >> 8) & 0xFF);
        out.push_back((p >> 16) & 0xFF);
        if (bitsPerPixel == 32) out.push_back((p >> 24) & 0xFF);
      }
    }
    out.resize(rowStart + rowBytes, 0);
  }
  return out;
}

void WriteBmpFile(const std::string& path, const Surface& s, int bitsPerPixel,
                  const std::vector<Pixel>& palette) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(s, bitsPerPixel, palette);
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace corvane::tools
