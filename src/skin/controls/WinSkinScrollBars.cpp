#include "skin/controls/WinSkinScrollBars.h"

#include <windowsx.h>

#include <algorithm>

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
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

POINT PointOf(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

int SystemArrowSize() { return GetSystemMetrics(SM_CXHSCROLL); }

bool BarInvisible(const SCROLLBARINFO& info) {
  return (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0 ||
         info.rcScrollBar.right <= info.rcScrollBar.left ||
         info.rcScrollBar.bottom <= info.rcScrollBar.top;
}

Size SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

Colour FaceColour(const TSkinData& data) {
  const SkinDefinition& skin = data.Skin();
  return ResolveColour(skin.Colours[SkinDefinition::kButtonFace], skin.System());
}

bool HasStrip(const TSkinData& data) {
  return data.Skin().Scrollbar && !data.Skin().Scrollbar->Bitmap.IsEmpty();
}

ScrollRange RangeOf(const SCROLLINFO& si) {
  return {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
}

// The look of a native bar as the system reports it.
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

}  // namespace

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
      m_vertical(kind != kHorizontalBar),
      m_arrowSize(SystemArrowSize()) {
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
      ScrollControlThumb(RangeOf(si), m_vertical ? size.height : size.width, m_arrowSize);
  info.xyThumbTop = thumb.top;
  info.xyThumbBottom = thumb.bottom;
  info.dxyLineButton = m_arrowSize;
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
  m_refreshing = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{m_refreshing};
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
  return ScrollBarHitTest(m_vertical ? p.y : p.x, m_length, m_arrowSize, m_thumbTop,
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
  ScrollBarLook look = LookOfBar(info, m_vertical, m_arrowSize, m_hotPart, m_tracking);
  if (m_tracking && m_hotPart == kScrollThumb && m_kind != kBarControl) {
    // The system moves its thumb only as the position changes; the skin's
    // follows the cursor exactly, as a dragged thumb should.
    POINT cursor{};
    GetCursorPos(&cursor);
    int delta = m_vertical ? cursor.y - m_pressCursor.y : cursor.x - m_pressCursor.x;
    int thumbSize = info.xyThumbBottom - info.xyThumbTop;
    int length = m_vertical ? look.size.height : look.size.width;
    look.thumbTop = FollowThumbTop(m_pressThumbTop, delta, m_arrowSize, length, thumbSize);
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
  if (ReadBar(info)) {
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

// ================================================================ bars of a control

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool) {
  AttachScrollbar(formSkin, skinData, 0);
}

void TSkinScrollbar::AttachScrollbar(TWinSkinForm* formSkin, TSkinData* skinData, int mode) {
  if (State() == kSkinAttached) return;
  AttachControlTo(formSkin, skinData, false, true);
  TControl* control = Control();
  HWND h = Handle();
  if (!control || !h) return;
  m_mode = mode;
  m_drawsBorder = AsciiLower(PropertyText(control, "BorderStyle")) != "bsnone" &&
                  std::string(control->ClassName()) != "TImageScrollBox" && mode != 1;
  TakeFixedColour();
  // Without the skin's arrows there is nothing to draw a bar from: the
  // system's bars and border stay.
  if (!HasStrip(*skinData)) {
    m_drawsBorder = false;
    return;
  }
  ClipSiblings(h);
  m_horizontal = std::make_unique<TWScrollbar>(*this, h, control, TWScrollbar::kHorizontalBar);
  m_vertical = std::make_unique<TWScrollbar>(*this, h, control, TWScrollbar::kVerticalBar);
  PlaceBars();
  if (m_drawsBorder) SetWindowPos(h, nullptr, 0, 0, 0, 0,
                                  SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                      SWP_FRAMECHANGED);
}

void TSkinScrollbar::ClipSiblings(HWND host) {
  // The host must not paint over the overlays that lie on its bars.
  LONG style = GetWindowLongW(host, GWL_STYLE);
  if (style & WS_CLIPSIBLINGS) return;
  SetWindowLongW(host, GWL_STYLE, style | WS_CLIPSIBLINGS);
  m_clipSiblingsAdded = true;
}

void TSkinScrollbar::TakeFixedColour() {
  TControl* control = Control();
  std::int64_t fixed = PropertyInt(control, "FixedColor");
  if (fixed == -1 && !HasProperty(control, "FixedColor")) return;
  m_savedFixedColour = fixed;
  m_fixedColourTaken = true;
  SetPropertyText(control, "FixedColor", std::to_string(SkinColour(SkinDefinition::kButtonFace)));
}

void TSkinScrollbar::Restore() {
  if (!SkinOn()) return;
  if (m_fixedColourTaken && State() != kSkinWindowGone)
    SetPropertyText(Control(), "FixedColor", std::to_string(m_savedFixedColour));
  HWND h = State() != kSkinWindowGone ? Handle() : nullptr;
  if (h && m_clipSiblingsAdded)
    SetWindowLongW(h, GWL_STYLE, GetWindowLongW(h, GWL_STYLE) & ~WS_CLIPSIBLINGS);
  TSkinControl::Restore();
  // The overlays are children of the host's parent: they go even when the
  // host is already gone, so none is left behind.
  FreeBars();
  if (h)
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void TSkinScrollbar::SkinChanged() {
  if (m_fixedColourTaken)
    SetPropertyText(Control(), "FixedColor", std::to_string(SkinColour(SkinDefinition::kButtonFace)));
  PlaceBars();
  if (HWND h = Handle()) RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::FreeBars() {
  m_horizontal.reset();
  m_vertical.reset();
}

void TSkinScrollbar::PlaceBars() {
  for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()})
    if (bar) bar->Place();
}

void TSkinScrollbar::RefreshBars() {
  for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()})
    if (bar) bar->Refresh();
}

bool TSkinScrollbar::MayChangeBars(UINT msg) {
  // Questions change nothing (and the bars' own reads ask them).
  if (msg == SBM_GETPOS || msg == SBM_GETRANGE || msg == SBM_GETSCROLLINFO ||
      msg == SBM_GETSCROLLBARINFO || msg == LB_GETTOPINDEX || msg == LB_GETCOUNT ||
      msg == LB_GETITEMHEIGHT || msg == LB_GETITEMRECT)
    return false;
  if ((msg >= EM_GETSEL && msg <= EM_GETIMESTATUS) || (msg >= LB_ADDSTRING && msg <= 0x01B2) ||
      (msg >= LVM_FIRST && msg < LVM_FIRST + 0x100) || (msg >= SBM_SETPOS && msg <= SBM_GETSCROLLBARINFO))
    return true;
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_LBUTTONUP:
    case WM_TIMER:
    case WM_SETFONT:
    case WM_SETTEXT:
    case WM_SHOWWINDOW:
    case WM_ENABLE:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case CM_ENABLEDCHANGED:
      return true;
    default:
      return false;
  }
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      if (!m_drawsBorder) return true;
      CallOldHandler(m);
      if (HWND h = Handle()) {
        WindowDC dc(h, true);
        DrawBorder(dc.Get());
        FillCorner(dc.Get());
      }
      return false;
    case WM_SKINPRINTNC:
      if (m.LParam != SKIN_MAGIC) return true;
      if (m.WParam && m_drawsBorder) DrawBorder(reinterpret_cast<HDC>(m.WParam));
      m.Result = SKIN_MAGIC;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      PlaceBars();
      return;
    case WM_HSCROLL:
    case CN_HSCROLL:
      if (m_horizontal) m_horizontal->SetHotPart(LOWORD(m.WParam));
      RefreshBars();
      return;
    case WM_VSCROLL:
    case CN_VSCROLL:
      if (m_vertical) m_vertical->SetHotPart(LOWORD(m.WParam));
      RefreshBars();
      return;
    case CM_VISIBLECHANGED:
      if (m.WParam) {
        PlaceBars();
      } else {
        for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()})
          if (bar) bar->HideBar();
      }
      return;
    case WM_NCPAINT:
      if (HWND h = Handle()) {
        WindowDC dc(h, true);
        FillCorner(dc.Get());
      }
      RefreshBars();
      return;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      return;
    default:
      if (MayChangeBars(m.Msg) || (m.Msg == WM_MOUSEMOVE && (m.WParam & MK_LBUTTON)))
        RefreshBars();
      return;
  }
}

void TSkinScrollbar::Paint(HDC dc, const RECT&) {
  RefreshBars();
  // WM_PAINT's DC is the client's; the corner lies in the frame.
  if (HWND h = Handle()) {
    WindowDC window(h, true);
    FillCorner(window.Get());
  }
  (void)dc;
}

void TSkinScrollbar::DrawBorder(HDC dc) {
  HWND h = Handle();
  RECT window{};
  if (!h || !GetWindowRect(h, &window)) return;
  RECT r{0, 0, window.right - window.left, window.bottom - window.top};
  UniqueBrush shadow(CreateSolidBrush(ColorToRGB(SkinColour(SkinDefinition::kButtonShadow))));
  FrameRect(dc, &r, shadow.Get());
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, SkinData()->FaceBrush());
}

void TSkinScrollbar::FillCorner(HDC dc) {
  if (!m_horizontal || !m_vertical || !m_horizontal->Shown() || !m_vertical->Shown()) return;
  RECT vertical = m_vertical->BarInWindow();
  RECT horizontal = m_horizontal->BarInWindow();
  RECT corner{vertical.left, horizontal.top, vertical.right, horizontal.bottom};
  if (corner.right > corner.left && corner.bottom > corner.top) FillFace(dc, corner);
}

// ================================================================ list views

void TSkinListView::AttachScrollbar(TWinSkinForm* formSkin, TSkinData* skinData, int mode) {
  TSkinScrollbar::AttachScrollbar(formSkin, skinData, mode);
  HWND h = Handle();
  if (!h || m_header || !Control()) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(h, LVM_GETHEADER, 0, 0));
  if (!header) return;
  m_header = &Control()->Create<TSkinHeader>();
  m_header->AttachWindow(header, skinData, formSkin);
}

// ================================================================ scroll-bar controls

TSkinScControl::TSkinScControl(TComponent* owner) : TSkinControl(owner) {}

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool) {
  if (State() == kSkinAttached) return;
  AttachControlTo(formSkin, skinData, false, true);
  HWND h = Handle();
  if (!Control() || !h || !HasStrip(*skinData)) return;
  m_bar = std::make_unique<TWScrollbar>(*this, h, Control(), TWScrollbar::kBarControl);
  m_bar->SetVertical(AsciiLower(PropertyText(Control(), "Kind")) != "sbhorizontal");
  m_bar->Place();
}

void TSkinScControl::Restore() {
  if (!SkinOn()) return;
  TSkinControl::Restore();
  m_bar.reset();
}

void TSkinScControl::AfterMessage(TMessage& m) {
  if (!m_bar) return;
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
      m_bar->Place();
      return;
    case CN_HSCROLL:
    case CN_VSCROLL:
      m_bar->SetHotPart(LOWORD(m.WParam));
      m_bar->Refresh();
      return;
    case CM_VISIBLECHANGED:
      if (m.WParam)
        m_bar->Place();
      else
        m_bar->HideBar();
      return;
    case WM_PAINT:
      m_bar->Refresh();
      return;
    default:
      if (TSkinScrollbar::MayChangeBars(m.Msg)) m_bar->Refresh();
      return;
  }
}

void TSkinScControl::Paint(HDC, const RECT&) {
  if (m_bar) m_bar->Refresh();
}

// ================================================================ bare windows

void TSkinScrollbarH::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  if (State() == kSkinAttached || !window) return;
  TSkinControl::AttachWindow(window, skinData, formSkin);
  m_drawsBorder = false;
  if (!HasStrip(*skinData)) return;
  ClipSiblings(window);
  m_horizontal = std::make_unique<TWScrollbar>(*this, window, nullptr, TWScrollbar::kHorizontalBar);
  m_vertical = std::make_unique<TWScrollbar>(*this, window, nullptr, TWScrollbar::kVerticalBar);
  PlaceBars();
}

bool TSkinScrollbarH::BeforeMessage(TMessage& m) { return TSkinScrollbar::BeforeMessage(m); }

void TSkinScrollbarH::AfterMessage(TMessage& m) {
  // The whole scroll code lights a part here: a bare window's codes come
  // from the system alone.
  if ((m.Msg == WM_HSCROLL && m_horizontal) || (m.Msg == WM_VSCROLL && m_vertical)) {
    (m.Msg == WM_HSCROLL ? m_horizontal : m_vertical)->SetHotPart(static_cast<int>(m.WParam));
    RefreshBars();
    return;
  }
  TSkinScrollbar::AfterMessage(m);
}

// ================================================================ drop-down lists

TComboxScrollBar::TComboxScrollBar(TComponent* owner) : TSkinControl(owner) {}

TComboxScrollBar::~TComboxScrollBar() = default;

void TComboxScrollBar::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  if (State() == kSkinAttached || !window) return;
  TSkinControl::AttachWindow(window, skinData, formSkin);
  m_arrowSize = SystemArrowSize();
}

bool TComboxScrollBar::ReadBar(SCROLLBARINFO& info) const {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  HWND h = Handle();
  return h && SafeGetScrollBarInfo(h, OBJID_VSCROLL, info) && !BarInvisible(info);
}

bool TComboxScrollBar::BeforeMessage(TMessage& m) {
  SCROLLBARINFO info;
  switch (m.Msg) {
    case WM_NCPAINT:
      if (!SkinData() || !HasStrip(*SkinData()) || !ReadBar(info)) return true;
      PaintFrame(reinterpret_cast<HRGN>(m.WParam));
      m.Result = 0;
      return false;
    case WM_NCLBUTTONDOWN:
      if (m.WParam != HTVSCROLL || !SkinData() || !HasStrip(*SkinData()) || !ReadBar(info))
        return true;
      TrackPress(PointOf(m.LParam));
      m.Result = 0;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TComboxScrollBar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case 0x1AE:
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED:
      PaintBar();
      return;
    default:
      if (TSkinScrollbar::MayChangeBars(m.Msg) || m.Msg == WM_MOUSEMOVE) PaintBar();
      return;
  }
}

void TComboxScrollBar::PaintFrame(HRGN update) {
  HWND h = Handle();
  SCROLLBARINFO info;
  if (!h || !ReadBar(info)) return;
  // The system paints the frame but not the bar, so the bar never flashes.
  RECT window{};
  GetWindowRect(h, &window);
  UniqueRegion rest(CreateRectRgnIndirect(&window));
  UniqueRegion bar(CreateRectRgnIndirect(&info.rcScrollBar));
  CombineRgn(rest.Get(), rest.Get(), bar.Get(), RGN_DIFF);
  if (reinterpret_cast<ULONG_PTR>(update) > 1)
    CombineRgn(rest.Get(), rest.Get(), update, RGN_AND);
  TMessage paint{WM_NCPAINT, reinterpret_cast<WPARAM>(rest.Get()), 0, 0};
  CallOldHandler(paint);
  PaintBar();
}

void TComboxScrollBar::PaintBar() {
  HWND h = Handle();
  SCROLLBARINFO info;
  if (!h || !SkinData() || !HasStrip(*SkinData()) || !ReadBar(info)) return;
  RECT window{};
  GetWindowRect(h, &window);
  ScrollBarLook look = LookOfBar(info, true, m_arrowSize, m_hotPart, m_tracking);
  if (m_dragThumbTop >= 0) {
    look.thumbBottom = m_dragThumbTop + (info.xyThumbBottom - info.xyThumbTop);
    look.thumbTop = m_dragThumbTop;
  }
  OffscreenSurface& picture = BufferOfSize(m_buffer, look.size);
  if (!picture.Valid()) return;
  ComposeScrollBar(picture, look, *SkinData());
  WindowDC dc(h, true);
  BitBlt(dc.Get(), info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top,
         look.size.width, look.size.height, picture.Dc(), 0, 0, SRCCOPY);
}

void TComboxScrollBar::SendScroll(int code, int position) {
  if (HWND h = Handle())
    SendMessageW(h, WM_VSCROLL, MAKEWPARAM(code, position), 0);
}

void TComboxScrollBar::TrackPress(POINT screen) {
  HWND h = Handle();
  SCROLLBARINFO info;
  if (!h || !ReadBar(info)) return;
  const int length = info.rcScrollBar.bottom - info.rcScrollBar.top;
  const int thumbSize = info.xyThumbBottom - info.xyThumbTop;
  const int pressTop = info.xyThumbTop;
  const int pressY = screen.y;
  int part = ScrollBarHitTest(screen.y - info.rcScrollBar.top, length, m_arrowSize,
                              info.xyThumbTop, info.xyThumbBottom);
  const int code = part;  // the parts are numbered as the scroll codes
  m_hotPart = part;
  m_tracking = true;
  SetCapture(h);
  int position = -1;
  if (part != kScrollThumb) SendScroll(code);
  PaintBar();
  // First repeat after the system's keyboard delay, then at its repeat
  // rate, as a held arrow of the native bar does.
  DWORD next = GetTickCount() + 400;
  bool done = false;
  while (!done && GetCapture() == h && IsWindow(h)) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT);
      if (part != kScrollThumb && static_cast<int>(GetTickCount() - next) >= 0) {
        POINT cursor{};
        GetCursorPos(&cursor);
        SCROLLBARINFO now;
        if (ReadBar(now) && ScrollBarHitTest(cursor.y - now.rcScrollBar.top, length, m_arrowSize,
                                             now.xyThumbTop, now.xyThumbBottom) == part &&
            PtInRect(&now.rcScrollBar, cursor))
          SendScroll(code);
        next = GetTickCount() + 50;
        PaintBar();
      }
      continue;
    }
    switch (msg.message) {
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        done = true;
        break;
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        if (part == kScrollThumb) {
          POINT cursor{};
          GetCursorPos(&cursor);
          m_dragThumbTop = FollowThumbTop(pressTop, cursor.y - pressY, m_arrowSize, length, thumbSize);
          SCROLLINFO si{};
          si.cbSize = sizeof si;
          si.fMask = SIF_ALL;
          GetScrollInfo(h, SB_VERT, &si);
          position = ScrollPositionAt(m_dragThumbTop, m_arrowSize, length, thumbSize, RangeOf(si));
          // The list follows the position a thumb release would give.
          SendScroll(SB_THUMBPOSITION, position);
          PaintBar();
        }
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) done = true;
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
        break;
      default:
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        break;
    }
  }
  if (GetCapture() == h) ReleaseCapture();
  if (!IsWindow(h)) return;
  SendScroll(SB_ENDSCROLL);
  m_tracking = false;
  m_dragThumbTop = -1;
  m_hotPart = kNoScrollPart;
  PaintBar();
}

}  // namespace corvane
