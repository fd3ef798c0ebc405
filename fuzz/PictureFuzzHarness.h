// Shared body of the picture decoder fuzzers: any byte string must decode or
// fail with PictureFormatError: never read outside the input, never crash,
// never hang.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "pictures/PictureFormat.h"

namespace corvane::fuzzing {

// Small enough that no single input can exhaust the fuzzer's memory.
inline constexpr PictureLimits kPictureLimits{4096, 1 << 22};

// Runs one decode over the input; a format error is the expected answer to
// junk, anything else (a crash, a sanitizer report) is the finding.
template <typename Decode>
int FuzzPicture(const std::uint8_t* data, std::size_t size, Decode decode) {
  const std::span<const std::uint8_t> bytes(data, size);
  try {
    decode(bytes, kPictureLimits);
  } catch (const PictureFormatError&) {
  }
  return 0;
}

}  // namespace corvane::fuzzing
