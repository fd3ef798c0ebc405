// Skinned popup menus for real: the launcher's link menu is drawn from the
// skin's menu pictures (window, items, hot item, separator, images), still
// works with the keyboard, prints as it paints, and is the framework's own
// again after unskinning.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "launcher/main.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/SkinLoad.h"
#include "skin/data/SkinPackage.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuItemLayout.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using namespace test::skin;

using test::Wait;
std::string LoggerPath() { return test::ProgramFolder() + "\\launch_order_logger.exe"; }

// Runs step on every tick while a popup menu is open (inside its loop) until
// it answers true.
std::function<bool(HWND menu, int tick)> g_step;
int g_tick = 0;
void CALLBACK StepMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  if (g_step(menu, g_tick++)) KillTimer(nullptr, id);
}
void Press(HWND menu, WPARAM key) {
  PostMessageA(menu, WM_KEYDOWN, key, 0);
  PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
}

Rect ItemRect(HWND menuWindow, HMENU menu, int index) {
  RECT item{}, window = WindowRectOf(menuWindow);
  GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &item);
  return {item.left - window.left, item.top - window.top, item.right - window.left, item.bottom - window.top};
}

int CountColour(const Surface& shot, const Rect& r, Colour c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += SameColour(shot.At(x, y), c);
  return n;
}

// The stored skin with one picture left out.
std::vector<std::uint8_t> StoredSkinWithout(const std::string& picture) {
  TSkinReader reader;
  std::vector<std::uint8_t> stored = StoredSkin();
  EXPECT_TRUE(reader.Load(stored));
  std::vector<SkinPackageFile> files;
  std::vector<std::string> names = reader.Names();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] != picture) files.emplace_back(names[i], reader.FileAt(i));
  return WriteSkinStream(files, reader.Version());
}

class SkinnedMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    TSkinManage::Destroy();
    storePath = folder.File("Corvane.ini");
    logPath = folder.File("launches.log");
    data = &test::skin::ActiveSkinData();
    ASSERT_FALSE(data->SkinEmpty());
  }
  void TearDown() override {
    ResetApplication();
    TSkinManage::Destroy();
  }
  void Store(const std::string& section, const std::string& key, const std::string& value) {
    LinkStore store;
    store.Open(storePath);
    store.WriteString(section, key, value);
    store.Close();
  }
  void LoggedLink(const std::string& name) {
    Store(name, "Link", LoggerPath());
    Store(name, "Param", "\"" + logPath + "\" " + name);
  }
  std::string Launched() {
    std::ifstream in(logPath);
    std::string all, line;
    while (std::getline(in, line)) all += line.substr(line.find(' ') + 1) + ";";
    return all;
  }
  TForm1& StartSkinned() {
    TForm1& form = Application().CreateForm<TForm1>(storePath);
    form.Show();
    SetForegroundWindow(form.Handle());
    EXPECT_TRUE(PumpUntil([&] {
      TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(form.Handle());
      return skin && skin->FrameState() == kFrameActive;
    }));
    return form;
  }
  // Opens the launcher's menu with a right-click; step runs while it is open.
  void OpenMenu(TForm1& form, std::function<bool(HWND, int)> step) {
    g_step = std::move(step);
    g_tick = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 60, StepMenu);
    SendMessageA(form.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(16, 16));
    SendMessageA(form.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(16, 16));
    Pump();
    KillTimer(nullptr, timer);
  }
  int IndexOf(TForm1& form, const std::string& caption) {
    for (int i = 0; i < form.PopupMenu1->Count(); ++i)
      if (form.PopupMenu1->Items(i)->Caption() == caption) return i;
    return -1;
  }
  Colour SkinColour(int index) { return ResolveColour(data->Skin().Colours[index], data->Skin().System()); }

  test::TempFolder folder;
  std::string storePath, logPath;
  TSkinData* data = nullptr;
};

TEST_F(SkinnedMenus, TheLauncherMenuIsDrawnFromTheSkinsMenuPictures) {
  LoggedLink("Alpha");
  LoggedLink("Beta");
  Store("Zed", "Link", folder.File("gone.exe"));  // a missing target
  Store("-", "Link", "");
  TForm1& form = StartSkinned();
  const int alpha = IndexOf(form, "Alpha"), separator = IndexOf(form, "-");
  ASSERT_GE(alpha, 0);
  ASSERT_GE(separator, 0);
  const TDataSkinObject& item = *data->Skin().MenuItem;
  const TDataSkinObject& back = *data->Skin().MenuBackground;

  bool skinnedWindow = false;
  int frameMismatches = -1, printMismatches = -1, imageMismatches = -1, separatorMismatches = -1;
  int plainHilight = 0, hotHilightText = 0, hotCorner = -1, width = 0;
  OpenMenu(form, [&](HWND menu, int tick) {
    HMENU handle = form.PopupMenu1->ShownHandle();
    RECT wr = WindowRectOf(menu);
    Surface shot = CaptureScreen(wr);
    Rect bounds{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    if (tick == 0) {
      skinnedWindow = SendMessageA(menu, WM_SKINQUERY, 0, 0) == 1;
      Surface picture = BuildElementBitmap(bounds, back.Bitmap, {back.LeftWidth, back.TopHeight, back.RightWidth,
                                                                  back.BottomHeight}, false, back.Tile != 0, 1, 1);
      frameMismatches = Mismatches(shot, picture, {0, 0}, {0, 0, bounds.right, 3}) +
                        Mismatches(shot, picture, {0, 0}, {0, bounds.bottom - 3, bounds.right, bounds.bottom}) +
                        Mismatches(shot, picture, {0, 0}, {0, 0, 3, bounds.bottom}) +
                        Mismatches(shot, picture, {0, 0}, {bounds.right - 3, 0, bounds.right, bounds.bottom});
      // What the window prints is what it shows (menu animations capture it so).
      OffscreenSurface printed(bounds.right, bounds.bottom);
      SendMessageA(menu, WM_PRINT, reinterpret_cast<WPARAM>(printed.Dc()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
      GdiFlush();
      Surface printedCopy(bounds.right, bounds.bottom);
      StretchCopy(printedCopy.View(), bounds, printed.View(), bounds);
      printMismatches = Mismatches(shot, printedCopy, {0, 0}, bounds);
      // The image at R.left + 3 (window coordinates: the item rectangle is
      // already inside the 3-pixel frame).
      Rect a = ItemRect(menu, handle, alpha);
      width = a.Width();
      // Only the image's opaque pixels: those come out the same on magenta
      // and on black.
      OffscreenSurface onKey(16, 16), onBlack(16, 16);
      onKey.View().Fill(PixelFromColour(kColourKey));
      onBlack.View().Fill(0xFF000000);
      form.ImageList1->Draw(onKey.Dc(), 0, 0, form.PopupMenu1->Items(alpha)->ImageIndex());
      form.ImageList1->Draw(onBlack.Dc(), 0, 0, form.PopupMenu1->Items(alpha)->ImageIndex());
      GdiFlush();
      Surface imageCopy(16, 16, PixelFromColour(kColourKey));
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
          if ((onKey.View().At(x, y) & 0xFFFFFF) == (onBlack.View().At(x, y) & 0xFFFFFF))
            imageCopy.At(x, y) = onKey.View().At(x, y);
      imageMismatches = Mismatches(shot, imageCopy, {a.left + 3, a.top + (a.Height() - 16) / 2}, {0, 0, 16, 16});
      // The separator: the window's picture under it, then the second cell.
      Rect s = ItemRect(menu, handle, separator);
      Surface expected(bounds.right, bounds.bottom);
      StretchCopy(expected.View(), bounds, picture.View(), bounds);
      DrawMenuSeparator(expected.View(), s, item.Bitmap, 5, item.LeftWidth, item.RightWidth);
      separatorMismatches = Mismatches(shot, expected, {0, 0}, s);
      plainHilight = CountColour(shot, a, SkinColour(SkinDefinition::kHilightText));
      Press(menu, VK_DOWN);
      return false;
    }
    // The first item is hot now: cell 4 and its caption in HilightText.
    Rect hot = ItemRect(menu, handle, separator == 0 ? 1 : 0);
    Surface cell = CellPicture(item.Bitmap, 5, 4);
    hotCorner = Mismatches(shot, cell, {hot.left, hot.top}, {0, 0, item.LeftWidth, item.TopHeight});
    hotHilightText = CountColour(shot, hot, SkinColour(SkinDefinition::kHilightText));
    if (std::getenv("CORVANE_SHOTS")) Sleep(3000);
    Press(menu, VK_ESCAPE);
    return true;
  });
  EXPECT_TRUE(skinnedWindow);
  EXPECT_EQ(frameMismatches, 0) << "the frame is the menu background's";
  EXPECT_EQ(printMismatches, 0);
  EXPECT_EQ(imageMismatches, 0);
  EXPECT_EQ(separatorMismatches, 0);
  EXPECT_EQ(hotCorner, 0) << "the hot item is cell 4";
  EXPECT_GT(hotHilightText, 10);
  EXPECT_EQ(plainHilight, 0) << "no highlight text before the mouse or keys chose";
  Wait(200);
  EXPECT_EQ(Launched(), "") << "Esc starts nothing";

  // Unskinned, the same menu is the framework's again and the skin's
  // measurement is gone: the skinned items were 2 + 12 wider.
  TPopupMenu& popup = *form.PopupMenu1;
  EXPECT_TRUE(popup.OnDrawItem != nullptr);
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_FALSE(popup.OnDrawItem);
  EXPECT_FALSE(popup.OnMeasureItem);
  EXPECT_FALSE(popup.OwnerDraw);
  bool skinnedAgain = true;
  int plainWidth = 0;
  OpenMenu(form, [&](HWND menu, int) {
    skinnedAgain = SendMessageA(menu, WM_SKINQUERY, 0, 0) == 1;
    plainWidth = ItemRect(menu, popup.ShownHandle(), alpha).Width();
    Press(menu, VK_ESCAPE);
    return true;
  });
  EXPECT_FALSE(skinnedAgain);
  EXPECT_EQ(width - plainWidth, item.LeftWidth + 12);
}

TEST_F(SkinnedMenus, KeysStillChooseAndHundredsOfOpeningsLeakNothing) {
  LoggedLink("Alpha");
  LoggedLink("Beta");
  LoggedLink("Gamma");
  TForm1& form = StartSkinned();
  OpenMenu(form, [&](HWND menu, int) {
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) Press(menu, key);
    return true;
  });
  EXPECT_TRUE(PumpUntil([&] { return Launched() == "Beta;"; }, 10000)) << Launched();

  OpenMenu(form, [](HWND menu, int) { return Press(menu, VK_ESCAPE), true; });
  const test::skin::HandleCounts before = test::skin::CurrentHandleCounts();
  int skinnedOpenings = 0;
  for (int i = 0; i < 200; ++i)
    OpenMenu(form, [&](HWND menu, int) {
      skinnedOpenings += SendMessageA(menu, WM_SKINQUERY, 0, 0) == 1;
      EndMenu();
      return true;
    });
  EXPECT_EQ(skinnedOpenings, 200);
  test::skin::ExpectHandleCountsKept(before, 2);
  EXPECT_TRUE(TSkinManage::Instance()->MenuSkins().empty()) << "every menu window given back";
}

TEST_F(SkinnedMenus, DisableTagAndTheMenuOptionLeaveTheItemsToTheFramework) {
  LoggedLink("Alpha");
  struct Case {
    const char* what;
    bool tagged;
    bool popupOption;
    bool windowSkinned;
  };
  const Case cases[] = {
      {"the disable tag: framework items in a skinned window", true, true, true},
      {"without the popup-menu option nothing is the skin's", false, false, false},
  };
  for (const Case& c : cases) {
    if (!c.popupOption) data->SkinControls.Exclude(xcPopupMenu);
    TForm1& form = Application().CreateForm<TForm1>(storePath);
    if (c.tagged) form.PopupMenu1->Tag = data->DisableTag;
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpUntil([&] { return TSkinManage::Instance()->FindFormSkin(form.Handle()) != nullptr; });
    Pump();
    bool skinned = !c.windowSkinned;
    OpenMenu(form, [&](HWND menu, int) {
      skinned = SendMessageA(menu, WM_SKINQUERY, 0, 0) == 1;
      Press(menu, VK_ESCAPE);
      return true;
    });
    EXPECT_EQ(skinned, c.windowSkinned) << c.what;
    EXPECT_FALSE(form.PopupMenu1->OnDrawItem) << c.what;
    form.Hide();
    Application().FreeComponent(&form);
    Pump();
  }
}

TEST_F(SkinnedMenus, SkinsWithoutMenuPicturesFallBackAndLongMenusStillWork) {
  struct Case {
    const char* what;
    const char* missing;
    bool skinFrame;  // the window wears the menu background
    bool plainItems;  // items drawn plainly in the skin's colours
  };
  const Case cases[] = {
      {"no item picture: plain items in the skin's colours", "menuitem.bmp", true, true},
      {"no background picture: the system's window", "menubackground.bmp", false, false},
  };
  for (int i = 0; i < 3; ++i) LoggedLink("Link" + std::to_string(i));
  for (const Case& c : cases) {
    data->SetSkinStream(StoredSkinWithout(c.missing));
    ASSERT_FALSE(data->SkinEmpty()) << c.what;
    const SkinDefinition& skin = data->Skin();
    TForm1& form = StartSkinned();
    int frame = -1, hilightText = 0, hilight = 0;
    OpenMenu(form, [&](HWND menu, int tick) {
      if (tick == 0) return Press(menu, VK_DOWN), false;
      RECT wr = WindowRectOf(menu);
      Surface shot = CaptureScreen(wr);
      Rect hot = ItemRect(menu, form.PopupMenu1->ShownHandle(), 0);
      hilightText = CountColour(shot, hot, SkinColour(SkinDefinition::kHilightText));
      hilight = CountColour(shot, hot, SkinColour(SkinDefinition::kHilight));
      if (skin.MenuBackground && !skin.MenuBackground->Bitmap.IsEmpty()) {
        const TDataSkinObject& back = *skin.MenuBackground;
        Surface picture = BuildElementBitmap({0, 0, wr.right - wr.left, wr.bottom - wr.top}, back.Bitmap,
                                             {back.LeftWidth, back.TopHeight, back.RightWidth, back.BottomHeight},
                                             false, back.Tile != 0, 1, 1);
        frame = Mismatches(shot, picture, {0, 0}, {0, 0, wr.right - wr.left, 3});
      }
      Press(menu, VK_ESCAPE);
      return true;
    });
    EXPECT_EQ(frame == 0, c.skinFrame) << c.what;
    EXPECT_GT(hilightText, 10) << c.what << ": the caption stays readable";
    if (c.plainItems) {
      EXPECT_GT(hilight, 200) << c.what << ": the plain hot item is filled";
    }
    Application().FreeComponent(&form);
    Pump();
  }

  // Hundreds of links: the menu opens, Up wraps round to the last one and
  // Return starts it.
  data->SetSkinStream(StoredSkin());
  for (int i = 3; i < 300; ++i) Store("Link" + std::to_string(i), "Link", LoggerPath());
  LoggedLink("Link99");  // the last in sorted order
  TForm1& form = StartSkinned();
  ASSERT_EQ(form.PopupMenu1->Count(), 300);
  OpenMenu(form, [&](HWND menu, int) {
    Press(menu, VK_UP);
    Press(menu, VK_RETURN);
    return true;
  });
  EXPECT_TRUE(PumpUntil([&] { return Launched() == "Link99;"; }, 10000)) << Launched();
}

TEST_F(SkinnedMenus, ItemsOfABareMenuHandleAreDrawnThroughTheirWindow) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.lpszClassName = "CorvaneMenuHost";
  RegisterClassA(&cls);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 1, "&File");
  UniqueWindow host(CreateWindowExA(0, "CorvaneMenuHost", "Menu host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200,
                                    300, 200, nullptr, bar, cls.hInstance, nullptr));
  HWND w = host.Get();
  SetForegroundWindow(w);
  ASSERT_TRUE(PumpUntil([&] {
    TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(w);
    return skin && skin->FrameState() == kFrameActive;
  }));
  UniqueMenu popup(CreatePopupMenu());
  auto add = [&](UINT id, const char* text, UINT type, UINT state) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | (text ? MIIM_STRING : 0);
    info.fType = type | MFT_OWNERDRAW;
    info.fState = state;
    info.wID = id;
    info.dwTypeData = const_cast<char*>(text);
    InsertMenuItemA(popup.Get(), GetMenuItemCount(popup.Get()), TRUE, &info);
  };
  add(5001, "Open", MFT_STRING, 0);
  add(0, nullptr, MFT_SEPARATOR, 0);
  add(5002, "Greyed", MFT_STRING, MFS_GRAYED);
  const TDataSkinObject& item = *data->Skin().MenuItem;
  int hotCorner = -1, hilightText = 0, greyText = 0, separatorCell = -1;
  g_step = [&](HWND menu, int tick) {
    if (tick == 0) return Press(menu, VK_DOWN), false;
    Surface shot = CaptureScreen(WindowRectOf(menu));
    Rect hot = ItemRect(menu, popup.Get(), 0), line = ItemRect(menu, popup.Get(), 1), grey = ItemRect(menu, popup.Get(), 2);
    hotCorner = Mismatches(shot, CellPicture(item.Bitmap, 5, 4), {hot.left, hot.top}, {0, 0, item.LeftWidth, 2});
    separatorCell = Mismatches(shot, CellPicture(item.Bitmap, 5, 1), {line.left, line.top}, {0, 0, item.LeftWidth, 2});
    hilightText = CountColour(shot, hot, SkinColour(SkinDefinition::kHilightText));
    greyText = CountColour(shot, grey, SkinColour(SkinDefinition::kButtonShadow));
    if (std::getenv("CORVANE_SHOTS")) Sleep(2500);
    Press(menu, VK_ESCAPE);
    return true;
  };
  g_tick = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 60, StepMenu);
  TrackPopupMenu(popup.Get(), TPM_RETURNCMD, 350, 300, 0, w, nullptr);
  KillTimer(nullptr, timer);
  EXPECT_EQ(hotCorner, 0) << "the hot item is cell 4";
  EXPECT_EQ(separatorCell, 0) << "a bare separator stands on the item's first cell";
  EXPECT_GT(hilightText, 10);
  EXPECT_GT(greyText, 5) << "the greyed item's caption in the shadow colour";
  host.Reset();
  UnregisterClassA("CorvaneMenuHost", cls.hInstance);
}

TEST(SkinnedProgramMenu, TheRealLaunchersMenuIsTheSkinsAndItsKeysStillWork) {
  test::TempFolder folder;
  std::string log = folder.File("launches.log");
  {
    LinkStore store;
    store.Open(folder.File("Corvane.ini"));
    for (const char* name : {"Alpha", "Beta"}) {
      store.WriteString(name, "Link", LoggerPath());
      store.WriteString(name, "Param", "\"" + log + "\" " + name);
    }
    store.WriteString("Zed", "Link", folder.File("gone.exe"));
    store.Close();
  }
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(test::StartProgramCopy(folder, pi)) << "CORVANE_EXE names the program";
  HWND launcher = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] { return (launcher = test::FindProcessWindow(pi.dwProcessId, "TForm1")) && IsWindowVisible(launcher); },
      20000));
  SkinDefinition skin;
  ASSERT_EQ(LoadSkinStream(StoredSkin(), skin), SkinLoadStatus::Loaded);
  const TDataSkinObject& back = *skin.MenuBackground;
  // The launcher's menu, opened with the right button; the stored skin is
  // applied a moment after the program starts.
  HWND menu = nullptr;
  bool skinned = false;
  PumpUntil(
      [&] {
        PostMessageA(launcher, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(16, 16));
        PostMessageA(launcher, WM_RBUTTONUP, 0, MAKELPARAM(16, 16));
        PumpUntil([&] { return (menu = test::FindProcessWindow(pi.dwProcessId, "#32768")) && IsWindowVisible(menu); },
                  2000);
        skinned = menu && SendMessageA(menu, WM_SKINQUERY, 0, 0) == 1;
        if (menu && !skinned) {
          PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
          Wait(300);
        }
        return skinned;
      },
      10000);
  EXPECT_TRUE(skinned);
  if (menu) {
    Wait(200);
    RECT wr = WindowRectOf(menu);
    Surface picture = BuildElementBitmap({0, 0, wr.right - wr.left, wr.bottom - wr.top}, back.Bitmap,
                                         {back.LeftWidth, back.TopHeight, back.RightWidth, back.BottomHeight}, false,
                                         back.Tile != 0, 1, 1);
    EXPECT_EQ(Mismatches(CaptureScreen(wr), picture, {0, 0}, {0, 0, wr.right - wr.left, 3}), 0);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
      PostMessageA(menu, WM_KEYDOWN, key, 0);
      PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
      if (std::getenv("CORVANE_SHOTS") && key == VK_DOWN) Sleep(2500);
    }
  }
  auto launched = [&] {
    std::ifstream in(log);
    std::string line;
    return std::getline(in, line) ? line.substr(line.find(' ') + 1) : std::string();
  };
  EXPECT_TRUE(PumpUntil([&] { return launched() == "Beta"; }, 10000)) << launched();
  PostMessageA(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(test::AwaitProgramEnd(pi));
}

}  // namespace
}  // namespace corvane
