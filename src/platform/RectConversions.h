// Conversions between the core's rectangle and the system's RECT, and the
// window rectangle as a core rectangle: written once for the Windows half.
#pragma once

#include <windows.h>

#include "core/Geometry.h"

namespace corvane {

inline Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The window's rectangle in screen coordinates (empty for a window that is gone).
inline Rect WindowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return ToRect(r);
}

}  // namespace corvane
