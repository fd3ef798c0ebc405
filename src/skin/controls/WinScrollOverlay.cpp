#include "skin/controls/WinScrollOverlay.h"

#include <windowsx.h>

#include <algorithm>

#include "core/FlagWhile.h"
#include "framework/Messages.h"
#include "pictures/WinSurface.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/WinSkinContainers.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"

namespace corvane {

namespace {

constexpr char kOverlayClass[] = "CorvaneScrollOverlay";

Size SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

Colour FaceColour(const TSkinData& data) {
  const SkinDefinition& skin = data.Skin();
  return ResolveColour(skin.Colours[SkinDefinition::kButtonFace], skin.System());
}

}  // namespace

POINT PointOf(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

bool BarInvisible(const SCROLLBARINFO& info) {
  return (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0 ||
         info.rcScrollBar.right <= info.rcScrollBar.left ||
         info.rcScrollBar.bottom <= info.rcScrollBar.top;
}

bool HasStrip(const TSkinData& data) {
  return data.Skin().Scrollbar && !data.Skin().Scrollbar->Bitmap.IsEmpty();
}

ScrollRange RangeOf(const SCROLLINFO& si) {
  return {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
}

ScrollBarLook LookOfBar(const SCROLLBARINFO& info, bool vertical, int arrowSize, int hotPart,
                        bool tracking) {
  ScrollBarLook look;
  look.size = SizeOf(info.rcScrollBar);
  look.vertical = vertical;
  look.enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  look.arrowSize = arrowSize;
  look.hotPart = hotPart;
  look.tracking = tracking;
  look.thumbTop = info.xyThumbTop;
  look.thumbBottom = info.xyThumbBottom;
  return look;
}

ScrollBarPictures ScrollPicturesOf(const TSkinData& data, bool vertical) {
  const SkinDefinition& skin = data.Skin();
  return {skin.Scrollbar.get(), vertical ? skin.VertScroll.get() : skin.HorzScroll.get(),
          vertical ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get()};
}

void ComposeScrollBar(OffscreenSurface& picture, const ScrollBarLook& look, const TSkinData& data) {
  GdiFlush();
  picture.View().Fill(PixelFromColour(FaceColour(data)));
  ScrollBarPictures pictures = ScrollPicturesOf(data, look.vertical);
  int stripHeight = pictures.strip ? pictures.strip->Bitmap.Height() : look.arrowSize;
  PaintScrollBar(picture.View(), PlanScrollBar(look, stripHeight), pictures);
}

// ================================================================ overlay

TWScrollbar::TWScrollbar(TSkinControl& owner, HWND host, TControl* hostControl, int kind)
    : m_owner(owner),
      m_host(host),
      m_hostControl(hostControl),
      m_kind(kind),
      m_vertical(kind != kHorizontalBar) {
  HWND parent = host ? GetParent(host) : nullptr;
  if (!parent || !(GetWindowLongW(host, GWL_STYLE) & WS_CHILD)) return;
  RegisterPrivateClass(kOverlayClass, Procedure, LoadCursor(nullptr, IDC_ARROW));
  // Never takes focus or activation: the control keeps both, as with its
  // own bar. Only real Windows shows activation by a click on a child.
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kOverlayClass, "",
                                WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                                GetModuleHandleA(nullptr), this);
  m_window = UniqueWindow(window);
}

TWScrollbar::~TWScrollbar() {
  *m_alive = false;
  HWND window = m_window.Get();
  if (!window) return;
  if (IsWindow(window)) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    m_window.Reset();
  } else {
    m_window.Release_();
  }
}

LRESULT CALLBACK TWScrollbar::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TWScrollbar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self || !self->m_window) return DefWindowProcA(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    // The parent went first: the window is gone, the object stays until its
    // skin frees it.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->m_window.Release_();
    self->m_shown = false;
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  try {
    return self->OnMessage(msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT TWScrollbar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (wParam) {
        PaintTo(reinterpret_cast<HDC>(wParam));
        return 0;
      }
      OnPaint();
      return 0;
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(PointOf(lParam));
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnPress(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnRelease(PointOf(lParam));
      return 0;
    default:
      return DefWindowProcA(m_window.Get(), msg, wParam, lParam);
  }
}

bool TWScrollbar::ReadBar(SCROLLBARINFO& info) const {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (!m_host || !IsWindow(m_host)) return false;
  if (m_kind != kBarControl)
    return SafeGetScrollBarInfo(m_host, m_kind == kHorizontalBar ? OBJID_HSCROLL : OBJID_VSCROLL,
                                info);
  // A scroll-bar control is the bar itself; its thumb comes from its range.
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(m_host, SB_CTL, &si)) return false;
  GetWindowRect(m_host, &info.rcScrollBar);
  Size size = SizeOf(info.rcScrollBar);
  ThumbSpan thumb =
      ScrollControlThumb(RangeOf(si), m_vertical ? size.height : size.width, ArrowSize());
  info.xyThumbTop = thumb.top;
  info.xyThumbBottom = thumb.bottom;
  info.dxyLineButton = ArrowSize();
  if (!IsWindowEnabled(m_host)) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  return true;
}

void TWScrollbar::Place() {
  SCROLLBARINFO info;
  if (!m_window || !ReadBar(info)) return;
  if (!IsWindowVisible(m_host) || BarInvisible(info)) {
    HideBar();
    return;
  }
  HWND parent = GetParent(m_host);
  if (!parent) {
    HideBar();
    return;
  }
  // A control moved to another parent takes its bars along.
  if (GetParent(m_window.Get()) != parent) SetParent(m_window.Get(), parent);
  m_barScreen = info.rcScrollBar;
  m_origin = {info.rcScrollBar.left, info.rcScrollBar.top};
  Size size = SizeOf(info.rcScrollBar);
  m_length = m_vertical ? size.height : size.width;
  m_thumbTop = info.xyThumbTop;
  m_thumbBottom = info.xyThumbBottom;
  RECT inParent = info.rcScrollBar;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
  // Right behind the window before the host, so it lies just above the host.
  HWND before = GetWindow(m_host, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (before == m_window.Get()) flags |= SWP_NOZORDER;
  SetWindowPos(m_window.Get(), before && before != m_window.Get() ? before : HWND_TOP,
               inParent.left, inParent.top, size.width, size.height, flags);
  m_shown = true;
  m_paintedValid = false;
  InvalidateRect(m_window.Get(), nullptr, FALSE);
}

void TWScrollbar::HideBar() {
  if (m_window && m_shown) ShowWindow(m_window.Get(), SW_HIDE);
  m_shown = false;
  m_paintedValid = false;
  m_barScreen = {};
}

void TWScrollbar::Refresh() {
  // Reading the bar may send the host messages that would ask again.
  if (m_refreshing) return;
  FlagWhile refreshing(m_refreshing);
  SCROLLBARINFO info;
  if (!m_window || !ReadBar(info)) return;
  bool wanted = IsWindowVisible(m_host) && !BarInvisible(info);
  if (wanted != m_shown || (wanted && !EqualRect(&info.rcScrollBar, &m_barScreen))) {
    Place();
    return;
  }
  if (m_shown && (!m_paintedValid || !(LookOf(info) == m_painted))) Repaint();
}

int TWScrollbar::HitTest(POINT p) const {
  return ScrollBarHitTest(m_vertical ? p.y : p.x, m_length, ArrowSize(), m_thumbTop,
                          m_thumbBottom);
}

void TWScrollbar::SetHotPart(int part) {
  m_hotPart = part;
  Repaint();
}

void TWScrollbar::Repaint() {
  if (!m_window || !m_shown) return;
  InvalidateRect(m_window.Get(), nullptr, FALSE);
  UpdateWindow(m_window.Get());
}

RECT TWScrollbar::BarInWindow() const {
  RECT window{};
  if (!m_shown || !GetWindowRect(m_host, &window)) return {};
  RECT r = m_barScreen;
  OffsetRect(&r, -window.left, -window.top);
  return r;
}

ScrollBarLook TWScrollbar::LookOf(const SCROLLBARINFO& info) const {
  ScrollBarLook look = LookOfBar(info, m_vertical, ArrowSize(), m_hotPart, m_tracking);
  if (m_tracking && m_hotPart == kScrollThumb && m_kind != kBarControl) {
    // The system moves its thumb only as the position changes; the skin's
    // follows the cursor exactly, as a dragged thumb should.
    POINT cursor{};
    GetCursorPos(&cursor);
    int delta = m_vertical ? cursor.y - m_pressCursor.y : cursor.x - m_pressCursor.x;
    int thumbSize = info.xyThumbBottom - info.xyThumbTop;
    int length = m_vertical ? look.size.height : look.size.width;
    look.thumbTop = FollowThumbTop(m_pressThumbTop, delta, ArrowSize(), length, thumbSize);
    look.thumbBottom = look.thumbTop + thumbSize;
  }
  return look;
}

void TWScrollbar::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_window.Get(), &ps);
  try {
    PaintTo(dc);
  } catch (...) {
    // A failed paint keeps the last picture.
  }
  EndPaint(m_window.Get(), &ps);
}

void TWScrollbar::PaintTo(HDC dc) {
  TSkinData* data = m_owner.SkinData();
  SCROLLBARINFO info;
  if (!data || !HasStrip(*data) || !ReadBar(info) || BarInvisible(info)) return;
  RECT client{};
  GetClientRect(m_window.Get(), &client);
  ScrollBarLook look = LookOf(info);
  // A bar larger than the overlay waits for the next placement.
  if (look.size.width > client.right || look.size.height > client.bottom) return;
  m_length = m_vertical ? look.size.height : look.size.width;
  m_thumbTop = look.thumbTop;
  m_thumbBottom = look.thumbBottom;
  OffscreenSurface& picture =
      TSkinControl::BufferOfSize(m_buffer, {client.right, client.bottom});
  if (!picture.Valid()) return;
  ComposeScrollBar(picture, look, *data);
  BitBlt(dc, 0, 0, picture.Width(), picture.Height(), picture.Dc(), 0, 0, SRCCOPY);
  m_painted = look;
  m_paintedValid = true;
}

void TWScrollbar::OnMouseMove(POINT p) {
  if (!m_trackingLeave) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_window.Get(), 0};
    m_trackingLeave = TrackMouseEvent(&tme) != FALSE;
  }
  int part = HitTest(p);
  if (part != m_hotPart) SetHotPart(part);
}

void TWScrollbar::OnMouseLeave() {
  m_trackingLeave = false;
  if (!m_tracking) SetHotPart(kNoScrollPart);
}

void TWScrollbar::OnPress(POINT p) {
  GetCursorPos(&m_pressCursor);
  SCROLLBARINFO info;
  if (m_kind == kBarControl && HasProperty(m_hostControl, "Max") && ReadBar(info)) {
    // A scroll-bar control is pressed where its own range puts the thumb,
    // without the minimum length the painted thumb keeps.
    ScrollRange range{static_cast<int>(PropertyInt(m_hostControl, "Min")),
                      static_cast<int>(PropertyInt(m_hostControl, "Max")),
                      static_cast<int>(PropertyInt(m_hostControl, "PageSize")),
                      static_cast<int>(PropertyInt(m_hostControl, "Position"))};
    Size size = SizeOf(info.rcScrollBar);
    ThumbSpan thumb = ScrollControlPressThumb(range, m_vertical ? size.height : size.width, ArrowSize());
    m_pressThumbTop = m_thumbTop = thumb.top;
    m_thumbBottom = thumb.bottom;
  } else if (ReadBar(info)) {
    m_pressThumbTop = info.xyThumbTop;
    m_thumbTop = info.xyThumbTop;
    m_thumbBottom = info.xyThumbBottom;
    m_origin = {info.rcScrollBar.left, info.rcScrollBar.top};
  }
  m_hotPart = HitTest(p);
  m_tracking = true;
  Repaint();
  ReleaseCapture();
  // The control's own scroll loop runs inside this call: auto-repeat, pages
  // and thumb tracking exactly as on its native bar.
  std::shared_ptr<bool> alive = m_alive;
  HWND host = m_host;
  if (m_kind == kBarControl)
    SendMessageA(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  else
    SendMessageA(host, WM_NCLBUTTONDOWN, HitCode(),
                 MAKELPARAM(p.x + m_origin.x, p.y + m_origin.y));
  if (!*alive) return;  // the press closed the control and its skin
  m_tracking = false;
  ReleaseCapture();
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT client{};
  if (m_window && GetWindowRect(m_window.Get(), &client) && PtInRect(&client, cursor))
    m_hotPart = HitTest({cursor.x - client.left, cursor.y - client.top});
  else
    m_hotPart = kNoScrollPart;
  Refresh();
  Repaint();
}

void TWScrollbar::OnRelease(POINT p) {
  m_tracking = false;
  ReleaseCapture();
  if (m_kind == kBarControl)
    PostMessageA(m_host, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  else
    PostMessageA(m_host, WM_NCLBUTTONUP, HitCode(), MAKELPARAM(p.x + m_origin.x, p.y + m_origin.y));
  Repaint();
}

}  // namespace corvane
