#include "skin/controls/TabLooks.h"

#include <algorithm>

#include "skin/data/SkinElements.h"

namespace corvane {

namespace {

constexpr unsigned kTabsBottom = 0x2;
constexpr unsigned kTabsVertical = 0x80;

}  // namespace

TabPlacement TabPlacementFromStyle(unsigned style) {
  bool bottom = (style & kTabsBottom) != 0, vertical = (style & kTabsVertical) != 0;
  if (vertical) return bottom ? TabPlacement::Right : TabPlacement::Left;
  return bottom ? TabPlacement::Bottom : TabPlacement::Top;
}

bool IsSidePlacement(TabPlacement placement) {
  return placement == TabPlacement::Left || placement == TabPlacement::Right;
}

Rect TabPageFrame(const Rect& displayArea) {
  return {displayArea.left - 4, displayArea.top - 4, displayArea.right + 4,
          displayArea.bottom + 4};
}

Rect TabRowArea(const Rect& bounds, const Rect& frame, TabPlacement placement) {
  Rect row = bounds;
  switch (placement) {
    case TabPlacement::Top:
      row.bottom = std::min(bounds.bottom, frame.top);
      break;
    case TabPlacement::Bottom:
      row.top = std::max(bounds.top, frame.bottom);
      break;
    case TabPlacement::Left:
      row.right = std::min(bounds.right, frame.left);
      break;
    case TabPlacement::Right:
      row.left = std::max(bounds.left, frame.right);
      break;
  }
  return row.IsEmpty() ? Rect{} : row;
}

Size TabStripSize(Size row, TabPlacement placement) {
  return IsSidePlacement(placement) ? Size{row.height, row.width} : row;
}

Rect TabItemInStrip(const Rect& item, const Rect& row, TabPlacement placement) {
  Rect local = item.Offset(-row.left, -row.top);
  switch (placement) {
    case TabPlacement::Top:
      return local;
    case TabPlacement::Bottom:
      return local.Offset(0, -1);
    case TabPlacement::Left: {
      // Turned back counter-clockwise: strip x runs up the row.
      int w = row.Height();
      return {w - local.bottom, local.left, w - local.top, local.right};
    }
    case TabPlacement::Right: {
      // Turned back clockwise: strip y runs in from the row's outer edge.
      int h = row.Width();
      return {local.top, h - local.right, local.bottom, h - local.left};
    }
  }
  return local;
}

int TabCell(bool current) {
  return current ? 2 : 1;
}

Colour TabTextColour(const TDataSkinObject& element, bool current) {
  return current ? element.MouseOverColour2 : element.NormalColour2;
}

Colour TabButtonTextColour(const TDataSkinObject& element, bool current) {
  return current ? element.PressedColour2 : element.NormalColour2;
}

Margins TurnedMargins(Margins m, TabPlacement placement) {
  switch (placement) {
    case TabPlacement::Top:
      return m;
    case TabPlacement::Bottom:
      return {m.left, m.bottom, m.right, m.top};
    case TabPlacement::Left:
      // A quarter turn counter-clockwise: the top edge becomes the left one.
      return {m.top, m.right, m.bottom, m.left};
    case TabPlacement::Right:
      // Clockwise: the top edge becomes the right one.
      return {m.bottom, m.left, m.top, m.right};
  }
  return m;
}

Margins PageFrameMargins(int tabsStyle, Margins tabPaneMargins) {
  return tabsStyle != 0 ? tabPaneMargins : Margins{4, 5, 4, 4};
}

}  // namespace corvane
