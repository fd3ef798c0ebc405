// The skinned menu bar: item placement, hit tests, accelerators and the
// switching between bar items while a submenu is open.
#include <gtest/gtest.h>

#include "core/Mnemonic.h"
#include "skin/forms/MenuBarLayout.h"

namespace corvane {
namespace {

MenuBarEntry Item(const char* caption, int textWidth, bool visible = true, bool enabled = true,
                  bool rightJustify = false) {
  return {caption, textWidth, visible, enabled, rightJustify};
}

TEST(MenuBarLayout, StartOffsetFollowsThePicture) {
  struct Case {
    MenuBarLook look;
    int width;
    bool rtl;
    int offset;
  } cases[] = {
      {{false, 0, 0}, 300, false, 6},
      {{false, 0, 0}, 3, true, 6},
      {{true, 7, 9}, 300, false, 11},
      {{true, 7, 9}, 300, true, 17},
      {{true, 7, 9}, 10, false, 12},  // narrower than the offset
      {{true, 7, 9}, 16, true, 12},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MenuBarStartOffset(c.look, c.width, c.rtl), c.offset) << c.width << " rtl " << c.rtl;
}

TEST(MenuBarLayout, ItemsRunFromTheOffsetEachCaptionPlusTen) {
  const Rect strip{4, 30, 404, 49};
  auto rects = LayoutMenuBar({Item("&File", 20), Item("", 50), Item("&Hidden", 30, false), Item("&Edit", 21)},
                             strip, 6, false);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0], (Rect{10, 30, 40, 48}));  // one pixel short of the strip's bottom
  EXPECT_EQ(rects[1], (Rect{40, 30, 40, 48}));  // an empty caption takes no room
  EXPECT_TRUE(rects[2].IsEmpty());
  EXPECT_EQ(rects[3], (Rect{40, 30, 71, 48}));

  auto rtl = LayoutMenuBar({Item("&File", 20), Item("&Edit", 21)}, strip, 17, true);
  EXPECT_EQ(rtl[0], (Rect{357, 30, 387, 48}));
  EXPECT_EQ(rtl[1], (Rect{326, 30, 357, 48}));
}

TEST(MenuBarLayout, RightJustifiedItemsStandAtTheFarEndWithoutOverlapping) {
  const std::vector<MenuBarEntry> items{Item("&File", 20), Item("&Help", 25, true, true, true), Item("&About", 30)};
  auto wide = LayoutMenuBar(items, {0, 20, 300, 40}, 6, false);
  EXPECT_EQ(wide[0], (Rect{6, 20, 36, 39}));
  EXPECT_EQ(wide[1], (Rect{219, 20, 254, 39}));
  EXPECT_EQ(wide[2], (Rect{254, 20, 294, 39}));
  auto narrow = LayoutMenuBar(items, {0, 20, 90, 40}, 6, false);
  EXPECT_EQ(narrow[1].left, narrow[0].right);
  EXPECT_EQ(narrow[2].left, narrow[1].right);
}

TEST(MenuBarLayout, ItemsKeepFivePixelsLeftOfButtonsAtTheStripsEnd) {
  // strip 0..300, offset 8; a maximised child's buttons from x = 240:
  // |            [Edit][File]     |min|rst|cls|
  //                        ^ 235  ^ 240
  const Rect strip{0, 20, 300, 40};
  const std::vector<MenuBarEntry> items{Item("&File", 20), Item("&Edit", 21)};
  struct Case {
    bool rtl;
    std::optional<int> buttonsLeft;
    Rect first, second;
  } cases[] = {
      {true, std::nullopt, {262, 20, 292, 39}, {231, 20, 262, 39}},
      {true, 240, {205, 20, 235, 39}, {174, 20, 205, 39}},
      {true, 298, {262, 20, 292, 39}, {231, 20, 262, 39}},  // buttons within the offset: the offset stands
      {false, 240, {8, 20, 38, 39}, {38, 20, 69, 39}},       // left to right the items start at the left
  };
  for (const Case& c : cases) {
    auto rects = LayoutMenuBar(items, strip, 8, c.rtl, c.buttonsLeft);
    EXPECT_EQ(rects[0], c.first) << c.rtl << " " << c.buttonsLeft.value_or(-1);
    EXPECT_EQ(rects[1], c.second) << c.rtl << " " << c.buttonsLeft.value_or(-1);
  }
  // Right-justified items end before the buttons too.
  auto justified = LayoutMenuBar({Item("&File", 20), Item("&Help", 25, true, true, true)}, strip, 8, false, 240);
  EXPECT_EQ(justified[1], (Rect{200, 20, 235, 39}));
}

TEST(MenuBarLayout, HitTestSkipsEmptyCaptionsAndKeysNeedAnOpenableItem) {
  std::vector<MenuBarEntry> items{Item("", 0), Item("&File", 20), Item("&Grey", 20, true, false),
                                  Item("&Fine", 20), Item("Edit && &Go", 40), Item("&", 5)};
  auto rects = LayoutMenuBar(items, {0, 0, 400, 20}, 6, false);
  EXPECT_EQ(MenuBarItemAt(items, rects, {6, 5}), 1);  // the empty item has no width
  EXPECT_EQ(MenuBarItemAt(items, rects, {rects[3].left, 5}), 3);
  EXPECT_EQ(MenuBarItemAt(items, rects, {399, 5}), -1);
  EXPECT_EQ(MenuBarItemAt(items, rects, {10, 19}), -1);  // the strip's last row
  struct Case {
    char key;
    int item;
  } keys[] = {{'f', 1}, {'F', 1}, {'g', 4}, {'x', -1}, {0, -1}, {'&', -1}};
  for (const Case& c : keys) EXPECT_EQ(MenuBarItemForKey(items, c.key), c.item) << c.key;
  EXPECT_EQ(CaptionMnemonic("a&&b"), 0);
  EXPECT_EQ(CaptionMnemonic("Save &As"), 'a');
}

TEST(MenuBarLayout, LeftAndRightSwitchBarItemsWhenTheSystemWouldNot) {
  const std::vector<MenuBarEntry> items{Item("&File", 20), Item("&Edit", 20), Item("", 0),
                                        Item("&Grey", 20, true, false), Item("&Hidden", 20, false),
                                        Item("&Help", 20)};
  const MenuSelection top{true, false}, deeper{false, false}, opener{true, true};
  struct Case {
    int open;
    MenuBarKey key;
    MenuSelection selection;
    int target;
  } cases[] = {
      {0, MenuBarKey::Right, top, 1},
      {1, MenuBarKey::Right, top, 5},     // past empty, disabled and hidden items
      {5, MenuBarKey::Right, top, 0},     // the last wraps to the first
      {0, MenuBarKey::Left, top, 5},      // the first wraps to the last
      {5, MenuBarKey::Left, top, 1},
      {0, MenuBarKey::Left, deeper, -1},  // Left closes the deeper submenu
      {0, MenuBarKey::Right, deeper, 1},  // Right on a plain item deeper down still switches
      {0, MenuBarKey::Right, opener, -1}, // Right opens the selected item's submenu
      {-1, MenuBarKey::Right, top, -1},
      {6, MenuBarKey::Left, top, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MenuBarKeyTarget(items, c.open, c.key, c.selection), c.target) << "open " << c.open;
  EXPECT_EQ(MenuBarKeyTarget({Item("&Only", 20)}, 0, MenuBarKey::Right, top), -1);
}

TEST(MenuBarLayout, CaptionIsCentredRoundingTowardZero) {
  EXPECT_EQ(MenuBarCaptionRect({10, 20, 41, 38}, {20, 13}), (Rect{15, 22, 35, 35}));
  EXPECT_EQ(MenuBarCaptionRect({10, 20, 15, 25}, {20, 13}), (Rect{3, 16, 23, 29}));
}

}  // namespace
}  // namespace corvane
