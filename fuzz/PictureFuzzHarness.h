// Shared body of the picture decoder fuzzers: any byte string must decode or
// fail with PictureFormatError: never read outside the input, never crash,
// never hang, and never take memory its bytes cannot fill.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

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

// Memory limits for every run of a picture target, smoke or long, appended
// after the command line's own flags so they win. Inputs of at most 2 KB can
// legitimately fill about 68 MB (a one-bit PNG packed 1032 : 1); a decoder
// that allocates what a header claims reaches 133 MB (the pixel limit) in
// one block and trips the 100 MB allocation limit.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args;
  args.assign(*argv, *argv + *argc);
  for (const char* flag : {"-max_len=2048", "-malloc_limit_mb=100", "-rss_limit_mb=768"})
    args.push_back(const_cast<char*>(flag));
  *argc = static_cast<int>(args.size());
  args.push_back(nullptr);  // argv ends with a null pointer
  *argv = args.data();
  return 0;
}
