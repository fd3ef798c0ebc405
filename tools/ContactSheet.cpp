// corvane_contact_sheet <dir> <out.png>: every BMP of a skin folder on one
// sheet, enlarged four times, each with its name, size and cell ticks, so the
// whole skin can be reviewed at a glance. Magenta (the colour key) shows as
// a checkerboard.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Surface.h"

namespace {

using corvane::Pixel;
using corvane::Surface;

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  if (at + 4 > b.size()) throw std::runtime_error("truncated BMP");
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
unsigned Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  if (at + 2 > b.size()) throw std::runtime_error("truncated BMP");
  return b[at] | (b[at + 1] << 8);
}

// Enough of a BMP reader for skin folders: uncompressed 1/4/8/24/32-bit,
// bottom-up or top-down, every read checked against the file's length.
Surface ReadBmp(const std::filesystem::path& path, int& bits) {
  std::ifstream f(path, std::ios::binary);
  std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error("not a BMP: " + path.string());
  const std::uint32_t offset = Le32(b, 10), headerSize = Le32(b, 14);
  const int width = static_cast<std::int32_t>(Le32(b, 18));
  const int rawHeight = static_cast<std::int32_t>(Le32(b, 22));
  bits = static_cast<int>(Le16(b, 28));
  if (Le32(b, 30) != 0 && Le32(b, 30) != 3) throw std::runtime_error("compressed BMP: " + path.string());
  const bool topDown = rawHeight < 0;
  const int height = topDown ? -rawHeight : rawHeight;
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
    throw std::runtime_error("bad BMP size: " + path.string());
  std::uint32_t colours = Le32(b, 46);
  if (bits <= 8 && colours == 0) colours = 1u << bits;
  const std::size_t paletteAt = 14 + headerSize;
  const std::size_t rowBytes = ((std::size_t(width) * bits + 31) / 32) * 4;
  if (offset + rowBytes * height > b.size()) throw std::runtime_error("truncated BMP: " + path.string());
  Surface s(width, height);
  for (int y = 0; y < height; ++y) {
    const std::size_t row = offset + rowBytes * (topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      Pixel p = 0;
      if (bits == 24 || bits == 32) {
        const std::size_t at = row + std::size_t(x) * (bits / 8);
        p = 0xFF000000u | (b[at + 2] << 16) | (b[at + 1] << 8) | b[at];
      } else if (bits == 1 || bits == 4 || bits == 8) {
        const std::size_t bit = std::size_t(x) * bits;
        const unsigned index = (b[row + bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= colours) throw std::runtime_error("palette index out of range: " + path.string());
        p = 0xFF000000u | (Le32(b, paletteAt + index * 4) & 0xFFFFFF);
      } else {
        throw std::runtime_error("unsupported BMP depth: " + path.string());
      }
      s.At(x, y) = p;
    }
  }
  return s;
}

// A 5 x 7 font for the labels: lower-case letters share the capitals' shapes.
const std::map<char, const char*>& Font() {
  static const std::map<char, const char*> font = {
      {'a', ".###.#...##...#######...##...##...#"}, {'b', "####.#...######.#...##...##...#####."},
      {'c', ".###.#...##....#....#....#...#.###."}, {'d', "####.#...##...##...##...##...#####."},
      {'e', "######....####.#....#....#....#####"}, {'f', "######....####.#....#....#....#...."},
      {'g', ".###.#...##....#.####...##...#.####"}, {'h', "#...##...#######...##...##...##...#"},
      {'i', ".###...#....#....#....#....#...###."}, {'j', "..###...#....#....#....##..#.##..."},
      {'k', "#...##..#.#.#..##...#.#..#..#.#...#"}, {'l', "#....#....#....#....#....#....#####"},
      {'m', "#...###.###.#.##.#.##...##...##...#"}, {'n', "#...###..##.#.##..###...##...##...#"},
      {'o', ".###.#...##...##...##...##...#.###."}, {'p', "####.#...##...#####.#....#....#...."},
      {'q', ".###.#...##...##...##.#.##..#..##.#"}, {'r', "####.#...##...#####.#.#..#..#.#...#"},
      {'s', ".####.....#.....###.....#....#####."}, {'t', "#####..#....#....#....#....#....#.."},
      {'u', "#...##...##...##...##...##...#.###."}, {'v', "#...##...##...##...##...#.#.#...#.."},
      {'w', "#...##...##...##.#.##.#.###.###...#"}, {'x', "#...##...#.#.#...#...#.#.#...##...#"},
      {'y', "#...##...#.#.#...#....#....#....#.."}, {'z', "#####....#...#...#...#...#....#####"},
      {'0', ".###.#...##..###.#.###..##...#.###."}, {'1', "..#...##....#....#....#....#...###."},
      {'2', ".###.#...#....#...#...#...#....#####"}, {'3', "#####...#...#.....#.....##...#.###."},
      {'4', "...#...##..#.#.#..#.#####...#....#."}, {'5', "######....####.....#....##...#.###."},
      {'6', "..##..#...#....####.#...##...#.###."}, {'7', "#####....#...#...#...#....#....#..."},
      {'8', ".###.#...##...#.###.#...##...#.###."}, {'9', ".###.#...##...#.####....#...#..##.."},
      {'.', "............................##...##."}, {',', ".........................##...#..#.."},
      {'-', "...............#####..............."},
  };
  return font;
}

void DrawText(Surface& sheet, int x, int y, const std::string& text, Pixel ink) {
  for (char ch : text) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    auto it = Font().find(c);
    if (it != Font().end()) {
      const char* rows = it->second;
      const int n = static_cast<int>(std::strlen(rows));
      for (int i = 0; i < n && i < 35; ++i) {
        const int px = x + i % 5, py = y + i / 5;
        if (rows[i] == '#' && px < sheet.Width() && py < sheet.Height()) sheet.At(px, py) = ink;
      }
    }
    x += 6;
  }
}

// Cell layouts for the tick marks; pictures not listed get none.
struct Cells {
  int count;
  bool stacked;
};
const std::map<std::string, Cells> kCells = {
    {"buttons.bmp", {5, false}},        {"checkbox.bmp", {12, false}},
    {"radiobutton.bmp", {8, false}},    {"tab.bmp", {5, false}},
    {"comboboxbtn.bmp", {4, false}},    {"statusbar.bmp", {3, false}},
    {"header.bmp", {5, false}},         {"scrollbararrow.bmp", {23, false}},
    {"scrollbarhthumb.bmp", {4, false}}, {"scrollbarvthumb.bmp", {4, false}},
    {"scrollbarhbar.bmp", {4, false}},  {"scrollbarvbar.bmp", {4, false}},
    {"menuitem.bmp", {5, false}},       {"extraimages.bmp", {5, false}},
    {"trackthumbh.bmp", {5, false}},    {"trackbot.bmp", {5, false}},
    {"mdibutton.bmp", {12, false}},     {"spin.bmp", {8, false}},
    {"spinarrow.bmp", {8, false}},      {"spinh.bmp", {8, false}},
    {"spinharrow.bmp", {8, false}},     {"closebutton.bmp", {6, false}},
    {"maxbutton.bmp", {6, false}},      {"minbutton.bmp", {6, false}},
    {"restrorebutton.bmp", {6, false}}, {"frameleft.bmp", {2, false}},
    {"frameright.bmp", {2, false}},     {"frametop.bmp", {2, true}},
    {"framebottom.bmp", {2, true}},     {"mincaption.bmp", {2, true}},
};

void WritePng(const std::string& path, const Surface& s) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    throw std::runtime_error("PNG encoding failed for " + path);
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, s.Width(), s.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(s.Width()) * 3);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const Pixel p = s.At(x, y);
      row[x * 3] = (p >> 16) & 0xFF;
      row[x * 3 + 1] = (p >> 8) & 0xFF;
      row[x * 3 + 2] = p & 0xFF;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: corvane_contact_sheet <dir> <out.png>\n");
    return 2;
  }
  try {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(argv[1]))
      if (e.path().extension() == ".bmp") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) throw std::runtime_error(std::string("no BMP files in ") + argv[1]);

    constexpr int kScale = 4, kSheetWidth = 1500, kGap = 16, kLabel = 20;
    const Pixel paper = 0xFF3A3D4A, ink = 0xFFE8E8F0, tick = 0xFFFFC040;
    struct Item {
      std::string name;
      int bits;
      Surface s;
      int x, y;
    };
    std::vector<Item> items;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const auto& path : files) {
      int bits = 0;
      Surface s = ReadBmp(path, bits);
      const std::string label = path.filename().string() + "  " + std::to_string(s.Width()) + "x" +
                                std::to_string(s.Height()) + "  " + std::to_string(bits);
      const int w = std::max(s.Width() * kScale, static_cast<int>(label.size()) * 6);
      const int h = s.Height() * kScale + kLabel;
      if (x + w > kSheetWidth - kGap && x > kGap) {
        x = kGap;
        y += rowHeight + kGap;
        rowHeight = 0;
      }
      items.push_back({path.filename().string(), bits, std::move(s), x, y});
      x += w + kGap;
      rowHeight = std::max(rowHeight, h);
    }
    Surface sheet(kSheetWidth, y + rowHeight + kGap, paper);
    for (const Item& it : items) {
      DrawText(sheet, it.x, it.y, it.name + "  " + std::to_string(it.s.Width()) + "x" +
                                      std::to_string(it.s.Height()) + "  " + std::to_string(it.bits),
               ink);
      const int top = it.y + kLabel - 6;
      for (int py = 0; py < it.s.Height() * kScale; ++py)
        for (int px = 0; px < it.s.Width() * kScale; ++px) {
          Pixel p = it.s.At(px / kScale, py / kScale);
          if ((p & 0xFFFFFF) == 0xFF00FF) p = ((px / 4 + py / 4) % 2) ? 0xFF9A9AA6 : 0xFF6E6E7A;
          sheet.At(it.x + px, top + py) = p;
        }
      auto c = kCells.find(it.name);
      if (c != kCells.end() && c->second.count > 1) {
        for (int i = 1; i < c->second.count; ++i) {
          if (c->second.stacked) {
            const int py = top + it.s.Height() * kScale * i / c->second.count;
            for (int px = it.x - 5; px < it.x - 1; ++px) sheet.At(px, py) = tick;
          } else {
            const int px = it.x + it.s.Width() * kScale * i / c->second.count;
            for (int py = top - 5; py < top - 1; ++py) sheet.At(px, py) = tick;
          }
        }
      }
    }
    WritePng(argv[2], sheet);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "corvane_contact_sheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
