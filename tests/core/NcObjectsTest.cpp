// The non-client mouse machinery: hot, pressed and released objects, the
// hover count behind hints, and the caption buttons' finding, cells, hints
// and window-menu items.
#include <gtest/gtest.h>

#include <string>

#include "skin/forms/CaptionButtons.h"
#include "skin/forms/NcObjects.h"

namespace corvane {
namespace {

struct Host : TNCHost {
  int hoverResets = 0;
  int hoverStarts = 0;
  void ResetHover() override { ++hoverResets; }
  void HoverStarted() override { ++hoverStarts; }
};

struct Counted : TNCObject {
  Counted(Host* host, Rect r) : TNCObject(host) {
    Bounds = r;
    Visible = true;
  }
  std::string painted;  // the state of every paint, in order
  void Paint() override { painted += std::to_string(State); }
};

TEST(NcObjects, HoverPressAndReleaseFollowTheMouse) {
  Host host;
  Counted a(&host, {0, 0, 10, 10}), b(&host, {20, 0, 30, 10});

  a.MouseEnter();
  a.MouseEnter();
  EXPECT_EQ(a.painted, "3") << "entering the hot object again paints nothing";
  EXPECT_EQ(host.HotObject, &a);
  b.MouseEnter();
  EXPECT_EQ(a.painted, "31");
  EXPECT_EQ(b.painted, "3");
  EXPECT_EQ(host.HotObject, &b);
  EXPECT_EQ(host.hoverResets, 1) << "leaving hides the hint";

  // Press a, slide to b, release there: nothing runs.
  a.MouseDown();
  EXPECT_EQ(b.painted, "31") << "the old hot object leaves first";
  b.MouseEnter();
  EXPECT_FALSE(ReleaseOver(host, &b));
  EXPECT_EQ(host.PressedObject, nullptr);

  // Press a, slide off and back: it shows pressed again and the release runs it.
  a.painted.clear();
  a.MouseDown();
  a.MouseLeave();
  a.MouseEnter();
  EXPECT_EQ(a.painted, "212");
  EXPECT_TRUE(ReleaseOver(host, &a));
  EXPECT_EQ(a.State, kNcHot);
  EXPECT_FALSE(ReleaseOver(host, &a)) << "a second release without a press runs nothing";
  EXPECT_FALSE(ReleaseOver(host, nullptr));

  Counted hidden(&host, {40, 0, 50, 10});
  hidden.Visible = false;
  hidden.MouseEnter();
  hidden.MouseDown();
  EXPECT_EQ(hidden.painted, "");
  EXPECT_NE(host.HotObject, &hidden);
  EXPECT_NE(host.PressedObject, &hidden);

  {
    Counted gone(&host, {60, 0, 70, 10});
    gone.MouseDown();
  }
  EXPECT_EQ(host.HotObject, nullptr) << "a freed object is forgotten";
  EXPECT_EQ(host.PressedObject, nullptr);
}

TEST(NcObjects, HintShowsFromTwiceThePauseUntilTheHidePause) {
  int counter = 0;
  std::string steps;
  for (int tick = 1; tick <= 16; ++tick) {
    HintStep s = HoverHintStep(counter, 500, 2500);
    steps += s == HintStep::Show ? 'S' : s == HintStep::Hide ? 'H' : '.';
  }
  // 250 ms ticks: shown from 1000 ms, gone from 3500 ms.
  EXPECT_EQ(steps, "...SSSSSSSSSSHHH");
  EXPECT_EQ(counter, 16 * 250);
}

TEST(NcObjects, TheHintTimerFiresOnlyWhenTheHintShowsAndWhenItGoes) {
  struct Case {
    int pause, hidePause, showAt, hideAt;
  };
  const Case cases[] = {
      {500, 2500, 1000, 3500},  // the defaults: shown at 1 s, gone at 3.5 s
      {600, 100, 1250, 1500},   // on the 250 ms steps, never earlier
      {0, 2500, 250, 2500},     // no pause: shown at the first step
      {500, 0, -1, 1000},       // no hide pause: gone before it shows
  };
  for (const Case& c : cases) {
    HintTimes t = HoverHintTimes(c.pause, c.hidePause);
    EXPECT_EQ(t.showAt, c.showAt) << c.pause << "/" << c.hidePause;
    EXPECT_EQ(t.hideAt, c.hideAt) << c.pause << "/" << c.hidePause;
  }
}

TDataSkinSysButton Element(int action, int visibility = 0, int frames = 4) {
  TDataSkinSysButton b("Button");
  b.Action = action;
  b.Visibility = visibility;
  b.Frame = frames;
  b.Bitmap = Surface(17 * frames, 17);
  return b;
}

TEST(CaptionButtonObjects, FindingCellsAndHints) {
  TDataSkinSysButton close = Element(0), custom = Element(-1), max = Element(1);
  struct Painter : TWinSysButton::Painter {
    void ResetHover() override {}
    void PaintCaptionButton(TWinSysButton&) override {}
  } painter;
  CaptionButtonList buttons;
  auto add = [&](const TDataSkinSysButton& e, Rect r, bool visible) {
    buttons.push_back(std::make_unique<TWinSysButton>(&painter, &e));
    buttons.back()->Bounds = r;
    buttons.back()->Visible = visible;
    return buttons.back().get();
  };
  add(max, {0, 0, 20, 20}, false);    // hidden: skipped
  add(custom, {0, 0, 20, 20}, true);  // no action: skipped
  TWinSysButton* closeButton = add(close, {10, 0, 30, 20}, true);
  TWinSysButton* shown = add(max, {0, 0, 20, 20}, true);
  EXPECT_EQ(FindCaptionButton(buttons, {15, 5}), closeButton) << "the first in order that holds the point";
  EXPECT_EQ(FindCaptionButton(buttons, {5, 5}), shown);
  EXPECT_EQ(FindCaptionButton(buttons, {35, 5}), nullptr);

  struct CellCase {
    TDataSkinSysButton element;
    int state;
    bool enabled;
    int cell;
  };
  const CellCase cells[] = {
      {Element(0), kNcHot, true, 3},        {Element(0), kNcPressed, true, 2},
      {Element(0), kNcNormal, false, 4},    {Element(0, 0, 3), kNcHot, false, 1},
      {Element(7, 100), kNcHot, true, 4},   {Element(0, 0, 1), kNcHot, true, 1},
  };
  for (const CellCase& c : cells)
    EXPECT_EQ(CaptionButtonStateCell(c.element, c.state, c.enabled), c.cell)
        << "action " << c.element.Action << " state " << c.state;

  TDataSkinSysButton icon("Button");
  icon.Action = 3;
  EXPECT_EQ(CaptionButtonCellSize(icon, 16), (Size{16, 16})) << "the icon button without a picture";
  EXPECT_EQ(CaptionButtonCellSize(Element(0, 0, 6), 16), (Size{17, 17}));

  const std::pair<int, const char*> hints[] = {{0, "Close"},     {9, "Close"},    {62, "Close"},
                                               {1, "Maximize"},  {22, "Maximize"}, {2, "Minimize"},
                                               {7, "Minimize"},  {60, "Minimize"}, {8, "Restore"},
                                               {61, "Restore"},  {3, ""},          {4, ""}};
  for (auto [action, text] : hints) EXPECT_STREQ(CaptionHintText(action), text) << action;
}

TEST(CaptionButtonObjects, WindowMenuItemsFollowTheWindowsState) {
  using S = WindowShowState;
  const std::uint8_t both = kFrameSystemMenu | kFrameMinimize | kFrameMaximize;
  struct Case {
    unsigned command;
    unsigned systemState;
    S window;
    std::uint8_t boxes;
    SkinSystemMenuEntry entry;
    BorderKind border = BorderKind::Sizeable;
  };
  const Case cases[] = {
      {syscmd::kRestore, 0, S::Normal, both, {0, false, false}},
      {syscmd::kRestore, 3, S::Maximised, both, {0, true, false}},
      {syscmd::kMove, 3, S::Normal, both, {-1, true, false}},  // stale grey ignored
      {syscmd::kMove, 0, S::Maximised, both, {-1, false, false}},
      {syscmd::kSize, 0, S::Maximised, both, {-1, false, false}},
      {syscmd::kSize, 0, S::Normal, both, {-1, false, false}, BorderKind::Dialog},  // a fixed frame
      {syscmd::kMove, 0, S::Normal, both, {-1, true, false}, BorderKind::Dialog},
      {syscmd::kMinimize, 0, S::Normal, both, {2, true, false}},
      {syscmd::kMinimize, 0, S::Minimised, both, {2, false, false}},
      {syscmd::kMinimize, 0, S::Normal, kFrameSystemMenu, {2, false, false}},
      {syscmd::kMaximize, 0, S::Normal, both, {1, true, false}},
      {syscmd::kMaximize, 0, S::Maximised, both, {1, false, false}},
      {syscmd::kMaximize, 0, S::Normal, kFrameSystemMenu | kFrameMinimize, {1, false, false}},
      {syscmd::kClose, 0, S::Maximised, both, {3, true, false}},
      {syscmd::kClose, 1, S::Normal, both, {3, false, false}},
      {0x1234, 8, S::Normal, both, {-1, true, true}},
      {0x1234, 2, S::Normal, both, {-1, false, false}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SystemMenuEntryFor(c.command, c.systemState, c.window, c.boxes, c.border), c.entry)
        << std::hex << c.command << " state " << c.systemState << " window " << int(c.window);
}

}  // namespace
}  // namespace corvane
