// The geometry of a skinned scroll bar: which part a point hits, where the
// thumb of a scroll-bar control lies, how far a dragged thumb may go, and
// the cells the skin draws for arrows, track, thumb and grip. Portable and
// pure: the Windows overlays read the system's bar and paint this plan.
#pragma once

#include "core/Geometry.h"
#include "core/Surface.h"

namespace corvane {

struct TDataSkinObject;

// Parts of a bar, numbered as the scroll codes the system sends for them
// (SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK).
enum ScrollPart : int {
  kNoScrollPart = -1,
  kFirstArrow = 0,
  kSecondArrow = 1,
  kTrackBefore = 2,
  kTrackAfter = 3,
  kScrollThumb = 5,
};

// Frames of the skin's 23-frame arrow and grip strip (1-based, normal
// frame; pressed is +1, hot +3 for arrows and +2 for grips).
enum ScrollStripFrame : int {
  kLeftArrowFrame = 1,
  kRightArrowFrame = 5,
  kUpArrowFrame = 9,
  kDownArrowFrame = 13,
  kHorzGripFrame = 17,
  kVertGripFrame = 20,
  kScrollStripFrames = 23,
};

// The part at distance `along` from the bar's start.
int ScrollBarHitTest(int along, int length, int arrowSize, int thumbTop, int thumbBottom);

// The system's rounding a * b / c (half away from zero); -1 when c is 0.
int MulDivRound(int a, int b, int c);

struct ScrollRange {
  int min = 0;
  int max = 0;
  int page = 0;
  int pos = 0;
};

// Start and end of a thumb along its bar.
struct ThumbSpan {
  int top = 0;
  int bottom = 0;
  friend bool operator==(const ThumbSpan&, const ThumbSpan&) = default;
};

// Where a scroll-bar control's thumb is painted: sized by the page, never
// shorter than 8 pixels, or an arrow-sized box without a page.
ThumbSpan ScrollControlThumb(const ScrollRange& range, int length, int arrowSize);

// Where the thumb is taken to be when the bar is pressed (the control's own
// range; no minimum size).
ThumbSpan ScrollControlPressThumb(const ScrollRange& range, int length, int arrowSize);

// The top of a dragged thumb: where it was at the press moved by the
// cursor, kept at least an arrow away from either end.
int FollowThumbTop(int pressThumbTop, int cursorDelta, int arrowSize, int length, int thumbSize);

// The position a thumb starting at thumbTop stands for, as the system maps
// a dragged thumb: its travel between the arrows spread over the positions
// a page can start at.
int ScrollPositionAt(int thumbTop, int arrowSize, int length, int thumbSize,
                     const ScrollRange& range);

// How thick the skin draws a bar: its strip's height, unless that is more
// than 2 pixels away from the system's arrow size.
int ScrollBarThickness(int stripHeight, int arrowSize);

// What the overlay knows when it paints.
struct ScrollBarLook {
  // The bar's rectangle at the origin.
  Size size;
  bool vertical = false;
  bool enabled = true;
  int arrowSize = 0;
  int thumbTop = 0;
  int thumbBottom = 0;
  int hotPart = kNoScrollPart;
  // The mouse button is down on the bar.
  bool tracking = false;
  friend bool operator==(const ScrollBarLook&, const ScrollBarLook&) = default;
};

// The cells to draw, bar-relative; an empty rectangle is not drawn.
struct ScrollBarPlan {
  int thickness = 0;
  Rect track;
  int trackFrame = 1;  // of the 4-frame track element
  Rect firstArrow;
  Rect secondArrow;
  int firstArrowFrame = 0;  // of the strip
  int secondArrowFrame = 0;
  Rect thumb;
  int thumbFrame = 1;  // of the thumb element
  Rect grip;
  int gripFrame = 0;  // of the strip
  friend bool operator==(const ScrollBarPlan&, const ScrollBarPlan&) = default;
};

ScrollBarPlan PlanScrollBar(const ScrollBarLook& look, int stripHeight);

// The skin's pictures of one orientation.
struct ScrollBarPictures {
  const TDataSkinObject* strip = nullptr;  // arrows and grips
  const TDataSkinObject* track = nullptr;
  const TDataSkinObject* thumb = nullptr;
};

// Draws plan onto canvas (already filled with the face colour); the strip
// is keyed, track and thumb are stretched by their margins.
void PaintScrollBar(SurfaceView canvas, const ScrollBarPlan& plan,
                    const ScrollBarPictures& pictures);

}  // namespace corvane
