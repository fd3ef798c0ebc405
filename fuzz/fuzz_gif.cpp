#include "pictures/Gif.h"

#include "PictureFuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return corvane::fuzzing::FuzzPicture(data, size, [](auto bytes, const auto& limits) {
    (void)corvane::DecodeGifWithLimits(bytes, limits);
  });
}
