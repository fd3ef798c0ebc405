// The skinned menu bar for real, on the gallery's menu form: the window's
// menu is drawn from the skin below the skinned caption, its items open
// their skinned submenus under them, Left, Right and the mouse move along
// the bar while a submenu is open, Alt and a letter open an item, a chosen
// item sends its command, and unskinning gives the window its own bar back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "MenuGallery.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using namespace test::skin;

void Press(HWND menu, WPARAM key) {
  PostMessageA(menu, WM_KEYDOWN, key, 0);
  PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
}

int CountColour(const Surface& shot, const Rect& r, Colour c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += SameColour(shot.At(x, y), c);
  return n;
}

class SkinnedMenuBar : public ::testing::Test {
 protected:
  void SetUp() override { Start(StoredSkin()); }
  void TearDown() override {
    ResetApplication();
    TSkinManage::Destroy();
  }
  void Start(const std::vector<std::uint8_t>& skin) {
    ResetApplication();
    TSkinManage::Destroy();
    data = &ActiveSkinData(skin);
    ASSERT_FALSE(data->SkinEmpty());
    gallery = CreateMenuGallery();
    ASSERT_TRUE(ShowAndAwaitSkin(*gallery.form));
    window = gallery.form->Handle();
  }
  TWinSkinForm* Skin() { return TSkinManage::Instance()->FindFormSkin(window); }
  TWinSkinMenu& Bar() { return *Skin()->MenuBar(); }
  Colour SkinColour(int index) { return ResolveColour(data->Skin().Colours[index], data->Skin().System()); }
  // Runs open (which returns when the menus close) with step ticking inside.
  void WhileOpen(const std::function<void()>& open, std::function<bool(HWND)> step) {
    WhileMenuOpen(open, std::move(step));
  }
  // Presses the left button on bar item index, as the system reports it.
  void ClickItem(int index) {
    Rect b = Bar().Items(index).Bounds;
    RECT w = WindowRectOf(window);
    SendMessageA(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(w.left + b.left + 3, w.top + b.top + 3));
  }
  std::string Chosen() { return gallery.chosen->Text(); }

  TSkinData* data = nullptr;
  MenuGallery gallery;
  HWND window = nullptr;
};

TEST_F(SkinnedMenuBar, TheItemsAreDrawnFromTheSkinBelowTheCaptionAndGoBackOnUnskin) {
  TWinSkinForm& skin = *Skin();
  ASSERT_NE(skin.MenuBar(), nullptr);
  EXPECT_EQ(GetMenu(window), nullptr) << "the system's bar is off the window";
  EXPECT_EQ(skin.MenuHeight(), GetSystemMetrics(SM_CYMENU));
  RECT client{};
  GetClientRect(window, &client);
  const RECT skinnedClient = client;

  const FrameMetrics& m = skin.Metrics();
  RECT w = WindowRectOf(window);
  const Rect strip{m.left, m.top, (w.right - w.left) - m.right, m.top + skin.MenuHeight()};
  EXPECT_EQ(Bar().BarRect(), strip);
  ASSERT_EQ(Bar().ItemCount(), 5);
  EXPECT_EQ(Bar().Items(0).Bounds.left, strip.left + 6) << "without a bar picture the items start 6 in";
  EXPECT_EQ(Bar().Items(4).Bounds.right, strip.right - 6) << "the help menu stands at the far end";

  Surface shot = CaptureSettled(window);
  const Colour text = SkinColour(SkinDefinition::kMenuBarText);
  const Rect gap{Bar().Items(3).Bounds.right + 2, strip.top, Bar().Items(4).Bounds.left - 2, strip.bottom};
  EXPECT_EQ(CountColour(shot, gap, SkinColour(SkinDefinition::kMenubar)), gap.Width() * gap.Height())
      << "the strip between the items is the skin's menu-bar colour";
  for (int i : {0, 1, 2, 4}) EXPECT_GT(CountColour(shot, Bar().Items(i).Bounds, text), 5) << "caption " << i;
  const Rect tools = Bar().Items(3).Bounds;
  EXPECT_EQ(CountColour(shot, tools, text), 0) << "the disabled item is not drawn as enabled";
  EXPECT_GT(CountColour(shot, tools, GetSysColor(COLOR_GRAYTEXT)), 5);

  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  ASSERT_EQ(Skin(), nullptr);
  EXPECT_EQ(GetMenu(window), gallery.menu->ShownHandle()) << "the same menu handle comes back";
  ASSERT_EQ(GetMenuItemCount(GetMenu(window)), 5);
  char caption[32] = {};
  GetMenuStringA(GetMenu(window), 4, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "&Help");
  GetClientRect(window, &client);
  EXPECT_TRUE(SameRect(client, skinnedClient)) << "the client area keeps its size with the system's bar";
}

TEST_F(SkinnedMenuBar, ABarPictureIsDrawnInTheActiveAndInactiveCells) {
  // A bar picture of two cells: ends red and blue, middle green when
  // active; all grey when inactive.
  test::TempFolder folder;
  const std::string path = folder.File("menubar.bmp");
  ASSERT_TRUE(test::WriteBmp(path, 30, 40, [](int x, int y) {
    if (y >= 20) return RGB(128, 128, 128);
    return x < 5 ? RGB(200, 0, 0) : x >= 25 ? RGB(0, 0, 200) : RGB(0, 160, 0);
  }));
  Start(AlteredSkin({{"menubar.bmp", FileBytes(path)}}, [](std::string& ini) {
    std::size_t at = ini.find("[Personality]");
    ASSERT_NE(at, std::string::npos);
    ini.insert(at + 13, "\r\nmenuBar=menubar.bmp\r\nTileMenu=0\r\nTileLeftMenu=5\r\nTileRightMenu=5");
  }));
  ASSERT_NE(data->Skin().MenuBar, nullptr);
  const Rect strip = Bar().BarRect();
  EXPECT_EQ(Bar().Items(0).Bounds.left, strip.left + 5 + 4) << "the items start past the picture's left end";
  Surface shot = CaptureSettled(window);
  const int mid = (strip.top + strip.bottom) / 2;
  EXPECT_TRUE(SameColour(shot.At(strip.left + 1, mid), RGB(200, 0, 0)));
  EXPECT_TRUE(SameColour(shot.At(strip.right - 2, mid), RGB(0, 0, 200)));
  const Rect gap{Bar().Items(3).Bounds.right + 2, strip.top, Bar().Items(4).Bounds.left - 2, strip.bottom};
  EXPECT_EQ(CountColour(shot, gap, RGB(0, 160, 0)), gap.Width() * gap.Height());

  SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
  shot = CaptureSettled(window);
  EXPECT_EQ(CountColour(shot, gap, RGB(128, 128, 128)), gap.Width() * gap.Height()) << "inactive: the second cell";
}

TEST_F(SkinnedMenuBar, AClickOpensTheSkinnedSubmenuUnderTheItemAndAChoiceSendsItsCommand) {
  RECT menuRect{};
  bool skinned = false;
  bool pressedWhileOpen = false;
  WhileOpen([&] { ClickItem(1); }, [&](HWND menu) {
    menuRect = WindowRectOf(menu);
    skinned = SendMessageA(menu, WM_SKINQUERY, 0, 0) == 1;
    pressedWhileOpen = Bar().Items(1).State == kNcPressed && Bar().OpenIndex() == 1;
    if (std::getenv("CORVANE_SHOTS")) Sleep(5000);  // time for a screenshot
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) Press(menu, key);
    return true;
  });
  EXPECT_TRUE(skinned) << "the submenu is painted by the skin";
  EXPECT_TRUE(pressedWhileOpen);
  RECT w = WindowRectOf(window);
  const Rect item = Bar().Items(1).Bounds;
  EXPECT_NEAR(menuRect.left, w.left + item.left, 3);
  EXPECT_NEAR(menuRect.top, w.top + item.bottom, 3);
  EXPECT_TRUE(PumpUntil([&] { return Chosen() == "&Copy\tCtrl+C"; }, 3000)) << Chosen();
  EXPECT_EQ(Bar().OpenIndex(), -1);
  EXPECT_EQ(Bar().Items(1).State, kNcNormal);

  // The disabled item opens nothing.
  bool opened = false;
  WhileOpen([&] { ClickItem(3); }, [&](HWND) { return opened = true; });
  EXPECT_FALSE(opened);
}

TEST_F(SkinnedMenuBar, LeftRightAndTheMouseSwitchBarItemsWhileASubmenuIsOpen) {
  std::vector<int> seen;
  WhileOpen([&] { ClickItem(0); }, [&](HWND menu) {
    int open = Bar().OpenIndex();
    if (open < 0 || (!seen.empty() && seen.back() == open)) return false;
    seen.push_back(open);
    switch (seen.size()) {
      case 1: Press(menu, VK_RIGHT); break;  // File -> Edit
      case 2: Press(menu, VK_LEFT); break;   // Edit -> File
      case 3: Press(menu, VK_LEFT); break;   // File wraps to Help (Tools is disabled)
      case 4: {                               // the mouse onto View
        RECT w = WindowRectOf(window);
        const Rect view = Bar().Items(2).Bounds;
        SetCursorPos(w.left + view.left + 4, w.top + view.top + 4);
        PostMessageA(menu, WM_MOUSEMOVE, 0, 0);
        break;
      }
      default: EndMenu(); return true;
    }
    return false;
  });
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 0, 4, 2}));
  EXPECT_EQ(Bar().OpenIndex(), -1);
}

TEST_F(SkinnedMenuBar, AltAndALetterOpenTheirItemAndTheKeyboardReachesDeepSubmenus) {
  // Alt+E through the system's own keyboard path, with the focus in the form's edit.
  SetForegroundWindow(window);
  SetFocus(gallery.chosen->Handle());
  int opened = -1;
  WhileOpen(
      [&] {
        keybd_event(VK_MENU, 0, 0, 0);
        keybd_event('E', 0, 0, 0);
        keybd_event('E', 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
        PumpUntil([&] { return Bar().OpenIndex() >= 0 || Chosen() != "Nothing chosen yet"; }, 3000);
      },
      [&](HWND menu) {
        opened = Bar().OpenIndex();
        Press(menu, VK_RETURN);  // the first item is selected already
        return true;
      });
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(PumpUntil([&] { return Chosen() == "&Undo\tCtrl+Z"; }, 3000)) << Chosen();

  // A letter no item has opens nothing; the key alone opens the first item.
  EXPECT_NE(SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'q'), 1);
  EXPECT_EQ(Bar().OpenIndex(), -1);
  int presses = 0;
  WhileOpen([&] { SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'v'); }, [&](HWND menu) {
    // View, down to Deep, then all the way down its levels.
    if (presses++ == 0) {
      Press(menu, VK_DOWN);
      for (int i = 0; i < kMenuGalleryDepth; ++i) Press(menu, VK_RIGHT);
      Press(menu, VK_RETURN);
    }
    return true;
  });
  EXPECT_TRUE(PumpUntil([&] { return Chosen() == "The bottom"; }, 5000)) << Chosen();
}

TEST_F(SkinnedMenuBar, AMenuChangedWhileOpenIsTakenWhenItClosesAndCyclesLeakNothing) {
  TMenuItem& file = *gallery.menu->Items(0);
  WhileOpen([&] { ClickItem(0); }, [&](HWND) {
    file.SetCaption("&Files");
    EndMenu();
    return true;
  });
  EXPECT_TRUE(PumpUntil([&] { return Bar().ItemCount() == 5 && Bar().Items(0).Caption == "&Files"; }));
  EXPECT_EQ(GetMenu(window), nullptr);

  // Odd items: an empty caption and a lone "&" take no room and open nothing.
  TMenuItem& empty = gallery.form->Create<TMenuItem>();
  TMenuItem& amp = gallery.form->Create<TMenuItem>();
  amp.SetCaption("&");
  gallery.menu->Add(empty);
  gallery.menu->Add(amp);
  Pump();
  ASSERT_EQ(Bar().ItemCount(), 7);
  EXPECT_EQ(Bar().ItemForKey('&'), nullptr);
  Skin()->RepaintNonClient();
  EXPECT_EQ(Bar().Items(5).Bounds.Width(), 0) << "an empty caption takes no room";

  auto cycle = [&] {
    SkinCycle(*data);
    PumpUntil([&] { return Skin() && Skin()->FrameState() == kFrameActive; });
  };
  cycle();
  const test::skin::HandleCounts before = test::skin::CurrentHandleCounts();
  for (int i = 0; i < 200; ++i) cycle();
  test::skin::ExpectHandleCountsKept(before, 2);
  ASSERT_NE(Skin(), nullptr);
  EXPECT_EQ(Bar().ItemCount(), 7);
  EXPECT_EQ(GetMenu(window), nullptr);
}

TEST(SkinnedMenuBarEdges, AMenuWithoutItemsStaysTheWindowsOwn) {
  ResetApplication();
  TSkinManage::Destroy();
  ActiveSkinData();
  TForm& form = Application().CreateForm<TForm>();
  form.SetBounds(100, 100, 300, 200);
  TMainMenu& none = form.Create<TMainMenu>();
  form.SetMenu(&none);
  ASSERT_TRUE(ShowAndAwaitSkin(form));
  TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(form.Handle());
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->MenuBar(), nullptr);
  EXPECT_EQ(skin->MenuHeight(), 0);
  EXPECT_EQ(GetMenu(form.Handle()), none.ShownHandle());
  ResetApplication();
  TSkinManage::Destroy();
}

}  // namespace
}  // namespace corvane
