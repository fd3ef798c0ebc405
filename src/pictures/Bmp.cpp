#include "pictures/Bmp.h"

#include <array>
#include <bit>
#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr const char* kFormat = "BMP";
constexpr std::size_t kFileHeaderSize = 14;

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitFields = 6,
};

// One colour channel of a bit-field pixel: where it sits and how wide it is.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (m != 0) {
      shift = std::countr_zero(m);
      max = m >> shift;
    }
  }
  // Scales the channel to 0..255; a 5-bit 31 becomes 255, not 248.
  std::uint32_t Extract(std::uint32_t value, std::uint32_t absent) const {
    if (max == 0) return absent;
    std::uint64_t v = (value & mask) >> shift;
    return static_cast<std::uint32_t>((v * 255 + max / 2) / max);
  }
};

struct DibHeader {
  std::size_t headerSize = 0;
  int width = 0;
  int height = 0;  // of the colour image, always positive
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kRgb;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  bool hasMasks = false;
  std::vector<Pixel> palette;
  std::size_t afterPalette = 0;  // offset, relative to the header, where pixels follow
};

std::string CompressionName(std::uint32_t c) {
  switch (c) {
    case kJpeg: return "embedded JPEG";
    case kPng: return "embedded PNG";
    default: return "compression type " + std::to_string(c);
  }
}

// Parses the info header, bit masks and palette starting at `at`.
DibHeader ParseDibHeader(const ByteReader& r, std::size_t at, bool iconHeight,
                         const PictureLimits& limits) {
  DibHeader h;
  h.headerSize = r.U32(at, "bitmap header");
  long long width = 0;
  long long height = 0;
  bool core = false;
  if (h.headerSize == 12) {
    // The oldest header: 16-bit sizes, 3-byte palette entries, always bottom-up.
    core = true;
    width = r.U16(at + 4, "bitmap header");
    height = r.U16(at + 6, "bitmap header");
    h.bitCount = r.U16(at + 10, "bitmap header");
  } else if (h.headerSize >= 40 && h.headerSize <= 1024) {
    width = r.I32(at + 4, "bitmap header");
    height = r.I32(at + 8, "bitmap header");
    h.bitCount = r.U16(at + 14, "bitmap header");
    h.compression = r.U32(at + 16, "bitmap header");
    r.Require(at, h.headerSize, "bitmap header");
  } else {
    throw PictureFormatError("BMP header of unknown size " + std::to_string(h.headerSize));
  }

  if (height < 0) {
    h.topDown = true;
    height = -height;  // a 64-bit negate: INT_MIN cannot overflow here
  }
  if (iconHeight) height /= 2;
  CheckPictureSize(width, height, kFormat, limits);
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);

  switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default:
      throw PictureFormatError("BMP with unsupported bit depth " + std::to_string(h.bitCount));
  }
  const bool compressionFits =
      h.compression == kRgb || (h.compression == kRle8 && h.bitCount == 8) ||
      (h.compression == kRle4 && h.bitCount == 4) ||
      ((h.compression == kBitFields || h.compression == kAlphaBitFields) &&
       (h.bitCount == 16 || h.bitCount == 32));
  if (!compressionFits || (h.headerSize == 64 && h.compression >= kBitFields))
    throw PictureFormatError("BMP with unsupported " + CompressionName(h.compression) + " at " +
                             std::to_string(h.bitCount) + " bits per pixel");
  if (h.topDown && (h.compression == kRle8 || h.compression == kRle4))
    throw PictureFormatError("BMP with a top-down RLE image, which cannot exist");

  std::size_t next = at + h.headerSize;
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    h.hasMasks = true;
    const int count = h.compression == kAlphaBitFields ? 4 : 3;
    if (h.headerSize >= 52) {
      for (int i = 0; i < 3; ++i) h.masks[i] = r.U32(at + 40 + 4 * i, "bit masks");
      if (h.headerSize >= 56) h.masks[3] = r.U32(at + 52, "bit masks");
    } else {
      // The plain 40-byte header keeps its masks right after itself.
      for (int i = 0; i < count; ++i) h.masks[i] = r.U32(next + 4 * i, "bit masks");
      next += 4 * count;
    }
  } else if (h.bitCount == 16) {
    h.masks = {0x7C00, 0x03E0, 0x001F, 0};
  } else if (h.bitCount == 32) {
    h.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  }

  std::uint64_t colours = 0;
  if (!core) colours = r.U32(at + 32, "bitmap header");
  if (h.bitCount <= 8) {
    if (colours == 0 || colours > (1u << h.bitCount)) colours = 1u << h.bitCount;
    const std::size_t entry = core ? 3 : 4;
    auto bytes = r.Bytes(next, static_cast<std::size_t>(colours) * entry, "palette");
    h.palette.reserve(static_cast<std::size_t>(colours));
    for (std::size_t i = 0; i < colours; ++i) {
      const std::uint8_t* p = bytes.data() + i * entry;
      h.palette.push_back(0xFF000000u | (Pixel{p[2]} << 16) | (Pixel{p[1]} << 8) | p[0]);
    }
    next += static_cast<std::size_t>(colours) * entry;
  } else if (colours <= 65536 && !core) {
    // A palette beside true-colour pixels is only a display hint; skip it.
    next += static_cast<std::size_t>(colours) * 4;
  }
  h.afterPalette = next - at;
  return h;
}

Pixel PaletteColour(const DibHeader& h, unsigned index) {
  // Out-of-range indexes happen in sloppy files; black is what systems show.
  return index < h.palette.size() ? h.palette[index] : 0xFF000000u;
}

std::uint64_t RowStride(const DibHeader& h) {
  return ((static_cast<std::uint64_t>(h.width) * h.bitCount + 31) / 32) * 4;
}

// Throws unless `pixels` holds every row; checked before the surface is
// allocated, so a short file claiming a huge picture costs nothing.
void CheckRowsPresent(const DibHeader& h, std::span<const std::uint8_t> pixels,
                      bool requireFullLastRow) {
  const std::uint64_t stride = RowStride(h);
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(h.width) * h.bitCount + 7) / 8;
  const std::uint64_t need = stride * (h.height - 1) + (requireFullLastRow ? stride : rowBytes);
  if (need > pixels.size())
    throw PictureFormatError("BMP file is truncated (pixel data: " + std::to_string(pixels.size()) +
                             " of " + std::to_string(need) + " bytes)");
}

// Decodes uncompressed rows, already checked to be present. Returns true
// when a 32-bit image carried alpha.
bool DecodeRows(const DibHeader& h, std::span<const std::uint8_t> pixels, Surface& out) {
  const std::uint64_t stride = RowStride(h);

  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  bool anyAlpha = false;
  for (int row = 0; row < h.height; ++row) {
    const std::uint8_t* src = pixels.data() + stride * row;
    Pixel* dst = out.View().Row(h.topDown ? row : h.height - 1 - row);
    switch (h.bitCount) {
      case 1: case 4: case 8: {
        const int bits = h.bitCount;
        const unsigned mask = (1u << bits) - 1;
        for (int x = 0; x < h.width; ++x) {
          const std::size_t bit = static_cast<std::size_t>(x) * bits;
          const unsigned index = (src[bit / 8] >> (8 - bits - bit % 8)) & mask;
          dst[x] = PaletteColour(h, index);
        }
        break;
      }
      case 24:
        for (int x = 0; x < h.width; ++x, src += 3)
          dst[x] = 0xFF000000u | (Pixel{src[2]} << 16) | (Pixel{src[1]} << 8) | src[0];
        break;
      case 16: case 32: {
        const int bytes = h.bitCount / 8;
        for (int x = 0; x < h.width; ++x, src += bytes) {
          std::uint32_t v = src[0] | (src[1] << 8);
          if (bytes == 4) v |= (std::uint32_t{src[2]} << 16) | (std::uint32_t{src[3]} << 24);
          const std::uint32_t a = alpha.Extract(v, 0xFF);
          if (alpha.max != 0 && a != 0) anyAlpha = true;
          dst[x] = (a << 24) | (red.Extract(v, 0) << 16) | (green.Extract(v, 0) << 8) |
                   blue.Extract(v, 0);
        }
        break;
      }
    }
  }
  if (h.masks[3] != 0 && !anyAlpha) {
    // Alpha was declared but never used: the writer meant an opaque picture.
    const SurfaceView view = out.View();
    for (int y = 0; y < view.height; ++y)
      for (int x = 0; x < view.width; ++x) view.At(x, y) |= 0xFF000000u;
  }
  return anyAlpha;
}

// A run-length stream draws at most 255 pixels per two bytes (a counted
// run); end-of-line, delta and end-of-bitmap codes only skip pixels.
constexpr double kRlePixelsPerByte = 255.0 / 2;

// Run-length decoding, straight into the surface. Pixels the stream skips
// keep palette colour 0; a stream that ends without its end marker keeps
// what it drew.
void DecodeRle(const DibHeader& h, std::span<const std::uint8_t> data, Surface& out) {
  CheckDataCanFill(h.width, h.height, kRlePixelsPerByte * static_cast<double>(data.size()),
                   data.size(), kFormat);
  out = Surface(h.width, h.height, PaletteColour(h, 0));
  const SurfaceView view = out.View();
  const bool four = h.compression == kRle4;
  long long x = 0;
  long long y = 0;  // counted from the bottom row
  std::size_t i = 0;
  auto put = [&](unsigned index) {
    if (x < h.width && y < h.height)
      view.At(static_cast<int>(x), static_cast<int>(h.height - 1 - y)) = PaletteColour(h, index);
    ++x;
  };
  while (i + 1 < data.size() && y < h.height) {
    const unsigned count = data[i];
    const unsigned value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned n = 0; n < count; ++n)
        put(four ? ((n % 2 == 0) ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (i + 1 >= data.size()) break;
      x += data[i];
      y += data[i + 1];
      i += 2;
    } else {  // a literal run, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (bytes > data.size() - i)
        throw PictureFormatError("BMP file is truncated (run-length data)");
      for (unsigned n = 0; n < value; ++n)
        put(four ? ((n % 2 == 0) ? data[i + n / 2] >> 4 : data[i + n / 2] & 0x0F) : data[i + n]);
      i += bytes + (bytes & 1);
    }
  }
}

// Where the pixels start: the file header's offset when it is plausible,
// else right after the palette (some writers leave the offset at zero).
std::size_t PixelOffset(const ByteReader& r, const DibHeader& h) {
  const std::uint32_t stated = r.U32(10, "file header");
  const std::size_t afterPalette = kFileHeaderSize + h.afterPalette;
  if (stated == 0) {
    if (afterPalette > r.Size()) throw PictureFormatError("BMP file is truncated (palette)");
    return afterPalette;
  }
  if (stated < kFileHeaderSize + h.headerSize)
    throw PictureFormatError("BMP pixel data offset " + std::to_string(stated) +
                             " points into the header");
  if (stated > r.Size()) throw PictureFormatError("BMP pixel data offset lies past the end of the file");
  return stated;
}

void CheckSignature(const ByteReader& r) {
  if (r.Size() < kFileHeaderSize || r.U8(0, "signature") != 'B' || r.U8(1, "signature") != 'M')
    throw PictureFormatError("not a BMP file (no \"BM\" signature)");
}

}  // namespace

BmpInfo ProbeBmp(std::span<const std::uint8_t> file) {
  ByteReader r(file, kFormat);
  CheckSignature(r);
  DibHeader h = ParseDibHeader(r, kFileHeaderSize, false, {});
  return {h.width, h.height, h.bitCount, h.topDown};
}

Surface DecodeBmpWithLimits(std::span<const std::uint8_t> file, const PictureLimits& limits) {
  return GuardMemory(kFormat, [&] {
    ByteReader r(file, kFormat);
    CheckSignature(r);
    DibHeader h = ParseDibHeader(r, kFileHeaderSize, false, limits);
    const std::size_t offset = PixelOffset(r, h);
    const auto pixels = file.subspan(offset);
    Surface out;
    if (h.compression == kRle8 || h.compression == kRle4) {
      DecodeRle(h, pixels, out);
    } else {
      CheckRowsPresent(h, pixels, false);
      out = Surface(h.width, h.height);
      DecodeRows(h, pixels, out);
    }
    return out;
  });
}

DibImage DecodeDib(std::span<const std::uint8_t> dib, bool iconHeight, const PictureLimits& limits) {
  return GuardMemory(kFormat, [&] {
    ByteReader r(dib, kFormat);
    DibHeader h = ParseDibHeader(r, 0, iconHeight, limits);
    if (h.compression == kRle8 || h.compression == kRle4)
      throw PictureFormatError("run-length compressed bitmap inside an icon");
    // A true-colour header may announce a palette the data does not hold.
    if (h.afterPalette > dib.size()) throw PictureFormatError("BMP file is truncated (palette)");
    CheckRowsPresent(h, dib.subspan(h.afterPalette), true);
    DibImage image;
    image.surface = Surface(h.width, h.height);
    image.bitCount = h.bitCount;
    image.topDown = h.topDown;
    image.alphaUsed = DecodeRows(h, dib.subspan(h.afterPalette), image.surface);
    image.pixelEnd = h.afterPalette + static_cast<std::size_t>(RowStride(h) * h.height);
    return image;
  });
}

Surface DecodeBmp(std::span<const std::uint8_t> file) { return DecodeBmpWithLimits(file, {}); }

}  // namespace corvane
