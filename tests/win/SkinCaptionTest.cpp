// Caption buttons of a skinned window for real: they light up under the
// mouse, press, show their hints and act; the skin's window menu opens from
// the icon button, Alt+Space and the caption and follows the window's state.
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using namespace test::skin;

using test::Wait;

class CaptionButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    TSkinManage::Destroy();
    data = &test::skin::ActiveSkinData();
    ASSERT_FALSE(data->SkinEmpty());
  }
  void TearDown() override {
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    ResetApplication();
    TSkinManage::Destroy();
  }

  // A sizeable form with every caption button.
  HWND ShowSizeable() {
    TForm& form = Application().CreateForm<TForm>();
    form.BorderIcons = biSystemMenu | biMinimize | biMaximize;
    form.SetCaption("Caption buttons");
    form.SetBounds(200, 150, 420, 300);
    form.Show();
    SetForegroundWindow(form.Handle());
    HWND w = form.Handle();
    EXPECT_TRUE(PumpUntil([&] { return Skin(w) && Skin(w)->FrameState() == kFrameActive; }));
    MoveTo(w, 200, 150);  // in the client area, away from every button
    return w;
  }
  TWinSkinForm* Skin(HWND w) { return TSkinManage::Instance()->FindFormSkin(w); }

  // The stored skin's button with this action and visibility.
  const TDataSkinSysButton& Element(int action, int visibility) {
    for (const auto& b : data->Skin().CaptionButtons)
      if (b->Action == action && b->Visibility == visibility) return *b;
    ADD_FAILURE() << "no button " << action << "/" << visibility;
    return *data->Skin().CaptionButtons.front();
  }
  // Right-aligned buttons: XCoord from the window's right edge.
  static Point Centre(HWND w, const TDataSkinSysButton& b) {
    RECT r = WindowRectOf(w);
    return {r.right - r.left - b.XCoord + 8, b.YCoord + 8};
  }
  // True when the screen shows the button's cell at its place.
  bool Shows(HWND w, const TDataSkinSysButton& b, int cell) {
    RECT r = WindowRectOf(w);
    Surface expected = CellPicture(b.Bitmap, b.Frame, cell);
    Point at{r.right - r.left - b.XCoord, b.YCoord};
    return Mismatches(CaptureScreen(r), expected, at, expected.View().Bounds()) == 0;
  }
  static void MoveTo(HWND w, int x, int y) {
    RECT r = WindowRectOf(w);
    SetCursorPos(r.left + x, r.top + y);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Wait(60);
  }
  static void MoveTo(HWND w, Point p) { MoveTo(w, p.x, p.y); }
  static void Click(HWND w, Point p, int times = 1) {
    MoveTo(w, p);
    for (int i = 0; i < times; ++i) {
      mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
      mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }
    Wait(150);
  }

  TSkinData* data = nullptr;
};

TEST_F(CaptionButtons, HoverAndPressDrawTheirCellsAndRepaintOnlyTheButtonThatChanged) {
  HWND w = ShowSizeable();
  const TDataSkinSysButton& close = Element(0, 0);
  const TDataSkinSysButton& max = Element(1, 2);
  const TDataSkinSysButton& min = Element(2, 8);
  for (const TDataSkinSysButton* b : {&close, &max, &min}) EXPECT_TRUE(Shows(w, *b, 1)) << b->Action;
  TWinSkinForm* skin = Skin(w);
  const int frames = skin->FramePaints(), buttons = skin->ButtonPaints();

  struct Step {
    Point at;
    int closeCell, maxCell, minCell, paints;
  };
  const Step hover[] = {
      {Centre(w, close), 3, 1, 1, 1},
      {Centre(w, max), 1, 3, 1, 3},
      {Centre(w, min), 1, 1, 3, 5},
      {{150, 12}, 1, 1, 1, 6},  // the empty caption
  };
  for (const Step& s : hover) {
    MoveTo(w, s.at);
    EXPECT_TRUE(Shows(w, close, s.closeCell)) << s.at.x;
    EXPECT_TRUE(Shows(w, max, s.maxCell)) << s.at.x;
    EXPECT_TRUE(Shows(w, min, s.minCell)) << s.at.x;
    EXPECT_EQ(skin->ButtonPaints() - buttons, s.paints) << s.at.x;
  }
  EXPECT_EQ(skin->FramePaints(), frames) << "hovering never repaints the whole frame";

  // Pressed while held; slid onto another button and released there: nothing runs.
  MoveTo(w, Centre(w, max));
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  Wait(100);
  EXPECT_TRUE(Shows(w, max, 2));
  MoveTo(w, Centre(w, close));
  EXPECT_TRUE(Shows(w, max, 1));
  EXPECT_TRUE(Shows(w, close, 3));
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  Wait(300);
  EXPECT_FALSE(IsZoomed(w));
  EXPECT_TRUE(IsWindowVisible(w));

  // An inactive window shows the fourth cells and nothing lights up.
  MoveTo(w, 150, 12);
  SendMessageA(w, WM_NCACTIVATE, FALSE, 0);
  MoveTo(w, Centre(w, close));
  EXPECT_TRUE(Shows(w, close, 4));
  EXPECT_TRUE(Shows(w, min, 4));
  SendMessageA(w, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(PumpUntil([&] { return Shows(w, min, 1); }, 1000));

  // Leaving the window lets the hover tick put the button back.
  MoveTo(w, Centre(w, close));
  SetCursorPos(5, 5);
  EXPECT_TRUE(PumpUntil([&] { return Shows(w, close, 1); }, 1500));
}

TEST_F(CaptionButtons, TheHintShowsAfterASecondAndGoesAtThreeAndAHalfOnlyWhenAsked) {
  HWND w = ShowSizeable();
  const TDataSkinSysButton& close = Element(0, 0);
  HWND hint = data->HintWindow();
  ASSERT_NE(hint, nullptr);
  // Timed from before the move: the measured delays are never shorter than
  // the real ones.
  DWORD start = GetTickCount(), shownAt = 0, goneAt = 0;
  MoveTo(w, Centre(w, close));
  PumpUntil(
      [&] {
        bool visible = IsWindowVisible(hint);
        if (visible && !shownAt) shownAt = GetTickCount() - start;
        if (!visible && shownAt) goneAt = GetTickCount() - start;
        return goneAt != 0;
      },
      6000);
  EXPECT_GE(shownAt, 990u);
  EXPECT_LE(shownAt, 1900u);
  EXPECT_GE(goneAt, 3490u);
  EXPECT_LE(goneAt, 4700u);
  char text[32] = {};
  GetWindowTextA(hint, text, sizeof text);
  EXPECT_STREQ(text, "Close");
  RECT r = WindowRectOf(w), h = WindowRectOf(hint);
  EXPECT_EQ(h.left, r.right - close.XCoord);
  EXPECT_EQ(h.top, r.top + Centre(w, close).y + 24);
  // Once the hint went, the mouse resting on the button costs no timer.
  Pump();
  Sleep(400);
  MSG timer;
  EXPECT_FALSE(PeekMessageA(&timer, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "the hint timer ran on";

  data->Options.Exclude(xoCaptionButtonHint);
  MoveTo(w, 150, 12);
  MoveTo(w, Centre(w, close));
  EXPECT_FALSE(PumpUntil([&] { return IsWindowVisible(hint) != FALSE; }, 1800)) << "no hints without the option";
}

TEST_F(CaptionButtons, ButtonsAndCaptionDoubleClicksMaximiseRestoreMinimiseAndClose) {
  HWND w = ShowSizeable();
  const TDataSkinSysButton& max = Element(1, 2);
  const TDataSkinSysButton& restore = Element(1, 1);
  Click(w, Centre(w, max));
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(w) != FALSE; }, 2000));
  MoveTo(w, 300, 300);
  EXPECT_TRUE(PumpUntil([&] { return Shows(w, restore, 1); }, 1000)) << "restore takes maximise's place";
  Click(w, Centre(w, restore));
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(w); }, 2000));
  EXPECT_TRUE(Shows(w, max, 1));

  Click(w, {150, 12}, 2);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(w) != FALSE; }, 2000)) << "a double click on the caption maximises";
  Click(w, {150, 12}, 2);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(w); }, 2000)) << "and restores";

  Click(w, Centre(w, Element(2, 8)));
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(w) != FALSE; }, 2000));
  ShowWindow(w, SW_RESTORE);
  SetForegroundWindow(w);
  Wait(200);

  // The icon button, double-clicked: the window closes.
  const TDataSkinSysButton& icon = Element(3, 0);
  Click(w, {icon.XCoord + 4, icon.YCoord + 4}, 2);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 3000));
}

// What a probe saw of the skin's window menu while it was open.
struct MenuProbe {
  HWND window = nullptr;
  bool opened = false;
  std::map<unsigned, bool> enabledByCommand;
  std::map<unsigned, int> imageByCommand;
  int tag = 0;
  bool glyphs = false;
  bool chooseClose = false;
};
MenuProbe g_probe;
TWinSkinForm* g_skin = nullptr;

void CALLBACK ProbeMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  g_probe.opened = true;
  if (TPopupMenu* skinMenu = g_skin->SkinSystemMenu()) {
    g_probe.tag = static_cast<int>(skinMenu->Tag);
    g_probe.glyphs = skinMenu->Images == &g_skin->SkinData()->MenuGlyphs();
    for (int i = 0; i < skinMenu->Count(); ++i) {
      TMenuItem* item = skinMenu->Items(i);
      g_probe.enabledByCommand[static_cast<unsigned>(item->Tag)] = item->Enabled();
      g_probe.imageByCommand[static_cast<unsigned>(item->Tag)] = item->ImageIndex();
    }
  }
  if (g_probe.chooseClose) {
    // Down to Close (the keyboard skips separators), then Return.
    auto press = [](BYTE key) {
      keybd_event(key, 0, 0, 0);
      keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    };
    TPopupMenu* skinMenu = g_skin->SkinSystemMenu();
    for (int i = 0; skinMenu && i < skinMenu->Count(); ++i) {
      if (skinMenu->Items(i)->IsLine()) continue;
      press(VK_DOWN);
      if (skinMenu->Items(i)->Tag == SC_CLOSE) break;
    }
    press(VK_RETURN);
  } else {
    EndMenu();
  }
}

TEST_F(CaptionButtons, TheSkinsWindowMenuOpensFromAltSpaceTheCaptionAndTheIcon) {
  HWND w = ShowSizeable();
  g_skin = Skin(w);
  auto open = [&](const std::function<void()>& how, bool chooseClose = false) {
    g_probe = {};
    g_probe.chooseClose = chooseClose;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeMenu);
    how();
    PumpUntil([] { return g_probe.opened; }, 3000);
    KillTimer(nullptr, timer);
    Wait(700);  // past the double-click time, so the next opening is a new one
  };

  open([] {
    keybd_event(VK_MENU, 0, 0, 0);
    keybd_event(VK_SPACE, 0, 0, 0);
    keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
  });
  ASSERT_TRUE(g_probe.opened) << "Alt+Space";
  EXPECT_EQ(g_probe.tag, kSkinSystemMenuTag);
  EXPECT_TRUE(g_probe.glyphs);
  using Enabled = std::map<unsigned, bool>;
  auto windowCommands = [](const Enabled& all) {
    Enabled out;
    for (unsigned c : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
      if (all.count(c)) out[c] = all.at(c);
    return out;
  };
  EXPECT_EQ(windowCommands(g_probe.enabledByCommand),
            (Enabled{{SC_RESTORE, false}, {SC_MOVE, true}, {SC_SIZE, true}, {SC_MINIMIZE, true},
                     {SC_MAXIMIZE, true}, {SC_CLOSE, true}}));
  EXPECT_EQ(g_probe.imageByCommand[SC_CLOSE], 3);
  EXPECT_EQ(g_probe.imageByCommand[SC_RESTORE], 0);
  EXPECT_EQ(g_probe.imageByCommand[SC_MOVE], -1);

  ShowWindow(w, SW_MAXIMIZE);
  Wait(200);
  open([&] {
    MoveTo(w, 150, 12);
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
  });
  ASSERT_TRUE(g_probe.opened) << "right-click on the caption";
  EXPECT_EQ(windowCommands(g_probe.enabledByCommand),
            (Enabled{{SC_RESTORE, true}, {SC_MOVE, false}, {SC_SIZE, false}, {SC_MINIMIZE, true},
                     {SC_MAXIMIZE, false}, {SC_CLOSE, true}}));
  ShowWindow(w, SW_RESTORE);
  Wait(200);

  const TDataSkinSysButton& icon = Element(3, 0);
  open([&] { Click(w, {icon.XCoord + 4, icon.YCoord + 4}); }, true);
  ASSERT_TRUE(g_probe.opened) << "the icon button";
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 2000)) << "choosing Close closes";
}

}  // namespace
}  // namespace corvane

