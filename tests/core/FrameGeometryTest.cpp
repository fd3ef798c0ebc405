// Frame geometry of skinned windows: classification, border widths, client
// rectangles, hit testing, caption text placement and the window region.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/forms/FrameGeometry.h"

namespace corvane {
namespace {

// Border pictures shaped like the stored skin's: two state cells each.
void SetBorders(SkinDefinition& skin) {
  skin.BorderLeft.Bitmap = Surface(8, 100, 0xFF102030);
  skin.BorderRight.Bitmap = Surface(8, 100, 0xFF102030);
  skin.BorderTop.Bitmap = Surface(142, 50, 0xFF405060);
  skin.BorderBottom.Bitmap = Surface(142, 10, 0xFF708090);
  for (TDataSkinBorder* b : {&skin.BorderLeft, &skin.BorderRight, &skin.BorderTop, &skin.BorderBottom})
    b->Frame = 2;
}

TEST(FrameGeometry, ClassifiesWindowsByStyleAndClass) {
  using namespace style;  // window style bits
  struct Case {
    const char* what;
    FrameFacts facts;
    BorderKind border;
    std::uint8_t buttons;
    bool messageBox;
  };
  const std::uint32_t editor = kWsPopup | kWsCaption | kWsModalFrame | kWsSysMenu | kWsMinimizeBox;
  const Case cases[] = {
      {"dialog-framed editor", {editor, kWsExDlgModalFrame, "TForm2", false, true, false},
       BorderKind::Dialog, kFrameSystemMenu | kFrameMinimize, false},
      {"sizeable window", {kWsCaption | kWsThickFrame | kWsSysMenu | kWsMinimizeBox | kWsMaximizeBox, 0, "TForm", false, true, false},
       BorderKind::Sizeable, kFrameSystemMenu | kFrameMinimize | kFrameMaximize, false},
      {"border only is not a caption", {kWsPopup | 0x00800000, 0, "TForm1", false, true, false},
       BorderKind::None, 0, false},
      {"single frame with help", {kWsCaption, kWsExContextHelp, "X", true, true, false}, BorderKind::Single,
       kFrameSystemMenu | kFrameHelp, false},
      {"system message box", {kWsPopup | kWsCaption | kWsSysMenu, 0, "#32770", false, true, false},
       BorderKind::Dialog, kFrameSystemMenu, true},
      {"unowned window on 5.0 keeps the style bit", {kWsCaption, 0, "X", false, false, true},
       BorderKind::Single, kFrameKeepSysMenuBit, false},
      {"owned window on 5.0", {kWsCaption, 0, "X", false, true, true}, BorderKind::Single, 0, false},
  };
  for (const Case& c : cases) {
    FrameClass got = ClassifyFrame(c.facts);
    EXPECT_EQ(got.border, c.border) << c.what;
    EXPECT_EQ(got.buttons, c.buttons) << c.what;
    EXPECT_EQ(got.isMessageBox, c.messageBox) << c.what;
  }
  FrameClass rtl = ClassifyFrame({kWsChild | kWsCaption, kWsExLeftScrollBar, "X"});
  EXPECT_TRUE(rtl.isChild);
  EXPECT_TRUE(rtl.rightToLeft);
}

TEST(FrameGeometry, BorderWidthsComeFromOneCellOfEachPicture) {
  SkinDefinition skin;
  SetBorders(skin);
  EXPECT_EQ(LoadFrameMetrics(skin, BorderKind::Dialog), (FrameMetrics{4, 25, 4, 5}));
  EXPECT_EQ(LoadFrameMetrics(skin, BorderKind::None), (FrameMetrics{}));
  skin.BorderTop.Frame = 0;  // bad skin data: one cell, not a division by zero
  EXPECT_EQ(LoadFrameMetrics(skin, BorderKind::Single).top, 50);
  EXPECT_TRUE(SkinHasFrame(skin));
  // A package without a caption picture (or with one too short for its
  // cells) leaves windows their system frame.
  skin.BorderTop.Frame = 2;
  skin.BorderTop.Bitmap = Surface(142, 1);
  EXPECT_FALSE(SkinHasFrame(skin));
  skin.BorderTop.Bitmap = Surface();
  EXPECT_FALSE(SkinHasFrame(skin));
}

TEST(FrameGeometry, ClientAreaKeepsItsSizeThroughSkinAndUnskin) {
  const FrameMetrics m{4, 25, 4, 5};
  // The editor: 531 x 330 client; the system's dialog frame adds 6 x 29.
  Size window = SkinnedWindowSize({531, 330}, m, 0);
  EXPECT_EQ(window, (Size{539, 360}));
  Rect client = SkinnedClientRect(Rect::FromSize(100, 50, window.width, window.height), m, 0);
  EXPECT_EQ(client, (Rect{104, 75, 635, 405}));
  EXPECT_EQ(UnskinnedWindowSize(window, {6, 29}, m), (Size{537, 359}));
  // With a menu strip under the caption.
  EXPECT_EQ(SkinnedClientRect({0, 0, 100, 100}, m, 19), (Rect{4, 44, 96, 95}));
  EXPECT_EQ(WindowPointFromClient({0, 0}, m, 19), (Point{4, 44}));
  // Smaller than its own frame: empty, never inverted.
  EXPECT_EQ(SkinnedClientRect({0, 0, 6, 20}, m, 0), (Rect{4, 25, 4, 25}));
  // Maximised: the client stays on the work area.
  EXPECT_EQ(ClampToWorkArea({-4, -4, 1284, 1000}, {0, 0, 1280, 970}), (Rect{0, 0, 1280, 970}));
}

TEST(FrameGeometry, HitTestKeepsTheSystemsAnswersButCaptionAndNowhere) {
  struct Case {
    int system;
    Point p;
    int menuHeight;
    int expected;
  };
  const Case cases[] = {
      {kHtCaption, {50, 3}, 0, kHtCaption}, {kHtNowhere, {50, 3}, 0, kHtNowhere},
      {kHtNowhere, {50, 4}, 0, kHtCaption}, {kHtNowhere, {50, 24}, 0, kHtCaption},
      {20 /* close */, {50, 10}, 0, 20},    {1 /* client */, {50, 40}, 0, 1},
      {12 /* top */, {50, 1}, 0, 12},       {kHtNowhere, {50, 30}, 19, kHtMenu},
      {kHtCaption, {50, 25}, 19, kHtCaption},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SkinHitTest(c.system, c.p, 25, c.menuHeight), c.expected) << c.system << " at y " << c.p.y;
}

TEST(FrameGeometry, StatesAndMessageBoxWidening) {
  EXPECT_EQ(ShowStateFromShowCmd(2), WindowShowState::Minimised);
  EXPECT_EQ(ShowStateFromShowCmd(7), WindowShowState::Minimised);
  EXPECT_EQ(ShowStateFromShowCmd(3), WindowShowState::Maximised);
  EXPECT_EQ(ShowStateFromShowCmd(1), WindowShowState::Normal);
  EXPECT_EQ(ShowStateFromSizeKind(1, WindowShowState::Normal), WindowShowState::Minimised);
  EXPECT_EQ(ShowStateFromSizeKind(2, WindowShowState::Normal), WindowShowState::Maximised);
  EXPECT_EQ(ShowStateFromSizeKind(4, WindowShowState::Maximised), WindowShowState::Maximised);
  EXPECT_EQ(MessageBoxChildShift(200, 251), 25);
  EXPECT_EQ(MessageBoxChildShift(300, 251), 0);
}

TEST(FrameGeometry, ToolButtonCellsFollowTheirState) {
  struct Case {
    unsigned state;
    int cell;
  };
  const Case cases[] = {
      {0x01, 2}, {0x01 | 0x40, 2}, {0x40, 4}, {0x10, 4}, {0x20, 1},
      {0x20 | 0x02, 0}, {0x20 | 0x04, 0}, {0x00, 0}, {0x08, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ToolbarButtonCell(c.state), c.cell) << std::hex << c.state;
}

TEST(FrameGeometry, FramePartsAndCells) {
  // |L|      caption       |R|   window 100 x 60, frame 4/25/4/5
  // |L|      client        |R|
  // |L|______bottom________|R|
  FrameParts p = LayoutFrameParts({100, 60}, {4, 25, 4, 5}, 0, false);
  EXPECT_EQ(p.left, (Rect{0, 0, 4, 60}));
  EXPECT_EQ(p.right, (Rect{96, 0, 100, 60}));
  EXPECT_EQ(p.bottom, (Rect{4, 55, 96, 60}));
  EXPECT_EQ(p.caption, (Rect{4, 0, 96, 25}));
  EXPECT_EQ(LayoutFrameParts({100, 60}, {4, 25, 4, 5}, 0, true).caption, (Rect{0, 0, 100, 25}));
  EXPECT_EQ(BorderCell(true, 2), 1);
  EXPECT_EQ(BorderCell(false, 2), 2);
  EXPECT_EQ(BorderCell(false, 1), 1);
}

TEST(FrameGeometry, CaptionTextPlacement) {
  CaptionTextInput base;
  base.caption = {4, 0, 296, 25};
  base.text = {100, 13};
  base.textShift = 16;
  base.textShiftVert = 2;
  base.textRightClip = 77;
  struct Case {
    const char* what;
    CaptionTextInput in;
    Rect textRect;
  };
  CaptionTextInput dialog = base;
  dialog.border = BorderKind::Dialog;
  CaptionTextInput centred = base;
  centred.alignment = 1;
  centred.backLeft = 3;
  centred.backRight = 5;
  CaptionTextInput longText = base;
  longText.text = {400, 13};
  CaptionTextInput right = base;
  right.alignment = 2;
  CaptionTextInput rtl = base;
  rtl.rightToLeft = true;
  rtl.rightButtonsWidth = 60;
  CaptionTextInput popupLong = longText;
  popupLong.popup = true;
  popupLong.rightButtonsWidth = 60;
  const Case cases[] = {
      // Left: shifted past the icon; vertically (25 - 13) / 2 + 2 / 2 = 7.
      {"left", base, {20, 7, 120, 20}},
      {"dialog frames have no icon", dialog, {4, 7, 120, 20}},
      // (296 - (4 + 108)) / 2 = 92 with the background ends inside.
      {"centred", centred, {96, 7, 204, 20}},
      {"long text is cut before the right clip", longText, {20, 7, 219, 20}},
      {"right", right, {119, 7, 219, 20}},
      {"right to left", rtl, {146, 7, 246, 20}},
      {"popup cut before the buttons", popupLong, {20, 7, 231, 20}},
  };
  for (const Case& c : cases) EXPECT_EQ(LayoutCaptionText(c.in).textRect, c.textRect) << c.what;
  EXPECT_EQ(LayoutCaptionText(centred).drawRect, (Rect{99, 7, 199, 20}));
}

TEST(FrameGeometry, RegionLeavesOutMagentaOfTransparentBorders) {
  SkinDefinition skin;
  SetBorders(skin);
  EXPECT_TRUE(FrameRegionRects(skin, {100, 60}, {4, 25, 4, 5}, BorderKind::Dialog).empty())
      << "no transparent border: the window keeps its plain rectangle";
  skin.BorderLeft.Trans = 1;
  // Magenta top-left pixels of both cells of the left border picture.
  skin.BorderLeft.Bitmap.At(0, 0) = 0xFFFF00FF;
  skin.BorderLeft.Bitmap.At(4, 0) = 0xFFFF00FF;
  skin.BorderLeft.TopHeight = 25;
  skin.BorderLeft.BottomHeight = 5;
  std::vector<Rect> rects = FrameRegionRects(skin, {100, 60}, {4, 25, 4, 5}, BorderKind::Dialog);
  auto covered = [&](Point p) {
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& r) { return r.Contains(p); });
  };
  EXPECT_FALSE(covered({0, 0}));
  EXPECT_TRUE(covered({1, 0}));
  EXPECT_TRUE(covered({0, 1}));
  EXPECT_TRUE(covered({50, 0})) << "caption";
  EXPECT_TRUE(covered({99, 59})) << "bottom-right corner";
  EXPECT_TRUE(covered({50, 40})) << "client";
  EXPECT_FALSE(covered({100, 30})) << "outside the window";
  // Borderless windows get the client part only, which is the whole window.
  std::vector<Rect> none = FrameRegionRects(skin, {100, 60}, {}, BorderKind::None);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0], (Rect{0, 0, 100, 60}));
  // A window lower than its caption (once found by fuzzing): every piece of
  // the region stays inside the window.
  for (Size tiny : {Size{217, 1}, Size{3, 2}, Size{100, 10}})
    for (const Rect& r : FrameRegionRects(skin, tiny, {4, 25, 4, 5}, BorderKind::Dialog)) {
      EXPECT_FALSE(r.IsEmpty());
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= tiny.width && r.bottom <= tiny.height)
          << tiny.width << "x" << tiny.height << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

}  // namespace
}  // namespace corvane
