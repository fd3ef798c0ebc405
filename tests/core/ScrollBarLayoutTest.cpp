// The skinned scroll bar's geometry and the field looks, with exact numbers.
#include <gtest/gtest.h>

#include "core/Surface.h"
#include "skin/controls/EditLooks.h"
#include "skin/controls/ScrollBarLayout.h"
#include "skin/data/SkinElements.h"

namespace corvane {
namespace {

TEST(ScrollBarGeometry, HitTestFollowsArrowsTrackAndThumb) {
  // |<-16->|  track  |thumb 40..70|  track  |<-16->|   length 120
  struct Case {
    int along, part;
  } cases[] = {{0, kFirstArrow},  {15, kFirstArrow},  {16, kTrackBefore}, {39, kTrackBefore},
               {40, kScrollThumb}, {69, kScrollThumb}, {70, kTrackAfter},  {103, kTrackAfter},
               {104, kSecondArrow}, {119, kSecondArrow}};
  for (const Case& c : cases)
    EXPECT_EQ(ScrollBarHitTest(c.along, 120, 16, 40, 70), c.part) << c.along;
}

TEST(ScrollBarGeometry, ControlThumbSizedByPageWithEightPixelMinimum) {
  struct Case {
    ScrollRange range;
    int length, arrow;
    ThumbSpan paint, press;
  } cases[] = {
      // Page 11 of 0..100 on 232 px: thumb 200 * 10 / 100 = 20 long.
      {{0, 100, 11, 0}, 232, 16, {16, 36}, {16, 36}},
      {{0, 100, 11, 50}, 232, 16, {116, 136}, {116, 136}},
      // A page so small the thumb would be 2 px: 8 px, placed on the rest.
      {{0, 100, 2, 50}, 232, 16, {112, 120}, {116, 118}},
      {{0, 100, 2, 0}, 232, 16, {16, 24}, {16, 18}},
      // Without a page the thumb is an arrow's size.
      {{0, 10, 0, 5}, 100, 16, {42, 58}, {42, 58}},
      // A negative minimum counts from it.
      {{-50, 50, 0, 0}, 100, 16, {42, 58}, {42, 58}},
      // An empty range: painting divides by a huge range, the press by none.
      {{7, 7, 0, 7}, 100, 16, {16, 32}, {16, 32}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScrollControlThumb(c.range, c.length, c.arrow), c.paint)
        << c.range.min << ".." << c.range.max << " page " << c.range.page << " pos " << c.range.pos;
    EXPECT_EQ(ScrollControlPressThumb(c.range, c.length, c.arrow), c.press)
        << c.range.min << ".." << c.range.max << " page " << c.range.page << " pos " << c.range.pos;
  }
}

TEST(ScrollBarGeometry, DraggedThumbStaysAnArrowFromEitherEndAndMapsToPositions) {
  // Bar 200, arrows 16, thumb 30: the top may go from 16 to 154.
  EXPECT_EQ(FollowThumbTop(50, 20, 16, 200, 30), 70);
  EXPECT_EQ(FollowThumbTop(50, -100, 16, 200, 30), 16);
  EXPECT_EQ(FollowThumbTop(50, 500, 16, 200, 30), 154);
  EXPECT_EQ(FollowThumbTop(16, 5, 16, 40, 30), 16);  // a thumb longer than its track

  // 100 000 items, 10 shown: positions 0 .. 99 990 over 138 pixels of travel.
  ScrollRange big{0, 99999, 10, 0};
  EXPECT_EQ(ScrollPositionAt(16, 16, 200, 30, big), 0);
  EXPECT_EQ(ScrollPositionAt(154, 16, 200, 30, big), 99990);
  EXPECT_EQ(ScrollPositionAt(85, 16, 200, 30, big), 49995);
  ScrollRange pageLargerThanRange{0, 5, 20, 0};
  EXPECT_EQ(ScrollPositionAt(100, 16, 200, 30, pageLargerThanRange), 0);
  EXPECT_EQ(ScrollPositionAt(100, 16, 200, 30, {-20, 20, 0, 0}), 4);
}

TEST(ScrollBarPlanTest, CellsOfAVerticalBar) {
  ScrollBarLook look;
  look.size = {16, 120};
  look.vertical = true;
  look.arrowSize = 16;
  look.thumbTop = 40;
  look.thumbBottom = 70;
  ScrollBarPlan plan = PlanScrollBar(look, 15);
  EXPECT_EQ(plan.thickness, 15);  // the strip's height, within 2 of the arrows
  EXPECT_EQ(plan.track, (Rect{0, 16, 15, 104}));
  EXPECT_EQ(plan.trackFrame, 1);
  EXPECT_EQ(plan.firstArrow, (Rect{0, 0, 15, 16}));
  EXPECT_EQ(plan.secondArrow, (Rect{0, 104, 15, 120}));
  EXPECT_EQ(plan.firstArrowFrame, kUpArrowFrame);
  EXPECT_EQ(plan.secondArrowFrame, kDownArrowFrame);
  EXPECT_EQ(plan.thumb, (Rect{0, 40, 15, 70}));
  EXPECT_EQ(plan.thumbFrame, 1);
  EXPECT_EQ(plan.grip, (Rect{0, 47, 15, 62}));  // centred: (30 - 15) / 2 = 7 down
  EXPECT_EQ(plan.gripFrame, kVertGripFrame);

  struct State {
    int hot;
    bool tracking;
    int first, second, thumb, grip;
  } states[] = {
      {kFirstArrow, false, 12, 13, 1, 20},  {kFirstArrow, true, 10, 13, 1, 20},
      {kSecondArrow, true, 9, 14, 1, 20},   {kScrollThumb, false, 9, 13, 3, 22},
      {kScrollThumb, true, 9, 13, 2, 21},   {8, false, 9, 13, 1, 20},  // SB_ENDSCROLL lights nothing
  };
  for (const State& s : states) {
    look.hotPart = s.hot;
    look.tracking = s.tracking;
    ScrollBarPlan p = PlanScrollBar(look, 15);
    EXPECT_EQ(p.firstArrowFrame, s.first) << s.hot << s.tracking;
    EXPECT_EQ(p.secondArrowFrame, s.second) << s.hot << s.tracking;
    EXPECT_EQ(p.thumbFrame, s.thumb) << s.hot << s.tracking;
    EXPECT_EQ(p.gripFrame, s.grip) << s.hot << s.tracking;
  }
}

TEST(ScrollBarPlanTest, ShortDisabledAndForeignSizedBars) {
  ScrollBarLook look;
  look.size = {100, 16};
  look.arrowSize = 16;
  look.thumbTop = 16;
  look.thumbBottom = 20;
  // A thumb shorter than the grip gets no grip.
  ScrollBarPlan plan = PlanScrollBar(look, 15);
  EXPECT_EQ(plan.firstArrowFrame, kLeftArrowFrame);
  EXPECT_EQ(plan.thumb, (Rect{16, 0, 20, 15}));
  EXPECT_TRUE(plan.grip.IsEmpty());

  // Shorter than two arrows: each arrow gets half, no track.
  look.size = {20, 16};
  plan = PlanScrollBar(look, 15);
  EXPECT_EQ(plan.firstArrow, (Rect{0, 0, 10, 15}));
  EXPECT_EQ(plan.secondArrow, (Rect{10, 0, 20, 15}));
  EXPECT_TRUE(plan.track.IsEmpty());

  // Disabled: track frame 3 and no thumb.
  look.size = {100, 16};
  look.enabled = false;
  plan = PlanScrollBar(look, 15);
  EXPECT_EQ(plan.trackFrame, 3);
  EXPECT_TRUE(plan.thumb.IsEmpty());

  // A strip far from the system's arrow size: the bar is the arrows' size.
  look.enabled = true;
  EXPECT_EQ(PlanScrollBar(look, 24).thickness, 16);
}

TEST(ScrollBarPaint, ArrowsComeFromTheStripKeyedAndTheTrackFromItsElement) {
  // A strip of 23 cells of 4 x 4: cell n is grey level n, with a magenta
  // pixel at its top-left that must leave the canvas alone.
  TDataSkinObject strip("Scrollbar");
  strip.Bitmap = Surface(23 * 4, 4);
  for (int cell = 0; cell < 23; ++cell)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x)
        strip.Bitmap.At(cell * 4 + x, y) =
            PixelFromColour(x == 0 && y == 0 ? kColourKey : Rgb(cell + 1, cell + 1, cell + 1));
  TDataSkinObject track("VertScroll");
  track.Bitmap = Surface(4 * 4, 4);
  for (int cell = 0; cell < 4; ++cell)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) track.Bitmap.At(cell * 4 + x, y) = PixelFromColour(Rgb(100 + cell, 0, 0));

  ScrollBarLook look;
  look.size = {4, 20};
  look.vertical = true;
  look.arrowSize = 4;
  look.hotPart = kSecondArrow;
  Surface canvas(4, 20, PixelFromColour(Rgb(1, 2, 3)));
  PaintScrollBar(canvas.View(), PlanScrollBar(look, 4), {&strip, &track, nullptr});
  EXPECT_TRUE(SameColour(canvas.At(0, 0), Rgb(1, 2, 3)));      // keyed
  EXPECT_TRUE(SameColour(canvas.At(1, 1), Rgb(9, 9, 9)));      // up arrow, cell 9
  EXPECT_TRUE(SameColour(canvas.At(2, 10), Rgb(100, 0, 0)));   // track frame 1
  EXPECT_TRUE(SameColour(canvas.At(1, 17), Rgb(16, 16, 16)));  // hot down arrow, cell 16
}

TEST(FieldLooks, BordersButtonFramesAndComboBoxes) {
  EXPECT_TRUE(FieldHasBorder({100, 21}, {96, 17}));
  EXPECT_FALSE(FieldHasBorder({100, 21}, {100, 17}));
  EXPECT_FALSE(FieldHasBorder({100, 21}, {96, 21}));

  struct Frame {
    bool enabled, pressed, hot;
    int frame;
  } frames[] = {{true, false, false, 1}, {true, true, true, 2}, {true, false, true, 4},
                {false, true, true, 3}};
  for (const Frame& f : frames)
    EXPECT_EQ(ComboButtonFrame(f.enabled, f.pressed, f.hot), f.frame) << f.pressed << f.hot;

  // A 145 x 21 combo, 16-pixel cells, thumb height 16 or 17.
  ComboButtonLayout right = FlatComboButton({0, 0, 145, 21}, false, 16, 16, 16);
  EXPECT_EQ(right.button, (Rect{127, 2, 143, 19}));
  EXPECT_EQ(right.strip, (Rect{127, 2, 143, 19}));
  ComboButtonLayout left = FlatComboButton({0, 0, 145, 21}, true, 16, 16, 17);
  EXPECT_EQ(left.button, (Rect{2, 2, 18, 18}));  // lower than the thumb: centred, 16 high
  EXPECT_EQ(left.strip, (Rect{2, 2, 19, 19}));
  EXPECT_EQ(BoxedComboButton({0, 0, 145, 21}, false, 16), (Rect{125, 2, 143, 19}));
  EXPECT_EQ(BoxedComboButton({0, 0, 145, 21}, true, 16), (Rect{2, 2, 20, 19}));
}

}  // namespace
}  // namespace corvane
