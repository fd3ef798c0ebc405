#include "IcoWriter.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>

#include "LittleEndian.h"

namespace corvane::tools {
namespace {

// One image as the icon format stores it: a BITMAPINFOHEADER of double
// height, bottom-up colour rows, then the 1-bit AND mask padded to 4 bytes.
std::vector<std::uint8_t> EncodeImage(const Surface& s) {
  std::vector<std::uint8_t> out;
  const int w = s.Width(), h = s.Height();
  Put32(out, 40);
  Put32(out, w);
  Put32(out, h * 2);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  const int maskStride = ((w + 31) / 32) * 4;
  Put32(out, w * h * 4 + maskStride * h);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(out, s.At(x, y));
  for (int y = h - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskStride, 0);
    for (int x = 0; x < w; ++x)
      if ((s.At(x, y) >> 24) == 0) row[x / 8] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

void WriteIcoFile(const std::string& path, const std::vector<Surface>& images) {
  std::vector<std::uint8_t> header, body;
  Put16(header, 0);
  Put16(header, 1);
  Put16(header, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (const Surface& s : images) {
    std::vector<std::uint8_t> data = EncodeImage(s);
    header.push_back(static_cast<std::uint8_t>(s.Width() >= 256 ? 0 : s.Width()));
    header.push_back(static_cast<std::uint8_t>(s.Height() >= 256 ? 0 : s.Height()));
    header.push_back(0);
    header.push_back(0);
    Put16(header, 1);
    Put16(header, 32);
    Put32(header, static_cast<std::uint32_t>(data.size()));
    Put32(header, offset);
    offset += static_cast<std::uint32_t>(data.size());
    body.insert(body.end(), data.begin(), data.end());
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(header.data()), header.size());
  file.write(reinterpret_cast<const char*>(body.data()), body.size());
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace corvane::tools
