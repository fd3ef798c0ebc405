#include "skin/data/SkinDefinition.h"

#include <algorithm>

#include "pictures/Bmp.h"
#include "skin/data/BitmapUtils.h"
#include "skin/data/DerivedElements.h"
#include "skin/data/SkinPackage.h"

namespace corvane {

using quickini::LowerAscii;

namespace {

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& ch : out)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return out;
}

std::string Key(std::string_view a, std::string_view b) {
  std::string k(a);
  k += b;
  return k;
}

}  // namespace

void MemorySkinFiles::Add(std::string_view name, std::vector<std::uint8_t> bytes) {
  // Packages keep their first file of a name; so does this stand-in.
  m_files.try_emplace(LowerAscii(name), std::move(bytes));
}

std::vector<std::uint8_t> MemorySkinFiles::ExtractFile(std::string_view name) const {
  const auto it = m_files.find(LowerAscii(name));
  return it == m_files.end() ? std::vector<std::uint8_t>{} : it->second;
}

SkinDefinition::SkinDefinition(const SystemColourProvider& system, PictureDecoder decoder)
    : m_system(&system), m_decoder(decoder ? decoder : &DecodeBmp) {}

bool SkinDefinition::ParseColourValue(std::string_view value, Colour& out) {
  value = quickini::Trim(value);
  if (value.empty()) return false;
  int numbers[3] = {0, 0, 0};
  int taken = 0;
  std::size_t i = 0;
  while (i < value.size() && taken < 3) {
    if (value[i] < '0' || value[i] > '9') {
      ++i;
      continue;
    }
    int n = 0;
    while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
      // Only the value modulo 256 counts, so long digit runs cannot overflow.
      n = (n * 10 + (value[i] - '0')) % 256;
      ++i;
    }
    // A number counts when a separator follows it; only the third may also
    // end the value (so a lone "200" gives black).
    if (i < value.size() || taken == 2) numbers[taken++] = n;
  }
  out = numbers[0] + numbers[1] * 256 + numbers[2] * 65536;
  return true;
}

Surface SkinDefinition::FetchBitmap(const SkinFileSource& files, std::string_view fileName) const {
  const std::string_view namePart = SkinBitmapFileName(fileName);
  if (namePart.empty()) return {};
  const std::vector<std::uint8_t> bytes = files.ExtractFile(namePart);
  if (bytes.empty()) return {};
  try {
    return m_decoder(bytes);
  } catch (const PictureFormatError&) {
    // Broken skin data is never reported; the element just has no picture.
    return {};
  }
}

Colour SkinDefinition::ReadColourKey(const Context& c, std::string_view section,
                                     std::string_view key, Colour def, bool* given) const {
  Colour value = def;
  const bool ok = ParseColourValue(c.ini.ReadString(section, key, ""), value);
  if (given) *given = ok;
  return ok ? value : def;
}

void SkinDefinition::ReadColour2(const Context& c, TDataSkinObject& e, std::string_view section,
                                 TDataSkinButton* presence) {
  const Colour def = Colours[kButtonText];
  bool n = false, m = false, p = false;
  e.NormalColour2 = ReadColourKey(c, section, "NormalColour2", def, &n);
  e.MouseOverColour2 = ReadColourKey(c, section, "MouseOverColour2", def, &m);
  e.PressedColour2 = ReadColourKey(c, section, "PressedColour2", def, &p);
  if (presence) {
    presence->HasNormalColour2 = n ? 1 : 0;
    presence->HasMouseOverColour2 = m ? 1 : 0;
    presence->HasPressedColour2 = p ? 1 : 0;
  }
}

namespace {

// How a picture is cut and laid over its control; every picture-backed
// element reads these the same way, absent keys meaning zero.
void ReadPlacement(const TQuickIni& ini, std::string_view section, TDataSkinObject& e) {
  e.Style = ini.ReadInteger(section, "Style", 0);
  e.LeftWidth = ini.ReadInteger(section, "LeftWidth", 0);
  e.RightWidth = ini.ReadInteger(section, "RightWidth", 0);
  e.TopHeight = ini.ReadInteger(section, "TopHeight", 0);
  e.BottomHeight = ini.ReadInteger(section, "BottomHeight", 0);
  e.Trans = ini.ReadInteger(section, "Trans", 0);
  e.Tile = ini.ReadInteger(section, "Tile", 0);
}

// Text colour per mouse state; -1 (absent) keeps the control's own colour.
void ReadStateColours(const TQuickIni& ini, std::string_view section, TDataSkinObject& e) {
  e.NormalColour = ini.ReadInteger(section, "NormalColour", -1);
  e.MouseOverColour = ini.ReadInteger(section, "MouseOverColour", -1);
  e.PressedColour = ini.ReadInteger(section, "PressedColour", -1);
}

}  // namespace

template <typename Record>
std::unique_ptr<Record> SkinDefinition::ReadImageElement(const Context& c,
                                                         std::string_view section) {
  const std::string image = c.ini.ReadString(section, "Image", "");
  if (image.empty()) return nullptr;
  auto e = std::make_unique<Record>(std::string(section));
  e->Bitmap = FetchBitmap(c.files, image);
  ReadPlacement(c.ini, section, *e);
  ReadStateColours(c.ini, section, *e);
  ReadColour2(c, *e, section, nullptr);
  if (e->Tile > 1) e->Tile = 0;
  return e;
}

template <typename Record>
void SkinDefinition::ReadElement(const Context& c, std::unique_ptr<Record>& slot,
                                 std::string_view section) {
  slot = ReadImageElement<Record>(c, section);
  if (slot) slot->Frame = c.ini.ReadInteger(section, "Frame", 0);
}

void SkinDefinition::ReadBorderElement(const Context& c, std::unique_ptr<TDataSkinBorder>& slot,
                                       std::string_view section, std::string_view key2) {
  slot = ReadImageElement<TDataSkinBorder>(c, section);
  if (!slot || key2.empty()) return;
  const std::string second = c.ini.ReadString(section, key2, "");
  if (!second.empty()) slot->Bitmap2 = FetchBitmap(c.files, second);
}

void SkinDefinition::ReadBoxLabel(const Context& c, std::unique_ptr<TDataSkinBoxLabel>& slot,
                                  std::string_view section) {
  slot = ReadImageElement<TDataSkinBoxLabel>(c, section);
  if (!slot) return;
  slot->BackgroundAlignment = c.ini.ReadInteger(section, "BackgroundAlignment", 0);
  slot->BackgroundLeftShift = c.ini.ReadInteger(section, "BackgroundLeftShift", 0);
  slot->BackgroundRightShift = c.ini.ReadInteger(section, "BackgroundRightShift", 0);
}

void SkinDefinition::ReadBitmapElement(const Context& c, std::unique_ptr<TDataSkinBorder>& slot,
                                       std::string_view section) {
  slot.reset();
  const std::string image = c.ini.ReadString(section, "Bitmap", "");
  if (image.empty()) return;
  auto e = std::make_unique<TDataSkinBorder>(std::string(section));
  e->Bitmap = FetchBitmap(c.files, image);
  ReadPlacement(c.ini, section, *e);
  // Unlike ordinary elements, an out-of-range tile value here means "tiled".
  if (e->Tile > 1) e->Tile = 1;
  slot = std::move(e);
}

void SkinDefinition::ReadButtons(const Context& c) {
  constexpr std::string_view s = "Buttons";
  const TQuickIni& ini = c.ini;
  TDataSkinButton& b = Buttons;
  b.LeftWidth = ini.ReadInteger(s, "LeftWidth", 0);
  b.RightWidth = ini.ReadInteger(s, "RightWidth", 0);
  b.TopHeight = ini.ReadInteger(s, "TopHeight", 0);
  b.BottomHeight = ini.ReadInteger(s, "BottomHeight", 0);
  b.Trans = ini.ReadInteger(s, "Trans", 0);
  b.Bitmap = FetchBitmap(c.files, ini.ReadString(s, "Bitmap", ""));
  b.Tile = ini.ReadInteger(s, "Tile", 0);
  b.CheckBitmap = FetchBitmap(c.files, ini.ReadString(s, "CheckButton", ""));
  b.RadioBitmap = FetchBitmap(c.files, ini.ReadString(s, "RadioButton", ""));
  ReadStateColours(ini, s, b);
  b.RadioFrame = ini.ReadInteger(s, "RadioButtonFrame", 0);
  b.CheckFrame = ini.ReadInteger(s, "CheckButtonFrame", 0);
  if (b.Tile > 1) b.Tile = 0;
  ReadColour2(c, b, s, &b);
}

void SkinDefinition::ReadMenuBar(const Context& c) {
  constexpr std::string_view s = "Personality";
  MenuBar.reset();
  const std::string image = c.ini.ReadString(s, "menuBar", "");
  if (image.empty()) return;
  auto e = std::make_unique<TDataSkinObject>(std::string(s));
  e->Bitmap = FetchBitmap(c.files, image);
  e->TopHeight = 0;
  e->BottomHeight = 0;
  e->Tile = std::min(c.ini.ReadInteger(s, "TileMenu", 1), 1);
  e->LeftWidth = c.ini.ReadInteger(s, "TileLeftMenu", 1);
  e->RightWidth = c.ini.ReadInteger(s, "TileRightMenu", 1);
  MenuBar = std::move(e);
}

void SkinDefinition::ReadTitle(const Context& c) {
  constexpr std::string_view s = "Personality";
  const TQuickIni& ini = c.ini;
  TDataSkinTitle& t = Title;
  t.Bitmap = FetchBitmap(c.files, ini.ReadString(s, "TextBack", ""));
  t.LeftWidth = ini.ReadInteger(s, "TextShift", 0);
  t.TopHeight = ini.ReadInteger(s, "TextShiftVert", 0);
  t.RightWidth = ini.ReadInteger(s, "TextRightClip", 0);
  t.BottomHeight = 0;
  t.TextAlignment = ini.ReadInteger(s, "TextAlignment", 0);
  t.Textbackground = ini.ReadInteger(s, "Textbackground", 0);
  t.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
  t.TXTBackleft = ini.ReadInteger(s, "TXTBackleft", 0);
  t.TXTBackRight = ini.ReadInteger(s, "TXTBackRight", 0);
  auto readRgb = [&](std::string_view base) {
    const int r = ini.ReadInteger(s, Key(base, "R"), -1);
    const int g = ini.ReadInteger(s, Key(base, "G"), -1);
    const int b = ini.ReadInteger(s, Key(base, "B"), -1);
    // Out-of-range parts are taken modulo 256 so one part cannot spill into
    // its neighbour.
    return (r >= 0 && g >= 0 && b >= 0) ? Rgb(r, g, b) : TDataSkinTitle::kNoColour;
  };
  t.ActiveTextColour = readRgb("ActiveText");
  t.InactiveTextColour = readRgb("InActiveText");
}

void SkinDefinition::ReadBorders(const Context& c) {
  constexpr std::string_view s = "Personality";
  const TQuickIni& ini = c.ini;
  struct Part {
    std::string_view name;
    TDataSkinBorder* record;
    bool vertical;
  };
  const Part parts[] = {{"Left", &BorderLeft, true},
                        {"Right", &BorderRight, true},
                        {"Top", &BorderTop, false},
                        {"Bottom", &BorderBottom, false}};
  for (const Part& part : parts) {
    TDataSkinBorder& b = *part.record;
    const int first = ini.ReadInteger(s, Key(part.name, "TopHeight"), 0);
    const int second = ini.ReadInteger(s, Key(part.name, "BotHeight"), 0);
    if (part.vertical) {
      b.TopHeight = first;
      b.BottomHeight = second;
      b.LeftWidth = b.RightWidth = 0;
    } else {
      // On the horizontal edges the two keys give the fixed left and right ends.
      b.LeftWidth = first;
      b.RightWidth = second;
      b.TopHeight = b.BottomHeight = 0;
    }
    b.Frame = ini.ReadInteger(s, Key(part.name, "Frame"), 1);
    b.Tile = std::min(ini.ReadInteger(s, Key(part.name, "Stretch"), 1), 1);
    b.Trans = ini.ReadInteger(s, Key(part.name, "Trans"), 1);
    b.Bitmap = FetchBitmap(c.files, ini.ReadString(s, part.name, ""));
  }
}

void SkinDefinition::ReadCaptionButtons(const Context& c, const std::vector<std::string>& sections) {
  CaptionButtons.clear();
  const TQuickIni& ini = c.ini;
  std::vector<std::string> kept;
  for (const std::string& name : sections) {
    const std::string upper = UpperAscii(name);
    if (upper.rfind("BUTTON", 0) != 0) continue;
    if (upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX")
      continue;
    if (ini.ReadInteger(name, "Action", 0) == kActionNone && ini.ReadInteger(name, "Visibility", -1) != kShowAlways)
      continue;
    kept.push_back(name);
  }
  CaptionButtons.reserve(kept.size() + kMdiButtonCount);
  bool remembered = false;
  int rememberedX = 0, rememberedY = 0;
  for (const std::string& name : kept) {
    auto b = std::make_unique<TDataSkinSysButton>(UpperAscii(name));
    b->Action = ini.ReadInteger(name, "Action", 0);
    b->Align = ini.ReadInteger(name, "Align", 0);
    b->XCoord = ini.ReadInteger(name, "Xcoord", 0);
    b->YCoord = ini.ReadInteger(name, "Ycoord", 0);
    b->Visibility = ini.ReadInteger(name, "Visibility", 0);
    b->Visibility1 = ini.ReadInteger(name, "Visibility1", b->Action == kActionNone ? kShowNeverAsSecond : kShowAlways);
    b->CombineOp = ini.ReadInteger(name, "CombineOp", -1);
    b->Frame = ini.ReadInteger(name, "frame", 0);
    b->Bitmap = FetchBitmap(c.files, ini.ReadString(name, "ButtonImage", ""));
    // The restore button shares the place of the maximise button it stands in
    // for. Before any such button an action-4 button keeps its own place.
    if (b->Action == kActionMaximize && b->Visibility == kShowNotMaximised) {
      remembered = true;
      rememberedX = b->XCoord;
      rememberedY = b->YCoord;
    } else if (b->Action == kActionHelp && remembered) {
      b->XCoord = rememberedX;
      b->YCoord = rememberedY;
    }
    if (b->Frame == 0) {
      b->Frame = 6;
      if (!b->Bitmap.IsEmpty()) {
        const double ratio = static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height();
        b->Frame = ratio <= 3.8 ? 3 : 6;
      }
      if (b->Action < 0) b->Frame = 6;
      // Without a cell count from the skin these two actions are painted by
      // the frame code itself, never from a guessed strip.
      if (b->Action == kActionIcon || b->Action == kActionIconToo) b->Bitmap = Surface();
    }
    CaptionButtons.push_back(std::move(b));
  }
  ReadMdiButtons(c, kept.size());
}

void SkinDefinition::ReadMdiButtons(const Context& c, std::size_t first) {
  CaptionButtons.resize(first);
  for (int i = 0; i < kMdiButtonCount; ++i) {
    auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS" + std::to_string(i + 1));
    b->Action = kActionChildMinimize + i;
    b->Align = 100;  // placed in the menu strip
    b->Visibility = b->Visibility1 = kShowInMenuStrip;
    b->Frame = 4;
    CaptionButtons.push_back(std::move(b));
  }
  const Surface scratch = FetchBitmap(c.files, c.ini.ReadString("MDICONTROLS", "Image", ""));
  if (scratch.IsEmpty()) return;
  const int a = scratch.Width() / 12;
  const int h = scratch.Height();
  for (int i = 0; i < kMdiButtonCount; ++i) {
    TDataSkinSysButton& b = *CaptionButtons[first + static_cast<std::size_t>(i)];
    if (a > 0) {
      b.Bitmap = Surface(4 * a, h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < 4 * a; ++x) b.Bitmap.At(x, y) = scratch.At(4 * a * i + x, y);
    }
    b.XCoord = (a + 4) * (3 - i);
  }
}

void SkinDefinition::ReadColours(const Context& c, const std::vector<std::string>& sections) {
  struct Entry {
    int index;
    std::string_view key;
    int systemIndex;  // -1: the skin's ButtonFace as just read
  };
  static constexpr Entry kOrder[] = {
      {kWindowText, "WindowText", kSysWindowText},
      {kButtonFace, "ButtonFace", kSysButtonFace},
      {kScrollbar, "Scrollbar", kSysScrollbar},
      {kHilightText, "HilightText", kSysHighlightText},
      {kHilight, "Hilight", kSysHighlight},
      {kMenubar, "Menubar", -1},
      {kMenu, "Menu", kSysMenu},
      {kMenuText, "MenuText", kSysMenuText},
      {kButtonText, "ButtonText", kSysButtonText},
      {kButtonHilight, "ButtonHilight", kSysButtonHighlight},
      // The light 3-D colour defaults to the highlight, as skins always have.
      {kButtonlight, "Buttonlight", kSysButtonHighlight},
      {kButtonShadow, "ButtonShadow", kSysButtonShadow},
      {kButtonDkShadow, "ButtonDkShadow", kSys3dDarkShadow},
      {kMenuBarText, "MenuBarText", kSysMenuText},
      {kTitleTextActive, "TitleTextActive", kSysCaptionText},
      {kTitleTextNoActive, "TitleTextNoActive", kSysInactiveCaptionText},
  };
  for (const Entry& e : kOrder) {
    const Colour def = e.systemIndex < 0 ? Colours[kButtonFace] : m_system->SysColour(e.systemIndex);
    bool given = false;
    const auto i = static_cast<std::size_t>(e.index);
    Colours[i] = ReadColourKey(c, "Colours", e.key, def, &given);
    ColourDefined[i] = given ? 1 : 0;
  }

  ColourSections.clear();
  for (const std::string& name : sections) {
    const std::string upper = UpperAscii(name);
    if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
      ColourSections.push_back(
          ReadColourKey(c, name, "color", m_system->SysColour(kSysWindowText)));
  }
  for (int i = 0; i < 10; ++i)
    CustomColors[static_cast<std::size_t>(i)] =
        ReadColourKey(c, "Customcolors", "Color" + std::to_string(i), 0xFFFFFF);
}

Surface SkinDefinition::BuiltInTrack() {
  static constexpr const char* kRows[] = {"SSGGGGGGGGGGGGHH", "SSHHHHHHHHHHHHHH",
                                          "GSHHHHHHHHHHHHHH", "SSHHHHHHHHHHHHHH"};
  Surface s(16, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) {
      const char p = kRows[y][x];
      s.At(x, y) = PixelFromColour(p == 'S' ? 0xC0C0C0 : p == 'G' ? 0x808080 : 0xFFFFFF);
    }
  return s;
}

Surface SkinDefinition::BuiltInTrackVert() {
  Surface s(4, 16);
  auto row = [&](int y, const char* letters) {
    for (int x = 0; x < 4; ++x)
      s.At(x, y) = PixelFromColour(letters[x] == 'S'   ? 0xC0C0C0
                                   : letters[x] == 'G' ? 0x808080
                                                       : 0xFFFFFF);
  };
  row(0, "SSGS");
  row(1, "SSSS");
  for (int y = 2; y < 14; ++y) row(y, "GHHH");
  row(14, "HHHH");
  row(15, "HHHH");
  return s;
}

void SkinDefinition::SetFrameCounts(const Context& c) {
  Buttons.Frame = 5;
  // Check and radio cells are square: 13 pixels for small pictures, else 16.
  auto guessCells = [](const Surface& picture) {
    const int cell = picture.Height() < 16 ? 13 : 16;
    return std::max(picture.Width() / cell, 4);
  };
  if (Buttons.RadioFrame == 0) Buttons.RadioFrame = guessCells(Buttons.RadioBitmap);
  if (Buttons.CheckFrame == 0) Buttons.CheckFrame = guessCells(Buttons.CheckBitmap);
  Title.Frame = 2;
  auto set = [](auto& slot, int frames) {
    if (slot) slot->Frame = frames;
  };
  set(MenuBar, 2);
  if (Progress) Progress->Frame = Progress->Style != 0 ? 1 : 2;
  set(GroupBoxEdge, 2);
  set(GroupBox, 1);
  set(Tabs, 5);
  set(StatusBarEdges, 3);
  set(TabPane, 1);
  set(ToolBars, 5);
  set(ComboButton, 4);
  set(SunkEdge, 4);
  set(ExtraImages, 5);
  if (Headerbar && Headerbar->Frame == 0) Headerbar->Frame = 5;
  set(MenuItem, 5);
  set(MenuBackground, 1);
  set(Scrollbar, 23);
  set(HorzScroll, 4);
  set(VertScroll, 4);
  set(HorzScrollThumb, c.ini.ReadInteger("HorzScrollThumb", "FrameCount", 3));
  set(VertScrollThumb, c.ini.ReadInteger("VertScrollThumb", "FrameCount", 3));
  set(TrackThumbHorz, 5);
  set(TrackThumbVert, 5);
  set(TrackThumbLeft, 5);
  set(TrackThumbRight, 5);
  set(TrackThumbUp, 5);
  set(TrackThumbDown, 5);
  set(UpDownHorz, 8);
  set(UpDownVert, 8);
}

void SkinDefinition::ParseSkin(const TQuickIni& ini, const SkinFileSource& files) {
  const Context c{ini, files};
  const std::vector<std::string> sections = ini.ReadSections();
  SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");

  ReadBorders(c);
  ReadColours(c, sections);
  ReadCaptionButtons(c, sections);
  ReadButtons(c);
  ReadTitle(c);

  ReadBitmapElement(c, Progress, "Progress");
  ReadElement(c, ProgressChunk, "Progress.Chunk");
  ReadMenuBar(c);
  ReadElement(c, GroupBoxEdge, "GroupBoxEdge");
  ReadBoxLabel(c, GroupBox, "GroupBox");
  ReadBorderElement(c, Tabs, "Tabs", "Border");
  ReadElement(c, StatusBarEdges, "StatusBarEdges");
  ReadElement(c, TabPane, "Tab.Pane");
  if (TabPane) {
    // Tab sheets are drawn edge to edge inside the control; wider margins
    // would eat into the page.
    TabPane->LeftWidth = std::min(TabPane->LeftWidth, 4);
    TabPane->TopHeight = std::min(TabPane->TopHeight, 4);
    TabPane->RightWidth = std::min(TabPane->RightWidth, 4);
    TabPane->BottomHeight = std::min(TabPane->BottomHeight, 4);
  }
  ReadElement(c, ToolBars, "ToolBars");
  ReadBorderElement(c, ComboButton, "ComboButton", "");
  ReadElement(c, SunkEdge, "SunkEdge");
  if (ComboButton && !ComboButton->Bitmap.IsEmpty()) {
    ComboButton->Bitmap2 = ComboButton->Bitmap;
    MirrorBitmap(ComboButton->Bitmap2);
  }

  ReadElement(c, ExtraImages, "ExtraImages");
  ReadElement(c, Headerbar, "Headerbar");
  ReadElement(c, MenuItem, "MenuItem");
  ReadElement(c, MenuBackground, "MenuBackground");
  ReadElement(c, Scrollbar, "Scrollbar");
  ReadElement(c, HorzScroll, "HorzScroll");
  ReadElement(c, VertScroll, "VertScroll");
  ReadElement(c, HorzScrollThumb, "HorzScrollThumb");
  ReadElement(c, VertScrollThumb, "VertScrollThumb");
  ReadElement(c, TrackThumbHorz, "Trackbar.ThumbHorz");
  ReadElement(c, TrackThumbVert, "Trackbar.ThumbVert");
  ReadElement(c, TrackThumbLeft, "Trackbar.ThumbLeft");
  ReadElement(c, TrackThumbRight, "Trackbar.ThumbRight");
  ReadElement(c, TrackThumbUp, "Trackbar.ThumbUp");
  ReadElement(c, TrackThumbDown, "Trackbar.ThumbDown");
  ReadBorderElement(c, UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadBorderElement(c, UpDownVert, "UpDown.Vert", "GlyphImage");
  ReadElement(c, Track, "Track");
  ReadElement(c, TrackVert, "TRACKVERT");

  auto builtIn = [](std::unique_ptr<TDataSkinObject>& slot, const char* name, Surface picture) {
    if (slot) return;
    slot = std::make_unique<TDataSkinObject>(name);
    slot->Bitmap = std::move(picture);
    slot->LeftWidth = slot->TopHeight = slot->RightWidth = slot->BottomHeight = 3;
    slot->Tile = 0;
    slot->Frame = 1;
  };
  builtIn(Track, "TRACK", BuiltInTrack());
  builtIn(TrackVert, "TRACKVERT", BuiltInTrackVert());

  SetFrameCounts(c);
  BuildDerivedElements(*this);
  SkinEmpty = false;
}

}  // namespace corvane
