// The one rule that turns designed sizes into pixels at a display's DPI.
// Every size a form, control, font or skin metric is designed with is in
// 96-DPI pixels and stays so; what is shown is always scaled from that
// designed value (never from an earlier scaled one), so moving a window
// between monitors back and forth never accumulates rounding. Portable.
#pragma once

#include "core/Geometry.h"

namespace corvane {

// The DPI every designed size is given in.
constexpr int kDesignDpi = 96;

// value x to / from, rounded half away from zero (so a negative font height
// scales exactly as its positive size). A DPI below 1 counts as 96.
constexpr int ScaleBetweenDpis(int value, int fromDpi, int toDpi) {
  if (fromDpi < 1) fromDpi = kDesignDpi;
  if (toDpi < 1) toDpi = kDesignDpi;
  const long long product = static_cast<long long>(value) * toDpi;
  const long long half = fromDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi));
}

// A designed value at dpi.
constexpr int ScaleToDpi(int designed, int dpi) { return ScaleBetweenDpis(designed, kDesignDpi, dpi); }

constexpr Size ScaleToDpi(Size designed, int dpi) {
  return {ScaleToDpi(designed.width, dpi), ScaleToDpi(designed.height, dpi)};
}

// A designed rectangle: its corner and its size each scaled, so controls of
// one designed width keep one width at every DPI.
constexpr Rect ScaleBoundsToDpi(const Rect& designed, int dpi) {
  return Rect::FromSize(ScaleToDpi(designed.left, dpi), ScaleToDpi(designed.top, dpi),
                        ScaleToDpi(designed.Width(), dpi), ScaleToDpi(designed.Height(), dpi));
}

// The designed value a pixel value at dpi stands for: the inverse of
// ScaleToDpi, rounded the same way. For dpi >= 96 it gives back exactly the
// designed value of anything ScaleToDpi produced.
constexpr int UnscaleFromDpi(int pixels, int dpi) { return ScaleBetweenDpis(pixels, dpi, kDesignDpi); }

// The designed value after something was given pixels at dpi: the previous
// designed value while it still scales to exactly these pixels (so a value
// that came from the design never drifts), otherwise the pixels taken back
// to 96 DPI (the user or the program set a new value).
constexpr int DesignedAfter(int previousDesigned, int pixels, int dpi) {
  return ScaleToDpi(previousDesigned, dpi) == pixels ? previousDesigned : UnscaleFromDpi(pixels, dpi);
}

// The same for bounds, corner and size each on its own (so a control that
// is only moved keeps its designed size).
constexpr Rect DesignedBoundsAfter(const Rect& previousDesigned, const Rect& pixels, int dpi) {
  return Rect::FromSize(DesignedAfter(previousDesigned.left, pixels.left, dpi),
                        DesignedAfter(previousDesigned.top, pixels.top, dpi),
                        DesignedAfter(previousDesigned.Width(), pixels.Width(), dpi),
                        DesignedAfter(previousDesigned.Height(), pixels.Height(), dpi));
}

// Whether pictures scale to this DPI by whole pixels (every pixel becomes
// an n x n block) rather than by a filter.
constexpr bool IsWholeDpiFactor(int dpi) { return dpi >= kDesignDpi && dpi % kDesignDpi == 0; }

}  // namespace corvane
