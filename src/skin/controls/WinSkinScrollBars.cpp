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
#include "skin/forms/WinSkinForm.h"

namespace corvane {

namespace {

constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

}  // namespace

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
    case CM_RECREATEWND:
      // The overlays still follow the old, destroyed window: they hide at
      // once, and the form skin puts a fresh skin on the new window (posted,
      // so a press still running on an overlay ends first).
      for (TWScrollbar* bar : {m_horizontal.get(), m_vertical.get()})
        if (bar) bar->HideBar();
      if (FormSkin() && Control())
        if (HWND h = Handle())
          PostMessageA(FormSkin()->Handle, WM_SKINRESKINSCROLL, reinterpret_cast<WPARAM>(h), 0);
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
  ScrollBarLook look = LookOfBar(info, true, ArrowSize(), m_hotPart, m_tracking);
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
  int part = ScrollBarHitTest(screen.y - info.rcScrollBar.top, length, ArrowSize(),
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
        if (ReadBar(now) && ScrollBarHitTest(cursor.y - now.rcScrollBar.top, length, ArrowSize(),
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
          m_dragThumbTop = FollowThumbTop(pressTop, cursor.y - pressY, ArrowSize(), length, thumbSize);
          SCROLLINFO si{};
          si.cbSize = sizeof si;
          si.fMask = SIF_ALL;
          GetScrollInfo(h, SB_VERT, &si);
          position = ScrollPositionAt(m_dragThumbTop, ArrowSize(), length, thumbSize, RangeOf(si));
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
