#include "pictures/Jpeg.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <string>
#include <vector>

namespace corvane {
namespace {

// Progressive files can ask for thousands of scans over one picture; past
// this many a file is hostile, not a photograph.
constexpr int kMaxScans = 1000;

// Plain data reached from libjpeg's callbacks. libjpeg reports errors by
// longjmp, so the functions that call setjmp hold nothing with a destructor.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool truncated;
  bool outOfMemory;
};

// Huffman coding spends at least one bit on every 8 x 8 block of every
// component (its DC code), in sequential and progressive files alike. The
// rare arithmetic-coded files are held to the same rule: a real picture
// spends far more, so only near-blank ones above a megapixel are refused.
constexpr double kBlocksPerByte = 8;

struct JpegProgress {
  jpeg_progress_mgr manager;
  j_decompress_ptr owner;
};

void OnErrorExit(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->message);
  // Both mean the picture needs more memory than the library may take.
  const int code = info->err->msg_code;
  errors->outOfMemory = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE;
  std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  // Warnings are ignored but for one: the data ended before the picture did.
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
    reinterpret_cast<JpegErrors*>(info->err)->truncated = true;
}

void OnProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMaxScans);
    std::longjmp(errors->jump, 1);
  }
}

// Owns the decompressor for the whole decode.
class JpegReader {
 public:
  JpegReader() {
    m_info.err = jpeg_std_error(&m_errors.manager);
    m_errors.manager.error_exit = OnErrorExit;
    m_errors.manager.emit_message = OnMessage;
    m_errors.message[0] = 0;
    m_errors.truncated = false;
    m_errors.outOfMemory = false;
    m_progress.manager.progress_monitor = OnProgress;
  }
  ~JpegReader() {
    if (m_created) jpeg_destroy_decompress(&m_info);
  }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // The library's error as ours.
  PictureFormatError Failure() const {
    if (m_errors.outOfMemory) return TooLargeToLoad("JPEG", "out of memory");
    return PictureFormatError(std::string("JPEG file is damaged: ") + m_errors.message);
  }

  jpeg_decompress_struct m_info{};
  JpegErrors m_errors{};
  JpegProgress m_progress{};
  bool m_created = false;
};

// Creates the decompressor and reads the header. False after a library error.
bool Start(JpegReader* reader, const std::uint8_t* data, std::size_t size) {
  if (setjmp(reader->m_errors.jump)) return false;
  jpeg_create_decompress(&reader->m_info);
  reader->m_created = true;
  reader->m_info.progress = &reader->m_progress.manager;
  reader->m_info.mem->max_memory_to_use = 512L << 20;
  jpeg_mem_src(&reader->m_info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&reader->m_info, TRUE);
  const J_COLOR_SPACE in = reader->m_info.jpeg_color_space;
  // libjpeg converts CMYK only to itself; we turn it into RGB afterwards.
  reader->m_info.out_color_space = (in == JCS_CMYK || in == JCS_YCCK) ? JCS_CMYK : JCS_EXT_BGRA;
  return true;
}

// Decodes every row into `rows` (width * 4 bytes each). False after an error.
bool Decode(JpegReader* reader, std::uint8_t** rows) {
  if (setjmp(reader->m_errors.jump)) return false;
  jpeg_decompress_struct* info = &reader->m_info;
  jpeg_start_decompress(info);
  while (info->output_scanline < info->output_height)
    jpeg_read_scanlines(info, rows + info->output_scanline, info->output_height - info->output_scanline);
  jpeg_finish_decompress(info);
  return true;
}

// Throws unless the entropy-coded data after the first scan header could
// hold every block of every component.
void CheckScanDataCanFill(const jpeg_decompress_struct& info) {
  double blocks = 0;
  for (int c = 0; c < info.num_components; ++c)
    blocks +=
        static_cast<double>(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
  const std::size_t bytes = info.src->bytes_in_buffer;
  // The share of the blocks the data can hold is the share of pixels it can.
  const double pixels = static_cast<double>(info.image_width) * info.image_height;
  const double deliverable =
      pixels * kBlocksPerByte * static_cast<double>(bytes) / std::max(blocks, 1.0);
  CheckDataCanFill(info.image_width, info.image_height, deliverable, bytes, "JPEG");
}

}  // namespace

bool IsJpeg(std::span<const std::uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

Surface DecodeJpegWithLimits(std::span<const std::uint8_t> data, const PictureLimits& limits) {
  return GuardMemory("JPEG", [&] {
    if (!IsJpeg(data)) throw PictureFormatError("not a JPEG file (no start-of-image marker)");
    JpegReader reader;
    if (!Start(&reader, data.data(), data.size())) throw reader.Failure();
    CheckPictureSize(reader.m_info.image_width, reader.m_info.image_height, "JPEG", limits);
    CheckScanDataCanFill(reader.m_info);
    const int width = static_cast<int>(reader.m_info.image_width);
    const int height = static_cast<int>(reader.m_info.image_height);

    Surface out(width, height);
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(height));
    const SurfaceView view = out.View();
    for (int y = 0; y < height; ++y)
      rows[static_cast<std::size_t>(y)] = reinterpret_cast<std::uint8_t*>(view.Row(y));
    if (!Decode(&reader, rows.data())) throw reader.Failure();
    if (reader.m_errors.truncated) throw PictureFormatError("JPEG file is truncated");
    if (reader.m_info.output_width != reader.m_info.image_width ||
        reader.m_info.output_height != reader.m_info.image_height ||
        reader.m_info.output_components != 4)
      throw PictureFormatError("JPEG decoder produced an unexpected layout");

    if (reader.m_info.out_color_space == JCS_CMYK) {
      // Adobe writers store CMYK inverted; the others as is.
      const bool inverted = reader.m_info.saw_Adobe_marker;
      for (int y = 0; y < height; ++y) {
        Pixel* row = view.Row(y);
        for (int x = 0; x < width; ++x) {
          const auto* p = reinterpret_cast<const std::uint8_t*>(row + x);
          unsigned c = p[0], m = p[1], yel = p[2], k = p[3];
          if (!inverted) c = 255 - c, m = 255 - m, yel = 255 - yel, k = 255 - k;
          row[x] = 0xFF000000u | (Pixel{(c * k + 127) / 255} << 16) |
                   (Pixel{(m * k + 127) / 255} << 8) | Pixel{(yel * k + 127) / 255};
        }
      }
    }
    return out;
  });
}

Surface DecodeJpeg(std::span<const std::uint8_t> data) { return DecodeJpegWithLimits(data, {}); }

}  // namespace corvane
