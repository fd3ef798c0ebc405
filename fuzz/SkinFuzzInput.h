// Skins from fuzz input, shared by the targets that need a parsed skin: the
// first byte picks the entry point (a compressed skin stream, an uncompressed
// package, or a bare definition text served with a few fixed pictures).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzFlags.h"
#include "pictures/Bmp.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinLoad.h"

namespace fuzzskin {

// Pictures are capped far below the program's own limit: every element
// decodes its picture again and the frame composes borders from them, so a
// few forged headers of a megapixel each would make one input cost tens of
// milliseconds. Skin pictures are strips of small cells: 16 K pixels (128 x
// 128, or 256 x 64) still holds cells larger than the borders and buttons
// of the windows the frame target builds.
inline constexpr corvane::PictureLimits kSkinPictureLimits{256, 1 << 14};

// A decompressed package holds at most this much: far more than a
// definition and small pictures in the 4 KB an input may have, and enough
// for the codec to rebuild its tree (after 32 K symbols), yet a forged size
// field cannot make one input decode megabytes.
inline constexpr std::size_t kPackageLimit = std::size_t{1} << 16;

inline corvane::Surface SmallBmp(std::span<const std::uint8_t> file) {
  return corvane::DecodeBmpWithLimits(file, kSkinPictureLimits);
}

// A 4 x 2 24-bit bottom-up picture with one magenta pixel.
inline std::vector<std::uint8_t> TinyBmp() {
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

// Parses a skin from data into skin; false when the bytes were refused.
inline bool ParseFuzzSkin(const std::uint8_t* data, std::size_t size, corvane::SkinDefinition& skin) {
  if (size == 0) return false;
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0: {
      corvane::TSkinReader reader;
      if (!reader.Load(rest, kPackageLimit)) return false;
      corvane::ParseSkinPackage(reader, skin);
      return true;
    }
    case 1: {
      corvane::TSkinReader reader;
      if (!reader.LoadPackage(rest)) return false;
      corvane::ParseSkinPackage(reader, skin);
      return true;
    }
    default: {
      corvane::MemorySkinFiles files;
      static const std::vector<std::uint8_t> tiny = TinyBmp();
      for (const char* name : {"a.bmp", "b.bmp", "buttons.bmp", "combo.bmp", "top.bmp"})
        files.Add(name, tiny);
      corvane::TQuickIni ini;
      ini.LoadFromStream(rest);
      skin.ParseSkin(ini, files);
      return true;
    }
  }
}

}  // namespace fuzzskin

// A definition of a whole skin fits in 4 KB, and so does a package of it
// with small pictures.
const corvane::fuzzing::TargetFlags corvane::fuzzing::kTargetFlags{{"-max_len=4096"}, {}};
