// Caption buttons: which the window shows, where they go, which cell.
#include <gtest/gtest.h>

#include "skin/forms/CaptionButtons.h"

namespace corvane {
namespace {

TDataSkinSysButton Button(int action, int align, int x, int visibility, int visibility1 = 0, int frames = 6) {
  TDataSkinSysButton b("Button");
  b.Action = action;
  b.Align = align;
  b.XCoord = x;
  b.YCoord = 5;
  b.Visibility = visibility;
  b.Visibility1 = visibility1;
  b.Frame = frames;
  b.Bitmap = Surface(17 * frames, 17);
  return b;
}

TEST(CaptionButtons, VisibilityFollowsTheWindowAndTheAction) {
  CaptionWindowFacts editor;  // dialog frame with system menu and minimise box
  editor.frameButtons = kFrameSystemMenu | kFrameMinimize;
  editor.border = BorderKind::Dialog;
  CaptionWindowFacts zoomed;
  zoomed.frameButtons = kFrameSystemMenu | kFrameMinimize | kFrameMaximize;
  zoomed.border = BorderKind::Sizeable;
  zoomed.maximised = true;
  CaptionWindowFacts bare;  // no system menu
  bare.active = false;
  bare.askWindow = [](int v, int action) { return v == 1500 && action == 20 ? 1 : 0; };
  struct Case {
    const char* what;
    TDataSkinSysButton button;
    const CaptionWindowFacts& window;
    CaptionButtonState expected;
  };
  const Case cases[] = {
      {"close", Button(0, 1, 30, 0), editor, {true, true}},
      {"close needs a system menu", Button(0, 1, 30, 0), bare, {false, true}},
      {"maximise shown but disabled without its box", Button(1, 1, 49, 2, 6), editor, {true, false}},
      {"maximise hidden while maximised", Button(1, 1, 49, 2, 6), zoomed, {false, true}},
      {"restore only while maximised", Button(1, 1, 49, 1), zoomed, {true, true}},
      {"restore", Button(1, 1, 49, 1), editor, {false, false}},
      {"minimise", Button(2, 1, 73, 8), editor, {true, true}},
      {"minimise needs the system menu", Button(2, 1, 73, 8), bare, {false, false}},
      {"icon hidden on dialog frames", Button(3, 0, 8, 0), editor, {false, true}},
      {"icon elsewhere", Button(3, 0, 8, 0), zoomed, {true, true}},
      {"inactive only", Button(20, 1, 90, 4), bare, {true, true}},
      {"never", Button(20, 1, 90, 5), editor, {false, true}},
      {"second condition never", Button(20, 1, 90, 0, -1), editor, {false, true}},
      {"asked of the window", Button(20, 1, 90, 1500), bare, {true, true}},
      {"asked, refused", Button(21, 1, 90, 1500), bare, {false, true}},
      {"dialog frames only", Button(20, 1, 90, 200), editor, {true, true}},
      {"unknown value", Button(20, 1, 90, 3000), editor, {false, true}},
  };
  for (const Case& c : cases) EXPECT_EQ(EvaluateCaptionButton(c.button, c.window), c.expected) << c.what;
}

TEST(CaptionButtons, LayoutCellsAndTheRightHandRoom) {
  //  0 ............................ 270 |close| 287 .. 300
  CaptionButtonPlace place{{300, 60}, {20, 7, 120, 20}, {4, 25, 4, 5}, 19, 2};
  EXPECT_EQ(LayoutCaptionButton(Button(0, 1, 30, 0), place), (Rect{270, 5, 287, 22}));
  EXPECT_EQ(LayoutCaptionButton(Button(3, 0, 8, 0), place), (Rect{8, 5, 25, 22}));
  EXPECT_EQ(LayoutCaptionButton(Button(20, 2, 3, 0), place), (Rect{0, 5, 17, 22})) << "left of the text";
  EXPECT_EQ(LayoutCaptionButton(Button(20, 3, 3, 0), place), (Rect{123, 5, 140, 22})) << "right of the text";
  // Inside the menu strip: 300 - 40 - 4 - 2, and (19 - 17) / 2 below the caption.
  EXPECT_EQ(LayoutCaptionButton(Button(7, 100, 40, 100, 100, 4), place), (Rect{254, 26, 271, 43}));
  EXPECT_EQ(LayoutCaptionButton(Button(20, 42, 3, 0), place), (Rect{0, 0, 17, 17}));

  EXPECT_EQ(CaptionButtonCell(Button(0, 1, 30, 0), true, true), 1);
  EXPECT_EQ(CaptionButtonCell(Button(0, 1, 30, 0), false, true), 4);
  EXPECT_EQ(CaptionButtonCell(Button(1, 1, 49, 2), true, false), 4);
  EXPECT_EQ(CaptionButtonCell(Button(1, 1, 49, 2, 0, 3), false, false), 1) << "no fourth cell";

  std::vector<std::unique_ptr<TDataSkinSysButton>> buttons;
  for (TDataSkinSysButton b : {Button(0, 1, 30, 0), Button(1, 1, 49, 2, 6), Button(2, 1, 73, 8),
                               Button(1, 1, 49, 1), Button(3, 0, 8, 0)})
    buttons.push_back(std::make_unique<TDataSkinSysButton>(b));
  CaptionWindowFacts editor;
  editor.frameButtons = kFrameSystemMenu | kFrameMinimize;
  editor.border = BorderKind::Dialog;
  EXPECT_EQ(RightButtonsWidth(buttons, editor), 73);
  CaptionWindowFacts noMenu;
  EXPECT_EQ(RightButtonsWidth(buttons, noMenu), 0) << "without a system menu nothing is shown";
}

}  // namespace
}  // namespace corvane
