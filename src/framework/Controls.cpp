#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Menus.h"

namespace corvane {

COLORREF ColorToRGB(Colour c) {
  if (c < 0) return GetSysColor(c & 0xFF);
  return static_cast<COLORREF>(c) & 0xFFFFFF;
}

TShiftState ShiftFromKeys(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyboardShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

UniqueFont MakeFont(const TFont& font, int dpi) {
  // Scaled text needs an outline font: a bitmap font (the designed face may
  // be one) has only its few sizes and would not follow the scale.
  const DWORD precision = dpi == kDesignDpi ? OUT_DEFAULT_PRECIS : OUT_TT_PRECIS;
  return UniqueFont(CreateFontA(ScaleToDpi(font.Height, dpi), 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, 0, 0,
                                0, DEFAULT_CHARSET, precision, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str()));
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl() {
  // Components the control owns (its skin) go while it is still whole: they
  // give its handler back.
  DestroyComponents();
  TApplication* app = CurrentApplication();
  if (app && app->MouseControl() == this) app->SetMouseControl(nullptr);
  if (m_parent) m_parent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == m_parent) return;
  if (m_parent) m_parent->RemoveControl(this);
  m_parent = parent;
  if (m_parent) m_parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (m_autoSize) CanAutoSize(width, height);
  bool changed = left != m_left || top != m_top || width != m_width || height != m_height;
  if (!changed) return;
  Invalidate();
  StoreBounds(left, top, width, height);
  Invalidate();
  if (m_parent) m_parent->ChildBoundsChanged();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
  const Rect previous = DesignedBounds();
  m_left = left;
  m_top = top;
  m_width = std::max(width, 0);
  m_height = std::max(height, 0);
  m_designed = DesignedBoundsAfter(previous, BoundsRect(), m_dpi);
  m_designedKnown = true;
}

void TControl::ChangeDpi(int dpi) {
  if (dpi < 1 || dpi == m_dpi) return;
  ScaleBoundsFromDesign(dpi, false);
  DpiChanged();
}

void TControl::ScaleBoundsFromDesign(int dpi, bool keepPlace) {
  const Rect designed = DesignedBounds();
  m_dpi = dpi;
  m_designed = designed;
  m_designedKnown = true;
  const Rect shown = ScaleBoundsToDpi(designed, dpi);
  if (keepPlace) SetBounds(m_left, m_top, shown.Width(), shown.Height());
  else SetBounds(shown.left, shown.top, shown.Width(), shown.Height());
  // What the program designed stays, whatever the pixels rounded to (the
  // place too, for a window whose place is the screen's).
  m_designed = DesignedBoundsAfter(designed, BoundsRect(), dpi);
  if (keepPlace) m_designed = Rect::FromSize(designed.left, designed.top, m_designed.Width(), m_designed.Height());
}

bool TControl::CanAutoSize(int&, int&) { return false; }

void TControl::AdjustSize() {
  // Forces the size computation even when nothing else changed.
  int w = m_width, h = m_height;
  if (m_autoSize && CanAutoSize(w, h) && (w != m_width || h != m_height)) {
    bool keep = m_autoSize;
    m_autoSize = false;
    SetBounds(m_left, m_top, w, h);
    m_autoSize = keep;
  }
}

void TControl::SetVisible(bool v) {
  if (v == m_visible) return;
  m_visible = v;
  Perform(CM_VISIBLECHANGED, v);
  Invalidate();
}

void TControl::SetEnabled(bool v) {
  if (v == m_enabled) return;
  m_enabled = v;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetAutoSize(bool v) {
  if (v == m_autoSize) return;
  m_autoSize = v;
  if (v) AdjustSize();
}

void TControl::SetColor(Colour c) {
  if (c == m_color) return;
  m_color = c;
  Invalidate();
}

void TControl::SetCaption(const std::string& text) {
  if (text == m_caption) return;
  m_caption = text;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::Invalidate() {
  if (m_parent && m_parent->HandleAllocated() && m_width > 0 && m_height > 0) {
    RECT r{m_left, m_top, m_left + m_width, m_top + m_height};
    InvalidateRect(m_parent->Handle(), &r, TRUE);
  }
}

void TControl::Repaint() {
  Invalidate();
  TControl* c = this;
  while (c && !c->InheritsFrom("TWinControl")) c = c->m_parent;
  if (c) {
    auto* w = static_cast<TWinControl*>(c);
    if (w->HandleAllocated()) UpdateWindow(w->Handle());
  }
}

POINT TControl::ClientToScreen(POINT p) const {
  if (InheritsFrom("TWinControl")) {
    auto* self = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
    ::ClientToScreen(self->Handle(), &p);
    return p;
  }
  if (!m_parent) return p;
  return m_parent->ClientToScreen(POINT{p.x + m_left, p.y + m_top});
}

POINT TControl::ScreenToClient(POINT p) const {
  if (InheritsFrom("TWinControl")) {
    auto* self = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
    ::ScreenToClient(self->Handle(), &p);
    return p;
  }
  if (!m_parent) return p;
  POINT q = m_parent->ScreenToClient(p);
  return {q.x - m_left, q.y - m_top};
}

bool TControl::HandleMouseMessage(TMessage& m) {
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  TShiftState shift = ShiftFromKeys(m.WParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN: MouseDown(TMouseButton::mbLeft, shift, x, y); return true;
    case WM_RBUTTONDOWN: MouseDown(TMouseButton::mbRight, shift, x, y); return true;
    case WM_MBUTTONDOWN: MouseDown(TMouseButton::mbMiddle, shift, x, y); return true;
    case WM_LBUTTONDBLCLK:
      // The second press of a double-click: the double-click event first,
      // then the press itself (a movable picture starts another move).
      DblClick();
      MouseDown(TMouseButton::mbLeft, shift | ssDouble, x, y);
      return true;
    case WM_RBUTTONDBLCLK: MouseDown(TMouseButton::mbRight, shift | ssDouble, x, y); return true;
    case WM_LBUTTONUP: {
      // A click is a press and release on the same control.
      // Windowed controls get their clicks from their own notifications.
      bool inside = x >= 0 && y >= 0 && x < m_width && y < m_height;
      MouseUp(TMouseButton::mbLeft, shift, x, y);
      if (inside && !InheritsFrom("TWinControl")) Click();
      return true;
    }
    case WM_RBUTTONUP: MouseUp(TMouseButton::mbRight, shift, x, y); return true;
    case WM_MBUTTONUP: MouseUp(TMouseButton::mbMiddle, shift, x, y); return true;
    case WM_MOUSEMOVE: MouseMove(shift, x, y); return true;
    default: return false;
  }
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MBUTTONDBLCLK) {
    // A disabled control sees no mouse input at all.
    if (!m_enabled) return;
    HandleMouseMessage(m);
  }
  Dispatch(m);
}

void TControl::Dispatch(TMessage& m) { DefaultHandler(m); }
void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}
void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

TPropValue TControl::GetProperty(std::string_view name) const {
  if (name == "Left") return std::int64_t{m_left};
  if (name == "Top") return std::int64_t{m_top};
  if (name == "Width") return std::int64_t{m_width};
  if (name == "Height") return std::int64_t{m_height};
  if (name == "Visible") return std::int64_t{m_visible};
  if (name == "Enabled") return std::int64_t{m_enabled};
  if (name == "Color") return std::int64_t{m_color};
  if (name == "Caption" || name == "Text") return m_caption;
  if (name == "Hint") return Hint;
  if (name == "PopupMenu") return static_cast<TComponent*>(PopupMenu);
  return TComponent::GetProperty(name);
}

bool TControl::SetProperty(std::string_view name, const TPropValue& value) {
  auto i = PropInt(value);
  if (name == "Left" && i) return SetLeft(static_cast<int>(*i)), true;
  if (name == "Top" && i) return SetTop(static_cast<int>(*i)), true;
  if (name == "Width" && i) return SetWidth(static_cast<int>(*i)), true;
  if (name == "Height" && i) return SetHeight(static_cast<int>(*i)), true;
  if (name == "Visible" && i) return SetVisible(*i != 0), true;
  if (name == "Enabled" && i) return SetEnabled(*i != 0), true;
  if (name == "Color" && i) return SetColor(static_cast<Colour>(*i)), true;
  if (name == "Caption" || name == "Text") {
    if (auto t = PropText(value)) return SetCaption(*t), true;
    return false;
  }
  if (name == "Hint") {
    if (auto t = PropText(value)) return Hint = *t, true;
    return false;
  }
  return TComponent::SetProperty(name, value);
}

// ---------------------------------------------------------------- TGraphicControl

void TGraphicControl::Paint(HDC) {}

void TGraphicControl::Dispatch(TMessage& m) {
  // The parent paints its graphic children by sending WM_PAINT with its DC,
  // already offset to the control's corner and clipped to it.
  if (m.Msg == WM_PAINT && m.WParam) {
    Paint(reinterpret_cast<HDC>(m.WParam));
    return;
  }
  TControl::Dispatch(m);
}

}  // namespace corvane
