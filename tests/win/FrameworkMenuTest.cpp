// Popup menus, their owner drawing and image lists, for real under Wine.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "pictures/WinSurface.h"
#include "FrameworkTestSupport.h"

namespace corvane {
namespace {

using test::Pump;

// Keys to press once the menu is open, sent from a timer inside the menu loop.
std::vector<WPARAM> g_keys;
bool g_menuSeen = false;

void CALLBACK PressKeysInMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  g_menuSeen = true;
  KillTimer(nullptr, id);
  for (WPARAM key : g_keys) {
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
  }
}

class FrameworkMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    g_menuSeen = false;
    form = &Application().CreateForm<TForm>();
    form->SetBounds(200, 200, 200, 100);
    form->Show();
    Pump();
    images = &form->Create<TImageList>(16, 16);
    menu = &form->Create<TPopupMenu>();
    for (const char* caption : {"Alpha", "-", "B&eta"}) {
      TMenuItem& item = menu->Create<TMenuItem>();
      item.SetCaption(caption);
      item.OnClick = [this](TObject* sender) { clicked.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
      menu->Add(item);
    }
  }
  void TearDown() override {
    ResetApplication();
    Pump();
  }
  void ChooseWith(std::vector<WPARAM> keys) {
    g_keys = std::move(keys);
    SetTimer(nullptr, 0, 30, PressKeysInMenu);
    menu->Popup(220, 220);
    Pump();
  }
  TForm* form = nullptr;
  TImageList* images = nullptr;
  TPopupMenu* menu = nullptr;
  std::vector<std::string> clicked;
};

TEST_F(FrameworkMenu, CaptionsStayAsGivenAndDashIsASeparator) {
  HMENU h = menu->Handle();
  ASSERT_EQ(GetMenuItemCount(h), 3);
  char text[64] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID;
  info.dwTypeData = text;
  info.cch = sizeof text;
  ASSERT_TRUE(GetMenuItemInfoA(h, 2, TRUE, &info));
  EXPECT_STREQ(text, "B&eta");  // no accelerator added or taken away
  EXPECT_EQ(info.wID, menu->Items(2)->Command());
  info = MENUITEMINFOA{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(h, 1, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

TEST_F(FrameworkMenu, ChoosingAnItemRaisesItsClickWithTheItemAsSender) {
  ChooseWith({VK_DOWN, VK_DOWN, VK_RETURN});  // the separator is skipped
  ASSERT_TRUE(g_menuSeen);
  EXPECT_EQ(clicked, std::vector<std::string>{"B&eta"});
  ChooseWith({VK_ESCAPE});
  EXPECT_EQ(clicked.size(), 1u);
}

TEST_F(FrameworkMenu, OwnerDrawingCanBeTakenOver) {
  menu->Images = images;
  HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  ASSERT_EQ(images->AddIcon(icon), 0);
  menu->Items(0)->SetImageIndex(0);
  std::set<std::string> measured, drawn;
  menu->OnMeasureItem = [&](TMenuItem& item, HDC, int& w, int& h) {
    EXPECT_GT(h, 0);  // the framework's own size comes in
    measured.insert(item.Caption());
    w = 150;
    h = 25;
  };
  menu->OnDrawItem = [&](TMenuItem& item, HDC dc, const RECT& r, UINT) {
    drawn.insert(item.Caption());
    if (!item.IsLine()) {
      EXPECT_EQ(r.bottom - r.top, 25);
    }
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  };
  HMENU h = menu->Handle();
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(h, 0, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  ChooseWith({VK_DOWN, VK_RETURN});
  EXPECT_EQ(clicked, std::vector<std::string>{"Alpha"});
  EXPECT_TRUE(measured.count("Alpha"));
  EXPECT_TRUE(measured.count("B&eta"));
  EXPECT_TRUE(drawn.count("Alpha"));
  EXPECT_TRUE(drawn.count("B&eta"));
}

TEST_F(FrameworkMenu, FreedItemsLeaveTheMenuAndTheirCommandsDie) {
  TMenuItem* beta = menu->Items(2);
  UINT command = beta->Command();
  EXPECT_EQ(TPopupMenu::FindItem(command), beta);
  menu->FreeComponent(beta);
  EXPECT_EQ(menu->Count(), 2);
  EXPECT_EQ(TPopupMenu::FindItem(command), nullptr);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 2);
  // A late command for the freed item is ignored.
  SendMessageA(PopupListWindow(), WM_COMMAND, command, 0);
  EXPECT_TRUE(clicked.empty());
  menu->Clear();
  EXPECT_EQ(menu->Count(), 0);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 0);
}

// The list draws an icon as the system draws it: colour and coverage alike,
// for opaque, half-covered and clear pixels, over a background that shows
// through; disabled, the same coverage in greys.
TEST_F(FrameworkMenu, ImageListDrawsIconsAsTheSystemDoes) {
  Surface art(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const Pixel alpha = x < 5 ? 0xFF : x < 10 ? 0x80 : 0x00;
      art.At(x, y) = (alpha << 24) | (y < 8 ? 0x00C02010u : 0x0010A0F0u);
    }
  UniqueIcon icon = CreateIconFromSurface(art.View());
  ASSERT_TRUE(icon);
  const int index = images->AddIcon(icon.Get());
  ASSERT_GE(index, 0);
  const COLORREF back = RGB(40, 200, 90);
  test::Canvas byList(16, 16), bySystem(16, 16), greyed(16, 16);
  RECT all{0, 0, 16, 16};
  UniqueBrush fill(CreateSolidBrush(back));
  for (const test::Canvas* c : {&byList, &bySystem, &greyed}) FillRect(c->Dc(), &all, fill.Get());
  images->Draw(byList.Dc(), 0, 0, index);
  DrawIconEx(bySystem.Dc(), 0, 0, icon.Get(), 16, 16, 0, nullptr, DI_NORMAL);
  images->Draw(greyed.Dc(), 0, 0, index, false);
  GdiFlush();
  auto alike = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 3 && std::abs(GetGValue(a) - GetGValue(b)) <= 3 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 3;
  };
  for (const POINT p : {POINT{1, 2}, POINT{7, 3}, POINT{12, 4}, POINT{2, 12}, POINT{7, 12}, POINT{14, 14}}) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    EXPECT_TRUE(alike(byList.At(p.x, p.y), bySystem.At(p.x, p.y)))
        << std::hex << byList.At(p.x, p.y) << " against " << bySystem.At(p.x, p.y);
    const COLORREF g = greyed.At(p.x, p.y);
    if (p.x < 5) {
      EXPECT_TRUE(GetRValue(g) == GetGValue(g) && GetGValue(g) == GetBValue(g)) << std::hex << g;
    }
    if (p.x >= 10) {
      EXPECT_EQ(g, back);
    }
  }
}

TEST_F(FrameworkMenu, ImageListScalesIconsTo16) {
  HICON big = static_cast<HICON>(
      LoadImageA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION), IMAGE_ICON, 32, 32, LR_SHARED));
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(images->AddIcon(big), 0);
  EXPECT_EQ(images->AddIcon(big), 1);
  EXPECT_EQ(images->AddIcon(nullptr), -1);
  EXPECT_EQ(images->Count(), 2);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images->Handle(), &cx, &cy);
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  images->Clear();
  EXPECT_EQ(images->Count(), 0);
}

}  // namespace
}  // namespace corvane
