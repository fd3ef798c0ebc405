// Small skins made in memory for the parse tests: BMP files written from
// surfaces and a definition text, served through the file-source interface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Surface.h"
#include "skin/data/SkinDefinition.h"

namespace corvane::skintest {

// A 24-bit bottom-up BMP file of the surface (alpha dropped).
inline std::vector<std::uint8_t> Bmp24(const Surface& s) {
  const int rowBytes = (s.Width() * 3 + 3) & ~3;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * s.Height());
  std::vector<std::uint8_t> b;
  auto put16 = [&](unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  b.push_back('B');
  b.push_back('M');
  put32(54 + pixelBytes);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<std::uint32_t>(s.Width()));
  put32(static_cast<std::uint32_t>(s.Height()));
  put16(1);
  put16(24);
  put32(0);
  put32(pixelBytes);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int y = s.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < s.Width(); ++x) {
      const Pixel p = s.At(x, y);
      b.push_back(static_cast<std::uint8_t>(p));
      b.push_back(static_cast<std::uint8_t>(p >> 8));
      b.push_back(static_cast<std::uint8_t>(p >> 16));
    }
    for (int pad = s.Width() * 3; pad < rowBytes; ++pad) b.push_back(0);
  }
  return b;
}

// A picture whose pixels tell where they are: blue = x, green = y, red = tag.
inline Surface Tagged(int w, int h, int tag) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.At(x, y) = 0xFF000000u | static_cast<Pixel>(tag & 0xFF) << 16 |
                   static_cast<Pixel>(y & 0xFF) << 8 | static_cast<Pixel>(x & 0xFF);
  return s;
}

// Parses text (lines separated by \n, written with CR LF as skins are) with
// files.
inline void Parse(SkinDefinition& skin, std::string_view text, const MemorySkinFiles& files) {
  std::string crlf;
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  TQuickIni ini;
  ini.LoadFromText(crlf);
  skin.ParseSkin(ini, files);
}

}  // namespace corvane::skintest
