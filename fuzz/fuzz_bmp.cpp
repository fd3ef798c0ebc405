// Any byte string must decode or fail with PictureFormatError: never read
// outside the input, never crash, never hang.
#include <cstddef>
#include <cstdint>
#include <span>

#include "pictures/Bmp.h"

namespace {
// Small enough that no single input can exhaust the fuzzer's memory.
constexpr corvane::PictureLimits kLimits{4096, 1 << 22};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  try {
    (void)corvane::DecodeBmpWithLimits(bytes, kLimits);
  } catch (const corvane::PictureFormatError&) {
  }
  return 0;
}
