// Windows side of the element drawing: composed surfaces put on a device
// context with one blit (opaque or colour-keyed), window regions from skin
// pictures, and a transparent control's parent painted under it.
#pragma once

#include "core/Surface.h"

#include <windows.h>

#include "platform/Handles.h"

namespace corvane {

class TControl;

// Copies pixels to dc with their top-left at `at`, in one blit.
void BlitSurface(HDC dc, POINT at, SurfaceView pixels);

// Like BlitSurface, but the destination stays as it is under every pixel of
// exactly the key colour (alpha is ignored).
void BlitSurfaceKeyed(HDC dc, POINT at, SurfaceView pixels, Colour key);

// A GDI bitmap drawn at target's top-left with key-coloured pixels left out;
// the part beyond target's width and height is not drawn.
void DrawTransparent(HDC dc, const RECT& target, HBITMAP bitmap, Colour key);

// The region of every pixel of bitmap that is not the key (within the
// tolerance of one every skin caller uses), shifted by (x0, y0); null when
// nothing is opaque.
UniqueRegion RegionFromSurface(SurfaceView bitmap, int x0, int y0, Colour key);

// Paints control's parent into dc so that the part under the control's client
// area lands at dc's origin: the picture a transparent control shows through.
// Nothing when the control has no parent window. A control whose own painting
// calls this (a graphic control is repainted by its parent) is drawn once,
// not recursively.
void DrawParentBackground(TControl& control, HDC dc);

}  // namespace corvane
