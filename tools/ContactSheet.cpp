// corvane_contact_sheet <dir> <out.png> [dpi]: every BMP of a skin folder
// (the stored skin, or one of its sets drawn at a DPI) on one sheet,
// enlarged four times, each with its name, size and cell ticks, and a
// mock-up laid out at that DPI, so the whole skin can be reviewed at a
// glance at each scale. Magenta (the colour key) shows as
// a checkerboard.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/DpiScale.h"
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
      {'a', ".###.#...##...#######...##...##...#"}, {'b', "####.#...##...#####.#...##...#####."},
      {'c', ".###.#...##....#....#....#...#.###."}, {'d', "####.#...##...##...##...##...#####."},
      {'e', "######....####.#....#....#....#####"}, {'f', "######....####.#....#....#....#...."},
      {'g', ".###.#...##....#.####...##...#.####"}, {'h', "#...##...#######...##...##...##...#"},
      {'i', ".###...#....#....#....#....#...###."}, {'j', "..###...#....#....#....#.#..#..##.."},
      {'k', "#...##..#.#.#..##...#.#..#..#.#...#"}, {'l', "#....#....#....#....#....#....#####"},
      {'m', "#...###.###.#.##.#.##...##...##...#"}, {'n', "#...###..##.#.##..###...##...##...#"},
      {'o', ".###.#...##...##...##...##...#.###."}, {'p', "####.#...##...#####.#....#....#...."},
      {'q', ".###.#...##...##...##.#.##..#..##.#"}, {'r', "####.#...##...#####.#.#..#..#.#...#"},
      {'s', ".####.....#.....###.....#....#####."}, {'t', "#####..#....#....#....#....#....#.."},
      {'u', "#...##...##...##...##...##...#.###."}, {'v', "#...##...##...##...##...#.#.#...#.."},
      {'w', "#...##...##...##.#.##.#.###.###...#"}, {'x', "#...##...#.#.#...#...#.#.#...##...#"},
      {'y', "#...##...#.#.#...#....#....#....#.."}, {'z', "#####....#...#...#...#...#....#####"},
      {'0', ".###.#...##..###.#.###..##...#.###."}, {'1', "..#...##....#....#....#....#...###."},
      {'2', ".###.#...#....#...#...#...#...#####"}, {'3', "#####...#...#.....#.....##...#.###."},
      {'4', "...#...##..#.#.#..#.#####...#....#."}, {'5', "######....####.....#....##...#.###."},
      {'6', "..##..#...#....####.#...##...#.###."}, {'7', "#####....#...#...#...#....#....#..."},
      {'8', ".###.#...##...#.###.#...##...#.###."}, {'9', ".###.#...##...#.####....#...#..##.."},
      {'.', "..........................##...##.."}, {',', ".........................##...#..#."},
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

// ---- a mock-up of the skin in use ----------------------------------------

using Pictures = std::map<std::string, Surface>;

const Surface& Picture(const Pictures& p, const std::string& name) {
  auto it = p.find(name);
  if (it == p.end()) throw std::runtime_error("the mock-up needs " + name);
  return it->second;
}

// Cell index (from 0) of a strip of count cells, side by side or stacked.
Surface CellOf(const Surface& s, int index, int count, bool stacked = false) {
  const int w = stacked ? s.Width() : s.Width() / count, h = stacked ? s.Height() / count : s.Height();
  Surface c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      c.At(x, y) = s.At(stacked ? x : index * w + x, stacked ? index * h + y : y);
  return c;
}

// One axis of a nine-way cut: fixed ends, the middle repeated or dropped.
int MapAxis(int d, int length, int source, int lead, int trail) {
  if (length < lead + trail) return std::min(d * source / std::max(length, 1), source - 1);
  if (d < lead) return d;
  if (d >= length - trail) return source - (length - d);
  const int middle = source - lead - trail, target = length - lead - trail;
  return lead + (middle > 0 ? (d - lead) * middle / target : 0);
}

void Draw9(Surface& dst, corvane::Rect r, const Surface& cell, int l, int t, int rr, int b, bool keyed) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      if (x < 0 || y < 0 || x >= dst.Width() || y >= dst.Height()) continue;
      const Pixel p = cell.At(MapAxis(x - r.left, r.Width(), cell.Width(), l, rr),
                              MapAxis(y - r.top, r.Height(), cell.Height(), t, b));
      if (keyed && (p & 0xFFFFFF) == 0xFF00FF) continue;
      dst.At(x, y) = p;
    }
}

void DrawAt(Surface& dst, int x, int y, const Surface& cell) {
  Draw9(dst, corvane::Rect::FromSize(x, y, cell.Width(), cell.Height()), cell, 0, 0, 0, 0, true);
}

void DrawTextCentred(Surface& dst, corvane::Rect r, const std::string& text, Pixel ink);

// A dialog window with a tab page of controls, and a popup menu beside it,
// laid out at the DPI the pictures were drawn for (the text stays small).
Surface MockUp(const Pictures& p, Pixel paper, int dpi) {
  const auto S = [dpi](int designed) { return corvane::ScaleToDpi(designed, dpi); };
  const auto R = [&](int l, int t, int r, int b) { return corvane::Rect{S(l), S(t), S(r), S(b)}; };
  constexpr int W = 430, H = 300;
  Surface s(S(W + 170), S(H), paper);
  const Pixel face = 0xFFE3E2EC, black = 0xFF000000;
  Draw9(s, R(4, 25, W - 4, H - 5), Surface(1, 1, face), 0, 0, 0, 0, false);
  Draw9(s, R(0, 0, 4, H), CellOf(Picture(p, "frameleft.bmp"), 0, 2), 0, S(25), 0, S(5), true);
  Draw9(s, R(W - 4, 0, W, H), CellOf(Picture(p, "frameright.bmp"), 0, 2), 0, S(25), 0, S(5), true);
  Draw9(s, R(4, 0, W - 4, 25), CellOf(Picture(p, "frametop.bmp"), 0, 2, true), S(11), 0, S(11), 0, true);
  Draw9(s, R(4, H - 5, W - 4, H), CellOf(Picture(p, "framebottom.bmp"), 0, 2, true), S(11), 0, S(11), 0, true);
  DrawAt(s, S(W) - S(30), S(5), CellOf(Picture(p, "closebutton.bmp"), 0, 6));
  DrawAt(s, S(W) - S(49), S(5), CellOf(Picture(p, "maxbutton.bmp"), 2, 6));
  DrawAt(s, S(W) - S(73), S(5), CellOf(Picture(p, "minbutton.bmp"), 0, 6));
  DrawText(s, S(28), S(10), "Link editor", 0xFF2F3D80);

  // Status bar with a size grip.
  Draw9(s, R(4, H - 24, W - 4, H - 5), CellOf(Picture(p, "statusbar.bmp"), 0, 3), S(15), S(8), S(15), S(6), false);
  DrawText(s, S(12), S(H - 18), "3 links", black);
  DrawAt(s, S(W - 4 - 17), S(H - 5 - 18), CellOf(Picture(p, "extraimages.bmp"), 4, 5));

  // Tabs over a page.
  Draw9(s, R(12, 56, W - 12, H - 32), Picture(p, "tabsheet.bmp"), S(4), S(2), S(4), S(4), false);
  const char* tabs[3] = {"links", "picture", "startup"};
  for (int i = 2; i >= 0; --i) {
    const corvane::Rect r = corvane::ScaleBoundsToDpi(
        corvane::Rect::FromSize(14 + i * 72 - (i == 0 ? 2 : 0), 34, i == 0 ? 76 : 72, 23), dpi);
    Draw9(s, r, CellOf(Picture(p, "tab.bmp"), i == 0 ? 1 : 0, 5), S(6), S(4), S(6), S(1), true);
    DrawTextCentred(s, r.Offset(0, 1), tabs[i], black);
  }

  // Push buttons in every state.
  const char* captions[5] = {"ok", "pressed", "disabled", "hot", "default"};
  for (int i = 0; i < 5; ++i) {
    const corvane::Rect r = corvane::ScaleBoundsToDpi(corvane::Rect::FromSize(24 + i * 72, 70, 66, 25), dpi);
    Draw9(s, r, CellOf(Picture(p, "buttons.bmp"), i, 5), S(4), S(3), S(4), S(3), true);
    DrawTextCentred(s, r, captions[i], i == 2 ? 0xFFBCBECB : black);
  }
  // Check boxes and radio buttons.
  const int checks[4] = {0, 4, 7, 8};
  const char* checkText[4] = {"off", "on", "disabled", "mixed"};
  for (int i = 0; i < 4; ++i) {
    DrawAt(s, S(24 + i * 90), S(108), CellOf(Picture(p, "checkbox.bmp"), checks[i], 12));
    DrawText(s, S(42 + i * 90), S(111), checkText[i], i == 2 ? 0xFFBCBECB : black);
  }
  for (int i = 0; i < 2; ++i) {
    DrawAt(s, S(24 + i * 90), S(130), CellOf(Picture(p, "radiobutton.bmp"), i == 0 ? 4 : 0, 8));
    DrawText(s, S(42 + i * 90), S(133), i == 0 ? "run" : "open", black);
  }
  // A combo box: a white field with the button stretched into its right end.
  Draw9(s, R(204, 128, 330, 149), Surface(1, 1, 0xFF969CB8), 0, 0, 0, 0, false);
  Draw9(s, R(205, 129, 329, 148), Surface(1, 1, 0xFFFFFFFF), 0, 0, 0, 0, false);
  DrawText(s, S(209), S(135), "readme.rtf", black);
  Draw9(s, R(312, 130, 328, 147), CellOf(Picture(p, "comboboxbtn.bmp"), 0, 4), 0, 0, 0, 0, true);
  // An edit with an up-down.
  Draw9(s, R(340, 128, 380, 149), Surface(1, 1, 0xFF969CB8), 0, 0, 0, 0, false);
  Draw9(s, R(341, 129, 379, 148), Surface(1, 1, 0xFFFFFFFF), 0, 0, 0, 0, false);
  DrawText(s, S(346), S(135), "12", black);
  for (int half = 0; half < 2; ++half) {
    const corvane::Rect r = R(380, 128 + half * 11, 393, 139 + half * 10);
    Draw9(s, r, CellOf(Picture(p, "spin.bmp"), half * 4, 8), 0, 0, 0, 0, false);
    const Surface glyph = CellOf(Picture(p, "spinarrow.bmp"), half * 4, 8);
    DrawAt(s, r.left + S(3), r.top + (r.Height() - glyph.Height()) / 2, glyph);
  }
  // Progress bar.
  Draw9(s, R(24, 160, 250, 176), Picture(p, "progress.bmp"), S(2), S(2), S(2), S(2), true);
  Draw9(s, R(26, 162, 170, 174), Picture(p, "progresschunk.bmp"), S(2), S(2), S(4), S(2), true);
  // Track bar.
  Draw9(s, R(264, 166, 400, 171), Picture(p, "trackbar.bmp"), S(2), S(2), S(2), S(2), false);
  Draw9(s, R(310, 158, 321, 179), CellOf(Picture(p, "trackthumbh.bmp"), 1, 5), 0, 0, 0, 0, true);
  // Horizontal scroll bar.
  const int sy = 190;
  Draw9(s, R(24, sy, 400, sy + 15), Surface(1, 1, face), 0, 0, 0, 0, false);
  Draw9(s, R(39, sy, 385, sy + 15), CellOf(Picture(p, "scrollbarhbar.bmp"), 0, 4), S(14), S(1), S(2), S(1), false);
  Draw9(s, R(24, sy, 39, sy + 15), CellOf(Picture(p, "scrollbararrow.bmp"), 0, 23), 0, 0, 0, 0, true);
  Draw9(s, R(385, sy, 400, sy + 15), CellOf(Picture(p, "scrollbararrow.bmp"), 7, 23), 0, 0, 0, 0, true);
  Draw9(s, R(120, sy, 220, sy + 15), CellOf(Picture(p, "scrollbarhthumb.bmp"), 0, 4), S(4), 0, S(5), 0, false);
  DrawAt(s, S(163), S(sy), CellOf(Picture(p, "scrollbararrow.bmp"), 16, 23));
  // Vertical scroll bar beside a list.
  Draw9(s, R(24, 212, 380, 262), Surface(1, 1, 0xFF969CB8), 0, 0, 0, 0, false);
  Draw9(s, R(25, 213, 379, 261), Surface(1, 1, 0xFFFFFFFF), 0, 0, 0, 0, false);
  Draw9(s, R(364, 213, 379, 261), Surface(1, 1, face), 0, 0, 0, 0, false);
  Draw9(s, R(364, 228, 379, 246), CellOf(Picture(p, "scrollbarvbar.bmp"), 0, 4), S(2), S(1), S(2), S(1), false);
  Draw9(s, R(364, 213, 379, 228), CellOf(Picture(p, "scrollbararrow.bmp"), 8, 23), 0, 0, 0, 0, true);
  Draw9(s, R(364, 246, 379, 261), CellOf(Picture(p, "scrollbararrow.bmp"), 12, 23), 0, 0, 0, 0, true);
  Draw9(s, R(364, 228, 379, 240), CellOf(Picture(p, "scrollbarvthumb.bmp"), 2, 4), 0, S(4), 0, S(4), false);
  DrawText(s, S(30), S(218), "editor", black);
  Draw9(s, R(25, 228, 364, 242), CellOf(Picture(p, "menuitem.bmp"), 3, 5), S(2), S(3), S(2), S(3), true);
  DrawText(s, S(30), S(232), "mail", 0xFFF9F9F9);
  DrawText(s, S(30), S(248), "browser", black);

  // A popup menu.
  const int mx = W + 20, my = 40;
  Draw9(s, R(mx, my, mx + 140, my + 120), Picture(p, "menubackground.bmp"), S(5), S(5), S(5), S(5), false);
  const char* items[5] = {"editor", "mail", "", "browser", "exit"};
  int y = my + 4;
  for (int i = 0; i < 5; ++i) {
    if (items[i][0] == 0) {
      Draw9(s, R(mx + 3, y, mx + 137, y + 8), CellOf(Picture(p, "menuitem.bmp"), 1, 5), S(2), 0, S(2), 0, true);
      y += 8;
      continue;
    }
    if (i == 1)
      Draw9(s, R(mx + 3, y, mx + 137, y + 20), CellOf(Picture(p, "menuitem.bmp"), 3, 5), S(2), S(3), S(2), S(3), true);
    DrawText(s, S(mx + 28), S(y + 7), items[i], i == 1 ? 0xFFF9F9F9 : (i == 4 ? 0xFFBCBECB : black));
    y += 20;
  }
  return s;
}

void DrawTextCentred(Surface& dst, corvane::Rect r, const std::string& text, Pixel ink) {
  const int w = static_cast<int>(text.size()) * 6 - 1;
  DrawText(dst, r.left + (r.Width() - w) / 2, r.top + (r.Height() - 7) / 2, text, ink);
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
  const int dpi = argc == 4 ? std::atoi(argv[3]) : corvane::kDesignDpi;
  if (argc < 3 || argc > 4 || dpi < corvane::kDesignDpi || dpi > 960) {
    std::fprintf(stderr, "usage: corvane_contact_sheet <dir> <out.png> [dpi the pictures are drawn at]\n");
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
    Pictures byName;
    for (const Item& it : items) byName.emplace(it.name, it.s);
    const Surface mock = MockUp(byName, paper, dpi);
    // Enlarged while it fits the sheet.
    const int kMockScale = mock.Width() * 2 <= kSheetWidth - 2 * kGap ? 2 : 1;
    const int mockHeight = mock.Height() * kMockScale + kGap;
    Surface sheet(kSheetWidth, y + rowHeight + kGap + mockHeight, paper);
    for (int py = 0; py < mock.Height() * kMockScale; ++py)
      for (int px = 0; px < std::min(mock.Width() * kMockScale, kSheetWidth - kGap); ++px)
        sheet.At(kGap + px, kGap + py) = mock.At(px / kMockScale, py / kMockScale);
    for (Item& it : items) it.y += mockHeight;
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
