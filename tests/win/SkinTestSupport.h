// Helpers for the tests of skinned windows and controls: the stored skin's
// bytes, screen captures and comparisons against the skin's own pictures.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "core/Surface.h"
#include "pictures/WinSurface.h"

namespace corvane::test {

inline std::vector<std::uint8_t> StoredSkinBytes() {
  std::ifstream in(CORVANE_STORED_SKIN, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the screen shows inside r.
inline Surface CaptureScreenRect(const RECT& r) {
  int w = r.right - r.left, h = r.bottom - r.top;
  OffscreenSurface shot(w, h);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Dc(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  Surface out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.At(x, y) = shot.View().At(x, y) | 0xFF000000;
  return out;
}

inline Surface CaptureWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return CaptureScreenRect(r);
}

// Pixels of expected (placed at `at` in shot) inside `only` that differ;
// magenta pixels of the picture show what lies under it and are skipped.
inline int PictureMismatches(const Surface& shot, const Surface& expected, Point at,
                             const Rect& only) {
  int bad = 0;
  for (int y = only.top; y < only.bottom; ++y)
    for (int x = only.left; x < only.right; ++x) {
      Pixel e = expected.At(x, y);
      if (SameColour(e, kColourKey)) continue;
      if ((shot.At(at.x + x, at.y + y) & 0xFFFFFF) != (e & 0xFFFFFF)) ++bad;
    }
  return bad;
}

// The same over the frame ring of a nine-slice picture: its margins, where
// no caption is ever drawn.
inline int RingMismatches(const Surface& shot, const Surface& expected, int left, int top,
                          int right, int bottom) {
  int w = expected.Width(), h = expected.Height();
  return PictureMismatches(shot, expected, {0, 0}, {0, 0, w, top}) +
         PictureMismatches(shot, expected, {0, 0}, {0, h - bottom, w, h}) +
         PictureMismatches(shot, expected, {0, 0}, {0, top, left, h - bottom}) +
         PictureMismatches(shot, expected, {0, 0}, {w - right, top, w, h - bottom});
}

}  // namespace corvane::test
