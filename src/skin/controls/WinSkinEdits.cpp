#include "skin/controls/WinSkinEdits.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Messages.h"
#include "pictures/WinSurface.h"
#include "platform/RectConversions.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/EditLooks.h"
#include "skin/controls/WinSkinRanges.h"
#include "skin/controls/WinSkinScrollBars.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"

namespace corvane {

namespace {

constexpr UINT CN_COMMAND_ = CN_BASE + WM_COMMAND;
constexpr char kArrowClass[] = "CorvaneDateArrow";

Size SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

void FrameWith(HDC dc, RECT r, Colour colour) {
  UniqueBrush brush(CreateSolidBrush(ColorToRGB(colour)));
  FrameRect(dc, &r, brush.Get());
}

// The outer frame in shadow, then `whiteFrames` white frames inside it.
void FrameField(HDC dc, RECT r, Colour shadow, int whiteFrames) {
  FrameWith(dc, r, shadow);
  for (int i = 0; i < whiteFrames; ++i) {
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
}

bool WindowHasBorder(HWND h, const RECT& r) {
  RECT client{};
  GetClientRect(h, &client);
  return FieldHasBorder(SizeOf(r), SizeOf(client));
}


}  // namespace

// ================================================================ edits

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

TSkinEdit::~TSkinEdit() = default;

void TSkinEdit::FindSpin() {
  m_spinSearched = true;
  HWND h = Handle();
  if (!h) return;
  for (HWND child = GetTopWindow(h); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string cls = AsciiLower(WindowClassName(child));
    if (cls != "msctls_updown32" && cls.find("spin") == std::string::npos &&
        cls.find("updown") == std::string::npos)
      continue;
    // A framework up-down has its own skin by the control rules already.
    if (SendMessageW(child, WM_SKINQUERY, 0, 0) == 1) return;
    // Owned here, not by the form skin: it lives and goes with the field's.
    m_spin = &Create<TSkinUpDown>();
    m_spin->SetInsideEdit(true);
    m_spin->AttachWindow(child, SkinData(), nullptr);
    return;
  }
}

void TSkinEdit::Restore() {
  if (!SkinOn()) return;
  if (m_spin) {
    if (m_spin->State() != kSkinWindowGone) m_spin->Restore();
    FreeComponent(m_spin);
    m_spin = nullptr;
  }
  m_spinSearched = false;
  TSkinControl::Restore();
}

bool TSkinEdit::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NCPAINT) {
    HWND h = Handle();
    // A plain field's frame is only its border: the skin draws all of it,
    // so the system's edge never shows for a moment first.
    if (h && !(GetWindowLongW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL))) {
      PaintWindow(nullptr);
      m.Result = 0;
      return false;
    }
  }
  if (m.Msg == WM_SKINPRINTCLIENT && m.LParam == SKIN_MAGIC) {
    if (m.WParam) {
      TMessage paint{WM_PAINT, m.WParam, 0, 0};
      CallOldHandler(paint);
    }
    m.Result = SKIN_MAGIC;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_NCPAINT:
      PaintWindow(nullptr);
      break;
    case WM_PRINTCLIENT: {
      HWND h = Handle();
      RECT window{};
      if (!h || !GetWindowRect(h, &window)) break;
      RECT r{0, 0, window.right - window.left, window.bottom - window.top};
      RECT client{};
      GetClientRect(h, &client);
      if (r.right - client.right <= 2 && r.bottom - client.bottom <= 2) break;
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      WindowDC own(h, true);
      if (!dc) dc = own.Get();
      RECT inner = r;
      InflateRect(&inner, -1, -1);
      FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
      FrameWith(dc, r, SkinColour(SkinDefinition::kButtonShadow));
      break;
    }
    default:
      break;
  }
}

void TSkinEdit::Paint(HDC dc, const RECT& r) {
  if (!m_spinSearched && SkinData()->SkinControls.Contains(xcSpin)) FindSpin();
  HWND h = Handle();
  if (!h || !WindowHasBorder(h, r)) return;
  FrameField(dc, r, SkinColour(SkinDefinition::kButtonShadow), 2);
}

// ================================================================ combo boxes

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() { m_fieldSubclass.Remove(); }

void TSkinComBox::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  if (State() == kSkinAttached) return;
  AttachControlTo(formSkin, skinData, setsColour, true);
  TakeList();
}

void TSkinComBox::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkin) {
  if (State() == kSkinAttached) return;
  TSkinControl::AttachWindow(window, skinData, formSkin);
  TakeList();
}

void TSkinComBox::TakeList() {
  HWND h = Handle();
  if (!h || m_listTaken) return;
  m_listTaken = true;
  m_style = GetWindowLongW(h, GWL_STYLE);
  bool simple = (m_style & 3) == CBS_SIMPLE;
  if (!ReadInfo()) return;
  m_listWindow = m_info.hwndList;
  if (!simple) {
    // The skin's parts are owned here, not by the form skin: they live and
    // go with this combo's skin.
    if ((m_style & 2) && m_listWindow && Control() &&
        SkinData()->SkinControls.Contains(xcScrollbar)) {
      m_listBar = &Create<TComboxScrollBar>();
      m_listBar->AttachWindow(m_listWindow, SkinData(), nullptr);
    }
    if (HWND field = GetWindow(h, GW_CHILD)) SubclassField(field);
  } else if (m_listWindow && Control()) {
    LONG listStyle = GetWindowLongW(m_listWindow, GWL_STYLE);
    if ((listStyle & WS_CHILD) && !(listStyle & WS_POPUP) &&
        GetParent(m_listWindow) != GetDesktopWindow() &&
        SkinData()->SkinControls.Contains(xcScrollbar)) {
      m_listSkin = &Create<TSkinScrollbarH>();
      m_listSkin->AttachWindow(m_listWindow, SkinData(), nullptr);
    }
  }
}

void TSkinComBox::SubclassField(HWND field) {
  m_fieldWindow = field;
  m_fieldSubclass.Install(field, [this](HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = WindowSubclass::CallNext(window, msg, wp, lp);
    if (SkinOn()) OnFieldMessage(msg);
    return r;
  });
}

void TSkinComBox::OnFieldMessage(UINT msg) {
  switch (msg) {
    case WM_PAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      PaintWindow(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetPressed(true);
      break;
    case WM_LBUTTONUP:
      SetPressed(false);
      break;
    default:
      break;
  }
}

void TSkinComBox::Restore() {
  if (!SkinOn()) return;
  m_fieldSubclass.Remove();
  for (TSkinControl* part : {static_cast<TSkinControl*>(m_listBar),
                             static_cast<TSkinControl*>(m_listSkin)})
    if (part && part->State() != kSkinWindowGone) part->Restore();
  if (m_listBar) FreeComponent(m_listBar);
  if (m_listSkin) FreeComponent(m_listSkin);
  m_listBar = nullptr;
  m_listSkin = nullptr;
  TSkinControl::Restore();
}

bool TSkinComBox::ReadInfo() {
  HWND h = Handle();
  m_info = COMBOBOXINFO{};
  m_info.cbSize = sizeof m_info;
  return h && GetComboBoxInfo(h, &m_info);
}

HBRUSH TSkinComBox::FieldBrush() const {
  HWND h = Handle();
  if (h && !IsWindowEnabled(h)) return GetSysColorBrush(COLOR_BTNFACE);
  return GetSysColorBrush(COLOR_WINDOW);
}

void TSkinComBox::SetPressed(bool pressed) {
  if (((m_mouseState & 2) != 0) == pressed) return;
  if (pressed)
    m_mouseState |= 2;
  else
    m_mouseState &= ~2u;
  PaintWindow(nullptr);
}

bool TSkinComBox::BeforeMessage(TMessage& m) {
  // A simple combo's list is a child inside it and its field has no button:
  // nothing of the skin is drawn there, so the system paints it directly.
  HWND h = Handle();
  bool simple = h && (GetWindowLongW(h, GWL_STYLE) & 3) == CBS_SIMPLE;
  if (m.Msg == WM_PAINT && !simple && Skin().ComboButton &&
      !Skin().ComboButton->Bitmap.IsEmpty()) {
    PaintBuffered(m);
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinComBox::PaintBuffered(TMessage& m) {
  HWND h = Handle();
  RECT client{};
  if (!h || !GetClientRect(h, &client) || client.right <= 0 || client.bottom <= 0) {
    CallOldHandler(m);
    return;
  }
  PAINTSTRUCT ps{};
  HDC target = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(h, &ps);
  OffscreenSurface& picture = BufferOfSize(m_buffer, {client.right, client.bottom});
  if (picture.Valid()) {
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(picture.Dc()), 0, 0};
    CallOldHandler(paint);
    try {
      RECT window{};
      GetWindowRect(h, &window);
      Paint(picture.Dc(), {0, 0, window.right - window.left, window.bottom - window.top});
    } catch (...) {
      // The system's picture stands.
    }
    // The field is a window of its own that paints itself.
    if (m_fieldWindow && IsWindowVisible(m_fieldWindow)) {
      RECT field{};
      GetWindowRect(m_fieldWindow, &field);
      MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&field), 2);
      ExcludeClipRect(target, field.left, field.top, field.right, field.bottom);
    }
    GdiFlush();
    BitBlt(target, 0, 0, client.right, client.bottom, picture.Dc(), 0, 0, SRCCOPY);
  }
  if (!m.WParam) EndPaint(h, &ps);
  m.Result = 0;
}

void TSkinComBox::AfterMessage(TMessage& m) {
  HWND h = Handle();
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      if (!h || !IsWindowEnabled(h)) break;
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      bool over = PtInRect(&m_buttonRect, p) != FALSE;
      if (over != Hot()) {
        if (over) {
          m_mouseState |= 1;
          TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, h, 0};
          TrackMouseEvent(&tme);
        } else {
          m_mouseState &= ~1u;
        }
        Repaint();
      }
      break;
    }
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      if (Hot()) {
        m_mouseState &= ~1u;
        Repaint();
      }
      break;
    case WM_DRAWITEM:
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      Repaint();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetPressed(true);
      break;
    case WM_LBUTTONUP:
      SetPressed(false);
      break;
    case CN_COMMAND_:
      if (HIWORD(m.WParam) == CBN_DROPDOWN) m_dropped = true;
      if (HIWORD(m.WParam) == CBN_CLOSEUP) {
        m_dropped = false;
        // The release that closed the list went to the list, not here.
        SetPressed(false);
      }
      break;
    default:
      break;
  }
}

void TSkinComBox::Paint(HDC dc, const RECT& r) {
  const SkinDefinition& skin = Skin();
  if (!skin.ComboButton || skin.ComboButton->Bitmap.IsEmpty()) return;
  HWND h = Handle();
  if (!h) return;
  m_style = GetWindowLongW(h, GWL_STYLE);
  m_exStyle = GetWindowLongW(h, GWL_EXSTYLE);
  if (ReadInfo()) m_buttonRect = m_info.rcButton;
  if (m_info.stateButton & STATE_SYSTEM_INVISIBLE) return;
  const bool onLeft = (m_exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  HWND focus = GetFocus();
  const bool focused = focus && (focus == h || (m_fieldWindow && focus == m_fieldWindow));
  const int f = ComboButtonFrame(!(m_style & WS_DISABLED), (m_mouseState & 2) != 0,
                                 Hot() || focused);
  const TDataSkinBorder& button = *skin.ComboButton;
  const int frames = std::max(button.Frame, 1);
  const Colour shadow = SkinColour(SkinDefinition::kButtonShadow);

  if (Extended) {
    FrameField(dc, r, shadow, 1);
    if (m_fieldWindow && skin.ComboxArrow) {
      RECT field{};
      GetWindowRect(m_fieldWindow, &field);
      MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&field), 2);
      FillFace(dc, field);
      DrawElementCell(dc, field, *skin.ComboxArrow, std::max(skin.ComboxArrow->Frame, 1), f);
    }
    return;
  }
  if (button.Style == 1) {
    HBRUSH field = FieldBrush();
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, field);
    ComboButtonLayout layout = FlatComboButton(ToRect(r), onLeft, button.Bitmap.Width() / frames,
                                               button.Bitmap.Height(),
                                               SystemMetricOfWindow(SM_CYVTHUMB, Handle()));
    RECT strip = ToRECT(layout.strip);
    FillRect(dc, &strip, field);
    FrameWith(dc, r, shadow);
    m_buttonRect = ToRECT(layout.button);
    DrawElementCell(dc, m_buttonRect, button, frames, f);
    return;
  }
  if (button.Style == 2) {
    const TDataSkinObject* whole = onLeft ? skin.SunkEdge.get() : &button;
    if (whole) DrawElementCell(dc, r, *whole, std::max(whole->Frame, 1), f);
    return;
  }
  m_buttonRect = ToRECT(BoxedComboButton(ToRect(r), onLeft, SystemMetricOfWindow(SM_CXHSCROLL, Handle())));
  // The system keeps drawing the text inside; only border and button change.
  int saved = SaveDC(dc);
  RECT inside = r;
  InflateRect(&inside, -2, -2);
  ExcludeClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
  if (skin.SunkEdge) DrawElementCell(dc, r, *skin.SunkEdge, std::max(skin.SunkEdge->Frame, 1), f);
  RestoreDC(dc, saved);
  if (onLeft && !button.Bitmap2.IsEmpty()) {
    TDataSkinObject left = button;
    left.Bitmap = button.Bitmap2;
    DrawElementCell(dc, m_buttonRect, left, frames, f);
  } else {
    DrawElementCell(dc, m_buttonRect, button, frames, f);
  }
  if (skin.ExtraImages && !skin.ExtraImages->Bitmap.IsEmpty()) {
    const TDataSkinObject& extra = *skin.ExtraImages;
    int extraFrames = std::max(extra.Frame, 1);
    Size cell{extra.Bitmap.Width() / extraFrames, extra.Bitmap.Height()};
    Point at = CentredOrigin(ToRect(m_buttonRect), cell);
    RECT box{at.x, at.y, at.x + cell.width, at.y + cell.height};
    TDataSkinObject plain = extra;
    plain.LeftWidth = plain.TopHeight = plain.RightWidth = plain.BottomHeight = 0;
    DrawElementCell(dc, box, plain, extraFrames, f);
  }
}

// ================================================================ date-time pickers

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

TSkinDateTime::~TSkinDateTime() {
  if (m_arrow && IsWindow(m_arrow.Get()))
    SetWindowLongPtrA(m_arrow.Get(), GWLP_USERDATA, 0);
  else
    m_arrow.Release_();
}

HWND TSkinDateTime::ArrowWindow() const { return m_arrow.Get(); }

void TSkinDateTime::AttachControl(TWinSkinForm* formSkin, TSkinData* skinData, bool setsColour) {
  if (State() == kSkinAttached) return;
  AttachControlTo(formSkin, skinData, setsColour, true);
  HWND h = Handle();
  if (!h) return;
  LONG style = GetWindowLongW(h, GWL_STYLE);
  if (!(style & WS_CLIPCHILDREN)) {
    SetWindowLongW(h, GWL_STYLE, style | WS_CLIPCHILDREN);
    m_clipChildrenAdded = true;
  }
  RegisterPrivateClass(kArrowClass, ArrowProcedure, LoadCursor(nullptr, IDC_ARROW));
  HWND arrow = CreateWindowExA(0, kArrowClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, h, nullptr,
                               GetModuleHandleA(nullptr), this);
  m_arrow = UniqueWindow(arrow);
  PlaceArrow();
}

void TSkinDateTime::Restore() {
  if (!SkinOn()) return;
  HWND h = State() != kSkinWindowGone ? Handle() : nullptr;
  if (m_arrow && IsWindow(m_arrow.Get())) {
    SetWindowLongPtrA(m_arrow.Get(), GWLP_USERDATA, 0);
    m_arrow.Reset();
  } else {
    m_arrow.Release_();
  }
  if (h && m_clipChildrenAdded)
    SetWindowLongW(h, GWL_STYLE, GetWindowLongW(h, GWL_STYLE) & ~WS_CLIPCHILDREN);
  TSkinControl::Restore();
}

void TSkinDateTime::PlaceArrow() {
  HWND h = Handle();
  if (!h || !m_arrow) return;
  RECT client{};
  GetClientRect(h, &client);
  RECT window{};
  GetWindowRect(h, &window);
  const bool onLeft = (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  // Over the picker's own button, in its client coordinates.
  int height = std::max(0, static_cast<int>(window.bottom - window.top) - 4);
  const int arrowSize = SystemMetricOfWindow(SM_CXHSCROLL, h);
  int left = onLeft ? 2 : static_cast<int>(window.right - window.left) - arrowSize - 4;
  SetWindowPos(m_arrow.Get(), HWND_TOP, std::max(0, left), 0, arrowSize,
               std::min(height, static_cast<int>(client.bottom)), SWP_NOACTIVATE);
}

void TSkinDateTime::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      PlaceArrow();
      if (m_arrow) InvalidateRect(m_arrow.Get(), nullptr, FALSE);
      break;
    case WM_PAINT:
    case WM_NCPAINT:
      PaintWindow(nullptr);
      break;
    default:
      break;
  }
}

void TSkinDateTime::Paint(HDC dc, const RECT& r) {
  PlaceArrow();
  HWND h = Handle();
  if (h && WindowHasBorder(h, r)) FrameField(dc, r, SkinColour(SkinDefinition::kButtonShadow), 1);
}

LRESULT CALLBACK TSkinDateTime::ArrowProcedure(HWND window, UINT msg, WPARAM wParam,
                                               LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TSkinDateTime*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->m_arrow.Release_();
    return DefWindowProcA(window, msg, wParam, lParam);
  }
  try {
    return self->OnArrowMessage(window, msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT TSkinDateTime::OnArrowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      PaintArrow(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!m_trackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, window, 0};
        m_trackingLeave = TrackMouseEvent(&tme) != FALSE;
      }
      if (!m_arrowHot && HoverEnabled()) {
        m_arrowHot = true;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      m_trackingLeave = false;
      if (m_arrowHot) {
        m_arrowHot = false;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The picker opens its calendar on a click on its own button, which
      // lies under this one.
      RECT at{};
      GetWindowRect(window, &at);
      HWND picker = GetParent(window);
      MapWindowPoints(nullptr, picker, reinterpret_cast<POINT*>(&at), 2);
      LPARAM p = MAKELPARAM(GET_X_LPARAM(lParam) + at.left, GET_Y_LPARAM(lParam) + at.top);
      PostMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, p);
      PostMessageA(picker, WM_LBUTTONUP, 0, p);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONUP:
      SetFocus(GetParent(window));
      return 0;
    default:
      return DefWindowProcA(window, msg, wParam, lParam);
  }
}

void TSkinDateTime::PaintArrow(HDC dc) {
  RECT r{};
  GetClientRect(m_arrow.Get(), &r);
  FillFace(dc, r);
  const SkinDefinition& skin = Skin();
  if (skin.ComboxArrow && !skin.ComboxArrow->Bitmap.IsEmpty())
    DrawElementCell(dc, r, *skin.ComboxArrow, std::max(skin.ComboxArrow->Frame, 1),
                    m_arrowHot ? 4 : 1);
}

}  // namespace corvane
