// The link editor, skinned, at the display scales people use: made at the
// system's DPI, and moved between DPIs by WM_DPICHANGED as the system sends
// it when a window crosses to a monitor of another scale (Wine never sends
// it, so the tests do). Sizes are exact; pictures are the skin's at the DPI.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "core/DpiScale.h"
#include "components/SkinImage.h"
#include "launcher/LinkStore.h"
#include "launcher/main.h"
#include "launcher/supportForm.h"
#include "framework/Menus.h"
#include "pictures/PictureAlpha.h"
#include "pictures/WinSurface.h"
#include "platform/Dpi.h"
#include "skin/data/SkinLoad.h"
#include "skin/data/WinStoredSkin.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using test::Wait;
using namespace test::skin;

constexpr Size kDesignedClient{531, 330};

class Dpi : public ::testing::Test {
 protected:
  void SetUp() override { FreshStart(); }
  void TearDown() override {
    ResetApplication();
    TSkinManage::Destroy();
    Pump();
  }

  // The launcher and the skinned editor, as the program shows them (the
  // stored skin, without its scaled sets unless given).
  TForm2& Start(std::vector<std::uint8_t> skin = StoredSkin(), std::vector<ScaledSkinStream> scaledSets = {}) {
    launcher = &Application().CreateForm<TForm1>(folder.File("Corvane.ini"));
    launcher->Show();
    TForm2& editor = Application().CreateForm<TForm2>();
    editor.SkinData1->SetSkinStream(std::move(skin), std::move(scaledSets));
    editor.SkinData1->SetActive(true);
    EXPECT_TRUE(ShowAndAwaitSkin(editor));
    return editor;
  }

  static Size ClientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return {r.right, r.bottom};
  }

  // As the system sends it: the new DPI and a place for the window.
  static void ChangeDpi(HWND w, int dpi) {
    // Near the screen's corner, so the whole window is on the screen.
    RECT suggested = WindowRectOf(w);
    OffsetRect(&suggested, 8 - suggested.left, 8 - suggested.top);
    SendMessageA(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
  }

  // Every windowed control's caption fits inside it in the font it shows.
  static void ExpectNoTextClipped(TWinControl& parent, int dpi) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
      auto* control = dynamic_cast<TWinControl*>(parent.Controls(i));
      if (!control) continue;
      ExpectNoTextClipped(*control, dpi);
      const std::string text = control->Caption();
      if (text.empty() || control->InheritsFrom("TCustomEdit") || control->InheritsFrom("TStatusBar")) continue;
      HWND w = control->Handle();
      WindowDC dc(w);
      SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)));
      SIZE extent{};
      GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
      // The same text in the designed font at 96 DPI: a design that leaves
      // no room (or a substitute font wider than the designed one) is no
      // fault of the scaling, which must only not make it worse beyond a
      // font's hinting (a few per cent).
      UniqueFont designedFont = MakeFont(control->Font, kDesignDpi);
      SelectGuard designed(dc.Get(), designedFont.Get());
      SIZE at96{};
      GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &at96);
      const Rect box = control->DesignedBounds();
      const double room96 = static_cast<double>(box.Width()) / std::max<LONG>(at96.cx, 1);
      const double room = static_cast<double>(control->Width()) / std::max<LONG>(extent.cx, 1);
      EXPECT_GE(room, std::min(room96, 1.0) * 0.96) << control->Name << " \"" << text << "\" at " << dpi;
      EXPECT_LE(extent.cy, control->Height()) << control->Name << " at " << dpi;
    }
  }

  // The form's controls and their designed bounds, top to bottom (not the
  // ones sized by their text, which the font at each DPI decides).
  static void CollectDesigned(TWinControl& parent, std::vector<std::pair<TControl*, Rect>>& out) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
      TControl* c = parent.Controls(i);
      // The status bar's place is its parent's bottom edge, checked apart.
      if (!c->AutoSize() && !c->InheritsFrom("TStatusBar")) out.emplace_back(c, c->DesignedBounds());
      if (auto* w = dynamic_cast<TWinControl*>(c)) CollectDesigned(*w, out);
    }
  }

  struct FreeModule {
    void operator()(HMODULE m) const { FreeLibrary(m); }
  };

  test::TempFolder folder;
  TForm1* launcher = nullptr;
  // The program, opened for its resources; outlives the forms of a test.
  std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule> program;
};

TEST_F(Dpi, TheEditorIsMadeAtTheSystemDpiWithEveryDesignedSizeScaled) {
  TForm2& editor = Start();
  const int dpi = SystemDpi();
  EXPECT_EQ(editor.Dpi(), dpi);
  EXPECT_EQ(ClientSize(editor.Handle()), ScaleToDpi(kDesignedClient, dpi));
  TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(editor.Handle());
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->Metrics(), (FrameMetrics{ScaleToDpi(4, dpi), ScaleToDpi(25, dpi), ScaleToDpi(4, dpi),
                                           ScaleToDpi(5, dpi)}));
  EXPECT_EQ(editor.Button6->BoundsRect(), ScaleBoundsToDpi(Rect::FromSize(192, 279, 94, 21), dpi));
  ExpectNoTextClipped(editor, dpi);
}

TEST_F(Dpi, ADpiChangeRescalesAndReskinsTheEditorAndRoundTripsLeaveNoDrift) {
  TForm2& editor = Start();
  HWND w = editor.Handle();
  const int start = editor.Dpi();
  const Size startClient = ClientSize(w);
  const RECT startWindow = WindowRectOf(w);
  std::vector<std::pair<TControl*, Rect>> designed;
  CollectDesigned(editor, designed);
  TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(w);
  ASSERT_NE(skin, nullptr);

  for (int dpi : {120, 144, 192}) {
    ChangeDpi(w, dpi);
    SCOPED_TRACE(dpi);
    EXPECT_EQ(editor.Dpi(), dpi);
    EXPECT_EQ(skin->Dpi(), dpi);
    EXPECT_EQ(ClientSize(w), ScaleToDpi(kDesignedClient, dpi));
    EXPECT_EQ(skin->Metrics(), (FrameMetrics{ScaleToDpi(4, dpi), ScaleToDpi(25, dpi), ScaleToDpi(4, dpi),
                                             ScaleToDpi(5, dpi)}));
    for (const auto& [control, bounds] : designed) EXPECT_EQ(control->DesignedBounds(), bounds) << control->Name;
    EXPECT_EQ(editor.Button6->BoundsRect(), ScaleBoundsToDpi(Rect::FromSize(192, 279, 94, 21), dpi));
    EXPECT_EQ(editor.StatusBar1->BoundsRect(),
              Rect::FromSize(0, ScaleToDpi(330, dpi) - ScaleToDpi(19, dpi), ScaleToDpi(531, dpi), ScaleToDpi(19, dpi)));
    ExpectNoTextClipped(editor, dpi);
  }

  // At twice the design the frame is the skin's pictures at twice their
  // size: the left border's active cell, replicated, down the whole edge.
  ASSERT_EQ(editor.Dpi(), 192);
  const Surface shot = CaptureSettled(w);
  const Surface& left = editor.SkinData1->Skin().BorderLeft.Bitmap;
  const Surface cell = CellPicture(left, 2, 1);
  Surface doubled(cell.Width() * 2, cell.Height() * 2);
  for (int y = 0; y < doubled.Height(); ++y)
    for (int x = 0; x < doubled.Width(); ++x) doubled.At(x, y) = cell.At(x / 2, y / 2);
  // The corner rows (caption height) and the bottom rows are drawn 1:1.
  EXPECT_EQ(Mismatches(shot, doubled, {0, 0}, {0, 0, 8, 50}), 0) << "top of the left border";
  const int h = shot.Height();
  EXPECT_EQ(Mismatches(shot, doubled, {0, h - doubled.Height()}, {0, doubled.Height() - 10, 8, doubled.Height()}),
            0)
      << "bottom of the left border";

  // Fifty round trips between the extremes: exact sizes and no handle growth.
  ChangeDpi(w, start);
  const HandleCounts before = CurrentHandleCounts();
  for (int i = 0; i < 50; ++i) {
    ChangeDpi(w, 144);
    ChangeDpi(w, 192);
    ChangeDpi(w, start);
  }
  EXPECT_EQ(ClientSize(w), startClient);
  const RECT endWindow = WindowRectOf(w);
  EXPECT_EQ(endWindow.right - endWindow.left, startWindow.right - startWindow.left);
  EXPECT_EQ(endWindow.bottom - endWindow.top, startWindow.bottom - startWindow.top);
  for (const auto& [control, bounds] : designed) EXPECT_EQ(control->DesignedBounds(), bounds) << control->Name;
  ExpectHandleCountsKept(before);
}

// Opened by a timer inside the menu's own loop: the DPI changes under the
// open menu, then the menu closes.
struct MenuProbe {
  TWinSkinForm* skin = nullptr;
  int dpi = 0;  // 0: no change
  int glyphSize = 0;
  bool opened = false;
} g_menuProbe;

void CALLBACK ChangeDpiUnderTheOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  if (TPopupMenu* open = g_menuProbe.skin->SkinSystemMenu(); open && open->Images)
    g_menuProbe.glyphSize = open->Images->Width();
  if (g_menuProbe.dpi) {
    HWND form = g_menuProbe.skin->Handle;
    RECT suggested = WindowRectOf(form);
    OffsetRect(&suggested, 8 - suggested.left, 8 - suggested.top);
    SendMessageA(form, WM_DPICHANGED, MAKEWPARAM(g_menuProbe.dpi, g_menuProbe.dpi),
                 reinterpret_cast<LPARAM>(&suggested));
  }
  g_menuProbe.opened = true;
  EndMenu();
}

TEST_F(Dpi, ADpiChangeWhileAMenuIsOpenOrACaptionButtonIsHeldBreaksNothing) {
  TForm2& editor = Start();
  HWND w = editor.Handle();
  const int start = editor.Dpi();
  const int other = start == 192 ? 144 : 192;
  TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(w);
  ASSERT_NE(skin, nullptr);
  SetForegroundWindow(w);
  auto expectWholeAt = [&](int dpi) {
    EXPECT_EQ(skin->Dpi(), dpi);
    EXPECT_EQ(ClientSize(w), ScaleToDpi(kDesignedClient, dpi));
    EXPECT_EQ(skin->Metrics(), (FrameMetrics{ScaleToDpi(4, dpi), ScaleToDpi(25, dpi), ScaleToDpi(4, dpi),
                                             ScaleToDpi(5, dpi)}));
  };

  // The skin's window menu (Alt+Space's command) opened; the first time
  // the form moves to another DPI under it.
  auto openWindowMenu = [&](int changeTo) {
    g_menuProbe = {skin, changeTo, 0, false};
    UINT_PTR timer = SetTimer(nullptr, 0, 30, ChangeDpiUnderTheOpenMenu);
    PostMessageA(w, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    const bool opened = PumpUntil([] { return g_menuProbe.opened; }, 5000);
    KillTimer(nullptr, timer);
    Wait(700);  // past the double-click time, so the next opening is a new one
    return opened;
  };
  ASSERT_TRUE(openWindowMenu(other)) << "the window menu never opened";
  EXPECT_EQ(g_menuProbe.glyphSize, ScaleToDpi(16, start));
  EXPECT_TRUE(IsWindow(w));
  expectWholeAt(other);
  ASSERT_TRUE(openWindowMenu(0));
  EXPECT_EQ(g_menuProbe.glyphSize, ScaleToDpi(16, other)) << "the next opening is made at the new DPI";

  // The close button held down while the DPI changes back: the press ends
  // with the buttons made again at the new size, and the release, wherever
  // it lands, closes nothing.
  const SkinDefinition& scaled = editor.SkinData1->SkinAt(other);
  const TDataSkinSysButton* close = nullptr;
  for (const auto& b : scaled.CaptionButtons)
    if (b->Action == 0 && b->Visibility == 0) close = b.get();
  ASSERT_NE(close, nullptr);
  RECT r = WindowRectOf(w);
  // Its centre: places count from the window's right edge.
  const int half = ScaleToDpi(8, other);
  const POINT centre{r.right - close->XCoord + half, r.top + close->YCoord + half};
  SetCursorPos(centre.x, centre.y);
  mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
  Wait(60);
  // Anywhere else on the caption a press would start the system's move loop.
  POINT cursor{};
  GetCursorPos(&cursor);
  ASSERT_TRUE(cursor.x == centre.x && cursor.y == centre.y) << "the close button is off the screen";
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  Wait(100);
  ChangeDpi(w, start);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  Wait(300);
  Pump();
  EXPECT_TRUE(IsWindowVisible(w)) << "the release after the change closed the editor";
  expectWholeAt(start);
}

TEST_F(Dpi, TheEditorsFrameAndCaptionButtonsAreTheSkinDrawnForItsDpi) {
  const int dpi = SystemDpi();
  if (dpi == kDesignDpi) GTEST_SKIP() << "the design's own pictures: nothing scaled to compare";
  // The skin exactly as the program carries it.
  const char* exe = std::getenv("CORVANE_EXE");
  ASSERT_NE(exe, nullptr) << "CORVANE_EXE is not set";
  program.reset(LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_NE(program, nullptr) << "cannot open " << exe;
  StoredSkinResources stored = LoadStoredSkinResources(program.get());
  const ScaledSkinStream* set = ChooseScaledSet(stored.scaledSets, dpi);
  ASSERT_NE(set, nullptr);
  ASSERT_EQ(set->dpi, dpi) << "the program carries a set drawn for " << dpi;
  SkinDefinition drawn;
  ASSERT_EQ(LoadSkinStream(set->stream, drawn), SkinLoadStatus::Loaded);

  TForm2& editor = Start(stored.stream, stored.scaledSets);
  ASSERT_EQ(editor.Dpi(), dpi);
  const Surface shot = CaptureSettled(editor.Handle());
  const int W = shot.Width(), H = shot.Height();
  const int side = ScaleToDpi(4, dpi), caption = ScaleToDpi(25, dpi), bottom = ScaleToDpi(5, dpi);
  // Above the caption buttons (rows 0 to 4 of the design) nothing covers
  // the caption picture; its ends (11 columns of the design) are drawn 1:1.
  const int clear = ScaleToDpi(5, dpi), end = ScaleToDpi(11, dpi);
  const Surface left = CellPicture(drawn.BorderLeft.Bitmap, 2, 1);
  const Surface right = CellPicture(drawn.BorderRight.Bitmap, 2, 1);
  const Surface& top = drawn.BorderTop.Bitmap;      // active cell: the upper half
  const Surface& under = drawn.BorderBottom.Bitmap;  // the same
  const Surface close = CellPicture(drawn.CaptionButtons[0]->Bitmap, drawn.CaptionButtons[0]->Frame, 1);
  const Point closeAt{W - ScaleToDpi(drawn.CaptionButtons[0]->XCoord, dpi), ScaleToDpi(drawn.CaptionButtons[0]->YCoord, dpi)};
  struct Part {
    const char* what;
    const Surface* picture;
    Point at;
    Rect only;
  };
  const Part parts[] = {
      {"left border beside the caption", &left, {0, 0}, {0, 0, side, caption}},
      {"left border beside the bottom", &left, {0, H - left.Height()}, {0, left.Height() - bottom, side, left.Height()}},
      {"right border beside the caption", &right, {W - side, 0}, {0, 0, side, caption}},
      {"caption, left end", &top, {side, 0}, {0, 0, end, clear}},
      {"caption, right end", &top, {W - side - top.Width(), 0}, {top.Width() - end, 0, top.Width(), clear}},
      {"bottom border, left end", &under, {side, H - bottom}, {0, 0, end, bottom}},
      {"close button", &close, closeAt, close.View().Bounds()},
  };
  // The resampled 96-DPI pictures differ from the drawn ones: the shot must
  // show the drawn ones, not merely something of the right size.
  const std::unique_ptr<SkinDefinition> resampled = ScaleSkin(editor.SkinData1->Skin(), dpi);
  const Surface resampledClose =
      CellPicture(resampled->CaptionButtons[0]->Bitmap, resampled->CaptionButtons[0]->Frame, 1);
  for (const Part& part : parts) EXPECT_EQ(Mismatches(shot, *part.picture, part.at, part.only), 0) << part.what;
  EXPECT_GT(Mismatches(shot, resampledClose, closeAt, resampledClose.View().Bounds()), 0)
      << "the close button is the resampled picture";
}

TEST_F(Dpi, TheLauncherShowsItsIconsOwnEntryAndItsMenuScales) {
  {
    LinkStore store;
    store.Open(folder.File("Corvane.ini"));
    store.WriteString("Notepad", "Link", "C:\\windows\\notepad.exe");
  }
  launcher = &Application().CreateForm<TForm1>(folder.File("Corvane.ini"));
  launcher->Show();
  Pump();
  HWND w = launcher->Handle();
  ASSERT_EQ(launcher->PopupMenu1->Count(), 1);
  auto itemHeight = [&] {
    WindowDC screen(nullptr);
    SelectGuard font(screen.Get(), MenuFont(launcher->PopupMenu1->Dpi()));
    int width = 0, height = 0;
    launcher->PopupMenu1->MeasureItem(*launcher->PopupMenu1->Items(0), screen.Get(), width, height);
    return height;
  };
  launcher->PopupMenu1->SetDpi(launcher->Dpi());
  const int startHeight = itemHeight();
  const int start = launcher->Dpi();

  for (int dpi : {192, 144, start}) {
    SCOPED_TRACE(dpi);
    ChangeDpi(w, dpi);
    const int icon = ScaleToDpi(32, dpi);
    EXPECT_EQ(ClientSize(w), (Size{icon, icon}));
    // The picture is the icon's own entry of that size, not a smaller one
    // enlarged.
    TPicture own;
    UniqueIcon entry(CopyApplicationIcon(icon));
    own.AssignIcon(entry.Get());
    UniqueBitmap expected = TSkinImage::ConvertToBitmap(own, dpi);
    const Surface shown = CaptureSettled(w);
    OffscreenSurface drawn(icon, icon);
    {
      MemoryDC dc(CreateCompatibleDC(nullptr));
      SelectGuard select(dc.Get(), expected.Get());
      BitBlt(drawn.Dc(), 0, 0, icon, icon, dc.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    // An icon with alpha is handed to the system as it is, premultiplied;
    // its soft edge pixels blend with whatever is behind the launcher.
    const Surface ownPixels = own.AlphaPixels();
    if (!ownPixels.IsEmpty()) {
      EXPECT_EQ(launcher->SkinImage1->Shown(), Premultiply(ownPixels.View()));
    }
    int same = 0, opaque = 0;
    const Pixel key = drawn.View().At(0, icon - 1);
    for (int y = 0; y < icon; ++y)
      for (int x = 0; x < icon; ++x) {
        const Pixel p = drawn.View().At(x, y);
        if ((p & 0xFFFFFF) == (key & 0xFFFFFF)) continue;
        if (!ownPixels.IsEmpty() && (ownPixels.At(x, y) >> 24) != 0xFF) continue;
        ++opaque;
        if ((shown.At(x, y) & 0xFFFFFF) == (p & 0xFFFFFF)) ++same;
      }
    EXPECT_GT(opaque, icon * icon / 4);
    EXPECT_EQ(same, opaque);
    // The menu: its icons at the small-icon size of the DPI, items of a
    // height to match.
    EXPECT_EQ(launcher->ImageList1->Width(), SystemMetricForDpi(SM_CXSMICON, dpi));
    launcher->PopupMenu1->SetDpi(dpi);
    EXPECT_EQ(itemHeight(), ScaleBetweenDpis(startHeight, start, dpi));
  }
}

}  // namespace
}  // namespace corvane
