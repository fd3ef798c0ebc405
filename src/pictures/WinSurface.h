// Surfaces the window system can draw on: a DIB section with its own memory
// DC whose pixels are a SurfaceView, so GDI and the portable core draw into
// the same memory. Windows only.
#pragma once

#include "core/Surface.h"

#include <windows.h>

#include "platform/Handles.h"

namespace corvane {

// A 32-bit top-down DIB section holding a copy of `pixels`. With
// premultiply the colours are scaled by alpha, as AlphaBlend requires.
// Returns an empty owner when the system refuses the bitmap.
UniqueBitmap CreateDibSection(const SurfaceView& pixels, bool premultiply);

// The description of a top-down bitmap (rows top first, as Surface keeps
// them) of the given depth, for the DIB calls.
BITMAPINFO TopDownBitmapInfo(int width, int height, WORD bitCount);

// A 24-bit top-down DIB section of the given size, filled white.
UniqueBitmap CreateWhiteDib24(int width, int height);

// Reads any bitmap into a 32-bit surface (alpha as stored for 32-bit DIB
// sections; other depths come out with alpha 0 from the system).
Surface SurfaceFromBitmap(HBITMAP bitmap);

// Copies the surface's pixels (alpha ignored) into dc with their top left
// at (x, y), clipped as dc clips: a picture kept in memory is shown without a
// bitmap of its own.
void DrawSurface(HDC dc, int x, int y, const SurfaceView& pixels);
// An icon whose colour and transparency are the surface's (straight alpha).
UniqueIcon CreateIconFromSurface(const SurfaceView& pixels);

// Off-screen composition target: a DIB section selected into its own DC for
// its whole life. Compose into View() or with GDI on Dc(), then blit once.
class OffscreenSurface {
 public:
  OffscreenSurface(int width, int height);
  ~OffscreenSurface();
  OffscreenSurface(const OffscreenSurface&) = delete;
  OffscreenSurface& operator=(const OffscreenSurface&) = delete;

  // False when the system could not make the bitmap or DC (sizes <= 0 too).
  bool Valid() const { return m_view.pixels != nullptr && m_dc; }
  HDC Dc() const { return m_dc.Get(); }
  HBITMAP Bitmap() const { return m_bitmap.Get(); }
  // The DIB section's pixels. Call GdiFlush() before touching them after GDI drew.
  SurfaceView View() const { return m_view; }
  int Width() const { return m_view.width; }
  int Height() const { return m_view.height; }

 private:
  UniqueBitmap m_bitmap;
  MemoryDC m_dc;
  HGDIOBJ m_previous = nullptr;
  SurfaceView m_view;
};

}  // namespace corvane
