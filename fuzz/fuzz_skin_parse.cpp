// A skin from any bytes must parse into elements or be refused, never read
// out of bounds. The first byte picks the entry point: a compressed skin
// stream, an uncompressed package, or a bare definition text served with a
// few fixed pictures (so the parse itself is reached without the codec).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "SkinFuzzInput.h"

namespace {

void CheckInvariants(const corvane::SkinDefinition& skin) {
  if (skin.SkinEmpty) std::abort();
  if (skin.SkinButtonCount() < 0) std::abort();
  for (const auto& b : skin.CaptionButtons)
    if (!b || b->Frame <= 0) std::abort();
  if (!skin.Toolbar || skin.Toolbar->Bitmap.Width() != 10 || skin.Toolbar->Bitmap.Height() != 40)
    std::abort();
  if (!skin.Track || !skin.TrackVert || !skin.ComboxArrow) std::abort();
  if (skin.Buttons.CheckFrame == 0 || skin.Buttons.RadioFrame == 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  corvane::SkinDefinition skin(corvane::DefaultSystemColours(), &fuzzskin::SmallBmp);
  if (!fuzzskin::ParseFuzzSkin(data, size, skin)) return 0;
  CheckInvariants(skin);
  return 0;
}
