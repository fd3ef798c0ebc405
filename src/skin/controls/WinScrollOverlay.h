// The window laid exactly over one native scroll bar, which draws the
// skin's bar and hands every press back to the control (so line, page and
// thumb tracking stay the system's), and what it shares with the bar painted
// in a combo box's drop-down list: reading a native bar's look and composing
// the skin's picture of it. Windows only.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/Handles.h"
#include "skin/controls/ScrollBarLayout.h"
#include "skin/controls/WinSubClass.h"

namespace corvane {

class OffscreenSurface;

// The window over one native bar.
class TWScrollbar {
 public:
  enum Kind : int { kHorizontalBar = 0, kVerticalBar = 1, kBarControl = 2 };

  // host: the window whose bar is covered; hostControl its framework control
  // (none for a bare window).
  TWScrollbar(TSkinControl& owner, HWND host, TControl* hostControl, int kind);
  ~TWScrollbar();
  TWScrollbar(const TWScrollbar&) = delete;
  TWScrollbar& operator=(const TWScrollbar&) = delete;

  // Re-reads the native bar: shows the overlay exactly over it, or hides it
  // when the host or its bar is hidden. A failed read keeps the last place.
  void Place();
  void HideBar();
  // Re-reads the bar and repaints only when its look changed (a scroll by
  // keyboard, wheel or code gives the overlay no notice of its own).
  void Refresh();
  // The part under a point in overlay coordinates.
  int HitTest(POINT p) const;
  // Lights a part (a scroll code: anything else lights nothing) and repaints.
  void SetHotPart(int part);
  void Repaint();

  bool Shown() const { return m_shown; }
  bool Tracking() const { return m_tracking; }
  int HotPart() const { return m_hotPart; }
  bool Vertical() const { return m_vertical; }
  void SetVertical(bool vertical) { m_vertical = vertical; }
  // The bar's rectangle in the host's window coordinates (empty when hidden).
  RECT BarInWindow() const;
  HWND Window() const { return m_window.Get(); }
  int ThumbTop() const { return m_thumbTop; }
  int ThumbBottom() const { return m_thumbBottom; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnMouseMove(POINT p);
  void OnMouseLeave();
  void OnPress(POINT p);
  void OnRelease(POINT p);
  void OnPaint();
  // The native bar: rectangle (screen), thumb and state; false when unreadable.
  bool ReadBar(SCROLLBARINFO& info) const;
  ScrollBarLook LookOf(const SCROLLBARINFO& info) const;
  void PaintTo(HDC dc);
  UINT HitCode() const { return m_kind == kHorizontalBar ? HTHSCROLL : HTVSCROLL; }
  // The system's arrow at the host's DPI, asked each time so a move to
  // another monitor needs no refresh.
  int ArrowSize() const { return SystemMetricOfWindow(SM_CXHSCROLL, m_host); }

  TSkinControl& m_owner;
  HWND m_host = nullptr;
  TControl* m_hostControl = nullptr;
  int m_kind = kVerticalBar;
  bool m_vertical = true;
  UniqueWindow m_window;
  int m_length = 0;
  int m_thumbTop = 0;
  int m_thumbBottom = 0;
  POINT m_origin{};
  POINT m_pressCursor{};
  int m_pressThumbTop = 0;
  int m_hotPart = kNoScrollPart;
  bool m_shown = false;
  bool m_tracking = false;
  bool m_trackingLeave = false;
  bool m_refreshing = false;
  RECT m_barScreen{};
  // What was painted last, so Refresh repaints only on a change.
  ScrollBarLook m_painted{};
  bool m_paintedValid = false;
  std::unique_ptr<OffscreenSurface> m_buffer;
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

// The skin's pictures for one orientation of bar.
ScrollBarPictures ScrollPicturesOf(const TSkinData& data, bool vertical);

// Composes a bar of look into picture: the face colour over all of it, then
// the skin's cells.
void ComposeScrollBar(OffscreenSurface& picture, const ScrollBarLook& look, const TSkinData& data);

// What the overlay and the drop-down list's bar read alike.
POINT PointOf(LPARAM lp);
// The system reports the bar hidden, or as an empty rectangle.
bool BarInvisible(const SCROLLBARINFO& info);
// The skin has a bar strip picture.
bool HasStrip(const TSkinData& data);
ScrollRange RangeOf(const SCROLLINFO& si);
// The look of a native bar as the system reports it.
ScrollBarLook LookOfBar(const SCROLLBARINFO& info, bool vertical, int arrowSize, int hotPart, bool tracking);

}  // namespace corvane
