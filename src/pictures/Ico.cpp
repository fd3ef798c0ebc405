#include "pictures/Ico.h"

#include <algorithm>
#include <string>

#include "pictures/Bmp.h"
#include "pictures/Png.h"

namespace corvane {
namespace {

constexpr const char* kFormat = "ICO";
constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kEntrySize = 16;

// Turns the AND mask (1 = transparent) into alpha. A mask cut short leaves
// the rest opaque: losing a few rows of mask is better than losing the icon.
void ApplyMask(std::span<const std::uint8_t> dib, const DibImage& image, Surface& out) {
  const int width = out.Width();
  const int height = out.Height();
  const std::size_t stride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  const std::size_t start = image.pixelEnd;
  for (int row = 0; row < height; ++row) {
    const std::size_t at = start + stride * static_cast<std::size_t>(row);
    if (at > dib.size() || dib.size() - at < stride) break;
    const int y = image.topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      const bool transparent = (dib[at + static_cast<std::size_t>(x) / 8] >> (7 - x % 8)) & 1;
      if (transparent) out.At(x, y) &= 0x00FFFFFFu;
    }
  }
}

}  // namespace

std::vector<IcoEntry> ReadIcoDirectory(std::span<const std::uint8_t> file) {
  ByteReader r(file, kFormat);
  if (file.size() < kDirectoryHeader || r.U16(0, "header") != 0 ||
      (r.U16(2, "header") != 1 && r.U16(2, "header") != 2))
    throw PictureFormatError("not an icon file (bad header)");
  const unsigned count = r.U16(4, "header");
  if (count == 0) throw PictureFormatError("icon file holds no images");
  r.Require(kDirectoryHeader, count * kEntrySize, "image directory");
  std::vector<IcoEntry> entries;
  GuardMemory(kFormat, [&] { entries.reserve(count); });
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t at = kDirectoryHeader + i * kEntrySize;
    IcoEntry e;
    e.width = r.U8(at, "image directory");
    e.height = r.U8(at + 1, "image directory");
    if (e.width == 0) e.width = 256;
    if (e.height == 0) e.height = 256;
    e.bitCount = r.U16(at + 6, "image directory");
    e.size = r.U32(at + 8, "image directory");
    e.offset = r.U32(at + 12, "image directory");
    entries.push_back(e);
  }
  return entries;
}

std::size_t ChooseIcoEntry(const std::vector<IcoEntry>& entries, int size) {
  std::size_t best = 0;
  auto better = [size](const IcoEntry& a, const IcoEntry& b) {
    // Is a a better fit than b?
    const int sa = std::max(a.width, a.height);
    const int sb = std::max(b.width, b.height);
    if (sa != sb) {
      if (size <= 0) return sa > sb;
      const bool aFits = sa >= size;
      const bool bFits = sb >= size;
      if (aFits != bFits) return aFits;
      return aFits ? sa < sb : sa > sb;
    }
    return a.bitCount > b.bitCount;
  };
  for (std::size_t i = 1; i < entries.size(); ++i)
    if (better(entries[i], entries[best])) best = i;
  return best;
}

Surface DecodeIcoEntry(std::span<const std::uint8_t> file, const IcoEntry& entry,
                       const PictureLimits& limits) {
  if (entry.offset > file.size() || entry.size > file.size() - entry.offset || entry.size == 0)
    throw PictureFormatError("icon image lies outside the file (offset " +
                             std::to_string(entry.offset) + ", size " + std::to_string(entry.size) + ")");
  const auto image = file.subspan(entry.offset, entry.size);
  if (IsPng(image)) return DecodePngWithLimits(image, limits);
  DibImage dib = DecodeDib(image, true, limits);
  if (!dib.alphaUsed) ApplyMask(image, dib, dib.surface);
  return std::move(dib.surface);
}

Surface DecodeIco(std::span<const std::uint8_t> file, int size, const PictureLimits& limits) {
  const std::vector<IcoEntry> entries = ReadIcoDirectory(file);
  return DecodeIcoEntry(file, entries[ChooseIcoEntry(entries, size)], limits);
}

}  // namespace corvane
