#include "skin/forms/MenuBarLayout.h"

#include <algorithm>

#include "core/Mnemonic.h"

namespace corvane {

namespace {

constexpr int kItemPadding = 10;
// Room kept between the items and buttons at the strip's right end.
constexpr int kButtonGap = 5;

bool CanOpen(const MenuBarEntry& item) { return item.visible && item.enabled && !item.caption.empty(); }

int ItemWidth(const MenuBarEntry& item) { return item.caption.empty() ? 0 : item.textWidth + kItemPadding; }

}  // namespace

int MenuBarStartOffset(const MenuBarLook& look, int stripWidth, bool rightToLeft) {
  if (!look.hasPicture) return 6;
  int offset = rightToLeft ? look.rightWidth + 8 : look.leftWidth + 4;
  return stripWidth < offset ? 12 : offset;
}

std::vector<Rect> LayoutMenuBar(const std::vector<MenuBarEntry>& items, const Rect& strip, int startOffset,
                                bool rightToLeft, std::optional<int> buttonsLeft) {
  std::vector<Rect> bounds(items.size());
  const int top = strip.top, bottom = strip.bottom - 1;
  int farEnd = strip.right - startOffset;
  if (buttonsLeft) farEnd = std::min(farEnd, *buttonsLeft - kButtonGap);
  if (rightToLeft) {
    int r = farEnd;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (!items[i].visible) continue;
      int w = ItemWidth(items[i]);
      bounds[i] = {r - w, top, r, bottom};
      r -= w;
    }
    return bounds;
  }
  std::size_t firstRight = items.size();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].visible && items[i].rightJustify) {
      firstRight = i;
      break;
    }
  int a = strip.left + startOffset;
  for (std::size_t i = 0; i < firstRight; ++i) {
    if (!items[i].visible) continue;
    int w = ItemWidth(items[i]);
    bounds[i] = {a, top, a + w, bottom};
    a += w;
  }
  int rightGroup = 0;
  for (std::size_t i = firstRight; i < items.size(); ++i)
    if (items[i].visible) rightGroup += ItemWidth(items[i]);
  // Too little room: the far-end items follow straight on.
  a = std::max(a, farEnd - rightGroup);
  for (std::size_t i = firstRight; i < items.size(); ++i) {
    if (!items[i].visible) continue;
    int w = ItemWidth(items[i]);
    bounds[i] = {a, top, a + w, bottom};
    a += w;
  }
  return bounds;
}

int MenuBarItemAt(const std::vector<MenuBarEntry>& items, const std::vector<Rect>& bounds, Point p) {
  for (std::size_t i = 0; i < items.size() && i < bounds.size(); ++i)
    if (!items[i].caption.empty() && bounds[i].Contains(p)) return static_cast<int>(i);
  return -1;
}

int MenuBarItemForKey(const std::vector<MenuBarEntry>& items, char32_t key) {
  const char32_t wanted = KeyMnemonic(key);
  if (!wanted) return -1;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].enabled && items[i].visible && CaptionMnemonic(items[i].caption) == wanted)
      return static_cast<int>(i);
  return -1;
}

int MenuBarKeyTarget(const std::vector<MenuBarEntry>& items, int open, MenuBarKey key, const MenuSelection& selection) {
  const int count = static_cast<int>(items.size());
  if (open < 0 || open >= count) return -1;
  if (key == MenuBarKey::Left && !selection.inBarSubmenu) return -1;
  if (key == MenuBarKey::Right && selection.opensSubmenu) return -1;
  const int step = key == MenuBarKey::Left ? count - 1 : 1;
  for (int i = (open + step) % count; i != open; i = (i + step) % count)
    if (CanOpen(items[i])) return i;
  return -1;
}

Rect MenuBarCaptionRect(const Rect& item, Size measured) {
  int dx = (item.Width() - measured.width) / 2;
  int dy = (item.Height() - measured.height) / 2;
  return Rect::FromSize(item.left + dx, item.top + dy, measured.width, measured.height);
}

}  // namespace corvane
