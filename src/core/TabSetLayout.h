// The tabs of a tab set laid out in a row: shared by the framework's tab set
// (hit testing, scrolling) and its skin (painting). Portable and pure.
#pragma once

#include <vector>

#include "core/Geometry.h"

namespace corvane {

// One tab of a tab set as laid out: its index in the set's list and its
// rectangle in the set.
struct TabSetTab {
  int index = 0;
  Rect rect;
  friend bool operator==(const TabSetTab&, const TabSetTab&) = default;
};

// The tabs a tab set shows from its first visible tab onward: starting at
// the start margin, each text + 9 pixels wide and as high as the set,
// while it ends before (width - end margin), 12 pixels earlier while the
// scroller shows. A first index outside the list shows nothing.
std::vector<TabSetTab> LayoutTabSet(const std::vector<int>& textWidths, int firstIndex,
                                    int startMargin, int endMargin, Size set, bool scroller);

// The tab at a point of the set, or -1.
int TabSetTabAt(const std::vector<TabSetTab>& tabs, Point p);

}  // namespace corvane
