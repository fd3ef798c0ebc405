// A top-level window shown as a picture with its own transparency: the
// system blends each pixel with whatever lies behind the window. Windows only.
#pragma once

#include "core/Surface.h"

#include <windows.h>

namespace corvane {

// Makes the window layered (if it is not yet) and hands it premultiplied
// pixels as its whole picture, at their size. False when the system refuses;
// the window is then as it was.
bool ShowLayered(HWND window, const SurfaceView& premultiplied);

// Makes a layered window an ordinarily painted one again and repaints it;
// nothing for any other window.
void EndLayered(HWND window);

// True while the window shows a picture through ShowLayered.
bool IsLayered(HWND window);

}  // namespace corvane
