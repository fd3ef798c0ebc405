#include "core/TabSetLayout.h"

#include <algorithm>

namespace corvane {

namespace {

// A tab set's tab is this much wider than its text.
constexpr int kTabSetPadding = 9;
// Room the scroller takes from the end of the row while it shows.
constexpr int kTabSetScrollerRoom = 12;

}  // namespace

std::vector<TabSetTab> LayoutTabSet(const std::vector<int>& textWidths, int firstIndex,
                                    int startMargin, int endMargin, Size set, bool scroller) {
  std::vector<TabSetTab> tabs;
  if (firstIndex < 0) return tabs;
  int end = set.width - endMargin - (scroller ? kTabSetScrollerRoom : 0);
  int x = startMargin;
  for (std::size_t i = static_cast<std::size_t>(firstIndex); i < textWidths.size(); ++i) {
    int width = std::max(textWidths[i], 0) + kTabSetPadding;
    if (x + width > end) break;
    tabs.push_back({static_cast<int>(i), Rect::FromSize(x, 0, width, set.height)});
    x += width;
  }
  return tabs;
}

int TabSetTabAt(const std::vector<TabSetTab>& tabs, Point p) {
  for (const TabSetTab& tab : tabs)
    if (tab.rect.Contains(p)) return tab.index;
  return -1;
}

}  // namespace corvane
