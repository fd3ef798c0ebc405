// Skin stream coding: a 4 KB sliding dictionary whose literals and match
// lengths share one adaptive Huffman tree, match positions a fixed prefix
// code. Portable; never includes <windows.h>. The program only decodes; the
// encoder exists for the skin tools and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane {

// Raised when the decoder cannot get its tables or an announced size is
// beyond what the caller allows.
class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kLzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";

// Largest output a decode produces unless the caller sets another limit: far
// above any real skin, low enough that a forged size cannot exhaust memory.
inline constexpr std::size_t kLzhDefaultOutputLimit = std::size_t{64} << 20;

// One decoder; reusable, holds nothing between decodes but the count of
// input bytes the last decode consumed.
class TLZH {
 public:
  // Produces exactly announcedSize bytes from the bit stream (the coded data
  // after the 4-byte size field). Input beyond the span reads as zero bits, as
  // a truncated stream must still yield the announced size. Throws
  // ElzhException when announcedSize exceeds OutputLimit().
  std::vector<std::uint8_t> Decode(std::span<const std::uint8_t> bitStream, std::size_t announcedSize);

  // Bytes of bitStream the last Decode consumed, counted as a reader that
  // keeps at least 9 bits buffered would fetch them (never more than the span).
  std::size_t BytesRead() const { return m_bytesRead; }

  std::size_t OutputLimit() const { return m_outputLimit; }
  void SetOutputLimit(std::size_t limit) { m_outputLimit = limit; }

 private:
  std::size_t m_bytesRead = 0;
  std::size_t m_outputLimit = kLzhDefaultOutputLimit;
};

// Decodes announcedSize bytes from a bit stream without the size field.
std::vector<std::uint8_t> LzhDecode(std::span<const std::uint8_t> bitStream, std::size_t announcedSize,
                                    std::size_t outputLimit = kLzhDefaultOutputLimit);

// Codes data as a bit stream (no size field) that LzhDecode turns back into
// exactly data given data.size().
std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data);

// A skin stream is the 32-bit little-endian decompressed size followed by the
// bit stream. Sizes with the top bit set announce nothing (the size is read
// as a signed count), so such a stream decodes to no bytes. A stream shorter
// than 4 bytes has its missing size bytes read as zero.
std::vector<std::uint8_t> DecodeSkinStream(std::span<const std::uint8_t> skinStream,
                                           std::size_t outputLimit = kLzhDefaultOutputLimit);
// Size field plus LzhEncode(package). Packages of 2 GB or more cannot be
// announced and are refused with std::length_error.
std::vector<std::uint8_t> EncodeSkinStream(std::span<const std::uint8_t> package);

// The fixed position prefix tables, indexed by the first 8 bits of a coded
// position: the upper 6 bits of the position, and the code length in bits.
const std::uint8_t* LzhPositionUpperTable();
const std::uint8_t* LzhPositionLengthTable();

}  // namespace corvane
