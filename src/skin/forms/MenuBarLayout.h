// The skinned menu bar: where its items go in the strip below the caption,
// which item a key or the mouse reaches, and which one a key switches to
// while a submenu is open. Portable pure rules; the window half measures
// the captions, paints and tracks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Geometry.h"

namespace corvane {

// What the placement needs of the skin's MenuBar picture.
struct MenuBarLook {
  bool hasPicture = false;
  int leftWidth = 0;
  int rightWidth = 0;
};

// How far into the strip the first item starts: past the picture's left
// end (its right end for a right-to-left bar); 6 pixels without a picture;
// 12 when the strip is narrower than that.
int MenuBarStartOffset(const MenuBarLook& look, int stripWidth, bool rightToLeft);

// One top-level item as the bar lays it out.
struct MenuBarEntry {
  std::string caption;
  // The caption's measured width in the menu font.
  int textWidth = 0;
  bool visible = true;
  bool enabled = true;
  // This item and the ones after it stand at the bar's far end.
  bool rightJustify = false;
};

// Item rectangles (window coordinates) in the strip: left to right from
// the start offset, each its caption's width + 10 (an empty caption takes
// no room), one pixel short of the strip's bottom; invisible items get an
// empty rectangle. Right-justified items end the start offset before the
// strip's far end without ever overlapping the items before them. A
// right-to-left bar runs the other way from that same end. `buttonsLeft`
// is the left edge of buttons standing at the strip's right end (a
// maximised MDI child's): the end moves to 5 pixels left of them, so no
// item lies under a button.
std::vector<Rect> LayoutMenuBar(const std::vector<MenuBarEntry>& items, const Rect& strip, int startOffset,
                                bool rightToLeft, std::optional<int> buttonsLeft = std::nullopt);

// The first item with a caption whose rectangle holds the point; -1 none.
int MenuBarItemAt(const std::vector<MenuBarEntry>& items, const std::vector<Rect>& bounds, Point p);

// The first enabled, visible item whose caption has `key` as its
// accelerator (compared without case); -1 none.
int MenuBarItemForKey(const std::vector<MenuBarEntry>& items, char32_t key);

// Where Left or Right goes while the submenu of bar item `open` shows.
// Left switches while the selection sits in that submenu itself (nothing
// deeper is open); Right while the selected item opens no submenu of its
// own (the system opens that one instead). Items that cannot be opened
// (invisible, empty caption, disabled) are passed over, wrapping from the
// first to the last and back. -1: the key is the system's.
enum class MenuBarKey { Left, Right };
struct MenuSelection {
  // The selected item lies in the bar item's own submenu, or nothing is
  // selected yet.
  bool inBarSubmenu = true;
  // The selected item opens a submenu.
  bool opensSubmenu = false;
};
int MenuBarKeyTarget(const std::vector<MenuBarEntry>& items, int open, MenuBarKey key, const MenuSelection& selection);

// The caption's rectangle inside an item: centred for its measured size,
// halves rounded toward zero.
Rect MenuBarCaptionRect(const Rect& item, Size measured);

}  // namespace corvane
