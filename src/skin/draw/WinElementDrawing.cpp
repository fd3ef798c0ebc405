#include "skin/draw/WinElementDrawing.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "pictures/WinRunRegion.h"
#include "framework/Controls.h"
#include "pictures/WinSurface.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {

namespace {

// Foreground operation of a masked blit that leaves the destination as it is.
constexpr DWORD kKeepDestination = 0x00AA0029;

void CopyPixels(SurfaceView to, SurfaceView from) {
  for (int y = 0; y < from.height; ++y) std::copy(from.Row(y), from.Row(y) + from.width, to.Row(y));
}

// A monochrome bitmap with a set bit under every key-coloured pixel. Rows of
// a device-dependent monochrome bitmap are padded to 16 bits.
UniqueBitmap KeyMask(SurfaceView pixels, Colour key) {
  const int stride = ((pixels.width + 15) / 16) * 2;
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * pixels.height, 0);
  for (int y = 0; y < pixels.height; ++y) {
    const Pixel* row = pixels.Row(y);
    std::uint8_t* out = bits.data() + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < pixels.width; ++x)
      if (SameColour(row[x], key)) out[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
  return UniqueBitmap(CreateBitmap(pixels.width, pixels.height, 1, 1, bits.data()));
}

// Puts a DC's state back when the scope ends, however it ends.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
  ~SavedDcState() {
    if (m_saved) RestoreDC(m_dc, m_saved);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC m_dc;
  int m_saved;
};

// The controls whose parent is painting for them right now on this thread. A
// parent repaints its graphic children too, so a graphic control that draws
// its parent's background from its own paint would otherwise never return.
class ParentPaintScope {
 public:
  explicit ParentPaintScope(const TControl& control) : m_control(&control) {
    m_entered = std::find(Active().begin(), Active().end(), m_control) == Active().end();
    if (m_entered) Active().push_back(m_control);
  }
  ~ParentPaintScope() {
    if (m_entered) Active().pop_back();
  }
  ParentPaintScope(const ParentPaintScope&) = delete;
  ParentPaintScope& operator=(const ParentPaintScope&) = delete;
  // False when this control's parent is already painting for it further up.
  bool Entered() const { return m_entered; }

 private:
  static std::vector<const TControl*>& Active() {
    thread_local std::vector<const TControl*> active;
    return active;
  }
  const TControl* m_control;
  bool m_entered = false;
};

RECT ClientRectOf(TControl& control) {
  RECT r{0, 0, control.Width(), control.Height()};
  auto* windowed = dynamic_cast<TWinControl*>(&control);
  if (windowed && windowed->HandleAllocated()) GetClientRect(windowed->Handle(), &r);
  return r;
}

}  // namespace

void BlitSurface(HDC dc, POINT at, SurfaceView pixels) {
  if (pixels.IsEmpty()) return;
  OffscreenSurface scratch(pixels.width, pixels.height);
  if (!scratch.Valid()) return;
  CopyPixels(scratch.View(), pixels);
  BitBlt(dc, at.x, at.y, pixels.width, pixels.height, scratch.Dc(), 0, 0, SRCCOPY);
}

void BlitSurfaceKeyed(HDC dc, POINT at, SurfaceView pixels, Colour key) {
  if (pixels.IsEmpty()) return;
  OffscreenSurface scratch(pixels.width, pixels.height);
  UniqueBitmap mask = KeyMask(pixels, key);
  if (!scratch.Valid() || !mask) return;
  CopyPixels(scratch.View(), pixels);
  MaskBlt(dc, at.x, at.y, pixels.width, pixels.height, scratch.Dc(), 0, 0, mask.Get(), 0, 0,
          MAKEROP4(kKeepDestination, SRCCOPY));
}

void DrawTransparent(HDC dc, const RECT& target, HBITMAP bitmap, Colour key) {
  const Surface pixels = SurfaceFromBitmap(bitmap);
  const SurfaceView part =
      pixels.View().Sub(Rect{0, 0, target.right - target.left, target.bottom - target.top});
  BlitSurfaceKeyed(dc, POINT{target.left, target.top}, part, key);
}

UniqueRegion RegionFromSurface(SurfaceView bitmap, int x0, int y0, Colour key) {
  return RegionFromRuns(RegionFromBitmap(bitmap, x0, y0, 1, 1, 1, key));
}

void DrawParentBackground(TControl& control, HDC dc) {
  TWinControl* parent = control.Parent();
  // Without its window the parent has nothing on screen to show through.
  if (!parent || !parent->HandleAllocated()) return;
  ParentPaintScope scope(control);
  if (!scope.Entered()) return;
  RECT area = ClientRectOf(control);
  SavedDcState saved(dc);
  OffsetViewportOrgEx(dc, -control.Left(), -control.Top(), nullptr);
  OffsetRect(&area, control.Left(), control.Top());
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  // Through the parent's WindowProc, so a skinned parent paints its skin here.
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

}  // namespace corvane
