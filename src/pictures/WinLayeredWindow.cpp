#include "pictures/WinLayeredWindow.h"

#include "pictures/WinSurface.h"
#include "platform/Handles.h"

namespace corvane {

bool IsLayered(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

bool ShowLayered(HWND window, const SurfaceView& premultiplied) {
  UniqueBitmap bitmap = CreateDibSection(premultiplied, false);
  if (!bitmap) return false;
  MemoryDC dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  SelectGuard select(dc.Get(), bitmap.Get());
  const bool wasLayered = IsLayered(window);
  if (!wasLayered) SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  SIZE size{premultiplied.width, premultiplied.height};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  // No position: the window stays where it is, only its picture and size change.
  if (UpdateLayeredWindow(window, nullptr, nullptr, &size, dc.Get(), &origin, 0, &blend, ULW_ALPHA)) return true;
  // A layered window that never got its picture shows nothing at all.
  if (!wasLayered) EndLayered(window);
  return false;
}

void EndLayered(HWND window) {
  if (!IsLayered(window)) return;
  SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace corvane
