// A skinned MDI frame with two children, on the gallery's MDI form: a
// maximised child's minimise, restore and close buttons are drawn from the
// skin in the frame's menu strip and act on the child, a child closed while
// maximised leaves the strip right, a new frame menu becomes the skinned bar
// and stays off the frame, the bar is rebuilt when the last child goes, and
// skinning the form again and again leaks nothing.
#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "MdiGallery.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenuBar.h"
#include "skin/manager/WinSkinManage.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using namespace test::skin;

class SkinnedMdi : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshStart();
    data = &ActiveSkinData();
    gallery = CreateMdiGallery(RightToLeft());
    ASSERT_TRUE(ShowAndAwaitSkin(*gallery.frame));
    frame = gallery.frame->Handle();
    client = gallery.frame->ClientHandle();
    ASSERT_NE(client, nullptr);
    for (TForm* child : gallery.children)
      ASSERT_TRUE(PumpUntil([&] { return SkinOfWindow(child->Handle()) && SkinOfWindow(child->Handle())->FrameState() == kFrameActive; }));
  }
  void TearDown() override {
    ResetApplication();
    TSkinManage::Destroy();
  }
  virtual bool RightToLeft() const { return false; }
  static TWinSkinForm* SkinOfWindow(HWND w) { return TSkinManage::Instance()->FindFormSkin(w); }
  TWinSkinForm& FrameSkin() { return *SkinOfWindow(frame); }
  // The strip buttons that show now, by action.
  std::vector<const TWinSysButton*> StripButtons() {
    std::vector<const TWinSysButton*> shown;
    for (const auto& b : FrameSkin().Buttons())
      if (b->Element->Visibility == kShowInMenuStrip && b->Visible) shown.push_back(b.get());
    return shown;
  }
  const TWinSysButton* StripButton(int action) {
    for (const TWinSysButton* b : StripButtons())
      if (b->Element->Action == action) return b;
    return nullptr;
  }
  void Maximise(TForm& child) {
    SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child.Handle()), 0);
    PumpUntil([&] { return IsZoomed(child.Handle()) && StripButtons().size() == 3; });
    RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
  }
  // A click on a strip button as the system reports it to the frame.
  void Click(const TWinSysButton& b) {
    RECT w = WindowRectOf(frame);
    LPARAM at = MAKELPARAM(w.left + (b.Bounds.left + b.Bounds.right) / 2, w.top + (b.Bounds.top + b.Bounds.bottom) / 2);
    SendMessageA(frame, WM_NCMOUSEMOVE, HTMENU, at);
    SendMessageA(frame, WM_NCLBUTTONDOWN, HTMENU, at);
    SendMessageA(frame, WM_NCLBUTTONUP, HTMENU, at);
    for (int i = 0; i < 5; ++i) {
      Pump();
      Sleep(20);
    }
  }

  TSkinData* data = nullptr;
  MdiGallery gallery;
  HWND frame = nullptr;
  HWND client = nullptr;
};

TEST_F(SkinnedMdi, TheFrameAndItsChildrenAreSkinnedAndAChildKeepsTheSystemsCaptionHeight) {
  EXPECT_EQ(FrameSkin().Mdi(), MdiKind::Frame);
  ASSERT_NE(FrameSkin().MenuBar(), nullptr);
  EXPECT_EQ(GetMenu(frame), nullptr);
  EXPECT_EQ(FrameSkin().MenuBar()->ItemCount(), 2);
  for (TForm* child : gallery.children) {
    TWinSkinForm& skin = *SkinOfWindow(child->Handle());
    EXPECT_EQ(skin.Mdi(), MdiKind::Child);
    EXPECT_EQ(skin.Form(), child) << "skinned as the framework form it is";
    int system = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    EXPECT_EQ(skin.MenuHeight(), std::max(0, system - skin.Metrics().top));
  }
  EXPECT_TRUE(StripButtons().empty()) << "no child is maximised";
}

TEST_F(SkinnedMdi, AMaximisedChildsButtonsAreDrawnInTheStripAndActOnTheChild) {
  TForm& first = *gallery.children[0];
  TForm& second = *gallery.children[1];
  Maximise(second);
  ASSERT_EQ(StripButtons().size(), 3u);
  // Drawn from the skin's pictures (cell 1) inside the menu strip.
  Surface shot = CaptureSettled(frame);
  const Rect strip = FrameSkin().MenuBar()->BarRect();
  for (const TWinSysButton* b : StripButtons()) {
    const TDataSkinSysButton& e = *b->Element;
    EXPECT_TRUE(strip.Contains({b->Bounds.left, b->Bounds.top})) << e.Action;
    Surface expected(b->Bounds.Width(), b->Bounds.Height(), 0xFFFF00FF);
    DrawFrameCell(expected.View(), expected.View().Bounds(), e.Bitmap, false, std::max(1, e.Frame), 1);
    EXPECT_LE(Mismatches(shot, expected, {b->Bounds.left, b->Bounds.top}, expected.View().Bounds()),
              b->Bounds.Width() * b->Bounds.Height() / 10)
        << "button " << e.Action;
  }

  // Restore: the child is normal again and the buttons go.
  Click(*StripButton(kActionChildRestore));
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(second.Handle()); }));
  EXPECT_TRUE(PumpUntil([&] { return StripButtons().empty(); }));
  // Minimise.
  Maximise(second);
  Click(*StripButton(kActionChildMinimize));
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(second.Handle()); }));
  // Close while maximised: the child goes, the next one is active.
  Maximise(first);
  ASSERT_TRUE(IsZoomed(first.Handle()));
  HWND firstWindow = first.Handle();
  Click(*StripButton(kActionChildClose));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(firstWindow); })) << "closed from the strip";
  EXPECT_FALSE(first.HandleAllocated());
  // Its form skin saw the window go (the manager lets go of it later).
  TWinSkinForm* gone = SkinOfWindow(firstWindow);
  EXPECT_TRUE(!gone || gone->FrameState() == kFrameDestroyed);
  EXPECT_EQ(gallery.frame->ActiveMDIChild(), &second);
}

TEST_F(SkinnedMdi, ANewFrameMenuBecomesTheBarAndTheLastChildClosingRebuildsIt) {
  HMENU childMenu = gallery.childMenu->Handle();
  SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(childMenu), 0);
  Pump();
  EXPECT_EQ(GetMenu(frame), nullptr) << "taken off the frame";
  ASSERT_NE(FrameSkin().MenuBar(), nullptr);
  EXPECT_EQ(FrameSkin().MenuBar()->ItemCount(), 3);
  EXPECT_EQ(FrameSkin().MenuBar()->Items(0).Caption, "&Document");

  // Both children closed, the last one while maximised.
  Maximise(*gallery.children[1]);
  gallery.children[0]->Close();
  Pump();
  HWND last = gallery.children[1]->Handle();
  ASSERT_TRUE(IsZoomed(last));
  gallery.children[1]->Close();
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(last); }));
  EXPECT_EQ(gallery.frame->ActiveMDIChild(), nullptr);
  EXPECT_TRUE(StripButtons().empty()) << "no child buttons without children";
  EXPECT_EQ(FrameSkin().MenuBar()->ItemCount(), 3) << "the bar rebuilt from the frame's menu";
  EXPECT_EQ(GetMenu(frame), nullptr);
  EXPECT_FALSE(TSkinManage::Instance()->MDIMaximized);
}

TEST_F(SkinnedMdi, TwoHundredSkinCyclesOfTheMdiFormLeaveHandleCountsFlat) {
  auto cycle = [&] {
    SkinCycle(*data);
    PumpUntil([&] { return SkinOfWindow(frame) && SkinOfWindow(frame)->FrameState() == kFrameActive; });
  };
  cycle();
  const HandleCounts before = CurrentHandleCounts();
  for (int i = 0; i < 200; ++i) cycle();
  ExpectHandleCountsKept(before, 2);
  ASSERT_NE(SkinOfWindow(frame), nullptr);
  EXPECT_EQ(GetMenu(frame), nullptr);
  EXPECT_EQ(FrameSkin().MenuBar()->ItemCount(), 2);
}

class SkinnedRightToLeftMdi : public SkinnedMdi {
 protected:
  bool RightToLeft() const override { return true; }
};

TEST_F(SkinnedRightToLeftMdi, BarItemsRunFromTheRightAndStopFivePixelsLeftOfTheChildsButtons) {
  ASSERT_TRUE(FrameSkin().Class().rightToLeft);
  TWinSkinMenu& bar = *FrameSkin().MenuBar();
  ASSERT_EQ(bar.ItemCount(), 2);
  const int freeEnd = bar.Items(0).Bounds.right;
  EXPECT_GT(freeEnd, bar.BarRect().right - 20) << "without buttons the first item stands at the right";

  Maximise(*gallery.children[1]);
  ASSERT_EQ(StripButtons().size(), 3u);
  int buttonsLeft = bar.BarRect().right;
  for (const TWinSysButton* b : StripButtons()) buttonsLeft = std::min(buttonsLeft, b->Bounds.left);
  Surface shot = CaptureSettled(frame);
  const Rect file = bar.Items(0).Bounds, window = bar.Items(1).Bounds;
  EXPECT_EQ(file.right, buttonsLeft - 5);
  EXPECT_EQ(window.right, file.left) << "the second item left of the first";
  EXPECT_GT(window.Width(), 10);
  // The buttons show their pictures whole: no caption lies on them.
  for (const TWinSysButton* b : StripButtons()) {
    const TDataSkinSysButton& e = *b->Element;
    Surface expected(b->Bounds.Width(), b->Bounds.Height(), 0xFFFF00FF);
    DrawFrameCell(expected.View(), expected.View().Bounds(), e.Bitmap, false, std::max(1, e.Frame), 1);
    EXPECT_LE(Mismatches(shot, expected, {b->Bounds.left, b->Bounds.top}, expected.View().Bounds()),
              b->Bounds.Width() * b->Bounds.Height() / 10)
        << "button " << e.Action;
  }
  // The item answers where it is drawn.
  EXPECT_EQ(bar.FindMenuBarItem({(file.left + file.right) / 2, (file.top + file.bottom) / 2}), &bar.Items(0));

  // Restored, the items go back to the strip's right end.
  Click(*StripButton(kActionChildRestore));
  ASSERT_TRUE(PumpUntil([&] { return StripButtons().empty(); }));
  RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  EXPECT_EQ(bar.Items(0).Bounds.right, freeEnd);
}

}  // namespace
}  // namespace corvane
