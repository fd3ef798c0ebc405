// Shared body of the picture decoder fuzzers: any byte string must decode or
// fail with PictureFormatError: never read outside the input, never crash,
// never hang, and never take memory its bytes cannot fill.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzFlags.h"
#include "pictures/PictureFormat.h"

namespace corvane::fuzzing {

// The program's own limits: memory is held down by what an input holds
// (each decoder checks its data against the header's claim), not by
// smaller limits that would hide a decoder allocating by the header.
inline constexpr PictureLimits kPictureLimits{};

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

// Memory limits for every run of a picture target, smoke or long, placed
// after the command line's own flags so they win. Inputs of at most 2 KB can
// legitimately fill about 68 MB (a one-bit PNG packed 1032 : 1); a decoder
// that allocates what a header claims reaches 133 MB (the pixel limit) in
// one block and trips the 100 MB allocation limit.
const corvane::fuzzing::TargetFlags corvane::fuzzing::kTargetFlags{
    {}, {"-max_len=2048", "-malloc_limit_mb=100", "-rss_limit_mb=768"}};
