#include "skin/controls/EditLooks.h"

#include <algorithm>

namespace corvane {

bool FieldHasBorder(Size window, Size client) {
  return window.width != client.width && window.height != client.height;
}

int ComboButtonFrame(bool enabled, bool pressed, bool hotOrFocused) {
  if (!enabled) return 3;
  if (pressed) return 2;
  return hotOrFocused ? 4 : 1;
}

ComboButtonLayout FlatComboButton(const Rect& r, bool onLeft, int frameWidth, int pictureHeight,
                                  int thumbHeight) {
  Rect inner{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  ComboButtonLayout layout;
  int strip = std::min(thumbHeight, inner.Width());
  layout.strip = onLeft ? Rect{inner.left, inner.top, inner.left + strip, inner.bottom}
                        : Rect{inner.right - strip, inner.top, inner.right, inner.bottom};
  int width = std::min(frameWidth, inner.Width());
  int top = inner.top;
  int bottom = inner.bottom;
  if (pictureHeight < thumbHeight && pictureHeight < inner.Height()) {
    top = inner.top + (inner.Height() - pictureHeight) / 2;
    bottom = top + pictureHeight;
  }
  layout.button = onLeft ? Rect{inner.left, top, inner.left + width, bottom}
                         : Rect{inner.right - width, top, inner.right, bottom};
  return layout;
}

Rect BoxedComboButton(const Rect& r, bool onLeft, int arrowWidth) {
  int width = arrowWidth + 2;
  return onLeft ? Rect{r.left + 2, r.top + 2, r.left + 2 + width, r.bottom - 2}
                : Rect{r.right - 2 - width, r.top + 2, r.right - 2, r.bottom - 2};
}

}  // namespace corvane
