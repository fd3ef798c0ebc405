// Skinned range controls on live windows: progress bars lying and standing
// against the skin's trough and chunk pictures, the two-cell progress style,
// track-bar channels and thumbs, up-down halves by state (the real mouse
// pressing one), an up-down inside an edit, the plain up-down look, a
// foreign check box given glyph strips, a media player's button panel, the rules' gates and the
// gallery's range form.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/controls/WinSkinMedia.h"
#include "skin/controls/WinSkinRanges.h"
#include "skin/data/BitmapUtils.h"
#include "skin/data/SkinPackage.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {

// A check box of another library that draws custom glyph strips: it takes
// them through "CustomGlyphs" and reloads them when "UseCustomGlyphs" turns on.
class TRzCheckBox : public TWinControl {
  CORVANE_CLASS(TRzCheckBox, TWinControl)

 public:
  using TWinControl::TWinControl;
  TComponent* glyphs = nullptr;
  std::int64_t transparentColour = 0;
  bool useGlyphs = false;
  int reloads = 0;

  TPropValue GetProperty(std::string_view name) const override {
    if (name == "CustomGlyphs") return glyphs;
    if (name == "transparentcolor") return transparentColour;
    if (name == "UseCustomGlyphs") return std::int64_t{useGlyphs};
    return TWinControl::GetProperty(name);
  }
  bool SetProperty(std::string_view name, const TPropValue& value) override {
    if (name == "CustomGlyphs") {
      auto* c = std::get_if<TComponent*>(&value);
      return c && (glyphs = *c, true);
    }
    auto i = PropInt(value);
    if (name == "transparentcolor") return i && (transparentColour = *i, true);
    if (name == "UseCustomGlyphs" && i) {
      if (*i && !useGlyphs) ++reloads;
      useGlyphs = *i != 0;
      return true;
    }
    return TWinControl::SetProperty(name, value);
  }
};

// A media player of another library: a bar of buttons that it draws and
// presses itself; it only records the presses that reach it.
class TMediaPlayer : public TWinControl {
  CORVANE_CLASS(TMediaPlayer, TWinControl)

 public:
  using TWinControl::TWinControl;
  std::int64_t visibleButtons = 0b11111;  // play, pause, stop, next, previous
  std::vector<int> downs, ups;

  TPropValue GetProperty(std::string_view name) const override {
    if (name == "VisibleButtons") return visibleButtons;
    return TWinControl::GetProperty(name);
  }

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_LBUTTONDOWN) downs.push_back(GET_X_LPARAM(m.LParam));
    if (m.Msg == WM_LBUTTONUP) ups.push_back(GET_X_LPARAM(m.LParam));
    TWinControl::Dispatch(m);
  }
};

namespace {

using test::Pump;
using test::PumpUntil;
using test::skin::Mismatches;
using test::skin::FileBytes;

LRESULT Query(HWND w) {
  return SendMessageA(w, WM_SKINQUERY, 0, 0);
}

Size SizeOf(HWND w) {
  RECT r = test::skin::WindowRectOf(w);
  return {r.right - r.left, r.bottom - r.top};
}

// One cell of element stretched over a size by its margins.
Surface Cell(const TDataSkinObject& e, Size size, int frames, int cell) {
  return BuildElementBitmap({0, 0, size.width, size.height}, e.Bitmap,
                            {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}, false,
                            e.Tile == 1, frames, cell);
}

// picture drawn over canvas at `at`, its magenta left out.
void Overlay(Surface& canvas, const Surface& picture, Point at) {
  DrawTransparent(canvas.View(), Rect::FromSize(at.x, at.y, picture.Width(), picture.Height()),
                  picture.View(), kColourKey);
}

class SkinnedRanges : public ::testing::Test {
 protected:
  void SetUp() override {
    test::skin::FreshStart();
    data = &test::skin::ActiveSkinData();
    ASSERT_FALSE(data->SkinEmpty());
  }
  void TearDown() override {
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    ReleaseCapture();
    ResetApplication();
    TSkinManage::Destroy();
  }
  // A skin component with the stored skin changed: files replaced (empty
  // bytes leave a file out) and the definition edited.
  void UseAlteredSkin(const std::map<std::string, std::vector<std::uint8_t>>& replaced,
                      const std::function<void(std::string&)>& editDefinition) {
    std::vector<std::uint8_t> stream = test::skin::AlteredSkin(replaced, editDefinition);
    ResetApplication();
    TSkinManage::Destroy();
    data = &test::skin::ActiveSkinData(stream);
    ASSERT_FALSE(data->SkinEmpty());
  }
  TForm& MakeForm(int left = 120, int top = 100) {
    TForm& form = Application().CreateForm<TForm>();
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    form.SetCaption("Ranges");
    form.SetBounds(left, top, 460, 360);
    return form;
  }
  template <typename T>
  T& Add(TForm& form, TWinControl* parent, int left, int top, int width, int height,
         const std::function<void(T&)>& prepare = {}) {
    return test::skin::PlaceOn<T>(form, parent, left, top, width, height, prepare);
  }
  void ShowSkinned(TForm& form) { ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form)); }
  Pixel Face() const {
    const SkinDefinition& s = data->Skin();
    return PixelFromColour(ResolveColour(s.Colours[SkinDefinition::kButtonFace], s.System()));
  }
  // A chunk-style bar as it lies: trough over the face, the chunk over the
  // filled share of the inside (2 pixels in from every edge).
  Surface LyingChunkBar(Size lying, int done, int span) const {
    const SkinDefinition& s = data->Skin();
    Surface bar(lying.width, lying.height, Face());
    Overlay(bar, Cell(*s.Progress, lying, 1, 1), {0, 0});
    int inside = lying.width - 4;
    int fill = span > 0 ? (inside * done + span / 2) / span : 0;
    if (fill > 0) Overlay(bar, Cell(*s.ProgressChunk, {fill, lying.height - 4}, 1, 1), {2, 2});
    return bar;
  }
  // The cell one half of an up-down shows: its strip cell with the arrow of
  // the same number centred over it; 0 when none of cells 1-3 (+4) match.
  int HalfCell(const Surface& shot, const Rect& half, bool horizontal, int index) const {
    const TDataSkinBorder& e = horizontal ? *data->Skin().UpDownHorz : *data->Skin().UpDownVert;
    for (int state = 1; state <= 3; ++state) {
      int cell = state + 4 * index;
      Surface expected = Cell(e, {half.Width(), half.Height()}, 8, cell);
      DrawCentredCell(expected.View(), expected.View().Bounds(), e.Bitmap2, true, 8, cell);
      if (Mismatches(shot, expected, {half.left, half.top}, expected.View().Bounds()) == 0)
        return cell;
    }
    return 0;
  }
  // Cells of both halves of a whole up-down window.
  std::pair<int, int> HalfCells(HWND w, bool horizontal) {
    Surface shot = test::skin::CaptureSettled(w);
    Size size = SizeOf(w);
    Rect first = horizontal ? Rect{0, 0, size.width / 2, size.height}
                            : Rect{0, 0, size.width, size.height / 2};
    Rect second = horizontal ? Rect{size.width / 2, 0, size.width, size.height}
                             : Rect{0, size.height / 2, size.width, size.height};
    return {HalfCell(shot, first, horizontal, 0), HalfCell(shot, second, horizontal, 1)};
  }

  TSkinData* data = nullptr;
};

TEST_F(SkinnedRanges, RangeControlsGetTheirSkinsUnlessTheirKindIsSwitchedOff) {
  TForm& form = MakeForm();
  auto& bar = Add<TProgressBar>(form, nullptr, 20, 20, 150, 18);
  auto& track = Add<TTrackBar>(form, nullptr, 20, 50, 150, 40);
  auto& spin = Add<TUpDown>(form, nullptr, 200, 20, 16, 24);
  ShowSkinned(form);
  for (TComponent* c : {static_cast<TComponent*>(&bar), static_cast<TComponent*>(&track),
                        static_cast<TComponent*>(&spin)})
    EXPECT_EQ(c->ComponentCount(), 1) << c->ClassName();
  EXPECT_TRUE(bar.ComponentCount() && dynamic_cast<TSkinProgress*>(bar.Components(0)));
  EXPECT_TRUE(track.ComponentCount() && dynamic_cast<TSkinTrackBar*>(track.Components(0)));
  EXPECT_TRUE(spin.ComponentCount() && dynamic_cast<TSkinUpDown*>(spin.Components(0)));

  data->SkinControls.Exclude(xcProgress);
  data->SkinControls.Exclude(xcTrackBar);
  data->SkinControls.Exclude(xcSpin);
  TForm& plain = MakeForm(600, 100);
  auto& plainBar = Add<TProgressBar>(plain, nullptr, 20, 20, 150, 18);
  auto& plainTrack = Add<TTrackBar>(plain, nullptr, 20, 50, 150, 40);
  auto& plainSpin = Add<TUpDown>(plain, nullptr, 200, 20, 16, 24);
  ShowSkinned(plain);
  for (TWinControl* c :
       {static_cast<TWinControl*>(&plainBar), static_cast<TWinControl*>(&plainTrack),
        static_cast<TWinControl*>(&plainSpin)})
    EXPECT_EQ(Query(c->Handle()), 0) << c->ClassName();
}

TEST_F(SkinnedRanges, ProgressBarsFillFromTheirLowLimitLyingAndStanding) {
  struct Case {
    int low, high, position;
    bool vertical;
  } cases[] = {
      {0, 100, 0, false},   {0, 100, 30, false},   {0, 100, 100, false},
      {50, 150, 50, false}, {50, 150, 125, false},  // the low limit counts
      {0, 100, 0, true},    {0, 100, 30, true},    {0, 100, 100, true},
  };
  TForm& form = MakeForm();
  std::vector<TProgressBar*> bars;
  int row = 10, column = 300;
  for (const Case& c : cases) {
    bool vertical = c.vertical;
    auto& bar =
        Add<TProgressBar>(form, nullptr, vertical ? column : 20, vertical ? 10 : row,
                          vertical ? 16 : 160, vertical ? 140 : 18, [vertical](TProgressBar& b) {
                            if (vertical) b.Orientation = TProgressBarOrientation::pbVertical;
                          });
    bar.SetRange(c.low, c.high);
    bar.SetPosition(c.position);
    bars.push_back(&bar);
    (vertical ? column : row) += vertical ? 24 : 26;
  }
  ShowSkinned(form);
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const Case& c = cases[i];
    HWND h = bars[i]->Handle();
    ASSERT_EQ(Query(h), 1);
    Surface shot = test::skin::CaptureSettled(h);
    // A standing bar turned back on its side fills from the left again.
    if (c.vertical) RotateBitmapRight(shot);
    Surface expected =
        LyingChunkBar({shot.Width(), shot.Height()}, c.position - c.low, c.high - c.low);
    EXPECT_EQ(Mismatches(shot, expected, {0, 0}, expected.View().Bounds()), 0)
        << c.low << ".." << c.high << " at " << c.position << (c.vertical ? " standing" : "");
  }
  // A new position shows at once, before the window is given a chance to
  // paint (a busy task's loop).
  HWND h = bars[1]->Handle();
  bars[1]->SetPosition(80);
  EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE)) << "nothing left for a later paint";
  // The screen takes a moment to show what was drawn: a look into the
  // queue for a message that never comes lets it, without painting.
  GdiFlush();
  MSG none;
  for (int i = 0; i < 5; ++i) {
    PeekMessageA(&none, nullptr, WM_APP + 0x3F0, WM_APP + 0x3F0, PM_NOREMOVE);
    Sleep(20);
  }
  Surface now = test::skin::CaptureWindow(h);
  Surface expected = LyingChunkBar({now.Width(), now.Height()}, 80, 100);
  EXPECT_EQ(Mismatches(now, expected, {0, 0}, expected.View().Bounds()), 0);
}

TEST_F(SkinnedRanges, TheTwoCellStyleStretchesItsSecondCellOverTheFilledPart) {
  // Cell 1 the stored trough, cell 2 solid red.
  test::TempFolder folder;
  const Surface& trough = data->Skin().Progress->Bitmap;
  std::string path = folder.File("progress.bmp");
  ASSERT_TRUE(test::WriteBmp(path, trough.Width() * 2, trough.Height(), [&](int x, int y) {
    if (x >= trough.Width()) return RGB(200, 30, 30);
    Colour c = ColourFromPixel(trough.At(x, y));
    return RGB(RedOf(c), GreenOf(c), BlueOf(c));
  }));
  UseAlteredSkin({{"progress.bmp", FileBytes(path)}}, [](std::string& ini) {
    std::size_t at = ini.find("[Progress]");
    ASSERT_NE(at, std::string::npos);
    std::size_t style = ini.find("Style=1", at);
    ASSERT_NE(style, std::string::npos);
    ini.replace(style, 7, "Style=0");
  });
  ASSERT_EQ(data->Skin().Progress->Style, 0);
  TForm& form = MakeForm();
  auto& bar = Add<TProgressBar>(form, nullptr, 20, 20, 160, 18);
  bar.SetPosition(25);
  ShowSkinned(form);
  Surface shot = test::skin::CaptureSettled(bar.Handle());
  Surface expected(160, 18, Face());
  Overlay(expected, Cell(*data->Skin().Progress, {160, 18}, 2, 1), {0, 0});
  Overlay(expected, Cell(*data->Skin().Progress, {40, 18}, 2, 2), {0, 0});
  EXPECT_EQ(Mismatches(shot, expected, {0, 0}, expected.View().Bounds()), 0);
  EXPECT_TRUE(SameColour(shot.At(0, 0), Rgb(200, 30, 30))) << "from the very edge";
  EXPECT_FALSE(SameColour(shot.At(40, 9), Rgb(200, 30, 30)));
}

TEST_F(SkinnedRanges, TrackBarsShowTheSkinsChannelAndThumbOnTheFace) {
  TForm& form = MakeForm();
  auto& lying = Add<TTrackBar>(form, nullptr, 20, 20, 200, 40);
  lying.SetPosition(3);
  auto& standing = Add<TTrackBar>(form, nullptr, 260, 20, 40, 160, [](TTrackBar& t) {
    t.Orientation = TTrackBarOrientation::trVertical;
  });
  standing.SetPosition(6);
  ShowSkinned(form);
  const SkinDefinition& s = data->Skin();
  ASSERT_TRUE(s.TrackThumbHorz && !s.TrackThumbHorz->Bitmap.IsEmpty());
  for (TTrackBar* bar : {&lying, &standing}) {
    bool vertical = bar == &standing;
    HWND h = bar->Handle();
    ASSERT_EQ(Query(h), 1);
    Surface shot = test::skin::CaptureSettled(h);
    EXPECT_TRUE(SameColour(shot.At(1, 1), ColourFromPixel(Face()))) << "the face behind";
    RECT thumb{};
    SendMessageA(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    Size size{thumb.right - thumb.left, thumb.bottom - thumb.top};
    ASSERT_GT(size.width * size.height, 0);
    // Cell 2 of the lying thumb; a standing bar has it turned to point at
    // its ticks.
    Surface expected =
        Cell(*s.TrackThumbHorz, vertical ? Size{size.height, size.width} : size, 5, 2);
    if (vertical) RotateBitmapLeft(expected);
    EXPECT_EQ(Mismatches(shot, expected, {thumb.left, thumb.top}, expected.View().Bounds()), 0)
        << (vertical ? "standing" : "lying");
  }
  // The lying channel: the picture's fixed left end, centred in the channel
  // when lower than it, and its middle column stretched along.
  HWND h = lying.Handle();
  RECT channel{};
  SendMessageA(h, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const TDataSkinObject& track = *s.Track;
  int top =
      channel.top + std::max<int>(channel.bottom - channel.top - track.Bitmap.Height(), 0) / 2;
  Surface shot = test::skin::CaptureSettled(h);
  Surface end(track.LeftWidth, track.Bitmap.Height());
  StretchCopy(end.View(), end.View().Bounds(), track.Bitmap.View(), end.View().Bounds());
  EXPECT_EQ(Mismatches(shot, end, {channel.left, top}, end.View().Bounds()), 0);
  int middle = track.LeftWidth + 1;
  for (int y = 0; y < track.Bitmap.Height(); ++y)
    EXPECT_EQ(shot.At(channel.left + 40, top + y) & 0xFFFFFF, track.Bitmap.At(middle, y) & 0xFFFFFF)
        << "row " << y;
}

TEST_F(SkinnedRanges, UpDownHalvesShowTheirStateAndOnlyThePressedHalfIsPressed) {
  TForm& form = MakeForm();
  auto& standing = Add<TUpDown>(form, nullptr, 20, 20, 16, 30);
  auto& lying = Add<TUpDown>(form, nullptr, 60, 20, 34, 16,
                             [](TUpDown& u) { u.Orientation = TUDOrientation::udHorizontal; });
  auto& off = Add<TUpDown>(form, nullptr, 120, 20, 16, 30);
  off.SetEnabled(false);
  ShowSkinned(form);
  for (TUpDown* u : {&standing, &lying, &off}) ASSERT_EQ(Query(u->Handle()), 1);
  EXPECT_EQ(HalfCells(standing.Handle(), false), (std::pair{1, 5}));
  EXPECT_EQ(HalfCells(lying.Handle(), true), (std::pair{1, 5}));
  EXPECT_EQ(HalfCells(off.Handle(), false), (std::pair{3, 7})) << "disabled";

  // The real mouse on the lower half: only that half is pressed, and only
  // while the cursor stays on it.
  RECT r = test::skin::WindowRectOf(standing.Handle());
  standing.SetPosition(50);
  SetCursorPos(r.left + 8, r.bottom - 6);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(HalfCells(standing.Handle(), false), (std::pair{1, 6}));
  SetCursorPos(r.left + 8, r.bottom + 30);
  mouse_event(MOUSEEVENTF_MOVE, 0, 1, 0, 0);
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(HalfCells(standing.Handle(), false), (std::pair{1, 5})) << "moved off";
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(HalfCells(standing.Handle(), false), (std::pair{1, 5}));
  EXPECT_LT(standing.Position(), 50) << "the press stepped down";
}

TEST_F(SkinnedRanges, AnUpDownInsideAnEditKeepsOffItsBorderOnWhite) {
  TForm& form = MakeForm();
  auto& edit = Add<TEdit>(form, nullptr, 20, 20, 100, 24);
  ShowSkinned(form);
  // An up-down the way a spin edit carries one: a child of the field at its
  // right, as tall as its inside.
  RECT client{};
  GetClientRect(edit.Handle(), &client);
  HWND spin =
      CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, client.right - 16, 0, 16,
                      client.bottom, edit.Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(spin, nullptr);
  auto& skin = form.Create<TSkinUpDown>();
  skin.SetInsideEdit(true);
  skin.AttachWindow(spin, data, TSkinManage::Instance()->FindFormSkin(form.Handle()));
  ASSERT_EQ(Query(spin), 1);
  Surface shot = test::skin::CaptureSettled(spin);
  RECT own = test::skin::WindowRectOf(spin), field = test::skin::WindowRectOf(edit.Handle());
  // The halves start 3 pixels inside the field's window and end 3 before
  // its bottom and right; everything around them is white.
  int top = std::max<int>(0, field.top + 3 - own.top);
  int bottom = std::min<int>(own.bottom - own.top, field.bottom - 3 - own.top);
  int right = std::min<int>(own.right - own.left, field.right - 3 - own.left);
  ASSERT_GT(bottom - top, 4);
  int middle = top + (bottom - top) / 2;
  EXPECT_EQ(HalfCell(shot, {0, top, right, middle}, false, 0), 1);
  EXPECT_EQ(HalfCell(shot, {0, middle, right, bottom}, false, 1), 5);
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x)
      if (y < top || y >= bottom || x >= right) {
        ASSERT_EQ(shot.At(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
      }
  DestroyWindow(spin);
}

TEST_F(SkinnedRanges, WithoutUpDownPicturesTheHalvesArePlainButtonsWithArrows) {
  UseAlteredSkin({{"spin.bmp", {}}}, [](std::string&) {});
  ASSERT_TRUE(!data->Skin().UpDownVert || data->Skin().UpDownVert->Bitmap.IsEmpty());
  TForm& form = MakeForm();
  auto& spin = Add<TUpDown>(form, nullptr, 20, 20, 16, 30);
  ShowSkinned(form);
  ASSERT_EQ(Query(spin.Handle()), 1);
  const SkinDefinition& s = data->Skin();
  auto colour = [&](int index) { return ResolveColour(s.Colours[index], s.System()); };
  Surface shot = test::skin::CaptureSettled(spin.Handle());
  // Outlined in the dark shadow, the face inside, an arrow of text colour
  // at each half's centre pointing away from the other half.
  EXPECT_TRUE(SameColour(shot.At(0, 0), colour(SkinDefinition::kButtonDkShadow)));
  EXPECT_TRUE(SameColour(shot.At(15, 14), colour(SkinDefinition::kButtonDkShadow)));
  EXPECT_TRUE(SameColour(shot.At(3, 3), colour(SkinDefinition::kButtonFace)));
  EXPECT_TRUE(SameColour(shot.At(8, 6), colour(SkinDefinition::kButtonText))) << "up tip";
  EXPECT_TRUE(SameColour(shot.At(6, 6), colour(SkinDefinition::kButtonFace)));
  EXPECT_TRUE(SameColour(shot.At(8, 23), colour(SkinDefinition::kButtonText))) << "down tip";
  EXPECT_TRUE(SameColour(shot.At(6, 23), colour(SkinDefinition::kButtonFace)));
}

TEST_F(SkinnedRanges, AForeignCheckBoxGetsGlyphStripsCutFromTheSkinAndGivesThemBack) {
  TForm& form = MakeForm();
  auto& check = Add<TRzCheckBox>(form, nullptr, 20, 20, 120, 17);
  ShowSkinned(form);
  ASSERT_EQ(Query(check.Handle()), 1);
  auto* strip = dynamic_cast<TSkinGlyphStrip*>(check.glyphs);
  ASSERT_NE(strip, nullptr);
  EXPECT_TRUE(check.useGlyphs);
  EXPECT_EQ(check.reloads, 1);
  EXPECT_EQ(check.transparentColour, 0xFF00FF);
  // Unchecked, checked, indeterminate, then the same disabled: the
  // twelve-cell picture's cells 1, 5, 9, 4, 8, 12.
  const TDataSkinButton& b = data->Skin().Buttons;
  int width = b.CheckBitmap.Width() / b.CheckFrame;
  ASSERT_EQ(strip->Glyphs.Width(), width * 6);
  const int cells[6] = {1, 5, 9, 4, 8, 12};
  for (int i = 0; i < 6; ++i) {
    Surface expected = test::skin::CellPicture(b.CheckBitmap, b.CheckFrame, cells[i]);
    EXPECT_EQ(Mismatches(strip->Glyphs, expected, {i * width, 0}, expected.View().Bounds()), 0)
        << "glyph " << i;
  }
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_FALSE(check.useGlyphs) << "its own glyphs again";
}

TEST_F(SkinnedRanges, AMediaPlayerIsCoveredByAPanelOfSkinButtonsThatHandsPressesOn) {
  TForm& form = MakeForm();
  auto& player = Add<TMediaPlayer>(form, nullptr, 20, 20, 150, 30);
  ShowSkinned(form);
  ASSERT_EQ(Query(player.Handle()), 1);
  TSkinMP* skin = player.ComponentCount() ? dynamic_cast<TSkinMP*>(player.Components(0)) : nullptr;
  ASSERT_NE(skin, nullptr);
  ASSERT_NE(skin->Panel(), nullptr);
  TWMediaPlayer& panel = *skin->Panel();
  HWND p = panel.Handle();
  EXPECT_TRUE(
      test::skin::SameRect(test::skin::WindowRectOf(p), test::skin::WindowRectOf(player.Handle())));
  EXPECT_EQ(panel.Tag, data->DisableTag);
  EXPECT_NE(Query(p), 1) << "the panel itself stays plain";
  EXPECT_EQ(GetWindow(p, GW_HWNDNEXT), player.Handle()) << "just above the player";
  // Five buttons of 30 pixels: the first shows the skin's normal button cell
  // (the program has no glyph pictures, so nothing is drawn over it).
  const TDataSkinButton& b = data->Skin().Buttons;
  Surface first = Cell(b, {30, 30}, 5, 1);
  EXPECT_EQ(Mismatches(test::skin::CaptureSettled(p), first, {0, 0}, first.View().Bounds()), 0);

  // A press on the third button reaches the player; a release on another
  // button does not, one on the same button does.
  SendMessageA(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(75, 10));
  EXPECT_EQ(panel.PressedButton(), 2);
  SendMessageA(p, WM_LBUTTONUP, 0, MAKELPARAM(130, 10));
  SendMessageA(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 10));
  SendMessageA(p, WM_LBUTTONUP, 0, MAKELPARAM(85, 10));
  EXPECT_EQ(player.downs, (std::vector<int>{75, 80}));
  EXPECT_EQ(player.ups, (std::vector<int>{85}));
  EXPECT_EQ(panel.PressedButton(), -1);
  // Hidden buttons leave the bar to the others.
  player.visibleButtons = 0b101;  // play and stop
  SendMessageA(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
  EXPECT_EQ(panel.PressedButton(), 2);
  SendMessageA(p, WM_LBUTTONUP, 0, MAKELPARAM(100, 10));

  // The panel follows the player's place and visibility, and goes when the
  // skin does.
  player.SetBounds(40, 60, 120, 28);
  Pump();
  EXPECT_TRUE(
      test::skin::SameRect(test::skin::WindowRectOf(p), test::skin::WindowRectOf(player.Handle())));
  player.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(p));
  player.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(p));
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_FALSE(IsWindow(p));
  EXPECT_EQ(Query(player.Handle()), 0);
}

// The gallery's second form: every range control on it is skinned.
TEST(SkinGallery, ShowsTheRangeControlsSkinned) {
  const char* gallery = std::getenv("CORVANE_GALLERY");
  ASSERT_NE(gallery, nullptr) << "CORVANE_GALLERY names the gallery";
  std::string command = "\"" + std::string(gallery) + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  HWND form = nullptr;
  EXPECT_TRUE(PumpUntil(
      [&] {
        return (form = test::FindProcessWindow(pi.dwProcessId, "TRangeGalleryForm")) &&
               Query(form) == 1;
      },
      15000));
  if (form) {
    struct Count {
      int ranges = 0, skinned = 0;
    } count;
    // Counted until all are there and skinned, or 5 s have passed: on a
    // busy machine the last controls are made a moment later.
    PumpUntil(
        [&] {
          count = Count{};
          EnumChildWindows(
              form,
              [](HWND w, LPARAM p) -> BOOL {
                auto* c = reinterpret_cast<Count*>(p);
                std::string cls = WindowClassName(w);
                if (cls != "TProgressBar" && cls != "TTrackBar" && cls != "TUpDown") return TRUE;
                ++c->ranges;
                if (Query(w) == 1) ++c->skinned;
                return TRUE;
              },
              reinterpret_cast<LPARAM>(&count));
          return count.ranges == 13 && count.skinned == count.ranges;
        },
        5000);
    EXPECT_EQ(count.ranges, 13);
    EXPECT_EQ(count.skinned, count.ranges);
    if (std::getenv("CORVANE_SHOTS")) Sleep(4000);
    if (HWND main = test::FindProcessWindow(pi.dwProcessId, "TGalleryForm"))
      PostMessageA(main, WM_CLOSE, 0, 0);
  }
  EXPECT_TRUE(test::AwaitProgramEnd(pi));
}

}  // namespace
}  // namespace corvane
