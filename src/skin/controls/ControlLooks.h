// The state rules and layouts of the skinned controls: which cell of a
// skin strip a button, check box or radio button shows, how captions break,
// where a glyph and its text go, where a group box's caption sits, which
// frame a status-bar panel gets and which header item is hot. Portable and
// pure, so every rule is tested with exact numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Geometry.h"

namespace corvane {

// Mouse state bits of a skinned control.
enum TMouseStateBits : unsigned { kMouseHot = 1, kMousePressed = 2 };

// The Buttons strip cell (1-based, 5 cells) of a push button: pressed, else
// hot, else focused or default, else normal; disabled overrides them all.
int PushButtonCell(unsigned mouseState, bool focused, bool isDefault, bool enabled);
// A drop-down button: hot or focused share cell 4 and there is no cell 5.
int MenuButtonCell(unsigned mouseState, bool focused, bool enabled);
// A speed button: pressed or down 2, disabled 3, hot 4, else 1; a flat one
// shows no cell (0) unless it is pressed, down or hot.
int SpeedButtonCell(unsigned mouseState, bool down, bool enabled, bool flat);

// What a check box is known to be, in the order the rule looks.
struct CheckFacts {
  // BM_GETSTATE of the window.
  bool stateChecked = false;
  bool stateIndeterminate = false;
  bool disabled = false;
  // A framework control's "State" property as text (empty: none).
  std::string stateProperty;
  // Its "Checked" property: -1 absent, else 0 or 1.
  int checkedProperty = -1;
  // It has a "DataField" property and BM_SETCHECK was seen (value + 1; 0 none).
  bool dataField = false;
  int storedCheck = 0;
  bool dataBinding = false;
};
// The CheckBitmap cell of a check box; frames is the skin's CheckFrame. The
// twelve-cell strip has its own cells for checked, disabled and
// indeterminate boxes.
int CheckBoxCell(const CheckFacts& facts, int frames);
// The RadioBitmap cell: checked 2, else 1, disabled +2; the eight-cell
// strip remaps as the check box's does.
int RadioButtonCell(bool checked, bool disabled, int frames);

// A caption as drawn: every "||" becomes a line break.
std::wstring ButtonCaptionLines(std::wstring_view text);

// Where a glyph and a caption go in a bitmap or speed button.
enum class GlyphLayout { Left, Right, Top, Bottom };
struct GlyphPlacement {
  Point glyph;
  Point text;
  // DT_RIGHT for a right layout, DT_CENTER for top and bottom, else 0.
  unsigned textAlign = 0;
};
// client: the button's size; glyph, text: their sizes (0 when absent);
// margin, spacing: -1 automatic; centred: the button's Alignment is centre.
GlyphPlacement PlaceGlyph(Size client, Size glyph, Size text, GlyphLayout layout, int margin,
                          int spacing, bool centred);
// The glyph part of a bitmap or speed button (1-based, numGlyphs parts):
// pressed 3, disabled 2, down 4, else 1; a part beyond the count uses 1.
int GlyphPart(bool pressed, bool enabled, bool down, int numGlyphs);

// A focus rectangle around text measured as `text` inside area: centred
// (DT_CENTER) one pixel above the middle, right-aligned (DT_RIGHT) at the
// right, grown by 2 x 1 and clipped to area.
Rect FocusAroundText(const Rect& area, Size text, unsigned drawFlags);

// A group box: the rounded frame starts at half the caption line height;
// the caption sits 8 pixels in from the left, or ends 8 pixels before the
// right edge in a right-to-left box.
struct GroupBoxLayout {
  Rect frame;
  Rect caption;
};
GroupBoxLayout LayoutGroupBox(const Rect& bounds, int lineHeight, bool rightToLeft);

// StatusBarEdges cell of a panel bevel: lowered 1, raised 2, none 3.
enum class PanelBevel { Lowered, Raised, None };
int StatusPanelCell(PanelBevel bevel);
// The panels as painted: the last one always reaches the bar's right edge.
std::vector<Rect> StatusPanelRects(std::vector<Rect> panels, int barRight);

// The header item whose shrunk rectangle holds p, or -1.
int HeaderItemAt(const std::vector<Rect>& items, Point p);
// An item rectangle as the hot test uses it: 3 pixels off each side.
Rect HeaderHotRect(const Rect& item);

// Where the image and the text of a header item (also of a tab) go inside
// the item, in the item's coordinates: the pair starts 3 pixels in for
// left alignment, centred, or ends 2 pixels before the right edge (at
// least 1 in); both centred vertically, the text right after the image and
// clipped to the item. image is 0 x 0 when the item shows none.
enum class ItemAlign { Left, Centre, Right };
struct ItemPlacement {
  Point image;
  Rect text;
  friend bool operator==(const ItemPlacement&, const ItemPlacement&) = default;
};
ItemPlacement PlaceItemContent(Size item, Size text, Size image, ItemAlign align);

}  // namespace corvane
