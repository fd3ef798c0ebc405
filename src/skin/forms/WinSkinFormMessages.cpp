// Every message that reaches a form skin, and where it goes. A window's
// procedure passes three stages in order; a stage that does not answer a
// message hands it on to the next, and what no stage answers goes to the
// window's previous procedure (CallDefault).
//
//   stage 1, every skinned window, from the start:
//     WM_NCPAINT (before the start)    answered 0: nothing is painted yet
//     WM_ERASEBKGND                    bare windows: the skin's face colour
//     WM_NCDESTROY                     OnNcDestroy, then the default
//     WM_NCACTIVATE (before the start) answered 1 (never refuses deactivation)
//     themed caption messages 0xAE/AF  answered 0
//     WM_INITMENUPOPUP                 records the menu and its source
//     WM_CTLCOLORBTN/STATIC            bare windows: transparent text, face brush
//     WM_SKINSTART                     OnSkinStart
//     WM_SKINRESKINSCROLL              a re-created control's scroll-bar skin made anew
//     WM_SKINQUERY                     answered 1, WM_SKINNOTIFY posted
//     WM_DPICHANGED                    OnDpiChanged, the window's own handling,
//                                      then the frame again at the new DPI
//     WM_GETDPISCALEDSIZE              skinned frames: the size at the new DPI
//   stage 2, a skinned frame (not a plain child window):
//     WM_SIZE                          window state; region (ApplyRegion)
//     WM_ACTIVATE, WM_NCACTIVATE       record the activation, go on
//     WM_GETMINMAXINFO, WM_WINDOWPOSCHANGED  state from the placement
//     WM_SETICON, WM_SETTEXT           RepaintNonClient over the system's caption
//     WM_COMMAND (window commands)     posted back as WM_SYSCOMMAND
//     WM_SYSCOMMAND                    OnSysCommand (menu bar keys, Alt+Space)
//     CM_MENUCHANGED                   OnMenuChanged (WinSkinFormMenus.cpp)
//     WM_SKINMENUBAR                   OpenMenuBarItem
//     WM_MENUSELECT                    the menu bar follows the selection
//   stage 3, started and not a maximised MDI child:
//     WM_NCCALCSIZE                    OnNcCalcSize (the skin's client area)
//     WM_NCHITTEST                     OnNcHitTest
//     WM_NCPAINT, WM_SKINNCREDRAW      RepaintNonClient (WinSkinFormPaint.cpp)
//     WM_NCACTIVATE                    OnNcActivate
//     WM_NCMOUSEMOVE, WM_NCLBUTTON*,
//     WM_NCRBUTTON*, WM_NCMOUSELEAVE,
//     WM_TIMER (caption hint)          the mouse machine (WinSkinFormMouse.cpp)
//     WM_MEASUREITEM, WM_DRAWITEM      bare menu items (WinSkinFormMenus.cpp)
//
//   the form hook, in front of a framework form's own message method:
//     WM_SETTEXT                       the frame measured and painted again
//     WM_SKINREFRESH                   RefreshSkin
//     CM_DIALOGCHAR                    Alt+letter of the skinned menu bar, else
//                                      on to the MDI frame or the main form
//     WM_SKINPRINTNC, WM_SKINPING      answered with SKIN_MAGIC
//
//   the MDI client's procedure (MDI frames): MdiClientProcedure below
//     (scroll bars, the maximised flag, a new frame menu, the last child).
#include "skin/forms/WinSkinForm.h"

#include <windowsx.h>

#include "framework/Forms.h"
#include "platform/RectConversions.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

namespace {

// Undocumented non-client messages of the themed frame: answered 0 so the
// system's caption never draws itself over ours (only real Windows sends them).
constexpr UINT kThemedCaptionMessage1 = 0xAE;
constexpr UINT kThemedCaptionMessage2 = 0xAF;
constexpr UINT kMdiRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

}  // namespace

LRESULT TWinSkinForm::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
  return WindowSubclass::CallNext(Handle, msg, wParam, lParam);
}

LRESULT TWinSkinForm::WindowProcedure(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_frameState == kFrameWaiting && msg == WM_NCPAINT) return 0;
  switch (msg) {
    case WM_ERASEBKGND: {
      LRESULT r = CallDefault(msg, wParam, lParam);
      if (m_form) return r;
      RECT client{};
      GetClientRect(Handle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, m_skinData->FaceBrush());
      return 1;
    }
    case WM_NCDESTROY: {
      OnNcDestroy();
      LRESULT r = CallDefault(msg, wParam, lParam);
      m_frameState = kFrameDestroyed;
      return r;
    }
    case WM_NCACTIVATE:
      // Before the start nothing is painted, but deactivation is never
      // refused: the answer lets it proceed.
      if (m_frameState == kFrameWaiting && m_mdiKind != MdiKind::Child) return 1;
      break;
    case kThemedCaptionMessage1:
    case kThemedCaptionMessage2:
      return 0;
    case WM_INITMENUPOPUP:
      m_activeMenu = reinterpret_cast<HMENU>(wParam);
      if (TSkinManageBase* manager = TSkinManageBase::Instance())
        manager->MenuSource = reinterpret_cast<HMENU>(wParam) == m_systemMenu ? kMenuFromSystem : kMenuFromBar;
      return CallDefault(msg, wParam, lParam);
    case WM_CTLCOLORBTN: {
      LRESULT r = CallDefault(msg, wParam, lParam);
      if (!m_form) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return r;
    }
    case WM_CTLCOLORSTATIC: {
      LRESULT r = CallDefault(msg, wParam, lParam);
      if (m_form) return r;
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(m_skinData->FaceBrush());
    }
    case WM_SKINSTART:
      OnSkinStart();
      return 0;
    case WM_SKINRESKINSCROLL:
      if (ControlSkinning && m_skinData && IsWindow(reinterpret_cast<HWND>(wParam)))
        ControlSkinning->ReskinScrollBars(*this, *m_skinData, m_controlSkins, reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_SKINQUERY:
      PostMessageA(Handle, WM_SKINNOTIFY, 0, SKIN_MAGIC);
      return 1;
    case WM_DPICHANGED: {
      // The new metrics are in place before the window takes its new size,
      // so no frame of the old size is ever measured or painted.
      OnDpiChanged(HIWORD(wParam));
      LRESULT r = CallDefault(msg, wParam, lParam);
      if (!m_form) {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (m_started) {
        RecalcFrame();
        ApplyRegion();
        RepaintNonClient();
      }
      return r;
    }
    case WM_GETDPISCALEDSIZE:
      // Only real Windows asks this (before a move to a monitor of another
      // DPI): it would otherwise scale the system's frame, not ours.
      if (m_started && m_frameSkinned && !m_class.isChild) {
        const int dpi = static_cast<int>(wParam);
        const FrameMetrics next = corvane::LoadFrameMetrics(m_skinData->SkinAt(dpi), m_class.border);
        RECT client{};
        GetClientRect(Handle, &client);
        auto* size = reinterpret_cast<SIZE*>(lParam);
        size->cx = ScaleBetweenDpis(client.right, m_dpi, dpi) + next.left + next.right;
        size->cy = ScaleBetweenDpis(client.bottom + m_menuHeight, m_dpi, dpi) + next.top + next.bottom;
        return TRUE;
      }
      return CallDefault(msg, wParam, lParam);
    default:
      break;
  }
  if (!m_frameSkinned) return CallDefault(msg, wParam, lParam);
  if (m_class.isChild && m_mdiKind != MdiKind::Child) return CallDefault(msg, wParam, lParam);

  switch (msg) {
    case WM_SIZE: {
      LRESULT r = CallDefault(msg, wParam, lParam);
      m_windowState = ShowStateFromSizeKind(static_cast<unsigned>(wParam), m_windowState);
      bool regionWanted = m_windowState != WindowShowState::Minimised &&
                          !(m_mdiKind == MdiKind::Child && m_windowState != WindowShowState::Normal);
      if (regionWanted && (m_frameState == kFrameActive || m_frameState == kFrameRefreshing)) ApplyRegion();
      return r;
    }
    case WM_ACTIVATE:
      m_active = LOBYTE(LOWORD(wParam));
      break;
    case WM_GETMINMAXINFO: {
      LRESULT r = CallDefault(msg, wParam, lParam);
      UpdateStateFromPlacement();
      return r;
    }
    case WM_WINDOWPOSCHANGED:
      UpdateStateFromPlacement();
      return CallDefault(msg, wParam, lParam);
    case WM_SETICON: {
      // The system redraws its own caption on a new icon: ours goes over it.
      LRESULT r = CallDefault(msg, wParam, lParam);
      RepaintNonClient();
      return r;
    }
    case WM_SETTEXT: {
      LRESULT r = CallDefault(msg, wParam, lParam);
      // Framework forms re-measure the frame in their hook; bare windows
      // (message boxes) only need the caption painted again.
      if (!m_form) RepaintNonClient();
      return r;
    }
    case WM_NCACTIVATE:
      m_active = LOBYTE(LOWORD(wParam));
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW:
        case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
          PostMessageA(Handle, WM_SYSCOMMAND, LOWORD(wParam), 0);
          return 0;
        default:
          return CallDefault(msg, wParam, lParam);
      }
    case WM_SYSCOMMAND:
      return OnSysCommand(msg, wParam, lParam);
    case CM_MENUCHANGED:
      return OnMenuChanged(msg, wParam, lParam);
    case WM_SKINMENUBAR:
      if (m_menuBar) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        OpenMenuBarItem(m_menuBar->FindMenuBarItem(WindowPoint(at.x, at.y)), false);
      }
      return 0;
    case WM_MENUSELECT:
      if (m_menuBar) m_menuBar->MenuSelected(wParam, lParam);
      return CallDefault(msg, wParam, lParam);
    default:
      break;
  }

  if (IsMaximisedMdiChild() || m_frameState == kFrameWaiting) return CallDefault(msg, wParam, lParam);
  switch (msg) {
    case WM_NCCALCSIZE:
      return OnNcCalcSize(wParam != FALSE, lParam, msg, wParam);
    case WM_NCHITTEST:
      return OnNcHitTest(msg, wParam, lParam);
    case WM_NCPAINT:
      return OnNcPaint(msg, wParam, lParam);
    case WM_NCACTIVATE:
      return OnNcActivate(wParam, lParam);
    case WM_SKINNCREDRAW:
      RepaintNonClient();
      return 0;
    case WM_NCMOUSEMOVE:
      return OnNcMouseMove(msg, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown(msg, wParam, lParam);
    case WM_NCLBUTTONUP:
      return OnNcLButtonUp(msg, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      return OnNcLButtonDblClk(msg, wParam, lParam);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      return OnNcRButton(msg, wParam, lParam);
    case WM_MEASUREITEM:
      return OnMeasureMenuItem(msg, wParam, lParam);
    case WM_DRAWITEM:
      return OnDrawMenuItem(msg, wParam, lParam);
    case WM_NCMOUSELEAVE:
      if (HotObject && !PressedObject) HotObject->MouseLeave();
      return CallDefault(msg, wParam, lParam);
    case WM_TIMER:
      if (wParam != m_hintTimer.Id()) return CallDefault(msg, wParam, lParam);
      OnHintTimer();
      return 0;
    default:
      return CallDefault(msg, wParam, lParam);
  }
}

void TWinSkinForm::FormHook(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      m_formHook.CallOld(m);
      if (IsWindowVisible(Handle)) {
        if (m_windowState == WindowShowState::Maximised)
          if (TSkinManageBase* manager = TSkinManageBase::Instance(); manager && manager->MDIClient)
            PostMessageA(manager->MDIClient, WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(Handle), 0);
        if (m_windowState == WindowShowState::Minimised) RepaintNonClient();
        else RecalcFrame();
      }
      return;
    case WM_SKINREFRESH:
      RefreshSkin();
      return;
    case CM_DIALOGCHAR:
      // The form's own handling comes first; an Alt+letter it left is the
      // skinned bar's when one of its items has that accelerator.
      m_formHook.CallOld(m);
      if (m.Result || GetKeyState(VK_MENU) >= 0) return;
      if (m_menuBar && m_menuBar->ItemForKey(static_cast<char>(m.WParam))) {
        PostMessageA(Handle, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(m.WParam));
        m.Result = 1;
        return;
      }
      if (TForm* next = DialogCharTarget()) m.Result = next->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
      return;
    case WM_SKINPRINTNC:
      if (m.LParam != SKIN_MAGIC) break;
      if (m.WParam) RepaintNonClient(reinterpret_cast<HDC>(m.WParam));
      m.Result = SKIN_MAGIC;
      return;
    case WM_SKINPING:
      m.Result = m.LParam == SKIN_MAGIC ? SKIN_MAGIC : 1;
      return;
    default:
      break;
  }
  m_formHook.CallOld(m);
}

TForm* TWinSkinForm::DialogCharTarget() const {
  // An MDI child's letters go on to its frame; any other form's to the main
  // form, unless this one is modal (the main form is disabled behind it).
  TForm* next = nullptr;
  if (m_mdiKind == MdiKind::Child) {
    HWND client = GetParent(Handle);
    next = dynamic_cast<TForm*>(ControlOfWindow(client ? GetParent(client) : nullptr));
  } else if (TApplication* application = CurrentApplication()) {
    next = application->MainForm();
  }
  if (!next || next == m_form || !next->HandleAllocated() || !IsWindowEnabled(next->Handle())) return nullptr;
  return next;
}

LRESULT TWinSkinForm::OnNcCalcSize(bool calcValid, LPARAM lParam, UINT msg, WPARAM wParam) {
  auto* rects = reinterpret_cast<RECT*>(lParam);
  Rect window = ToRect(rects[0]);
  CallDefault(msg, wParam, lParam);
  bool systemClient = (m_mdiKind == MdiKind::Child && m_windowState != WindowShowState::Normal) ||
                      m_class.border == BorderKind::None;
  if (!calcValid) {
    // Asked for the client area of a window rectangle: the skin's answer.
    if (!systemClient) rects[0] = ToRECT(SkinnedClientRect(window, m_metrics, m_menuHeight));
    return 0;
  }
  auto& params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  if (systemClient) {
    params.rgrc[1] = params.rgrc[0];
    return WVR_VALIDRECTS;
  }
  Rect client = SkinnedClientRect(window, m_metrics, m_menuHeight);
  if (m_windowState == WindowShowState::Maximised && m_mdiKind != MdiKind::Child) {
    // A zoomed window is placed with the system frame hanging off the
    // monitor; the skin's thinner frame would show that overhang, so the
    // client stays on the work area (visible only on real Windows).
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT wr = ToRECT(window);
    if (GetMonitorInfoA(MonitorFromRect(&wr, MONITOR_DEFAULTTONEAREST), &monitor))
      client = ClampToWorkArea(client, ToRect(monitor.rcWork));
  }
  params.rgrc[0] = ToRECT(client);
  params.rgrc[1] = params.rgrc[0];
  return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam) {
  int system = static_cast<int>(CallDefault(msg, wParam, lParam));
  Point p = WindowPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  return SkinHitTest(system, p, m_metrics.top, m_menuHeight);
}

LRESULT TWinSkinForm::OnNcActivate(WPARAM wParam, LPARAM) {
  m_active = LOBYTE(LOWORD(wParam));
  if (m_mdiKind == MdiKind::Frame)
    if (TSkinManageBase* manager = TSkinManageBase::Instance(); manager && manager->MDIClient)
      SendMessageA(manager->MDIClient, WM_NCACTIVATE, wParam, 0);
  // The system records the new activation state; lParam -1 asks it not to
  // paint its own caption (which would flash through ours on real Windows).
  CallDefault(WM_NCACTIVATE, wParam, m_mdiKind == MdiKind::Child ? 0 : -1);
  if (!IsMaximisedMdiChild()) RepaintNonClient();
  return 1;
}

LRESULT TWinSkinForm::OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam) {
  HideSysMenuBit();
  if (!m_skinData->FramePaintFlag) return 0;
  if (IsMaximisedMdiChild() || m_class.border == BorderKind::None) return CallDefault(msg, wParam, lParam);
  RepaintNonClient();
  return 0;
}

LRESULT TWinSkinForm::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam) {
  UINT command = static_cast<UINT>(wParam) & 0xFFF0;
  if (m_menuBar && m_menuBar->Tracking()) return CallDefault(msg, wParam, lParam);
  if (command == SC_KEYMENU && m_menuBar && lParam != ' ' && lParam != '-' && !GetCapture()) {
    // Alt or F10 alone opens the first item, Alt and a letter the item it
    // marks; a letter no item has is the system's (it beeps).
    TMenuBtn* item = lParam == 0 ? m_menuBar->FirstItem() : m_menuBar->ItemForKey(static_cast<char>(lParam));
    if (item) {
      OpenMenuBarItem(item, true);
      return 0;
    }
  }
  if (command == SC_KEYMENU && lParam == ' ') {
    // Alt+Space: the skin's window menu, at the client area's corner.
    POINT origin{0, 0};
    ClientToScreen(Handle, &origin);
    ShowSystemMenu(origin.x, origin.y);
    return 0;
  }
  switch (command) {
    case SC_MINIMIZE:
      m_windowState = WindowShowState::Minimised;
      RestoreSysMenuBit();
      break;
    case SC_MAXIMIZE: m_windowState = WindowShowState::Maximised; break;
    case SC_RESTORE:
      m_windowState = WindowShowState::Normal;
      if (m_mdiKind == MdiKind::Child)
        if (TSkinManageBase* manager = TSkinManageBase::Instance()) manager->MDIMaximized = false;
      break;
    default: break;
  }
  return CallDefault(msg, wParam, lParam);
}

LRESULT TWinSkinForm::MdiClientProcedure(HWND client, UINT msg, WPARAM wParam, LPARAM lParam) {
  TSkinManageBase* manager = TSkinManageBase::Instance();
  auto activeChildMaximised = [&] {
    BOOL maximised = FALSE;
    HWND active = reinterpret_cast<HWND>(WindowSubclass::CallNext(client, WM_MDIGETACTIVE, 0,
                                                                   reinterpret_cast<LPARAM>(&maximised)));
    return active != nullptr && maximised;
  };
  switch (msg) {
    case WM_NCDESTROY: {
      LRESULT r = WindowSubclass::CallNext(client, msg, wParam, lParam);
      m_mdiClientSubclass.Remove();
      m_mdiClient = nullptr;
      return r;
    }
    case WM_NCCALCSIZE:
      // The skinned frame has no room for the client's own scroll bars.
      if (m_frameSkinned && !m_skinData->Options.Contains(xoMDIScrollbar)) {
        LONG style = GetWindowLongA(client, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongA(client, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      break;
    case WM_MDICREATE:
      m_skinData->MenuUpdate = false;
      break;
    case WM_MDIDESTROY: {
      LRESULT r = WindowSubclass::CallNext(client, msg, wParam, lParam);
      if (m_frameSkinned && manager) {
        manager->SetMDIMaximized(activeChildMaximised());
        if (!WindowSubclass::CallNext(client, WM_MDIGETACTIVE, 0, 0)) {
          // The last child went: the bar shows the frame's own menu again.
          m_skinData->MenuUpdate = m_savedMenuUpdate;
          if (m_menuBar) m_menuBar->BuildItems();
        }
        RepaintNonClient();
      }
      return r;
    }
    case WM_MDISETMENU: {
      LRESULT r = WindowSubclass::CallNext(client, msg, wParam, lParam);
      // The new frame menu is the bar's; the frame itself keeps none.
      if (m_frameSkinned && wParam) {
        if (m_menuBar) m_menuBar->MenuChanged(true);
        else TakeMenuBar();
        if (GetMenu(Handle)) SetMenu(Handle, nullptr);
        RecalcFrame();
        RepaintNonClient();
      }
      return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (m_frameSkinned && manager && manager->MDIMaximized) manager->SetMDIMaximized(false);
      break;
    case WM_SKINMDIREDRAW:
      RedrawWindow(client, nullptr, nullptr, kMdiRedrawFlags);
      return 0;
    default:
      break;
  }
  return WindowSubclass::CallNext(client, msg, wParam, lParam);
}

}  // namespace corvane
