// TWinControl: a control with a window of its own, and the framework's one
// window procedure that binds each window to its control.
#include "framework/Controls.h"

#include <commctrl.h>

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "platform/Dpi.h"
#include "platform/WindowTable.h"

namespace corvane {

namespace {

// The framework object of each window the framework made.
WindowTable<TWinControl>& ControlTable() {
  static WindowTable<TWinControl> table;
  return table;
}

// The object whose CreateWindowEx is running on this thread: messages that
// arrive before WM_NCCREATE (WM_GETMINMAXINFO) still find their object.
thread_local TWinControl* t_creating = nullptr;

// Original procedures of the system classes we build on, by our class name.
std::map<std::string, WNDPROC>& BaseProcedures() {
  static std::map<std::string, WNDPROC> procedures;
  return procedures;
}

}  // namespace

// ---------------------------------------------------------------- TWinControl

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = ControlTable().Get(window);
  if (!control && t_creating) {
    control = t_creating;
    t_creating = nullptr;
    control->Bind(window);
  }
  if (!control) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    auto it = BaseProcedures().find(name);
    WNDPROC base = it == BaseProcedures().end() ? DefWindowProcA : it->second;
    return CallWindowProcA(base, window, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) {
    LRESULT r = control->MainWndProc(msg, wParam, lParam);
    control->Unbind();
    return r;
  }
  return control->MainWndProc(msg, wParam, lParam);
}

void RegisterPrivateClass(const char* className, WNDPROC procedure, HCURSOR cursor) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(instance, className, &wc)) return;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.lpszClassName = className;
  RegisterClassExA(&wc);
}

std::string WindowClassName(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

void EnsureCommonControlClasses(DWORD flags) {
  static DWORD registered = 0;
  DWORD missing = flags & ~registered;
  if (!missing) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, missing};
  if (InitCommonControlsEx(&icc)) registered |= missing;
}

TWinControl* ControlOfWindow(HWND window) {
  if (!window) return nullptr;
  return ControlTable().Get(window);
}

int DpiOfWindow(HWND window) {
  if (TWinControl* control = ControlOfWindow(window)) return control->Dpi();
  if (TWinControl* form = ControlOfWindow(GetAncestor(window, GA_ROOT))) return form->Dpi();
  return SystemDpiOfWindow(window);
}

int SystemMetricOfWindow(int index, HWND window) {
  return SystemMetricForDpi(index, DpiOfWindow(window));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Owned components (a skin on this control) go while the window exists.
  DestroyComponents();
  // Children that outlive us (owned by someone else) no longer have a parent.
  for (TControl* c : m_controls) c->m_parent = nullptr;
  m_controls.clear();
  DestroyHandle();
}

void TWinControl::Bind(HWND window) {
  // One window per object: an entry left for another window would outlive
  // the object and hand that window's messages to freed memory.
  if (m_handle && m_handle != window) ControlTable().Erase(m_handle);
  m_handle = window;
  ControlTable().Set(window, this);
}

void TWinControl::Unbind() {
  if (m_handle) ControlTable().Erase(m_handle);
  m_handle = nullptr;
  m_trackingLeave = false;
}

void TWinControl::DestroyHandle() {
  if (!m_handle) return;
  HWND window = m_handle;
  // The window's last messages must not reach an object being torn down:
  // unbind first, the destruction then runs through the default procedures.
  Unbind();
  DestroyWindow(window);
}

void TWinControl::UnbindTree() {
  for (TControl* c : m_controls)
    if (c->InheritsFrom("TWinControl")) static_cast<TWinControl*>(c)->UnbindTree();
  Unbind();
}

void TWinControl::RecreateWnd() {
  if (!m_handle) return;
  HWND old = m_handle;
  bool focused = GetFocus() == old;
  UnbindTree();
  DestroyWindow(old);
  CreateWnd();
  if (focused) ::SetFocus(m_handle);
  // The windowed children were made again with it: each is told as well.
  auto tell = [](auto& self, TWinControl& control) -> void {
    control.Perform(CM_RECREATEWND);
    for (TControl* c : control.m_controls)
      if (c->InheritsFrom("TWinControl")) self(self, *static_cast<TWinControl*>(c));
  };
  tell(tell, *this);
}

HWND TWinControl::Handle() {
  if (!m_handle) CreateWnd();
  return m_handle;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.caption = Caption();
  p.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (Visible()) p.style |= WS_VISIBLE;
  if (!Enabled()) p.style |= WS_DISABLED;
  p.x = m_left;
  p.y = m_top;
  p.width = m_width;
  p.height = m_height;
  if (Parent()) p.parent = Parent()->Handle();
}

void TWinControl::CreateWnd() {
  // Each window is made at its DPI: a top-level one at its monitor's, a
  // child at its parent's.
  if (!Parent()) ChangeDpi(DpiAtPoint(POINT{m_left + m_width / 2, m_top + m_height / 2}));
  else ChangeDpi(Parent()->Dpi());
  // A control's own reaction to that DPI (a picture made again, a region)
  // may have asked for the window already: then that window is the one, and
  // a second would be left behind, still bound to this object.
  if (m_handle) return;
  TCreateParams p;
  CreateParams(p);
  if ((p.style & WS_CHILD) && !p.parent)
    throw std::runtime_error(std::string("Control '") + Name + "' has no parent window");
  std::string className = ClassName();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(instance, className.c_str(), &existing)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    WNDPROC base = DefWindowProcA;
    if (!p.baseClass.empty()) {
      // Built on a system class: its procedure ends our chain, its class
      // settings stay; only the name (our class name) and procedure change.
      WNDCLASSEXA sys{};
      sys.cbSize = sizeof sys;
      if (!GetClassInfoExA(nullptr, p.baseClass.c_str(), &sys))
        throw std::runtime_error("Unknown window class " + p.baseClass);
      wc = sys;
      wc.cbSize = sizeof wc;
      base = sys.lpfnWndProc;
    } else {
      wc.style = p.classStyle;
      wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExA(&wc)) throw std::runtime_error("Cannot register window class " + className);
    BaseProcedures()[className] = base;
  }
  m_defWndProc = BaseProcedures().count(className) ? BaseProcedures()[className] : DefWindowProcA;

  t_creating = this;
  HWND window = CreateWindowExA(p.exStyle, className.c_str(), p.caption.c_str(), p.style, p.x, p.y,
                                p.width, p.height, p.parent, nullptr, instance, nullptr);
  t_creating = nullptr;
  if (!window) throw std::runtime_error("Cannot create window for " + className);
  if (!m_handle) Bind(window);
  // The system has the last word on where the window landed.
  if (!Parent()) ChangeDpi(SystemDpiOfWindow(window));
  FontChanged();
  ApplyDesignedClientSize();
  WindowCreated();
  for (TControl* c : m_controls)
    if (c->InheritsFrom("TWinControl")) static_cast<TWinControl*>(c)->Handle();
}

LRESULT TWinControl::MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  try {
    WindowProc(m);
  } catch (const std::exception& e) {
    Application().HandleException(this, e);
  } catch (...) {
    Application().HandleUnknownException(this);
  }
  return m.Result;
}

void TWinControl::InsertControl(TControl* c) {
  m_controls.push_back(c);
  if (c->InheritsFrom("TWinControl")) {
    auto* w = static_cast<TWinControl*>(c);
    if (w->ParentFont) w->Font = Font;
  }
  // A control joins at its parent's DPI, from the bounds it was given so far.
  c->ChangeDpi(Dpi());
  if (c->InheritsFrom("TWinControl")) {
    auto* w = static_cast<TWinControl*>(c);
    if (m_handle) {
      if (w->m_handle) ::SetParent(w->m_handle, m_handle);
      else w->Handle();
    }
  }
  c->Invalidate();
  ChildBoundsChanged();
}

void TWinControl::RemoveControl(TControl* c) {
  c->Invalidate();
  m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), c), m_controls.end());
  if (m_captureControl == c) m_captureControl = nullptr;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
    TControl* c = *it;
    if (c->InheritsFrom("TWinControl")) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    if (c->BoundsRect().Contains({p.x, p.y})) return c;
  }
  return nullptr;
}

void TWinControl::FontChanged() {
  if (!m_handle) return;
  m_font = MakeFont(Font, Dpi());
  SendMessageA(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (AutoSize()) CanAutoSize(width, height);
  if (m_handle) {
    // The window reports its new place through WM_WINDOWPOSCHANGED, which
    // updates the fields.
    SetWindowPos(m_handle, nullptr, left, top, std::max(width, 0), std::max(height, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  bool changed = left != m_left || top != m_top || width != m_width || height != m_height;
  StoreBounds(left, top, width, height);
  if (changed && Parent()) Parent()->ChildBoundsChanged();
}

void TWinControl::ChangeDpi(int dpi) {
  if (dpi < 1 || dpi == Dpi()) return;
  // A top-level window's place is in screen pixels, which no DPI changes:
  // only its size follows the design.
  ScaleBoundsFromDesign(dpi, Parent() == nullptr);
  FontChanged();
  for (TControl* c : m_controls) c->ChangeDpi(dpi);
  ApplyDesignedClientSize();
  // Last, so a control's own reaction finds its children at the new DPI.
  DpiChanged();
}

void TWinControl::OnWindowPosChanged(const WINDOWPOS& pos) {
  if (pos.flags & SWP_NOSIZE && pos.flags & SWP_NOMOVE) return;
  RECT r;
  GetWindowRect(m_handle, &r);
  POINT topLeft{r.left, r.top};
  HWND parent = GetParent(m_handle);
  if (parent && (GetWindowLongA(m_handle, GWL_STYLE) & WS_CHILD)) ::ScreenToClient(parent, &topLeft);
  bool changed = topLeft.x != m_left || topLeft.y != m_top || r.right - r.left != m_width ||
                 r.bottom - r.top != m_height;
  if (Parent()) {
    // A child moves only when the program asks (its SetBounds kept the
    // design) or when the system adjusts it (a list's whole rows): the
    // adjustment is no new design, or it would shrink at every DPI change.
    m_left = topLeft.x;
    m_top = topLeft.y;
    m_width = r.right - r.left;
    m_height = r.bottom - r.top;
  } else {
    // A top-level window the user moved or sized keeps that as its design.
    StoreBounds(topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top);
  }
  if (changed && Parent()) Parent()->ChildBoundsChanged();
}

void TWinControl::ChildBoundsChanged() {}

void TWinControl::SetCaption(const std::string& text) {
  TControl::SetCaption(text);
  if (m_handle) SetWindowTextA(m_handle, text.c_str());
}

void TWinControl::Invalidate() {
  if (m_handle) InvalidateRect(m_handle, nullptr, TRUE);
}

int TWinControl::ClientWidth() {
  RECT r{};
  GetClientRect(Handle(), &r);
  return r.right;
}

int TWinControl::ClientHeight() {
  RECT r{};
  GetClientRect(Handle(), &r);
  return r.bottom;
}

void TWinControl::SetClientSize(int width, int height) {
  // In pixels at the DPI the caller knows now: before the window exists
  // that is 96, the design.
  m_designedClient = Size{DesignedAfter(m_designedClient.width, width, Dpi()),
                          DesignedAfter(m_designedClient.height, height, Dpi())};
  if (!m_handle) {
    // The frame the style gives, without making the window: a form made at
    // start but shown later holds no windows (nor their memory) meanwhile.
    TCreateParams p;
    CreateParams(p);
    RECT frame{0, 0, Scaled(m_designedClient.width), Scaled(m_designedClient.height)};
    AdjustWindowRectEx(&frame, p.style, FALSE, p.exStyle);
    const Size designed = m_designedClient;
    SetBounds(m_left, m_top, frame.right - frame.left, frame.bottom - frame.top);
    m_designedClient = designed;
    return;
  }
  ApplyDesignedClientSize();
}

void TWinControl::ApplyDesignedClientSize() {
  if (!m_handle || m_designedClient.width <= 0 || m_designedClient.height <= 0) return;
  RECT window{}, client{};
  GetWindowRect(m_handle, &window);
  GetClientRect(m_handle, &client);
  int frameW = (window.right - window.left) - client.right;
  int frameH = (window.bottom - window.top) - client.bottom;
  const Size designed = m_designedClient;
  SetBounds(m_left, m_top, Scaled(designed.width) + frameW, Scaled(designed.height) + frameH);
  m_designedClient = designed;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

HBRUSH TWinControl::BackgroundBrush() {
  if (!m_brush || m_brushColour != Color()) {
    m_brush.Reset(CreateSolidBrush(ColorToRGB(Color())));
    m_brushColour = Color();
  }
  return m_brush.Get();
}

void TWinControl::PaintWindow(HDC dc) {
  // A system class paints itself into the DC we give it.
  if (m_defWndProc != DefWindowProcA) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
  }
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : m_controls) {
    if (c->InheritsFrom("TWinControl") || !c->Visible()) continue;
    Rect b = c->BoundsRect();
    if (b.IsEmpty() || !RectVisible(dc, reinterpret_cast<const RECT*>(&b))) continue;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + b.left, origin.y + b.top, nullptr);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::OnPaint(TMessage& m) {
  bool hasGraphic = std::any_of(m_controls.begin(), m_controls.end(),
                                [](TControl* c) { return !c->InheritsFrom("TWinControl"); });
  if (m.WParam) {
    // Painting into a DC someone gave us (printing, composition).
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    PaintWindow(dc);
    PaintControls(dc);
    return;
  }
  if (!hasGraphic && m_defWndProc != DefWindowProcA) {
    DefaultHandler(m);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_handle, &ps);
  PaintWindow(dc);
  PaintControls(dc);
  EndPaint(m_handle, &ps);
}

void TWinControl::TrackMouse(TControl* target) {
  TApplication& app = Application();
  TControl* current = app.MouseControl();
  if (current != target) {
    app.SetMouseControl(target);
    if (current) current->Perform(CM_MOUSELEAVE);
    if (target) target->Perform(CM_MOUSEENTER);
  }
  // The leave notice is a request to the system, not a timer of ours, but
  // under Wine the system checks it on a timer of its own (every mouse hover
  // time) while the mouse rests over the window; Windows needs no timer for
  // it. So it is asked for only when the control under the mouse needs it.
  if (!m_trackingLeave && m_handle && target && target->WantsMouseLeave()) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_handle, 0};
    m_trackingLeave = TrackMouseEvent(&tme) != FALSE;
  }
}

void TWinControl::OnContextMenu(TMessage& m) {
  POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = this;
  if (screen.x == -1 && screen.y == -1) {
    // From the keyboard: open at the control's centre.
    screen = ClientToScreen(POINT{ClientWidth() / 2, ClientHeight() / 2});
  } else {
    POINT client = ScreenToClient(screen);
    if (TControl* c = ControlAtPos(client, true)) target = c;
  }
  for (TControl* c = target; c; c = c->Parent()) {
    if (c->PopupMenu) {
      c->PopupMenu->PopupComponent = c;
      c->PopupMenu->Popup(screen.x, screen.y);
      m.Result = 1;
      return;
    }
    // Windowed children pass the request up through the system themselves.
    if (c != target && c->InheritsFrom("TWinControl")) break;
  }
  DefaultHandler(m);
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(m.LParam); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom; break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis->CtlType != ODT_MENU) child = GetDlgItem(m_handle, static_cast<int>(mis->CtlID));
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Only a scroll-bar control names itself; a window's own bars do not.
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    default:
      if (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC) child = reinterpret_cast<HWND>(m.LParam);
      break;
  }
  TWinControl* target = ControlOfWindow(child);
  if (!target || target == this) return false;
  m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: case WM_MOUSEMOVE: {
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                  m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
      bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
      // A pressed graphic control keeps the mouse until the button goes up,
      // unless someone took the capture away (the system's move loop does).
      TControl* target = nullptr;
      if (m_captureControl && !down && GetCapture() == m_handle) {
        target = m_captureControl;
      } else {
        m_captureControl = nullptr;
        target = ControlAtPos(p);
      }
      if (m.Msg == WM_MOUSEMOVE) TrackMouse(target ? target : this);
      if (target) {
        if (down) {
          m_captureControl = target;
          SetCapture(m_handle);
        } else if (up) {
          m_captureControl = nullptr;
          if (GetCapture() == m_handle) ReleaseCapture();
        }
        TControl* keep = target;
        target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - keep->Left(), p.y - keep->Top()));
        // The window's own default handling still runs (a right release
        // there becomes WM_CONTEXTMENU), but not its mouse events.
        if (HandleAllocated()) DefaultHandler(m);
        return;
      }
      break;
    }
    case WM_MOUSELEAVE: {
      m_trackingLeave = false;
      TControl* current = Application().MouseControl();
      if (current == this || (current && current->Parent() == this)) {
        Application().SetMouseControl(nullptr);
        current->Perform(CM_MOUSELEAVE);
      }
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(m.WParam);
      KeyDown(key, KeyboardShift());
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    default: break;
  }
  TControl::WndProc(m);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: OnPaint(m); return;
    case WM_ERASEBKGND: {
      if (m_defWndProc != DefWindowProcA) break;
      RECT r;
      GetClientRect(m_handle, &r);
      FillRect(reinterpret_cast<HDC>(m.WParam), &r, BackgroundBrush());
      m.Result = 1;
      return;
    }
    case WM_WINDOWPOSCHANGED:
      OnWindowPosChanged(*reinterpret_cast<WINDOWPOS*>(m.LParam));
      break;
    case WM_SIZE:
      for (TControl* c : m_controls) c->ParentResized();
      break;
    case WM_CONTEXTMENU: OnContextMenu(m); return;
    case WM_SYSCHAR:
      // Alt and a letter typed in a control is the form's first: its menu
      // bar may have that accelerator.
      if (GetWindowLongA(m_handle, GWL_STYLE) & WS_CHILD)
        if (TWinControl* form = ControlOfWindow(GetAncestor(m_handle, GA_ROOT)); form && form != this)
          if (form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
            m.Result = 0;
            return;
          }
      break;
    case WM_SETCURSOR:
      if (Screen().Cursor() != crDefault) {
        ::SetCursor(CursorHandle(Screen().Cursor()));
        m.Result = 1;
        return;
      }
      break;
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
      if (ReflectToChild(m)) return;
      break;
    case CM_ENABLEDCHANGED:
      if (m_handle) EnableWindow(m_handle, Enabled());
      return;
    case CM_VISIBLECHANGED:
      if (m_handle) ShowWindow(m_handle, Visible() ? SW_SHOWNA : SW_HIDE);
      return;
    default: break;
  }
  TControl::Dispatch(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) {
    // A reflected message nobody took: colours come from the control, the
    // rest gets the system's neutral answer.
    if (IsReflectedColourMessage(m.Msg)) {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(Font.Color));
      SetBkColor(dc, ColorToRGB(Color()));
      m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
    }
    return;
  }
  if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) return;  // framework notifications only
  if (!m_handle) return;
  m.Result = CallWindowProcA(m_defWndProc, m_handle, m.Msg, m.WParam, m.LParam);
}

}  // namespace corvane
