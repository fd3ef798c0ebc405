// Skinned tabs on live windows: the current tab from the Tabs picture's
// second cell in its text colour and the others from the first, bottom
// tabs flipped below the page, a row of more tabs than fit keeping skinned
// arrows that scroll it, a click selecting a page, the system's look back
// when the skin goes, handle counts over many skin cycles, bad tab counts,
// a skin without the Tabs picture, the tab set, button-style tabs and the
// picture page control.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/TabCtrls.h"
#include "skin/controls/TabLooks.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/controls/WinSkinTabs.h"
#include "skin/data/BitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using test::skin::Mismatches;

LRESULT Query(HWND w) {
  return SendMessageA(w, WM_SKINQUERY, 0, 0);
}

RECT ItemRect(HWND tab, int i) {
  RECT r{};
  SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  return r;
}

class SkinnedTabs : public ::testing::Test {
 protected:
  void SetUp() override {
    test::skin::FreshStart();
    data = &test::skin::ActiveSkinData();
    ASSERT_FALSE(data->SkinEmpty());
    ASSERT_TRUE(data->Skin().Tabs);
  }
  void TearDown() override {
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    if (std::getenv("CORVANE_SHOTS")) Sleep(3000);
    ResetApplication();
    TSkinManage::Destroy();
  }
  TForm& MakeForm() {
    TForm& form = Application().CreateForm<TForm>();
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    form.SetCaption("Tabs");
    form.SetBounds(100, 100, 520, 400);
    return form;
  }
  TTabControl& AddTabs(TForm& form, int left, int top, int width, int height,
                       std::vector<std::string> tabs, TTabPosition side = TTabPosition::tpTop) {
    auto& control = test::skin::PlaceOn<TTabControl>(
        form, nullptr, left, top, width, height, [side](TTabControl& t) { t.TabPosition = side; });
    control.SetTabs(std::move(tabs));
    return control;
  }
  // Mismatches of a tab's fixed outer rows (the skin's top margin, away
  // from the text) against Tabs cell `cell` stretched over the item, for
  // top tabs; flipped (the outer rows at the bottom) for bottom tabs.
  int OuterRowMismatches(const Surface& shot, const RECT& item, int cell, bool flipped) {
    const TDataSkinBorder& tabs = *data->Skin().Tabs;
    Margins m{tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight};
    Surface image = tabs.Bitmap;
    if (flipped) {
      FlipBitmap(image);
      m = TurnedMargins(m, TabPlacement::Bottom);
    }
    Rect place{item.left, item.top - (flipped ? 1 : 0), item.right, item.bottom - (flipped ? 1 : 0)};
    Surface expected = BuildElementBitmap({0, 0, place.Width(), place.Height()}, image, m, false,
                                          false, tabs.Frame, cell);
    int rows = tabs.TopHeight;
    Rect outer = flipped ? Rect{0, place.Height() - rows, place.Width(), place.Height()}
                         : Rect{0, 0, place.Width(), rows};
    return Mismatches(shot, expected, {place.left, place.top}, outer);
  }
  bool HasColour(const Surface& shot, const RECT& r, Colour colour) {
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, shot.Height()); ++y)
      for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, shot.Width()); ++x)
        if (SameColour(shot.At(x, y), colour)) return true;
    return false;
  }
  Colour Resolved(Colour c) const { return ResolveColour(c, data->Skin().System()); }

  TSkinData* data = nullptr;
};

TEST_F(SkinnedTabs, CurrentTabShowsCellTwoInItsColourOthersCellOneOnEitherSide) {
  TForm& form = MakeForm();
  auto& top = AddTabs(form, 10, 10, 300, 120, {"One", "Two", "Three"});
  auto& bottom = AddTabs(form, 10, 150, 300, 120, {"One", "Two", "Three"}, TTabPosition::tpBottom);
  top.SetTabIndex(1);
  bottom.SetTabIndex(2);
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  const TDataSkinBorder& tabs = *data->Skin().Tabs;
  for (TTabControl* control : {&top, &bottom}) {
    HWND h = control->Handle();
    ASSERT_EQ(Query(h), 1);
    bool flipped = control == &bottom;
    Surface shot = test::skin::CaptureSettled(h);
    RECT display{};
    GetClientRect(h, &display);
    SendMessageA(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (int i = 0; i < 3; ++i) {
      bool current = i == control->TabIndex();
      RECT item = ItemRect(h, i);
      // Bottom tabs hang below the page, top tabs stand above it.
      if (flipped) {
        EXPECT_GE(item.top, display.bottom);
      } else {
        EXPECT_LE(item.bottom, display.top);
      }
      EXPECT_EQ(OuterRowMismatches(shot, item, current ? 2 : 1, flipped), 0)
          << (flipped ? "bottom" : "top") << " tab " << i;
      EXPECT_GT(OuterRowMismatches(shot, item, current ? 1 : 2, flipped), 0)
          << "the cells differ, so the check can tell them apart";
      if (Resolved(tabs.MouseOverColour2) != Resolved(tabs.NormalColour2)) {
        EXPECT_EQ(HasColour(shot, item, Resolved(tabs.MouseOverColour2)), current) << i;
      }
      EXPECT_TRUE(HasColour(shot, item, Resolved(current ? tabs.MouseOverColour2
                                                         : tabs.NormalColour2)))
          << "text of tab " << i;
    }
  }
}

TEST_F(SkinnedTabs, SideTabsLieBesideThePageWithTheFrameTurned) {
  TForm& form = MakeForm();
  auto& left = AddTabs(form, 10, 10, 200, 150, {"One", "Two"}, TTabPosition::tpLeft);
  auto& right = AddTabs(form, 230, 10, 200, 150, {"One", "Two"}, TTabPosition::tpRight);
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  auto* leftSkin = test::skin::SkinOf<TSkinTab>(left);
  auto* rightSkin = test::skin::SkinOf<TSkinTab>(right);
  ASSERT_TRUE(leftSkin && rightSkin);
  EXPECT_EQ(leftSkin->Placement(), TabPlacement::Left);
  EXPECT_EQ(rightSkin->Placement(), TabPlacement::Right);
  const Surface& pane = data->Skin().TabPane->Bitmap;
  // The page frame picture turned a quarter each way.
  EXPECT_EQ(leftSkin->PaneImage().Width(), pane.Height());
  EXPECT_EQ(leftSkin->PaneImage().At(0, 0), pane.At(pane.Width() - 1, 0));
  EXPECT_EQ(rightSkin->PaneImage().At(0, 0), pane.At(0, pane.Height() - 1));
  // The current tab's outer column is the picture's outer row, turned.
  HWND h = left.Handle();
  Surface shot = test::skin::CaptureSettled(h);
  RECT item = ItemRect(h, 0);
  Surface cell = BuildElementBitmap({0, 0, item.bottom - item.top, item.right - item.left},
                                    data->Skin().Tabs->Bitmap,
                                    {data->Skin().Tabs->LeftWidth, data->Skin().Tabs->TopHeight,
                                     data->Skin().Tabs->RightWidth,
                                     data->Skin().Tabs->BottomHeight},
                                    false, false, data->Skin().Tabs->Frame, 2);
  RotateBitmapLeft(cell);
  EXPECT_EQ(Mismatches(shot, cell, {item.left, item.top}, {0, 4, 2, cell.Height() - 4}), 0);
}

TEST_F(SkinnedTabs, ARowOfMoreTabsThanFitKeepsSkinnedArrowsThatScrollIt) {
  TForm& form = MakeForm();
  std::vector<std::string> many;
  for (int i = 1; i <= 15; ++i) many.push_back("Tab " + std::to_string(i));
  auto& control = AddTabs(form, 10, 10, 240, 80, many);
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  HWND h = control.Handle();
  HWND arrows = FindWindowExA(h, nullptr, "msctls_updown32", nullptr);
  ASSERT_NE(arrows, nullptr);
  EXPECT_TRUE(IsWindowVisible(arrows));
  EXPECT_TRUE(PumpUntil([&] { return Query(arrows) == 1; }));
  // The arrows stay on top of the skinned row.
  Surface shot = test::skin::CaptureSettled(arrows);
  Surface again = test::skin::CaptureSettled(arrows);
  EXPECT_EQ(Mismatches(shot, again, {0, 0}, again.View().Bounds()), 0);
  int before = ItemRect(h, 0).left;
  RECT a = test::skin::WindowRectOf(arrows);
  // A click on the right arrow scrolls the row by one tab.
  SetCursorPos(a.right - 3, (a.top + a.bottom) / 2);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  Pump();
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return ItemRect(h, 0).left < before; }));
  EXPECT_EQ(Query(h), 1);
}

TEST_F(SkinnedTabs, ClickingATabShowsItsPage) {
  TForm& form = MakeForm();
  auto& pages = test::skin::PlaceOn<TPageControl>(form, nullptr, 10, 10, 300, 200);
  std::vector<TTabSheet*> sheets;
  for (const char* name : {"Alpha", "Beta", "Gamma"}) {
    TTabSheet& sheet = form.Create<TTabSheet>();
    sheet.SetCaption(name);
    sheet.SetPageControl(&pages);
    sheets.push_back(&sheet);
  }
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  for (TTabSheet* sheet : sheets) EXPECT_EQ(Query(sheet->Handle()), 1) << sheet->Caption();
  EXPECT_TRUE(IsWindowVisible(sheets[0]->Handle()));
  int changes = 0;
  pages.OnChange = [&](TObject*) { ++changes; };
  HWND h = pages.Handle();
  RECT item = ItemRect(h, 2);
  POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(h, &at);
  SetCursorPos(at.x, at.y);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return pages.TabIndex() == 2; }));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pages.ActivePage(), sheets[2]);
  EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));
  EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));
  // The page's face is the skin's.
  Surface page = test::skin::CaptureSettled(sheets[2]->Handle());
  const SkinDefinition& s = data->Skin();
  EXPECT_TRUE(SameColour(page.At(5, 5), ResolveColour(s.Colours[SkinDefinition::kButtonFace],
                                                      s.System())));
}

TEST_F(SkinnedTabs, UnskinningGivesTheSystemsLookBack) {
  TForm& form = MakeForm();
  auto& control = AddTabs(form, 10, 10, 300, 120, {"One", "Two"});
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  HWND h = control.Handle();
  RECT item = ItemRect(h, 0);
  EXPECT_EQ(OuterRowMismatches(test::skin::CaptureSettled(h), item, 2, false), 0);
  SendMessageA(h, WM_SKINENABLE, 0, 0);
  Surface plain = test::skin::CaptureSettled(h);
  EXPECT_GT(OuterRowMismatches(plain, item, 2, false), 0) << "the system draws its own tab";
  // What an unskinned control of the same kind shows.
  data->SkinControls.Exclude(xcTab);
  TForm& other = MakeForm();
  other.SetLeft(640);  // beside the first, which stays in sight
  auto& system = AddTabs(other, 10, 10, 300, 120, {"One", "Two"});
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(other));
  ASSERT_EQ(Query(system.Handle()), 0);
  Surface reference = test::skin::CaptureSettled(system.Handle());
  EXPECT_EQ(Mismatches(plain, reference, {0, 0}, {0, 0, 300, item.bottom}), 0);
  SendMessageA(h, WM_SKINENABLE, 1, 0);
  EXPECT_EQ(OuterRowMismatches(test::skin::CaptureSettled(h), item, 2, false), 0);
}

TEST_F(SkinnedTabs, TwoHundredSkinCyclesLeaveTheHandleCountsWhereTheyWere) {
  TForm& form = MakeForm();
  std::vector<std::string> many;
  for (int i = 1; i <= 15; ++i) many.push_back("Tab " + std::to_string(i));
  AddTabs(form, 10, 10, 240, 80, many);
  AddTabs(form, 10, 100, 240, 80, {"A", "B"}, TTabPosition::tpLeft);
  auto& set = test::skin::PlaceOn<TTabSet>(form, nullptr, 10, 200, 300, 22);
  set.SetTabs(many);
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  auto cycle = [&] { test::skin::SkinCycle(*data); };
  cycle();
  const test::skin::HandleCounts before = test::skin::CurrentHandleCounts();
  for (int i = 0; i < 200; ++i) cycle();
  EXPECT_EQ(Query(set.Handle()), 1);
  test::skin::ExpectHandleCountsKept(before);
}

TEST_F(SkinnedTabs, NoTabsManyTabsAndEmptyTextsPaintWithoutFault) {
  std::vector<std::string> twoHundred;
  for (int i = 0; i < 200; ++i) twoHundred.push_back(i % 3 ? "T" + std::to_string(i) : "");
  struct Case {
    std::vector<std::string> tabs;
    TTabPosition side;
  } cases[] = {{{}, TTabPosition::tpTop},
               {twoHundred, TTabPosition::tpTop},
               {twoHundred, TTabPosition::tpLeft},
               {{"", "", ""}, TTabPosition::tpBottom}};
  TForm& form = MakeForm();
  std::vector<TTabControl*> controls;
  int top = 10;
  for (const Case& c : cases) {
    controls.push_back(&AddTabs(form, 10, top, 400, 80, c.tabs, c.side));
    top += 88;
  }
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  for (TTabControl* c : controls) {
    EXPECT_EQ(Query(c->Handle()), 1);
    InvalidateRect(c->Handle(), nullptr, TRUE);
    UpdateWindow(c->Handle());
    EXPECT_FALSE(GetUpdateRect(c->Handle(), nullptr, FALSE)) << "painted";
  }
  controls[1]->SetTabIndex(199);
  UpdateWindow(controls[1]->Handle());
  EXPECT_EQ(controls[1]->TabIndex(), 199);
}

TEST_F(SkinnedTabs, ASkinWithoutTheTabsPictureLeavesTabsToTheSystem) {
  ResetApplication();
  TSkinManage::Destroy();
  data = &test::skin::ActiveSkinData(test::skin::AlteredSkin({{"tab.bmp", {}}}));
  ASSERT_TRUE(!data->Skin().Tabs || data->Skin().Tabs->Bitmap.IsEmpty());
  TForm& form = MakeForm();
  auto& control = AddTabs(form, 10, 10, 300, 120, {"One", "Two"});
  auto& set = test::skin::PlaceOn<TTabSet>(form, nullptr, 10, 150, 300, 22);
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  EXPECT_EQ(Query(control.Handle()), 0);
  EXPECT_EQ(Query(set.Handle()), 0);
}

TEST_F(SkinnedTabs, TabSetHangsFlippedTabsAndSkinsItsScroller) {
  TForm& form = MakeForm();
  auto& set = test::skin::PlaceOn<TTabSet>(form, nullptr, 10, 10, 300, 22);
  std::vector<std::string> many;
  for (int i = 1; i <= 20; ++i) many.push_back("Sheet " + std::to_string(i));
  set.SetTabs(many);
  set.SetTabIndex(0);
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  ASSERT_EQ(Query(set.Handle()), 1);
  ASSERT_TRUE(set.Scroller().Visible());
  EXPECT_EQ(Query(set.Scroller().Handle()), 1);
  auto shown = set.ShownTabs();
  ASSERT_GE(shown.size(), 2u);
  const TDataSkinBorder& tabs = *data->Skin().Tabs;
  Surface shot = test::skin::CaptureSettled(set.Handle());
  Surface image = tabs.Bitmap;
  FlipBitmap(image);
  for (const auto& tab : shown) {
    RECT r = tab.rect;
    Surface expected = BuildElementBitmap(
        {0, 0, r.right - r.left, r.bottom - r.top}, image,
        TurnedMargins({tabs.LeftWidth, tabs.TopHeight, tabs.RightWidth, tabs.BottomHeight},
                      TabPlacement::Bottom),
        false, false, tabs.Frame, tab.index == 0 ? 2 : 1);
    int h = r.bottom - r.top;
    EXPECT_EQ(Mismatches(shot, expected, {r.left, r.top}, {0, h - tabs.TopHeight, 6, h}), 0)
        << tab.index;
  }
  // The scroller moves the first tab shown.
  RECT a = test::skin::WindowRectOf(set.Scroller().Handle());
  SetCursorPos(a.right - 3, (a.top + a.bottom) / 2);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  Pump();
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return set.FirstIndex() == 1; }));
}

TEST_F(SkinnedTabs, ButtonStyleTabsAndThePicturePageControl) {
  std::vector<std::string> classes = data->Skin3rd();
  classes.push_back("TImagePageControl=advpagecontrol");
  data->SetSkin3rd(classes);
  TForm& form = MakeForm();
  auto& buttons = test::skin::PlaceOn<TTabControl>(
      form, nullptr, 10, 10, 300, 60, [](TTabControl& t) { t.Style = TTabStyle::tsButtons; });
  buttons.SetTabs({"One", "Two"});
  auto& pictures = test::skin::PlaceOn<TImagePageControl>(form, nullptr, 10, 100, 300, 100);
  pictures.SetTabs({"One", "Two"});
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
  EXPECT_NE(test::skin::SkinOf<TSkinTabBtn>(buttons), nullptr);
  // The current button from the Buttons picture's pressed cell.
  const TDataSkinButton& b = data->Skin().Buttons;
  HWND h = buttons.Handle();
  Surface shot = test::skin::CaptureSettled(h);
  RECT item = ItemRect(h, 0);
  OffsetRect(&item, 0, 1);
  Surface expected = BuildElementBitmap({0, 0, item.right - item.left, item.bottom - item.top},
                                        b.Bitmap, {b.LeftWidth, b.TopHeight, b.RightWidth,
                                                   b.BottomHeight},
                                        false, false, b.Frame, 2);
  EXPECT_EQ(Mismatches(shot, expected, {item.left, item.top}, {0, 0, expected.Width(), 2}), 0);

  ASSERT_NE(test::skin::SkinOf<TSkinAdvPage>(pictures), nullptr);
  ASSERT_EQ(pictures.TabBackGround().Width(), 100);
  EXPECT_EQ(pictures.TabBackGroundActive().Height(), 21);
  EXPECT_NE(pictures.TabBackGround(), pictures.TabBackGroundActive());
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  EXPECT_TRUE(pictures.TabBackGround().IsEmpty());
  EXPECT_TRUE(pictures.TabBackGroundActive().IsEmpty());
}

// A tabbed panel is skinned by its kind: as a page it shows its own label
// over the skinned page (the tab skin paints its windowless children), as
// buttons it is a row from the Buttons picture; its tabs come from the
// skin's pictures either way.
TEST_F(SkinnedTabs, TabbedPanelsAreSkinnedByTheirKind) {
  TForm& form = MakeForm();
  // The labels' text: a colour the skin's tabs never use.
  const Colour text = RGB(0, 0, 230);
  auto& page = test::skin::PlaceOn<TTabbedPanel>(form, nullptr, 10, 10, 300, 120,
                                                  [&](TTabbedPanel& t) {
                                                    t.ParentFont = false;
                                                    t.Font.Color = text;
                                                  });
  page.SetTabs({"One", "Two"});
  page.SetTabIndex(0);
  TLabel& label = form.Create<TLabel>();
  label.SetBounds(20, 50, 0, 0);
  label.SetCaption("On the page");
  label.SetParent(&page);
  auto& bare = test::skin::PlaceOn<TTabbedPanel>(form, nullptr, 10, 150, 300, 60,
                                                  [&](TTabbedPanel& t) {
                                                    t.TabKind = TTabKind::tkTabs;
                                                    t.ParentFont = false;
                                                    t.Font.Color = text;
                                                  });
  bare.SetTabs({"One", "Two"});
  TLabel& hidden = form.Create<TLabel>();
  hidden.SetBounds(20, 35, 0, 0);
  hidden.SetCaption("Under the page");
  hidden.SetParent(&bare);
  auto& buttons = test::skin::PlaceOn<TTabbedPanel>(form, nullptr, 10, 230, 300, 60,
                                                     [](TTabbedPanel& t) { t.TabKind = TTabKind::tkButtons; });
  buttons.SetTabs({"One", "Two"});
  buttons.SetTabIndex(1);
  ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));

  TSkinTab* pageSkin = test::skin::SkinOf<TSkinTab>(page);
  ASSERT_NE(pageSkin, nullptr);
  EXPECT_EQ(pageSkin->Mode(), 2);
  TSkinTab* bareSkin = test::skin::SkinOf<TSkinTab>(bare);
  ASSERT_NE(bareSkin, nullptr);
  EXPECT_EQ(bareSkin->Mode(), 0);
  ASSERT_NE(test::skin::SkinOf<TSkinTabBtn>(buttons), nullptr);

  for (TTabbedPanel* tabs : {&page, &bare}) {
    Surface shot = test::skin::CaptureSettled(tabs->Handle());
    EXPECT_EQ(OuterRowMismatches(shot, ItemRect(tabs->Handle(), 0), 2, false), 0) << "current tab";
    EXPECT_EQ(OuterRowMismatches(shot, ItemRect(tabs->Handle(), 1), 1, false), 0) << "other tab";
  }
  Rect at = label.BoundsRect();
  EXPECT_TRUE(HasColour(test::skin::CaptureSettled(page.Handle()), {at.left, at.top, at.right, at.bottom}, text))
      << "the page's own label shows over the skinned page";
  // A bare row owns nothing on its page: the skin draws over what it holds.
  Rect under = hidden.BoundsRect();
  EXPECT_FALSE(HasColour(test::skin::CaptureSettled(bare.Handle()), {under.left, under.top, under.right, under.bottom},
                         text));

  const TDataSkinButton& b = data->Skin().Buttons;
  HWND h = buttons.Handle();
  Surface shot = test::skin::CaptureSettled(h);
  RECT item = ItemRect(h, 1);
  OffsetRect(&item, 0, 1);
  Surface pressed = BuildElementBitmap({0, 0, item.right - item.left, item.bottom - item.top}, b.Bitmap,
                                       {b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight}, false, false,
                                       b.Frame, 2);
  EXPECT_EQ(Mismatches(shot, pressed, {item.left, item.top}, {0, 0, pressed.Width(), 2}), 0)
      << "the current button from the pressed cell";

  // Unskinned, the page's label is the system's painting again.
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  ASSERT_TRUE(PumpUntil([&] { return Query(page.Handle()) != 1; }, 3000));
  InvalidateRect(page.Handle(), nullptr, TRUE);
  EXPECT_TRUE(HasColour(test::skin::CaptureSettled(page.Handle()), {at.left, at.top, at.right, at.bottom}, text));
}

}  // namespace
}  // namespace corvane
