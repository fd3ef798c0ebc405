// The geometry of skinned tabs with exact rectangles: placement from the
// style bits, the tab row beside the page frame, item rectangles in the
// lying strip, the margins of turned pictures, header-style item content
// and the tab set's layout; and the rules that pick the tab skins.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "skin/controls/ControlLooks.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/TabLooks.h"
#include "skin/data/SkinElements.h"

namespace corvane {
namespace {

using P = TabPlacement;

TEST(TabPlacement, ComesFromTheBottomAndVerticalBits) {
  struct Case {
    unsigned style;
    P placement;
  } cases[] = {{0, P::Top}, {0x2, P::Bottom}, {0x80, P::Left}, {0x82, P::Right},
               {0x200 | 0x100, P::Top}, {0x2 | 0x200, P::Bottom}};
  for (const Case& c : cases)
    EXPECT_EQ(TabPlacementFromStyle(c.style), c.placement) << std::hex << c.style;
}

TEST(TabRow, LiesOnTheTabSideOfThePageFrameGrownByFour) {
  // Control 200 x 100, display area (4, 26)-(196, 96): the frame is grown
  // by 4 and the row is what lies above it.
  Rect bounds{0, 0, 200, 100};
  Rect frame = TabPageFrame({4, 26, 196, 96});
  EXPECT_EQ(frame, (Rect{0, 22, 200, 100}));
  EXPECT_EQ(TabRowArea(bounds, frame, P::Top), (Rect{0, 0, 200, 22}));
  EXPECT_EQ(TabRowArea(bounds, {0, 0, 200, 78}, P::Bottom), (Rect{0, 78, 200, 100}));
  EXPECT_EQ(TabRowArea(bounds, {40, 0, 200, 100}, P::Left), (Rect{0, 0, 40, 100}));
  EXPECT_EQ(TabRowArea(bounds, {0, 0, 160, 100}, P::Right), (Rect{160, 0, 200, 100}));
  // A frame that covers the tab side leaves no row (a control of 0 tabs).
  EXPECT_EQ(TabRowArea(bounds, {-4, -4, 204, 104}, P::Top), Rect{});
}

TEST(TabRow, ItemsLandInTheLyingStripSoTheTurnBackPutsThemInPlace) {
  // A side row 40 wide, 100 high lies as a 100 x 40 strip.
  EXPECT_EQ(TabStripSize({40, 100}, P::Left), (Size{100, 40}));
  EXPECT_EQ(TabStripSize({200, 22}, P::Top), (Size{200, 22}));
  struct Case {
    P placement;
    Rect row, item, inStrip;
  } cases[] = {
      {P::Top, {0, 0, 200, 22}, {2, 2, 60, 22}, {2, 2, 60, 22}},
      // Bottom: into the row and 1 pixel toward the page.
      {P::Bottom, {0, 78, 200, 100}, {2, 78, 60, 98}, {2, -1, 60, 19}},
      // Left, row (0,0)-(40,100): an item near the row's top lies near the
      // strip's right end (the turn back counter-clockwise lifts it).
      {P::Left, {0, 0, 40, 100}, {2, 10, 40, 50}, {50, 2, 90, 40}},
      // Right, row (160,0)-(200,100): the outer edge is the strip's top.
      {P::Right, {160, 0, 200, 100}, {160, 10, 198, 50}, {10, 2, 50, 40}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TabItemInStrip(c.item, c.row, c.placement), c.inStrip)
        << static_cast<int>(c.placement);
}

TEST(TabLook, CurrentTabTakesCellTwoAndItsOwnTextColour) {
  TDataSkinObject tabs("Tabs");
  tabs.NormalColour2 = Rgb(1, 2, 3);
  tabs.MouseOverColour2 = Rgb(4, 5, 6);
  tabs.PressedColour2 = Rgb(7, 8, 9);
  EXPECT_EQ(TabCell(true), 2);
  EXPECT_EQ(TabCell(false), 1);
  EXPECT_EQ(TabTextColour(tabs, true), Rgb(4, 5, 6));
  EXPECT_EQ(TabTextColour(tabs, false), Rgb(1, 2, 3));
  EXPECT_EQ(TabButtonTextColour(tabs, true), Rgb(7, 8, 9));
  EXPECT_EQ(TabButtonTextColour(tabs, false), Rgb(1, 2, 3));
}

TEST(TabLook, MarginsTurnWithTheirPicture) {
  Margins m{6, 4, 7, 1};  // left, top, right, bottom
  EXPECT_EQ(TurnedMargins(m, P::Top), m);
  EXPECT_EQ(TurnedMargins(m, P::Bottom), (Margins{6, 1, 7, 4}));
  // Counter-clockwise: top -> left, right -> top, bottom -> right, left -> bottom.
  EXPECT_EQ(TurnedMargins(m, P::Left), (Margins{4, 7, 1, 6}));
  // Clockwise: top -> right, left -> top, bottom -> left, right -> bottom.
  EXPECT_EQ(TurnedMargins(m, P::Right), (Margins{1, 6, 4, 7}));
  EXPECT_EQ(PageFrameMargins(0, {4, 2, 4, 4}), (Margins{4, 5, 4, 4}));
  EXPECT_EQ(PageFrameMargins(1, {4, 2, 4, 4}), (Margins{4, 2, 4, 4}));
}

TEST(ItemContent, PlacedLikeHeaderItems) {
  // Item 100 x 20, text 40 x 12, image 16 x 16.
  Size item{100, 20}, text{40, 12}, image{16, 16};
  EXPECT_EQ(PlaceItemContent(item, text, image, ItemAlign::Left),
            (ItemPlacement{{3, 2}, {19, 4, 100, 16}}));
  EXPECT_EQ(PlaceItemContent(item, text, image, ItemAlign::Centre),
            (ItemPlacement{{22, 2}, {38, 4, 100, 16}}));
  EXPECT_EQ(PlaceItemContent(item, text, {}, ItemAlign::Right),
            (ItemPlacement{{58, 10}, {58, 4, 100, 16}}));
  // Too wide to fit: right alignment keeps 1 pixel in, the text is clipped.
  EXPECT_EQ(PlaceItemContent({30, 20}, text, {}, ItemAlign::Right).text, (Rect{1, 4, 30, 16}));
}

TEST(TabSetLayout, TextPlusNineWhileItFitsBeforeTheEndMargin) {
  // Set 100 wide, margins 5 and 20: tabs end by 80, by 68 with the scroller.
  std::vector<int> widths{20, 20, 20, 20};  // tabs 29 wide
  EXPECT_EQ(LayoutTabSet(widths, 0, 5, 20, {100, 21}, false),
            (std::vector<TabSetTab>{{0, {5, 0, 34, 21}}, {1, {34, 0, 63, 21}}}));
  EXPECT_EQ(LayoutTabSet({20, 20, 6}, 0, 5, 20, {100, 21}, false).size(), 3u);  // 63 + 15 = 78
  EXPECT_EQ(LayoutTabSet({20, 20, 6}, 0, 5, 20, {100, 21}, true).size(), 2u);   // 78 + 12 > 80
  EXPECT_EQ(LayoutTabSet(widths, 2, 5, 20, {100, 21}, false),
            (std::vector<TabSetTab>{{2, {5, 0, 34, 21}}, {3, {34, 0, 63, 21}}}));
  // Bad input: no tabs, a first index past the end or below zero, no room.
  EXPECT_TRUE(LayoutTabSet({}, 0, 5, 20, {100, 21}, false).empty());
  EXPECT_TRUE(LayoutTabSet(widths, 9, 5, 20, {100, 21}, false).empty());
  EXPECT_TRUE(LayoutTabSet(widths, -1, 5, 20, {100, 21}, false).empty());
  EXPECT_TRUE(LayoutTabSet(widths, 0, 5, 20, {10, 21}, false).empty());
  // An empty text still makes a tab.
  EXPECT_EQ(LayoutTabSet({0}, 0, 5, 20, {100, 21}, false)[0].rect, (Rect{5, 0, 14, 21}));
  auto tabs = LayoutTabSet(widths, 1, 5, 20, {100, 21}, false);
  EXPECT_EQ(TabSetTabAt(tabs, {6, 3}), 1);
  EXPECT_EQ(TabSetTabAt(tabs, {40, 3}), 2);
  EXPECT_EQ(TabSetTabAt(tabs, {2, 3}), -1);
}

ControlFacts TabFacts(std::set<std::string> chain, std::string style = {}) {
  ControlFacts f;
  f.upperClass = AsciiUpper(*chain.begin());
  f.inheritsFrom = [chain](std::string_view n) { return chain.count(std::string(n)) > 0; };
  f.windowed = true;
  f.tabsElement = true;
  f.styleProperty = std::move(style);
  return f;
}

TEST(TabRules, TabControlsPagesAndSetsGetTheirSkinsOnlyWithTheTabsPicture) {
  const TSkinControlTypes all = AllControlTypesExcept({});
  using K = ControlSkinKind;
  struct Case {
    ControlFacts facts;
    K kind;
  } cases[] = {
      {TabFacts({"TTabControl", "TCustomTabControl"}, "tsTabs"), K::Tab},
      {TabFacts({"TPageControl", "TCustomTabControl"}, "tsTabs"), K::Tab},
      {TabFacts({"TTabControl", "TCustomTabControl"}, "tsButtons"), K::TabBtn},
      {TabFacts({"TTabControl", "TCustomTabControl"}, "tsFlatButtons"), K::TabBtn},
      {TabFacts({"TTabSheet"}), K::TabSheet},
      {TabFacts({"TTabSet"}), K::Tab31},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ControlClassRule(c.facts, all).kind, c.kind) << c.facts.upperClass;
    ControlFacts without = c.facts;
    without.tabsElement = false;
    EXPECT_EQ(ControlClassRule(without, all).kind, K::None) << c.facts.upperClass;
    EXPECT_EQ(ControlClassRule(c.facts, AllControlTypesExcept({xcTab})).kind, K::None);
  }
}

}  // namespace
}  // namespace corvane
