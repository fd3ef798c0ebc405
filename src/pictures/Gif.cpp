#include "pictures/Gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace corvane {
namespace {

struct GifSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

int ReadFromSpan(GifFileType* gif, GifByteType* out, int count) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  if (count <= 0) return 0;
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count),
                                              source->size - source->position);
  std::memcpy(out, source->data + source->position, n);
  source->position += n;
  return static_cast<int>(n);
}

// Closes giflib's file object on every path.
class GifReader {
 public:
  explicit GifReader(GifSource* source) {
    int error = 0;
    m_gif = DGifOpen(source, ReadFromSpan, &error);
    if (!m_gif) Fail(error);
  }
  ~GifReader() {
    int error = 0;
    if (m_gif) DGifCloseFile(m_gif, &error);
  }
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;
  GifFileType* operator->() const { return m_gif; }
  GifFileType* Get() const { return m_gif; }
  [[noreturn]] void Fail(int error) const {
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM) throw TooLargeToLoad("GIF", "out of memory");
    const char* reason = GifErrorString(error);
    throw PictureFormatError(std::string("GIF file is damaged: ") +
                             (reason ? reason : "unknown error"));
  }
  void Check(int result) const {
    if (result == GIF_ERROR) Fail(m_gif->Error);
  }

 private:
  GifFileType* m_gif = nullptr;
};

// An LZW code names a string no longer than the code table (4096 entries),
// and a table that large needs 12-bit codes: at most 4096 pixels per 12 bits.
constexpr double kLzwPixelsPerByte = 4096.0 * 8 / 12;

// Bytes of LZW data in the sub-blocks that start at `at`, up to the empty
// block that ends them or the end of the file.
std::size_t ImageDataBytes(std::span<const std::uint8_t> data, std::size_t at) {
  std::size_t total = 0;
  while (at < data.size() && data[at] != 0) {
    total += data[at];
    at += std::size_t{data[at]} + 1;
  }
  return total;
}

Pixel MapColour(const ColorMapObject* map, int index) {
  if (index < 0 || index >= map->ColorCount) return 0xFF000000u;  // as systems show stray indexes
  const GifColorType& c = map->Colors[index];
  return 0xFF000000u | (Pixel{c.Red} << 16) | (Pixel{c.Green} << 8) | c.Blue;
}

}  // namespace

bool IsGif(std::span<const std::uint8_t> data) {
  return data.size() >= 6 && (std::memcmp(data.data(), "GIF87a", 6) == 0 ||
                              std::memcmp(data.data(), "GIF89a", 6) == 0);
}

GifImage DecodeGifWithLimits(std::span<const std::uint8_t> data, const PictureLimits& limits) {
  return GuardMemory("GIF", [&] {
    if (!IsGif(data)) throw PictureFormatError("not a GIF file (no GIF signature)");
    GifSource source{data.data(), data.size(), 0};
    GifReader gif(&source);
    int transparent = -1;

    for (;;) {
      GifRecordType record = UNDEFINED_RECORD_TYPE;
      gif.Check(DGifGetRecordType(gif.Get(), &record));
      if (record == TERMINATE_RECORD_TYPE) throw PictureFormatError("GIF file holds no picture");
      if (record == EXTENSION_RECORD_TYPE) {
        int code = 0;
        GifByteType* block = nullptr;
        gif.Check(DGifGetExtension(gif.Get(), &code, &block));
        if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
          GraphicsControlBlock control;
          if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparent = control.TransparentColor;
        }
        while (block) gif.Check(DGifGetExtensionNext(gif.Get(), &block));
        continue;
      }
      if (record != IMAGE_DESC_RECORD_TYPE) continue;

      gif.Check(DGifGetImageDesc(gif.Get()));
      const GifImageDesc& frame = gif->Image;
      const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
      if (!map) throw PictureFormatError("GIF file has no colour table");
      CheckPictureSize(frame.Width, frame.Height, "GIF", limits);
      // The logical screen gives the picture's size; a broken one that does
      // not hold the first frame is widened to hold it.
      const long long screenWidth =
          std::max<long long>(gif->SWidth, static_cast<long long>(frame.Left) + frame.Width);
      const long long screenHeight =
          std::max<long long>(gif->SHeight, static_cast<long long>(frame.Top) + frame.Height);
      CheckPictureSize(screenWidth, screenHeight, "GIF", limits);
      // giflib has read the descriptor and the LZW code size; the data's
      // sub-blocks follow, and they must be able to fill the screen.
      const std::size_t lzwBytes = ImageDataBytes(data, source.position);
      CheckDataCanFill(screenWidth, screenHeight, kLzwPixelsPerByte * static_cast<double>(lzwBytes),
                       lzwBytes, "GIF");

      GifImage image;
      image.transparentIndex = transparent >= 0 && transparent < map->ColorCount ? transparent : -1;
      if (image.transparentIndex >= 0)
        image.transparentColour = ColourFromPixel(MapColour(map, image.transparentIndex));
      const Pixel background =
          image.transparentIndex >= 0
              ? PixelFromColour(image.transparentColour, 0)
              : (gif->SColorMap ? MapColour(gif->SColorMap, gif->SBackGroundColor) : 0xFF000000u);
      image.surface =
          Surface(static_cast<int>(screenWidth), static_cast<int>(screenHeight), background);

      std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
      std::vector<int> order;
      order.reserve(static_cast<std::size_t>(frame.Height));
      if (frame.Interlace) {
        // Four passes: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
        const int starts[4] = {0, 4, 2, 1};
        const int steps[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
          for (int y = starts[pass]; y < frame.Height; y += steps[pass]) order.push_back(y);
      } else {
        for (int y = 0; y < frame.Height; ++y) order.push_back(y);
      }
      const SurfaceView view = image.surface.View();
      for (int y : order) {
        gif.Check(DGifGetLine(gif.Get(), line.data(), frame.Width));
        Pixel* row = view.Row(frame.Top + y) + frame.Left;
        for (int x = 0; x < frame.Width; ++x) {
          const int index = line[static_cast<std::size_t>(x)];
          row[x] = index == image.transparentIndex ? PixelFromColour(image.transparentColour, 0)
                                                   : MapColour(map, index);
        }
      }
      return image;
    }
  });
}

GifImage DecodeGif(std::span<const std::uint8_t> data) { return DecodeGifWithLimits(data, {}); }

}  // namespace corvane
