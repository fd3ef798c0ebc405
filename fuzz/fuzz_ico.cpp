// Any byte string must decode or fail with PictureFormatError: never read
// outside the input, never crash, never hang.
#include <cstddef>
#include <cstdint>
#include <span>

#include "pictures/Ico.h"

namespace {
// Small enough that no single input can exhaust the fuzzer's memory.
constexpr corvane::PictureLimits kLimits{4096, 1 << 22};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  try {
    const auto entries = corvane::ReadIcoDirectory(bytes);
    (void)corvane::ChooseIcoEntry(entries, 32);
    // Every image, not only the chosen one: each is a separate decode path.
    for (std::size_t i = 0; i < entries.size() && i < 8; ++i) {
      try {
        (void)corvane::DecodeIcoEntry(bytes, entries[i], kLimits);
      } catch (const corvane::PictureFormatError&) {
      }
    }
  } catch (const corvane::PictureFormatError&) {
  }
  return 0;
}
