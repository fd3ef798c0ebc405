// The cells and layouts of the skinned controls, with exact numbers.
#include <gtest/gtest.h>

#include "skin/controls/ControlLooks.h"

namespace corvane {
namespace {

TEST(ButtonCells, PushDropDownAndSpeedButtons) {
  struct Case {
    unsigned mouse;
    bool focused, isDefault, enabled;
    int push, menu;
  } cases[] = {
      {0, false, false, true, 1, 1},
      {kMousePressed, false, false, true, 2, 2},
      {kMousePressed | kMouseHot, true, true, true, 2, 2},
      {kMouseHot, true, true, true, 4, 4},
      {0, true, false, true, 5, 4},
      {0, false, true, true, 5, 1},   // a default button without the focus
      {0, false, true, false, 3, 3},  // disabled wins over default
      {kMousePressed | kMouseHot, true, true, false, 3, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PushButtonCell(c.mouse, c.focused, c.isDefault, c.enabled), c.push)
        << c.mouse << c.focused << c.isDefault << c.enabled;
    EXPECT_EQ(MenuButtonCell(c.mouse, c.focused, c.enabled), c.menu)
        << c.mouse << c.focused << c.enabled;
  }
  struct Speed {
    unsigned mouse;
    bool down, enabled, flat;
    int cell;
  } speeds[] = {
      {0, false, true, false, 1},  {kMousePressed, false, true, false, 2},
      {0, true, true, false, 2},   {0, true, false, false, 2},  // down beats disabled
      {0, false, false, false, 3}, {kMouseHot, false, true, false, 4},
      {0, false, true, true, 0},   {kMouseHot, false, true, true, 4},  // flat: only when hot
      {0, true, true, true, 2},
  };
  for (const Speed& s : speeds)
    EXPECT_EQ(SpeedButtonCell(s.mouse, s.down, s.enabled, s.flat), s.cell)
        << s.mouse << s.down << s.enabled << s.flat;
}

TEST(CheckCells, TwelveCellStripAndPropertyOrder) {
  // checked / indeterminate / disabled by the window's state, then the
  // framework properties.
  struct Case {
    bool checked, indeterminate, disabled;
    const char* state;
    int checkedProperty;
    bool dataField;
    int storedCheck;
    bool dataBinding;
    int frames;
    int cell;
  } cases[] = {
      {false, false, false, "", -1, false, 0, false, 12, 1},
      {true, false, false, "", -1, false, 0, false, 12, 5},
      {false, false, true, "", -1, false, 0, false, 12, 4},
      {true, false, true, "", -1, false, 0, false, 12, 8},
      {false, true, false, "", -1, false, 0, false, 12, 9},
      {false, true, true, "", -1, false, 0, false, 12, 12},
      {false, false, false, "cbunchecked", -1, false, 0, false, 12, 1},
      {true, false, false, "cbunchecked", -1, false, 0, false, 12, 1},  // the property wins
      {false, false, false, "cbchecked", -1, false, 0, false, 12, 5},
      {false, false, false, "cbgrayed", -1, false, 0, false, 12, 9},
      {false, false, false, "", 1, false, 0, false, 12, 5},
      {false, false, false, "", 0, false, 0, false, 12, 1},
      {false, false, true, "", 0, false, 0, false, 12, 4},
      {false, false, false, "", -1, true, 2, false, 12, 5},
      {false, false, false, "", -1, true, 3, false, 12, 9},
      {true, false, false, "", -1, false, 0, true, 12, 1},
      // A strip of four: the index itself, kept inside the strip.
      {false, false, false, "", -1, false, 0, false, 4, 1},
      {true, false, false, "", -1, false, 0, false, 4, 2},
      {false, false, true, "", -1, false, 0, false, 4, 3},
      {true, false, true, "", -1, false, 0, false, 4, 4},
      {true, false, true, "", -1, false, 0, false, 2, 2},
  };
  int row = 0;
  for (const Case& c : cases) {
    CheckFacts f;
    f.stateChecked = c.checked;
    f.stateIndeterminate = c.indeterminate;
    f.disabled = c.disabled;
    f.stateProperty = c.state;
    f.checkedProperty = c.checkedProperty;
    f.dataField = c.dataField;
    f.storedCheck = c.storedCheck;
    f.dataBinding = c.dataBinding;
    EXPECT_EQ(CheckBoxCell(f, c.frames), c.cell) << "row " << row;
    ++row;
  }
}

TEST(RadioCells, EightCellStrip) {
  EXPECT_EQ(RadioButtonCell(false, false, 8), 1);
  EXPECT_EQ(RadioButtonCell(true, false, 8), 5);
  EXPECT_EQ(RadioButtonCell(false, true, 8), 4);
  EXPECT_EQ(RadioButtonCell(true, true, 8), 8);
  EXPECT_EQ(RadioButtonCell(true, true, 4), 4);
  EXPECT_EQ(RadioButtonCell(true, true, 0), 1);
}

TEST(ButtonCaptions, DoubleBarsBreakTheLine) {
  EXPECT_EQ(ButtonCaptionLines(L"Save||as"), L"Save\r\nas");
  EXPECT_EQ(ButtonCaptionLines(L"a|b"), L"a|b");
  EXPECT_EQ(ButtonCaptionLines(L"|||"), L"\r\n|");
  EXPECT_EQ(ButtonCaptionLines(L"&Open||"), L"&Open\r\n");
}

TEST(GlyphLayouts, MarginsAndSpacingAutomaticOrGiven) {
  // 75 x 25 button, 16 x 16 glyph, 30 x 13 text.
  Size c{75, 25}, g{16, 16}, t{30, 13};
  // Automatic: margin = spacing = (75 - 46) / 3 = 9.
  GlyphPlacement left = PlaceGlyph(c, g, t, GlyphLayout::Left, -1, -1, false);
  EXPECT_EQ(left.glyph, (Point{9, 5}));
  EXPECT_EQ(left.text, (Point{34, 6}));
  EXPECT_EQ(left.textAlign, 0u);
  // Given margin 4, automatic spacing = ((75 - 20) - 30) / 2 = 12.
  GlyphPlacement given = PlaceGlyph(c, g, t, GlyphLayout::Left, 4, -1, false);
  EXPECT_EQ(given.glyph.x, 4);
  EXPECT_EQ(given.text.x, 4 + 16 + 12);
  // Centred with spacing 4: margin = (75 - 50 + 1) / 2 = 13.
  GlyphPlacement centred = PlaceGlyph(c, g, t, GlyphLayout::Left, 4, 4, true);
  EXPECT_EQ(centred.glyph.x, 13);
  EXPECT_EQ(centred.text.x, 33);
  GlyphPlacement right = PlaceGlyph(c, g, t, GlyphLayout::Right, 4, 2, false);
  EXPECT_EQ(right.glyph.x, 75 - 4 - 16);
  EXPECT_EQ(right.text.x, 55 - 2 - 30);
  EXPECT_EQ(right.textAlign, 2u);
  // Top in a 60 x 60 button: along the height.
  GlyphPlacement top = PlaceGlyph({60, 60}, g, t, GlyphLayout::Top, 5, 3, false);
  EXPECT_EQ(top.glyph, (Point{22, 5}));
  EXPECT_EQ(top.text, (Point{15, 24}));
  GlyphPlacement bottom = PlaceGlyph({60, 60}, g, t, GlyphLayout::Bottom, 5, 3, false);
  EXPECT_EQ(bottom.glyph.y, 60 - 5 - 16);
  EXPECT_EQ(bottom.text.y, 39 - 3 - 13);
  // No text: spacing is 0, the glyph is centred.
  GlyphPlacement alone = PlaceGlyph(c, g, {0, 0}, GlyphLayout::Left, -1, 6, false);
  EXPECT_EQ(alone.glyph.x, (75 - 16 + 1) / 2);
}

TEST(GlyphLayouts, PartsByState) {
  EXPECT_EQ(GlyphPart(false, true, false, 4), 1);
  EXPECT_EQ(GlyphPart(false, false, false, 4), 2);
  EXPECT_EQ(GlyphPart(true, true, false, 4), 3);
  EXPECT_EQ(GlyphPart(false, true, true, 4), 4);
  EXPECT_EQ(GlyphPart(true, true, false, 2), 1);  // beyond the count
  EXPECT_EQ(GlyphPart(false, false, false, 0), 1);
}

TEST(FocusRectangles, AroundMeasuredText) {
  Rect area{0, 0, 75, 25};
  EXPECT_EQ(FocusAroundText(area, {30, 13}, 1), (Rect{20, 4, 54, 19}));
  EXPECT_EQ(FocusAroundText(area, {30, 13}, 2), (Rect{43, 0, 75, 14}));
  EXPECT_EQ(FocusAroundText({10, 5, 60, 20}, {30, 13}, 0), (Rect{10, 5, 42, 19}));
  // Text wider than the area: clipped to it.
  EXPECT_EQ(FocusAroundText(area, {100, 13}, 0), (Rect{0, 0, 75, 14}));
}

TEST(GroupBoxes, FrameAndCaptionPlaces) {
  GroupBoxLayout l = LayoutGroupBox({0, 0, 286, 205}, 13, false);
  EXPECT_EQ(l.frame, (Rect{1, 6, 285, 204}));
  EXPECT_EQ(l.caption, (Rect{8, 0, 286, 205}));
  GroupBoxLayout rtl = LayoutGroupBox({0, 0, 286, 205}, 13, true);
  EXPECT_EQ(rtl.caption, (Rect{0, 0, 278, 205}));
}

TEST(StatusBars, PanelCellsAndTheLastPanelReachingTheEdge) {
  EXPECT_EQ(StatusPanelCell(PanelBevel::Lowered), 1);
  EXPECT_EQ(StatusPanelCell(PanelBevel::Raised), 2);
  EXPECT_EQ(StatusPanelCell(PanelBevel::None), 3);
  std::vector<Rect> panels{{0, 2, 100, 19}, {102, 2, 150, 19}};
  std::vector<Rect> painted = StatusPanelRects(panels, 400);
  EXPECT_EQ(painted[0], panels[0]);
  EXPECT_EQ(painted[1], (Rect{102, 2, 400, 19}));
  EXPECT_TRUE(StatusPanelRects({}, 400).empty());
}

TEST(Headers, HotItemUnderTheMouse) {
  std::vector<Rect> items{HeaderHotRect({0, 0, 100, 17}), HeaderHotRect({100, 0, 180, 17})};
  EXPECT_EQ(items[0], (Rect{3, 0, 97, 17}));
  EXPECT_EQ(HeaderItemAt(items, {50, 5}), 0);
  EXPECT_EQ(HeaderItemAt(items, {150, 5}), 1);
  EXPECT_EQ(HeaderItemAt(items, {98, 5}), -1);  // between two items
  EXPECT_EQ(HeaderItemAt(items, {300, 5}), -1);
}

}  // namespace
}  // namespace corvane
