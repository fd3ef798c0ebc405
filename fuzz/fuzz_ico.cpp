#include "pictures/Ico.h"

#include "PictureFuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return corvane::fuzzing::FuzzPicture(data, size, [](auto bytes, const auto& limits) {
    const auto entries = corvane::ReadIcoDirectory(bytes);
    (void)corvane::ChooseIcoEntry(entries, 32);
    // Every image, not only the chosen one: each is a separate decode path.
    for (std::size_t i = 0; i < entries.size() && i < 8; ++i) {
      try {
        (void)corvane::DecodeIcoEntry(bytes, entries[i], limits);
      } catch (const corvane::PictureFormatError&) {
      }
    }
  });
}
