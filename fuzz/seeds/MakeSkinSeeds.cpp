// make_skin_seeds <folder>: writes the small skin seeds of the skin-parse
// and frame-layout targets into folder. Each is a few kilobytes, where the
// stored skin is 16 KB coded and 200 KB decoded, yet together they reach
// what it reaches: every section and key the parse reads (also as hex,
// negative and empty values), pictures of one and several cells with the
// colour key in their corners for the frame's region, caption buttons whose
// cell count is guessed either way, the MDI strip, and all three entry
// points (skin stream, package, bare definition).
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "BmpWriter.h"
#include "core/Surface.h"
#include "skin/data/SkinPackage.h"

namespace {

using corvane::Pixel;
using corvane::Surface;

constexpr Pixel kKey = 0xFFFF00FF;  // the colour key, transparent in regions

// A strip of `cells` cells, each `cellW` x `cellH`, stacked vertically or
// side by side; every cell has its own shade and its two top corners (or
// bottom ones) in the colour key.
Surface Strip(int cellW, int cellH, int cells, bool stacked, bool keyBottom = false,
              Pixel shade = 0x203040) {
  const int w = stacked ? cellW : cellW * cells;
  const int h = stacked ? cellH * cells : cellH;
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int cell = stacked ? y / cellH : x / cellW;
      const int cx = x % cellW;
      const int cy = y % cellH;
      const bool edgeRow = keyBottom ? cy == cellH - 1 : cy == 0;
      const bool corner = edgeRow && (cx == 0 || cx == cellW - 1);
      // Few colours, so every picture fits a 16-colour palette.
      const bool edge = cx == 0 || cy == 0 || cx == cellW - 1 || cy == cellH - 1;
      s.At(x, y) = corner ? kKey : 0xFF000000u | static_cast<Pixel>(shade * (cell % 6 + 1) + (edge ? 0x80 : 0));
    }
  return s;
}

// Skins come with pictures of every depth; the palette ones are smaller.
std::vector<std::uint8_t> Bmp(const Surface& s, int bits = 4) { return corvane::tools::EncodeBmp(s, bits); }

// The pictures of the packaged seeds, by the names the definitions use.
std::vector<corvane::SkinPackageFile> Pictures() {
  return {
      // A saturated caption: the toolbar gradient takes another rule for those.
      {"top.bmp", Bmp(Strip(16, 10, 2, true, false, 0x601010))},
      {"bottom.bmp", Bmp(Strip(16, 4, 2, true, true))},
      {"left.bmp", Bmp(Strip(4, 16, 2, false))},
      {"right.bmp", Bmp(Strip(4, 16, 2, false))},
      {"button3.bmp", Bmp(Strip(9, 9, 3, false), 24)},   // 27 x 9: three cells guessed
      {"button6.bmp", Bmp(Strip(6, 4, 6, false), 8)},   // 36 x 4: six cells guessed
      {"mdi.bmp", Bmp(Strip(2, 6, 12, false))},      // twelve 2-pixel cells
      {"cells.bmp", Bmp(Strip(4, 16, 5, false), 24)},    // 16 high: square 16-pixel cells
      {"check.bmp", Bmp(Strip(13, 13, 4, false), 8)},  // under 16 high: 13-pixel cells
      {"combo.bmp", Bmp(Strip(6, 8, 4, false), 32)},
  };
}

// The frame, caption buttons, colours and the keys read outside elements.
constexpr std::string_view kFrameDefinition =
    "; a comment line, and a blank one\r\n"
    "\r\n"
    "[TitlebarSkin]\r\nSkinName=Seed\r\n"
    "[Personality]\r\n"
    "Left=left.bmp\r\nLeftFrame=2\r\nLeftStretch=1\r\nLeftTrans=1\r\nLeftTopHeight=5\r\nLeftBotHeight=3\r\n"
    "Right=dir\\right.bmp\r\nRightFrame=1\r\nRightStretch=0\r\nRightTrans=1\r\nRightTopHeight=$5\r\n"
    "RightBotHeight=0x3\r\n"
    "Top=top.bmp\r\nTopFrame=2\r\nTopStretch=2\r\nTopTrans=1\r\nTopTopHeight=4\r\nTopBotHeight=4\r\n"
    "Bottom=bottom.bmp\r\nBottomFrame=0\r\nBottomStretch=1\r\nBottomTrans=1\r\nBottomTopHeight=-2\r\n"
    "BottomBotHeight=\r\n"
    "TextShift=16\r\nTextShiftVert=2\r\nTextRightClip=40\r\nTextAlignment=1\r\nTextbackground=1\r\n"
    "TextBack=cells.bmp\r\nTXTBackleft=2\r\nTXTBackRight=3\r\n"
    "ActiveTextR=300\r\nActiveTextG=20\r\nActiveTextB=30\r\nInActiveTextR=1\r\nInActiveTextG=-1\r\n"
    "menuBar=cells.bmp\r\nTileMenu=3\r\nTileLeftMenu=2\r\nTileRightMenu=2\r\n"
    "[Fonts]\r\nFontHeight=15\r\n"
    "[Button0]\r\nButtonImage=button3.bmp\r\nAlign=1\r\nXCoord=30\r\nYCoord=3\r\nAction=0\r\nVisibility=0\r\n"
    "[Button1]\r\nButtonImage=button6.bmp\r\nAlign=1\r\nXcoord=20\r\nYcoord=3\r\nAction=1\r\nVisibility=2\r\n"
    "Visibility1=6\r\nCombineOp=1\r\n"
    "[Button2]\r\nButtonImage=button3.bmp\r\nAlign=0\r\nXCoord=10\r\nAction=4\r\nVisibility=8\r\nframe=2\r\n"
    "[Button3]\r\nButtonImage=button6.bmp\r\nAction=3\r\n"
    "[Button4]\r\nAction=-1\r\nVisibility=0\r\n"
    "[Button5]\r\nAction=-1\r\nVisibility=3\r\n"
    "[button6]\r\nButtonImage=Button.BMP\r\nAction=11\r\n"
    "[Button7]\r\nButtonImage=button3.bmp\r\nAction=1\r\nVisibility=1\r\n"
    "[Button.Radio]\r\n[BUTTON]\r\n"
    // Ahead of the element sections' own: a combo button without a sunken
    // edge, and a progress bar neither tiled nor styled.
    "[ComboButton]\r\nImage=button6.bmp\r\nTrans=1\r\n"
    "[Progress]\r\nBitmap=cells.bmp\r\nTile=0\r\nStyle=0\r\n"
    "[MDICONTROLS]\r\nImage=mdi.bmp\r\n"
    "[Colours]\r\nButtonFace=227 226 236\r\nTitleTextActive=47,61,128\r\nTitleTextNoActive=147\r\n"
    "ButtonHilight=243 242\r\nMenubar=\r\nHilight=999 91 166 7\r\n"
    "[Colour1]\r\ncolor=1 2 3\r\n[COLOURS2]\r\n"
    "[Customcolors]\r\nColor0=10 20 30\r\nColor9=1 1 1\r\n";

// Every picture-backed element with its placement keys.
constexpr char kElementText[] =
    "[Buttons]\r\nBitmap=cells.bmp\r\nTopHeight=3\r\nBottomHeight=3\r\nLeftWidth=4\r\nRightWidth=4\r\n"
    "Trans=1\r\nTile=2\r\nCheckButton=check.bmp\r\nRadioButton=cells.bmp\r\nNormalColour=255\r\n"
    "MouseOverColour=$FF00\r\nPressedColour=0\r\nNormalColour2=1 2 3\r\nPressedColour2=4 5 6\r\n"
    "[Progress]\r\nBitmap=cells.bmp\r\nTopHeight=2\r\nLeftWidth=2\r\nTrans=1\r\nTile=3\r\nStyle=1\r\n"
    "[Progress.Chunk]\r\nImage=cells.bmp\r\nFrame=2\r\nTile=1\r\n"
    "[GroupBoxEdge]\r\nImage=cells.bmp\r\n"
    "[GroupBox]\r\nImage=cells.bmp\r\nBackgroundAlignment=1\r\nBackgroundLeftShift=2\r\n"
    "BackgroundRightShift=3\r\n"
    "[Tabs]\r\nImage=cells.bmp\r\nBorder=check.bmp\r\nTopHeight=4\r\n"
    "[StatusBarEdges]\r\nImage=cells.bmp\r\nLeftWidth=15\r\n"
    "[Tab.Pane]\r\nImage=cells.bmp\r\nTopHeight=9\r\nBottomHeight=5\r\nLeftWidth=1\r\nRightWidth=6\r\n"
    "[ToolBars]\r\nImage=cells.bmp\r\n"
    "[ComboButton]\r\nImage=combo.bmp\r\nTrans=1\r\n"
    "[SunkEdge]\r\nImage=combo.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nTrans=1\r\n"
    "[ExtraImages]\r\nImage=combo.bmp\r\n"
    "[Headerbar]\r\nImage=cells.bmp\r\nFrame=0\r\n"
    "[MenuItem]\r\nImage=cells.bmp\r\n[MenuBackground]\r\nImage=cells.bmp\r\n"
    "[Scrollbar]\r\nImage=cells.bmp\r\n[HorzScroll]\r\nImage=cells.bmp\r\n[VertScroll]\r\nImage=cells.bmp\r\n"
    "[HorzScrollThumb]\r\nImage=cells.bmp\r\nFrameCount=4\r\n[VertScrollThumb]\r\nImage=cells.bmp\r\n"
    "[Trackbar.ThumbHorz]\r\nImage=cells.bmp\r\n[Trackbar.ThumbVert]\r\nImage=cells.bmp\r\n"
    "[Trackbar.ThumbLeft]\r\nImage=cells.bmp\r\n[Trackbar.ThumbRight]\r\nImage=cells.bmp\r\n"
    "[Trackbar.ThumbUp]\r\nImage=cells.bmp\r\n[Trackbar.ThumbDown]\r\nImage=cells.bmp\r\n"
    "[UpDown.Horz]\r\nImage=combo.bmp\r\nGlyphImage=check.bmp\r\n[UpDown.Vert]\r\nImage=combo.bmp\r\n"
    "[Track]\r\nImage=cells.bmp\r\n[TRACKVERT]\r\nImage=missing.bmp\r\n"
    // Line ends of every kind, a line of blanks, a header left open, and a
    // NUL inside a line, which ends the text.
    "[Odd]\rKey=1\nOther=2\r\n  \t \r\n[Odd\r\n[Odd]\r\nKey=3\0[Hidden]\r\n";

constexpr std::string_view kElementDefinition(kElementText, sizeof kElementText - 1);

// The bare-definition entry point serves five fixed pictures; the packaged
// names map onto them.
std::string ForServedPictures(std::string_view definition) {
  static const std::pair<std::string_view, std::string_view> kNames[] = {
      {"top.bmp", "top.bmp"},     {"bottom.bmp", "top.bmp"},  {"left.bmp", "b.bmp"},
      {"right.bmp", "b.bmp"},     {"button3.bmp", "buttons.bmp"}, {"button6.bmp", "a.bmp"},
      {"mdi.bmp", "a.bmp"},       {"cells.bmp", "b.bmp"},     {"check.bmp", "a.bmp"},
      {"combo.bmp", "combo.bmp"}};
  std::string out(definition);
  for (const auto& [from, to] : kNames)
    for (std::size_t at = out.find(from); at != std::string::npos; at = out.find(from, at + to.size()))
      out.replace(at, from.size(), to);
  return out;
}

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

// Writes the entry-point byte, then the body.
void Write(const std::string& folder, const char* name, std::uint8_t entry,
           const std::vector<std::uint8_t>& body) {
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.put(static_cast<char>(entry));
  out.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
  std::printf("%s: %zu bytes\n", name, body.size() + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_skin_seeds <folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::vector<corvane::SkinPackageFile> files = Pictures();
  const std::string whole = std::string(kFrameDefinition) + std::string(kElementDefinition);

  // A skin stream of the whole definition and every picture.
  std::vector<corvane::SkinPackageFile> all = files;
  all.emplace_back("seed.ini", Bytes(whole));
  Write(folder, "stream-small-skin.skn", 0, corvane::WriteSkinStream(all));

  // An uncompressed package of an older version: the frame and its pictures.
  std::vector<corvane::SkinPackageFile> frame;
  for (const auto& f : files)
    if (f.first != "cells.bmp" && f.first != "check.bmp" && f.first != "combo.bmp") frame.push_back(f);
  frame.emplace_back("frame.ini", Bytes(kFrameDefinition));
  Write(folder, "package-frame.bin", 1, corvane::WriteSkinPackage(frame, 50000));

  // A stream announcing the stored skin's 200 KB, more than a package may
  // hold here: refused.
  Write(folder, "stream-over-limit.skn", 0, {0x7B, 0x27, 0x03, 0x00, 0xA5, 0x5A, 0xA5, 0x5A});

  // The two halves as bare definitions over the fixed pictures.
  Write(folder, "definition-frame.txt", 2, Bytes(ForServedPictures(kFrameDefinition)));
  Write(folder, "definition-elements.txt", 2, Bytes(ForServedPictures(kElementDefinition)));
  return 0;
}
