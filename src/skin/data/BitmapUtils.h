// Colour arithmetic, gradients and whole-picture transforms for skin bitmaps.
// Portable: works on Surfaces only; the device-context halves (gradient
// painting into a window, text drawing) live with the Windows side.
#pragma once

#include <array>
#include <vector>

#include "core/Surface.h"
#include "skin/data/SystemColours.h"

namespace corvane {

// Weighted mix of two colours: weights below 100 are percent of colour1, from
// 100 on they are per mille (150 keeps 15 % of colour1). Negative colours are
// resolved through system first.
Colour Blend(Colour colour1, Colour colour2, int weight,
             const SystemColourProvider& system = DefaultSystemColours());

// Saturation of a colour on a 0 .. 255 scale, or 200 for dark colours (no
// channel reaches 160), which the toolbar rule treats as strongly coloured.
int ColourSaturation(Colour colour);

// The n colours of a gradient from c1 to c2 (both plain RGB). A single band is
// the midpoint; a falling channel may end one short of c2.
std::vector<Colour> BuildGradientColours(int n, Colour c1, Colour c2);

// Sixteen recently built gradients, reused in a ring. Repainting the same
// frame or toolbar asks for the same arrays again and again.
class GradientCache {
 public:
  static constexpr int kSlots = 16;
  // The colours for (n, c1, c2); a hit needs an array of length n that starts
  // with c1 and ends with c2. The reference stays valid until 16 more misses.
  const std::vector<Colour>& Lookup(int n, Colour c1, Colour c2);
  // Index of the slot the next miss fills.
  int NextSlot() const { return m_next; }

 private:
  std::array<std::vector<Colour>, kSlots> m_slots;
  int m_next = 0;
};

// The process-wide cache the painting code shares (one GUI thread, no locks).
GradientCache& SharedGradientCache();

// Paints the part of rect that lies on the surface with a gradient from
// colour1 (first row or column) to colour2 (last), one band per row when
// vertical, else per column. System colours are resolved first.
void GradientFill(SurfaceView target, const Rect& rect, Colour colour1, bool vertical,
                  Colour colour2, const SystemColourProvider& system = DefaultSystemColours());

// Every pixel that is exactly (255, 0, 255) takes the red, green and blue
// bytes of colour, used as given (a system colour is not resolved).
void ReplaceMagenta(Surface& bitmap, Colour colour);
// Left-right mirror in place.
void MirrorBitmap(Surface& bitmap);
// Top-bottom flip in place.
void FlipBitmap(Surface& bitmap);
// Quarter turn counter-clockwise; width and height swap.
void RotateBitmapLeft(Surface& bitmap);
// Quarter turn clockwise; width and height swap.
void RotateBitmapRight(Surface& bitmap);

}  // namespace corvane
