// A skin from any bytes must parse into elements or be refused, never read
// out of bounds. The first byte picks the entry point: a compressed skin
// stream, an uncompressed package, or a bare definition text served with a
// few fixed pictures (so the parse itself is reached without the codec).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "pictures/Bmp.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinLoad.h"

namespace {

// One input must not take gigabytes: pictures are capped well below the
// program's own limit.
corvane::Surface SmallBmp(std::span<const std::uint8_t> file) {
  return corvane::DecodeBmpWithLimits(file, corvane::PictureLimits{512, 1 << 18});
}

// A 4 x 2 24-bit bottom-up picture with one magenta pixel.
std::vector<std::uint8_t> TinyBmp() {
  std::vector<std::uint8_t> b;
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  b.push_back('B');
  b.push_back('M');
  put(54 + 24, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(4, 4);
  put(2, 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(24, 4);
  for (int i = 0; i < 4; ++i) put(0, 4);
  put(0xFF00FF, 3);
  for (int i = 1; i < 8; ++i) put(0x102030u * static_cast<std::uint32_t>(i), 3);
  return b;
}

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
  if (size == 0) return 0;
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  corvane::SkinDefinition skin(corvane::DefaultSystemColours(), &SmallBmp);
  switch (data[0] % 3) {
    case 0: {
      corvane::TSkinReader reader;
      if (!reader.Load(rest)) return 0;
      corvane::ParseSkinPackage(reader, skin);
      break;
    }
    case 1: {
      corvane::TSkinReader reader;
      if (!reader.LoadPackage(rest)) return 0;
      corvane::ParseSkinPackage(reader, skin);
      break;
    }
    default: {
      corvane::MemorySkinFiles files;
      static const std::vector<std::uint8_t> tiny = TinyBmp();
      for (const char* name : {"a.bmp", "b.bmp", "buttons.bmp", "combo.bmp", "top.bmp"})
        files.Add(name, tiny);
      corvane::TQuickIni ini;
      ini.LoadFromStream(rest);
      skin.ParseSkin(ini, files);
      break;
    }
  }
  CheckInvariants(skin);
  return 0;
}
