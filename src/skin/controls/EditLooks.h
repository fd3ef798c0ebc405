// The looks of skinned edits and combo boxes: whether a field has a border
// to frame, which frame its drop-down button shows, and where the button and
// the strip beside it go for each of the skin's combo-button styles.
// Portable and pure.
#pragma once

#include "core/Geometry.h"

namespace corvane {

// A field is framed only when its window is larger than its client area
// both ways (a borderless field has nothing to frame).
bool FieldHasBorder(Size window, Size client);

// The drop-down button's frame (1-based, of 4): disabled wins over all,
// pressed over hot or focused.
int ComboButtonFrame(bool enabled, bool pressed, bool hotOrFocused);

// Where a combo box's skinned parts go inside its rectangle r.
struct ComboButtonLayout {
  // The skin's button picture goes here.
  Rect button;
  // Field-coloured strip where the system's own button was (flat style only).
  Rect strip;
};

// The flat style (1): a one-frame-wide box at the inner right edge (left
// with a left scroll bar), as tall as the inside, or as the picture and
// centred when the picture is lower than the system's thumb height.
ComboButtonLayout FlatComboButton(const Rect& r, bool onLeft, int frameWidth, int pictureHeight,
                                  int thumbHeight);
// Any other style: a box of the system's arrow width + 2, 2 pixels inside
// the border.
Rect BoxedComboButton(const Rect& r, bool onLeft, int arrowWidth);

}  // namespace corvane
