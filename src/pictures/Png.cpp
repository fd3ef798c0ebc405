#include "pictures/Png.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace corvane {
namespace {

// Everything libpng's callbacks touch. Plain data only: libpng reports
// errors by longjmp, which must never jump over a C++ destructor, so the
// functions that call setjmp below hold nothing but such plain data.
struct PngSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
  char message[200];
  bool outOfMemory;
};

// Deflate turns one byte into at most 1032 (a 258-byte match per two
// one-bit codes); a little more covers a stream's first literal and headers.
constexpr double kInflatePerByte = 1032;
constexpr double kInflateSlack = 258;

void ReadFromSpan(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->size - source->position) png_error(png, "file is truncated");
  std::memcpy(out, source->data + source->position, count);
  source->position += count;
}

void OnError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->message, sizeof source->message, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}  // damage worth a warning is not worth a failure

// libpng's allocations, so that running out of memory is told apart from damage.
png_voidp Allocate(png_structp png, png_alloc_size_t size) {
  void* p = std::malloc(size);
  if (!p) static_cast<PngSource*>(png_get_mem_ptr(png))->outOfMemory = true;
  return p;
}
void Release(png_structp, png_voidp p) {
  std::free(p);
}

// Owns libpng's two structures for the whole decode.
class PngReader {
 public:
  PngReader(PngSource* source, const PictureLimits& limits) {
    m_png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, source, OnError, OnWarning, source,
                                     Allocate, Release);
    if (!m_png) throw TooLargeToLoad("PNG", "out of memory");
    m_info = png_create_info_struct(m_png);
    if (!m_info) {
      png_destroy_read_struct(&m_png, nullptr, nullptr);
      throw TooLargeToLoad("PNG", "out of memory");
    }
    png_set_read_fn(m_png, source, ReadFromSpan);
    png_set_user_limits(m_png, static_cast<png_uint_32>(limits.maxDimension),
                        static_cast<png_uint_32>(limits.maxDimension));
    // Text and other ancillary chunks can be inflated without bound; cap them.
    png_set_chunk_malloc_max(m_png, 8u << 20);
  }
  ~PngReader() { png_destroy_read_struct(&m_png, &m_info, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  png_structp Png() const { return m_png; }
  png_infop Info() const { return m_info; }

 private:
  png_structp m_png = nullptr;
  png_infop m_info = nullptr;
};

// Reads the header and sets up conversion to BGRA. Returns false after a
// libpng error (its text is in the source's message).
bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height,
                int* fileBitsPerPixel, std::size_t* rowBytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  *fileBitsPerPixel = png_get_bit_depth(png, info) * png_get_channels(png, info);
  const int colourType = png_get_color_type(png, info);
  png_set_expand(png);  // palette to RGB, small greys to 8 bits, tRNS to alpha
  png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // opaque where the file has no alpha
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *rowBytes = png_get_rowbytes(png, info);
  return true;
}

bool ReadPixels(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  (void)info;
  return true;
}

// Walks the chunk list before libpng sees it. libpng sizes some buffers from
// a chunk's stated length before reading it, so a 100-byte file claiming a
// gigabyte chunk would cost seconds of allocation; every chunk must lie
// inside the data and the list must end with IEND. Returns the bytes of
// compressed image data (all IDAT chunks).
std::size_t CheckChunkLayout(std::span<const std::uint8_t> data) {
  std::size_t imageData = 0;
  std::size_t at = 8;
  for (;;) {
    if (data.size() - at < 12) throw PictureFormatError("PNG file is truncated (no end chunk)");
    const std::uint32_t length = (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
                                 (std::uint32_t{data[at + 2]} << 8) | data[at + 3];
    if (length > data.size() - at - 12)
      throw PictureFormatError("PNG file is truncated (a chunk of " + std::to_string(length) +
                               " bytes runs past the end)");
    const bool end = std::memcmp(data.data() + at + 4, "IEND", 4) == 0;
    if (std::memcmp(data.data() + at + 4, "IDAT", 4) == 0) imageData += length;
    at += 12 + length;
    if (end) return imageData;
  }
}

}  // namespace

bool IsPng(std::span<const std::uint8_t> data) {
  return data.size() >= 8 && png_sig_cmp(data.data(), 0, 8) == 0;
}

Surface DecodePngWithLimits(std::span<const std::uint8_t> data, const PictureLimits& limits) {
  return GuardMemory("PNG", [&] {
    if (!IsPng(data)) throw PictureFormatError("not a PNG file (no PNG signature)");
    const std::size_t imageData = CheckChunkLayout(data);
    PngSource source{data.data(), data.size(), 0, {}, false};
    PngReader reader(&source, limits);
    auto failure = [&source] {
      return source.outOfMemory
                 ? TooLargeToLoad("PNG", "out of memory")
                 : PictureFormatError(std::string("PNG file is damaged: ") + source.message);
    };
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitsPerPixel = 0;
    std::size_t rowBytes = 0;
    if (!ReadHeader(reader.Png(), reader.Info(), &width, &height, &bitsPerPixel, &rowBytes))
      throw failure();
    CheckPictureSize(width, height, "PNG", limits);
    // Every pixel costs the inflated data at least its bits (filter bytes and
    // interlace passes only add to that).
    const double inflated = kInflatePerByte * static_cast<double>(imageData) + kInflateSlack;
    CheckDataCanFill(width, height, inflated * 8 / std::max(bitsPerPixel, 1), imageData, "PNG");
    if (rowBytes != static_cast<std::size_t>(width) * 4)
      throw PictureFormatError("PNG decoder produced an unexpected row layout");

    Surface out(static_cast<int>(width), static_cast<int>(height));
    std::vector<png_bytep> rows(height);
    const SurfaceView view = out.View();
    for (png_uint_32 y = 0; y < height; ++y)
      rows[y] = reinterpret_cast<png_bytep>(view.Row(static_cast<int>(y)));
    if (!ReadPixels(reader.Png(), reader.Info(), rows.data())) throw failure();
    return out;
  });
}

Surface DecodePng(std::span<const std::uint8_t> data) { return DecodePngWithLimits(data, {}); }

}  // namespace corvane
