// What every portable picture decoder shares: the error type, the size limit
// and bounds-checked little-endian reads. Pure C++; never includes platform
// headers, so the decoders build natively, sanitized and for libFuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Bounds a decoder checks before allocating. The defaults suit the program;
// fuzzers tighten them so that one input cannot take a gigabyte.
struct PictureLimits {
  int maxDimension = kMaxPictureDimension;
  long long maxPixels = static_cast<long long>(kMaxPictureDimension) * kMaxPictureDimension;
};

// Throws unless 1 <= width, height <= the limits' dimension and the pixel count fits.
inline void CheckPictureSize(long long width, long long height, const char* format,
                             const PictureLimits& limits = {}) {
  if (width <= 0 || height <= 0)
    throw PictureFormatError(std::string(format) + " picture has no pixels (" +
                             std::to_string(width) + " x " + std::to_string(height) + ")");
  if (width > limits.maxDimension || height > limits.maxDimension || width * height > limits.maxPixels)
    throw PictureFormatError(std::string(format) + " picture is too large (" +
                             std::to_string(width) + " x " + std::to_string(height) +
                             "; at most " + std::to_string(limits.maxDimension) + " each way)");
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
