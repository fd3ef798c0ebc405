// Skinned menu items: how much wider the skin makes an item, where its glyph,
// caption and shortcut go, which colour its caption takes, and the separator
// strip cut from the skin's item picture. Portable pure rules; the Windows
// half draws text and images where they say.
#pragma once

#include "core/DpiScale.h"
#include "core/Geometry.h"
#include "core/Surface.h"

#include <cstddef>
#include <list>
#include <memory>

#include "skin/draw/ElementDrawing.h"

namespace corvane {

// The system's frame around a popup menu's items: item rectangles are this
// far inside the popup window's picture.
constexpr int kMenuWindowFrame = 3;

// Width of an item after the skin's measurement, on top of the framework's
// default one: the item picture's left margin (-1: the skin has no item
// picture) and room for images or check marks. Every gap is a 96-DPI design
// scaled to the menu's DPI; the margin comes from the skin at that DPI.
int SkinnedPopupItemWidth(int defaultWidth, int itemLeftWidth, bool menuHasImages, int dpi = kDesignDpi);
int SkinnedMainMenuItemWidth(int defaultWidth, int itemLeftWidth, bool menuHasImages, int dpi = kDesignDpi);

struct MenuItemContentInput {
  Rect item;
  // The item picture's left margin (0 without the picture).
  int leftWidth = 0;
  // The image list's width (16 scaled without one).
  int glyphSize = 16;
  bool checked = false;
  bool separator = false;
  bool rightToLeft = false;
  // The menu's DPI: the gaps around glyph and caption scale with it.
  int dpi = kDesignDpi;
};
struct MenuItemContentLayout {
  // Where the image or check mark goes (empty for separators).
  Rect glyphBox;
  // The room for the caption, full item height.
  Rect captionBox;
};
MenuItemContentLayout LayoutMenuItemContent(const MenuItemContentInput& in);

// The shortcut's room: from the measured caption's end to 11 pixels (at 96
// DPI) before the item's end (mirrored for right-to-left menus).
Rect MenuShortcutBox(const Rect& item, const Rect& measuredCaption, bool rightToLeft, int dpi = kDesignDpi);

// Top of the caption: centred in the item for its measured height.
int MenuCaptionTop(const Rect& item, int measuredHeight);

// The caption colour: HilightText when selected, MenuText otherwise; a
// disabled item ButtonShadow, or grey text where that equals MenuText. A
// colour equal to the background it is drawn on would make the caption
// unreadable: the contrasting one of black and white is taken instead.
struct MenuColours {
  Colour menu, menuText, hilight, hilightText, buttonShadow, grayText;
};
Colour MenuCaptionColour(const MenuColours& colours, bool enabled, bool selected);

// A separator drawn from the item picture's second cell (of `frames`): its
// bottom rows when the item is lower than the picture, left and right ends
// unscaled, middle stretched, magenta left out.
void DrawMenuSeparator(SurfaceView canvas, const Rect& target, const Surface& itemPicture, int frames,
                       int leftWidth, int rightWidth);

// What an item shows of the skin's item picture: its first cell, its hot
// (fourth) cell, or the separator strip; or the popup window's whole picture
// (the first cell of its source, the menu background, with no colour left out).
enum class MenuItemPictureKind { Normal, Hot, Separator, Window };

// The item picture as one kind of item of one size shows it, magenta where
// the menu's own picture shows through.
struct MenuItemPictureSource {
  const Surface* picture = nullptr;
  int frames = 1;
  Margins margins;
  bool tile = false;
  // Magenta in the picture is left out (otherwise drawn as it is).
  bool transparent = false;
};
Surface ComposeMenuItemPicture(const MenuItemPictureSource& source, int width, int height, MenuItemPictureKind kind);

// Composed menu pictures kept for painting: a menu's items share a few
// sizes, and composing the nine cuts of a cell is most of what painting an
// item costs; a popup window of the size it had last time opens with the
// picture it had then. At most kLimit pictures of together kPixelLimit
// pixels are kept (the least recently used goes first, the one just asked
// for always stays); every picture of an older skin load goes at once.
class MenuItemPictures {
 public:
  static constexpr std::size_t kLimit = 16;
  // About two long menus' windows at a large screen's height.
  static constexpr std::size_t kPixelLimit = std::size_t{1} << 20;
  // The picture of this skin load (generation), size and kind, composed on
  // first use; valid until the next call.
  const Surface& Get(unsigned generation, const MenuItemPictureSource& source, int width, int height,
                     MenuItemPictureKind kind);
  // The same picture, for a holder that keeps it while it paints (an open
  // popup window): it stays valid after the cache let it go.
  std::shared_ptr<const Surface> Share(unsigned generation, const MenuItemPictureSource& source, int width,
                                       int height, MenuItemPictureKind kind);
  std::size_t Count() const { return m_pictures.size(); }
  // Pixels of the pictures kept.
  std::size_t Pixels() const { return m_pixels; }
  // How many pictures were composed (not found kept).
  int Composed() const { return m_composed; }

 private:
  struct Entry {
    int width, height;
    MenuItemPictureKind kind;
    std::shared_ptr<const Surface> picture;
  };
  unsigned m_generation = 0;
  std::list<Entry> m_pictures;  // most recently used first
  std::size_t m_pixels = 0;
  int m_composed = 0;
};

}  // namespace corvane
