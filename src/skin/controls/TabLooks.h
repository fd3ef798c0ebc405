// The geometry of skinned tabs: where a tab control's tabs lie from its
// style bits, the tab row beside the page, how the row is laid out lying in
// the top orientation and turned back for side tabs, which cell and text
// colour a tab gets and the margins of the pictures as they are turned. Portable and pure: rectangles and numbers in,
// rectangles and cells out; never includes platform headers. The tab set's
// layout, which the framework's tab set uses too, is in core/TabSetLayout.h.
#pragma once

#include <vector>

#include "core/Geometry.h"
#include "core/TabSetLayout.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

struct TDataSkinObject;

// Where the tabs of a tab control sit beside its page.
enum class TabPlacement { Top = 0, Bottom = 1, Left = 2, Right = 3 };

// From the window style: TCS_BOTTOM (2) alone puts the tabs below, the
// vertical bit (0x80) alone on the left, both on the right.
TabPlacement TabPlacementFromStyle(unsigned style);
bool IsSidePlacement(TabPlacement placement);

// The page frame: the display area the control reports, grown by 4 pixels
// on every side so the frame's edge meets the tabs.
Rect TabPageFrame(const Rect& displayArea);

// The part of bounds on the tab side of the page frame: above it, below
// it, left or right of it. Empty when the frame covers that side.
Rect TabRowArea(const Rect& bounds, const Rect& pageFrame, TabPlacement placement);

// The tab row is drawn lying in the top orientation: a side row is laid
// out with width and height exchanged, and turned back afterwards (left
// tabs a quarter turn counter-clockwise, right tabs clockwise).
Size TabStripSize(Size row, TabPlacement placement);

// Where an item rectangle (control coordinates) lands in the strip of the
// row: moved into the row, for bottom tabs 1 pixel toward the page (the
// control leaves a gap the flipped picture's foot must cover), and for
// side tabs transposed so that the quarter turn back puts it where the
// control has it.
Rect TabItemInStrip(const Rect& item, const Rect& row, TabPlacement placement);

// The Tabs cell of a tab: 2 for the current tab, 1 for the others.
int TabCell(bool current);
// Text colour of a tab from an element's colours: MouseOverColour2 for the
// current tab (PressedColour2 for button-style tabs), NormalColour2 for the
// others.
Colour TabTextColour(const TDataSkinObject& element, bool current);
Colour TabButtonTextColour(const TDataSkinObject& element, bool current);

// The margins of a picture turned as the placement turns it: flipped top
// to bottom for bottom tabs, a quarter turn for side tabs. Margins belong
// to the picture's edges, so they turn with it.
Margins TurnedMargins(Margins margins, TabPlacement placement);

// The page frame's margins before turning: TabPane's own when the frame
// comes from TabPane (tabsStyle not 0), else the fixed 4, 5, 4, 4.
Margins PageFrameMargins(int tabsStyle, Margins tabPaneMargins);

}  // namespace corvane
