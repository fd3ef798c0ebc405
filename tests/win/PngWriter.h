// Writes true-colour PNG files with alpha for the picture tests, without a
// compressor: the image data goes into stored (uncompressed) deflate blocks.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace corvane::test {

inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// pixel(x, y) gives 0xAARRGGBB.
inline bool WritePng(const std::string& path, int width, int height,
                     const std::function<std::uint32_t(int, int)>& pixel) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      std::uint32_t p = pixel(x, y);
      raw.insert(raw.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p), std::uint8_t(p >> 24)});
    }
  }
  std::vector<std::uint8_t> z{0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  std::size_t at = 0;
  do {
    std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.insert(z.end(), {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(~n), std::uint8_t(~n >> 8)});
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    at += n;
  } while (at < raw.size());
  std::uint32_t adler = (b << 16) | a;
  z.insert(z.end(), {std::uint8_t(adler >> 24), std::uint8_t(adler >> 16), std::uint8_t(adler >> 8), std::uint8_t(adler)});

  std::vector<std::uint8_t> file{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  auto chunk = [&file](const char* type, const std::vector<std::uint8_t>& data) {
    std::uint32_t n = static_cast<std::uint32_t>(data.size());
    file.insert(file.end(), {std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)});
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    file.insert(file.end(), body.begin(), body.end());
    std::uint32_t crc = Crc32(body.data(), body.size());
    file.insert(file.end(), {std::uint8_t(crc >> 24), std::uint8_t(crc >> 16), std::uint8_t(crc >> 8), std::uint8_t(crc)});
  };
  auto be32 = [](std::uint32_t v) {
    return std::vector<std::uint8_t>{std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
  };
  std::vector<std::uint8_t> header = be32(static_cast<std::uint32_t>(width));
  auto h = be32(static_cast<std::uint32_t>(height));
  header.insert(header.end(), h.begin(), h.end());
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA
  chunk("IHDR", header);
  chunk("IDAT", z);
  chunk("IEND", {});
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace corvane::test
