// What every portable picture decoder shares: the error type, the size limit
// and bounds-checked little-endian reads. Pure C++; never includes platform
// headers, so the decoders build natively, sanitized and for libFuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <stdexcept>
#include <string>

namespace corvane {

// Raised for any input a decoder cannot turn into a picture; the message says
// what was wrong in words a user can act on.
class PictureFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Largest width or height any decoder accepts. A header may claim anything;
// refusing absurd sizes before allocating keeps a 40-byte file from asking
// for gigabytes.
inline constexpr int kMaxPictureDimension = 16384;

// Most pixels in all: an 8K screen (7680 x 4320), about 130 MB as 32-bit
// pixels. A launcher picture bigger than any screen it could sit on is a
// mistake, and one side at the limit must not make the other free.
inline constexpr long long kMaxPicturePixels = 7680LL * 4320;

// Pictures up to this many pixels (4 MB of canvas) are decoded whatever
// their data holds, so small files that legitimately rely on skipped areas
// (run-length deltas) still load; above it the data must be able to fill
// the canvas before the canvas is allocated.
inline constexpr long long kPixelsFreeOfDataCheck = 1LL << 20;

// Bounds a decoder checks before allocating. The defaults suit the program;
// the skin's fuzzers tighten them to keep their runs fast.
struct PictureLimits {
  int maxDimension = kMaxPictureDimension;
  long long maxPixels = kMaxPicturePixels;
};

// The error for a picture the program will not hold in memory; every path
// (limits and failed allocations alike) says "too large to load".
inline PictureFormatError TooLargeToLoad(const char* format, const std::string& why) {
  return PictureFormatError(std::string(format) + " picture is too large to load (" + why + ")");
}

// Throws unless 1 <= width, height <= the limits' dimension and the pixel count fits.
inline void CheckPictureSize(long long width, long long height, const char* format,
                             const PictureLimits& limits = {}) {
  if (width <= 0 || height <= 0)
    throw PictureFormatError(std::string(format) + " picture has no pixels (" +
                             std::to_string(width) + " x " + std::to_string(height) + ")");
  if (width > limits.maxDimension || height > limits.maxDimension || width * height > limits.maxPixels)
    throw TooLargeToLoad(
        format, std::to_string(width) + " x " + std::to_string(height) + " pixels; at most " +
                    std::to_string(limits.maxDimension) + " each way and " +
                    std::to_string(limits.maxPixels) + " in all" +
                    (limits.maxPixels == kMaxPicturePixels ? ", an 8K screen's worth" : ""));
}

// Throws unless `dataBytes` of compressed data, which can expand to at most
// `deliverable` pixels, could fill a width x height canvas. Checked before
// the canvas is allocated, so memory follows what the file holds, never
// what its header claims.
inline void CheckDataCanFill(long long width, long long height, double deliverable,
                             std::size_t dataBytes, const char* format) {
  const long long pixels = width * height;
  if (pixels <= kPixelsFreeOfDataCheck || static_cast<double>(pixels) <= deliverable) return;
  throw PictureFormatError(std::string(format) + " file is truncated or damaged (its " +
                           std::to_string(dataBytes) + " bytes of image data cannot hold " +
                           std::to_string(width) + " x " + std::to_string(height) + " pixels)");
}

// Runs one decode; running out of memory anywhere in it becomes the
// decoders' own error instead of a bare std::bad_alloc.
template <typename Decode>
auto GuardMemory(const char* format, Decode&& decode) -> decltype(decode()) {
  try {
    return decode();
  } catch (const std::bad_alloc&) {
    throw TooLargeToLoad(format, "out of memory");
  }
}

// Reads little-endian fields from a byte span; any read past the end throws
// instead of touching memory outside the span.
class ByteReader {
 public:
  ByteReader(std::span<const std::uint8_t> data, const char* format)
      : m_data(data), m_format(format) {}

  std::size_t Size() const { return m_data.size(); }
  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= m_data.size() && count <= m_data.size() - offset;
  }
  void Require(std::size_t offset, std::size_t count, const char* what) const {
    if (!Has(offset, count))
      throw PictureFormatError(std::string(m_format) + " file is truncated (" + what + ")");
  }
  std::uint8_t U8(std::size_t offset, const char* what) const {
    Require(offset, 1, what);
    return m_data[offset];
  }
  std::uint16_t U16(std::size_t offset, const char* what) const {
    Require(offset, 2, what);
    return static_cast<std::uint16_t>(m_data[offset] | (m_data[offset + 1] << 8));
  }
  std::uint32_t U32(std::size_t offset, const char* what) const {
    Require(offset, 4, what);
    return static_cast<std::uint32_t>(m_data[offset]) |
           (static_cast<std::uint32_t>(m_data[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(m_data[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(m_data[offset + 3]) << 24);
  }
  std::int32_t I32(std::size_t offset, const char* what) const {
    return static_cast<std::int32_t>(U32(offset, what));
  }
  std::span<const std::uint8_t> Bytes(std::size_t offset, std::size_t count, const char* what) const {
    Require(offset, count, what);
    return m_data.subspan(offset, count);
  }

 private:
  std::span<const std::uint8_t> m_data;
  const char* m_format;
};

}  // namespace corvane
