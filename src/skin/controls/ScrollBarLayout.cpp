#include "skin/controls/ScrollBarLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "skin/data/SkinElements.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

int ScrollBarHitTest(int along, int length, int arrowSize, int thumbTop, int thumbBottom) {
  if (along < arrowSize) return kFirstArrow;
  if (along < thumbTop) return kTrackBefore;
  if (along < thumbBottom) return kScrollThumb;
  if (along < length - arrowSize) return kTrackAfter;
  return kSecondArrow;
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  bool negative = (product < 0) != (c < 0);
  std::int64_t quotient = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
  return static_cast<int>(negative ? -quotient : quotient);
}

ThumbSpan ScrollControlThumb(const ScrollRange& r, int length, int arrowSize) {
  const int range = r.max == r.min ? 9999999 : r.max - r.min;
  const int track = length - 2 * arrowSize;
  const bool atStart = r.pos == r.min;
  int size = 0;
  int top = arrowSize;
  if (r.page != 0) {
    size = MulDivRound(track, r.page - 1, range);
    if (size > 7) {
      if (!atStart) top = arrowSize + MulDivRound(track, r.pos - r.min, range);
    } else {
      size = 8;
      if (!atStart) top = arrowSize + MulDivRound(track - 8, r.pos - r.min, range);
    }
  } else {
    size = arrowSize;
    if (!atStart) top = arrowSize + MulDivRound(length - 3 * arrowSize, r.pos - r.min, range);
  }
  return {top, top + size};
}

ThumbSpan ScrollControlPressThumb(const ScrollRange& r, int length, int arrowSize) {
  const int range = r.max - r.min;
  const int track = length - 2 * arrowSize;
  int size = arrowSize;
  int top = arrowSize;
  if (range != 0) {
    if (r.page != 0) {
      size = MulDivRound(track, r.page - 1, range);
      top = arrowSize + MulDivRound(track, r.pos - r.min, range);
    } else {
      top = arrowSize + MulDivRound(length - 3 * arrowSize, r.pos - r.min, range);
    }
  }
  // An empty range gives no proportion to follow: the thumb sits at the start.
  if (r.pos == r.min) top = arrowSize;
  return {top, top + size};
}

int FollowThumbTop(int pressThumbTop, int cursorDelta, int arrowSize, int length, int thumbSize) {
  int top = pressThumbTop + cursorDelta;
  int last = length - arrowSize - thumbSize;
  // A thumb longer than its track stays at the first arrow.
  return std::max(arrowSize, std::min(top, last));
}

int ScrollPositionAt(int thumbTop, int arrowSize, int length, int thumbSize,
                     const ScrollRange& r) {
  const int travel = length - 2 * arrowSize - thumbSize;
  const int steps = r.max - r.min - (r.page > 0 ? r.page - 1 : 0);
  if (travel <= 0 || steps <= 0) return r.min;
  int pos = r.min + MulDivRound(thumbTop - arrowSize, steps, travel);
  return std::clamp(pos, r.min, r.min + steps);
}

int ScrollBarThickness(int stripHeight, int arrowSize) {
  return std::abs(stripHeight - arrowSize) > 2 ? arrowSize : stripHeight;
}

namespace {

// A span along the bar's axis as a rectangle across its whole thickness.
Rect AlongBar(bool vertical, int from, int to, int thickness) {
  return vertical ? Rect{0, from, thickness, to} : Rect{from, 0, to, thickness};
}

int ArrowFrame(int normal, int part, const ScrollBarLook& look) {
  if (look.hotPart != part) return normal;
  return normal + (look.tracking ? 1 : 3);
}

}  // namespace

ScrollBarPlan PlanScrollBar(const ScrollBarLook& look, int stripHeight) {
  ScrollBarPlan plan;
  const bool v = look.vertical;
  const int length = v ? look.size.height : look.size.width;
  const int a = look.arrowSize;
  plan.thickness = ScrollBarThickness(stripHeight, a);
  const int t = plan.thickness;

  if (length > 2 * a) plan.track = AlongBar(v, a, length - a, t);
  plan.trackFrame = look.enabled ? 1 : 3;

  // A bar too short for two arrows shares its length between them.
  const int arrow = length < 2 * a ? length / 2 : a;
  plan.firstArrow = AlongBar(v, 0, arrow, t);
  plan.secondArrow = AlongBar(v, length - arrow, length, t);
  plan.firstArrowFrame = ArrowFrame(v ? kUpArrowFrame : kLeftArrowFrame, kFirstArrow, look);
  plan.secondArrowFrame = ArrowFrame(v ? kDownArrowFrame : kRightArrowFrame, kSecondArrow, look);

  const int thumbLength = look.thumbBottom - look.thumbTop;
  const bool thumbInside = look.thumbTop >= 0 && look.thumbBottom <= length && thumbLength > 0;
  if (!look.enabled || !thumbInside) return plan;
  const bool onThumb = look.hotPart == kScrollThumb;
  plan.thumb = AlongBar(v, look.thumbTop, look.thumbBottom, t);
  plan.thumbFrame = onThumb ? (look.tracking ? 2 : 3) : 1;

  const int g = stripHeight;
  if (g > 0 && g < thumbLength + 2) {
    int from = look.thumbTop + (thumbLength - g) / 2;
    int across = (t - g) / 2;
    Rect grip = v ? Rect::FromSize(across, from, g, g) : Rect::FromSize(from, across, g, g);
    Rect bar{0, 0, look.size.width, look.size.height};
    if (grip.Intersect(bar) == grip) {
      plan.grip = grip;
      plan.gripFrame = (v ? kVertGripFrame : kHorzGripFrame) + (onThumb ? (look.tracking ? 1 : 2) : 0);
    }
  }
  return plan;
}

namespace {

Margins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

bool Drawable(const TDataSkinObject* e, const Rect& r) {
  return e && !e->Bitmap.IsEmpty() && !r.IsEmpty();
}

}  // namespace

void PaintScrollBar(SurfaceView canvas, const ScrollBarPlan& plan, const ScrollBarPictures& p) {
  if (Drawable(p.track, plan.track))
    DrawElement(canvas, plan.track, p.track->Bitmap, false, p.track->Tile == 1, false, 4,
                plan.trackFrame, MarginsOf(*p.track));
  for (auto [box, frame] : {std::pair{plan.firstArrow, plan.firstArrowFrame},
                            std::pair{plan.secondArrow, plan.secondArrowFrame}})
    if (Drawable(p.strip, box))
      DrawFrameCell(canvas, box, p.strip->Bitmap, true, kScrollStripFrames, frame);
  if (Drawable(p.thumb, plan.thumb))
    DrawElement(canvas, plan.thumb, p.thumb->Bitmap, false, p.thumb->Tile == 1, false,
                std::max(p.thumb->Frame, 1), plan.thumbFrame, MarginsOf(*p.thumb));
  if (Drawable(p.strip, plan.grip))
    DrawFrameCell(canvas, plan.grip, p.strip->Bitmap, true, kScrollStripFrames, plan.gripFrame);
}

}  // namespace corvane
