#include "skin/forms/WinSkinForm.h"

#include <windowsx.h>

#include <algorithm>

#include "pictures/WinRunRegion.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "pictures/WinSurface.h"
#include "platform/RectConversions.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/draw/WinElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

namespace {

// Undocumented non-client messages of the themed frame: answered 0 so the
// system's caption never draws itself over ours (only real Windows sends them).
constexpr UINT kThemedCaptionMessage1 = 0xAE;
constexpr UINT kThemedCaptionMessage2 = 0xAF;
constexpr UINT kMdiRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

bool IsWindowsVersion50() {
  DWORD v = GetVersion();
  return LOBYTE(LOWORD(v)) == 5 && HIBYTE(LOWORD(v)) == 0;
}

// The window's small icon (its big one scaled down when it has no small
// one) at `at`; a window without an icon shows nothing there.
void DrawWindowIcon(HWND window, HDC dc, Point at) {
  HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  int size = GetSystemMetrics(SM_CXSMICON);
  if (icon) DrawIconEx(dc, at.x, at.y, icon, size, size, 0, nullptr, DI_NORMAL);
}

// Copies part of the picture to the window, to the same place or to `to`.
void CopyToWindow(HDC dc, const OffscreenSurface& picture, const Rect& part) {
  BitBlt(dc, part.left, part.top, part.Width(), part.Height(), picture.Dc(), part.left, part.top, SRCCOPY);
}
void CopyToWindow(HDC dc, const OffscreenSurface& picture, const Rect& part, Point to) {
  BitBlt(dc, to.x, to.y, part.Width(), part.Height(), picture.Dc(), part.left, part.top, SRCCOPY);
}

}  // namespace

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner) {}

TWinSkinForm::~TWinSkinForm() {
  ReleaseSkin();
  if (TSkinManageBase* manager = TSkinManageBase::Instance()) manager->ForgetFormSkin(Handle);
}

// ------------------------------------------------------------------ start

void TWinSkinForm::StartFormSkin(TSkinData* skinData, TForm* form) {
  m_form = form;
  if (skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(this, Handle, WindowClass);
  if (skinData->SkinControls.Contains(xcMenuItem)) form->SetProperty("AutoScroll", std::string("False"));
  CommonStart(skinData);
  if (m_frameSkinned) m_formHook.Install(*form, [this](TMessage& m) { FormHook(m); });
  m_savedColour = form->Color();
  form->SetColor(skinData->Skin().Colours[SkinDefinition::kButtonFace]);
}

void TWinSkinForm::StartWindowSkin(TSkinData* skinData) { CommonStart(skinData); }

void TWinSkinForm::CommonStart(TSkinData* skinData) {
  if (m_subclass.Installed()) return;
  if (TSkinManageBase* manager = TSkinManageBase::Instance()) manager->State = kManageRunning;
  m_skinData = skinData;
  m_frameSkinned = skinData->SkinControls.Contains(xcMainMenu) && SkinHasFrame(skinData->Skin());

  m_style = static_cast<DWORD>(GetWindowLongA(Handle, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongA(Handle, GWL_EXSTYLE));
  if (WindowClass.empty()) WindowClass = WindowClassName(Handle);
  FrameFacts facts;
  facts.style = m_style;
  facts.exStyle = exStyle;
  facts.className = WindowClass;
  facts.hasSystemMenu = m_systemMenu != nullptr;
  facts.hasOwner = GetWindow(Handle, GW_OWNER) != nullptr;
  facts.systemVersion50 = IsWindowsVersion50();
  m_class = ClassifyFrame(facts);
  UpdateStateFromPlacement();

  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT))
    if (WindowClassName(child) == "MDIClient") {
      m_mdiKind = MdiKind::Frame;
      m_mdiClient = child;
      if (TSkinManageBase* manager = TSkinManageBase::Instance()) manager->MDIClient = child;
      break;
    }
  if (exStyle & WS_EX_MDICHILD) {
    m_mdiKind = MdiKind::Child;
    if (skinData->Options.Contains(xoMDIChildBorder)) m_frameSkinned = false;
  }
  m_unicodeWindow = IsWindowUnicode(Handle) != FALSE;

  TSkinManageBase* manager = TSkinManageBase::Instance();
  if (manager && manager->FormFlag && !m_class.isChild && m_frameSkinned && m_class.border != BorderKind::None)
    SetWindowLongA(Handle, GWL_STYLE, static_cast<LONG>(m_style & ~WS_VISIBLE));

  if (m_mdiKind == MdiKind::Frame) {
    m_savedMenuUpdate = skinData->MenuUpdate;
    m_mdiClientSubclass.Install(m_mdiClient, [this](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
      return MdiClientProcedure(w, msg, wp, lp);
    });
  }
  m_subclass.Install(Handle, [this](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return WindowProcedure(w, msg, wp, lp);
  });
  if (m_frameSkinned && m_mdiKind != MdiKind::Child) TakeMenuBar();
  if (m_frameSkinned) LoadFrameMetrics();
  else m_frameState = kFrameActive;
  if (m_mdiKind == MdiKind::Child && m_windowState == WindowShowState::Maximised && manager &&
      !manager->MDIMaximized)
    manager->SetMDIMaximized(true);
}

void TWinSkinForm::LoadFrameMetrics() {
  if (!m_skinData || m_skinData->SkinEmpty()) return;
  m_metrics = corvane::LoadFrameMetrics(m_skinData->Skin(), m_class.border);
  if (m_class.border == BorderKind::None) m_menuHeight = 0;
  FreeCaptionButtons();
  SyncCaptionButtons();
}

void TWinSkinForm::OnSkinStart() {
  if (m_started) return;
  m_started = true;
  m_systemMenu = GetSystemMenu(Handle, FALSE);
  m_hadMenu = m_hadMenu || GetMenu(Handle) != nullptr;
  RECT client{};
  GetClientRect(Handle, &client);
  // Taking the menu bar off the window grew its client area; the skinned
  // frame keeps the client the window had with its bar, and the system
  // frame measured here includes the bar it gets back on unskinning.
  if (m_clientBeforeMenuBar) client = *m_clientBeforeMenuBar;
  m_savedClient = ToRect(client);
  Rect window = WindowRectOf(Handle);
  m_systemFrameSize = {window.Width() - client.right, window.Height() - client.bottom};
  if (TSkinManageBase* manager = TSkinManageBase::Instance(); manager && manager->FormFlag) {
    manager->FormFlag = 0;
    if (!(GetWindowLongA(Handle, GWL_STYLE) & WS_VISIBLE))
      SetWindowLongA(Handle, GWL_STYLE, GetWindowLongA(Handle, GWL_STYLE) | WS_VISIBLE);
  }
  SkinControls();
  if (m_form) m_menus.HandOver(*m_skinData, *m_form);
  if (m_frameState == kFrameWaiting) {
    if (m_mdiKind == MdiKind::Child) {
      if (m_windowState == WindowShowState::Maximised) {
        if (TSkinManageBase* manager = TSkinManageBase::Instance(); manager && manager->MDIClient)
          PostMessageA(manager->MDIClient, WM_SKINMDIREDRAW, reinterpret_cast<WPARAM>(Handle), 0);
      } else if (m_windowState == WindowShowState::Normal) {
        m_frameState = kFrameResizing;
        ResizeToSkinFrame(false);
        m_frameState = kFrameActive;
        ApplyRegion();
      }
    } else if (!m_class.isChild && m_class.border != BorderKind::None &&
               m_windowState != WindowShowState::Minimised) {
      m_frameState = kFrameResizing;
      ResizeToSkinFrame(false);
      m_frameState = kFrameActive;
      if (m_windowState == WindowShowState::Maximised) RecalcFrame();
      else ApplyRegion();
    }
  }
  SendMessageA(Handle, WM_SKINNOTIFY, 0, SKIN_MAGIC);
  if (m_skinData->OnAfterSkinForm) m_skinData->OnAfterSkinForm(m_form, Handle, WindowClass);
  m_frameState = kFrameActive;
  // Whatever was drawn before the start was the system's: paint ours now.
  if (m_frameSkinned) RepaintNonClient();
}

void TWinSkinForm::SkinControls() {
  // Framework controls through the control class rules, bare child windows
  // through the window class rules.
  if (!m_skinData || m_skinData->SkinEmpty()) return;
  if (ControlSkinning) ControlSkinning->SkinControls(*this, *m_skinData, m_form, Handle, m_controlSkins);
}

void TWinSkinForm::RefreshControlSkins() {
  if (ControlSkinning) ControlSkinning->SkinsChanged(m_controlSkins);
  if (m_started) SkinControls();
}

void TWinSkinForm::SkinChildWindow(HWND child) {
  if (!m_skinData || m_skinData->SkinEmpty()) return;
  if (ControlSkinning) ControlSkinning->SkinChildWindow(*this, *m_skinData, m_controlSkins, child);
}

bool TWinSkinForm::RegisterControlSkin(TComponent* skin) {
  if (std::find(m_controlSkins.begin(), m_controlSkins.end(), skin) != m_controlSkins.end()) return true;
  m_controlSkins.push_back(skin);
  return false;
}

void TWinSkinForm::UnregisterControlSkin(TComponent* skin) {
  auto it = std::find(m_controlSkins.rbegin(), m_controlSkins.rend(), skin);
  if (it != m_controlSkins.rend()) m_controlSkins.erase(std::next(it).base());
}

void TWinSkinForm::FreeControlSkins() {
  // Unskinning restores every live control first; a window going away only
  // lets its skins go.
  bool restore = m_frameState != kFrameDestroying && m_frameState != kFrameDestroyed;
  if (ControlSkinning) ControlSkinning->ReleaseSkins(m_controlSkins, restore);
}

// --------------------------------------------------------------- resizing

void TWinSkinForm::ResizeToSkinFrame(bool currentClient) {
  constexpr UINT kFrameOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  if (m_windowState == WindowShowState::Maximised) {
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0, kFrameOnly);
    return;
  }
  Size client{m_savedClient.right, m_savedClient.bottom};
  if (m_class.isMessageBox || currentClient || m_frameState == kFrameRefreshing) {
    RECT r{};
    GetClientRect(Handle, &r);
    client = {r.right, r.bottom};
  }
  Size window = SkinnedWindowSize(client, m_metrics, m_menuHeight);
  // Only at the start: a message box's caption must fit its skinned frame.
  if (m_class.isMessageBox && m_frameState == kFrameResizing) WidenMessageBox(window.width);
  SetWindowPos(Handle, nullptr, 0, 0, window.width, window.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::WidenMessageBox(int& width) {
  const TDataSkinTitle& title = m_skinData->Skin().Title;
  std::wstring text = CaptionText();
  WindowDC screen(nullptr);
  SelectGuard font(screen.Get(), m_skinData->CaptionFont() ? m_skinData->CaptionFont()
                                                           : GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  int needed = title.LeftWidth + extent.cx + title.RightWidth;
  int shift = MessageBoxChildShift(width, needed);
  if (shift == 0) return;
  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(Handle, &p);
    SetWindowPos(child, nullptr, p.x + shift, p.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  }
  width = needed;
}

void TWinSkinForm::RecalcFrame() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::UpdateStateFromPlacement() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(Handle, &placement)) m_windowState = ShowStateFromShowCmd(placement.showCmd);
}

bool TWinSkinForm::IsMaximisedMdiChild() const {
  return m_mdiKind == MdiKind::Child && m_windowState == WindowShowState::Maximised;
}

Point TWinSkinForm::WindowPoint(int screenX, int screenY) const {
  POINT p{screenX, screenY};
  ScreenToClient(Handle, &p);
  if (m_mdiKind == MdiKind::Child && m_windowState == WindowShowState::Minimised) return {p.x, p.y};
  return WindowPointFromClient({p.x, p.y}, m_metrics, m_menuHeight);
}

// ------------------------------------------------------------- unskinning

void TWinSkinForm::Unskin() {
  if (!m_subclass.Installed() && !m_formHook.Installed()) return;
  bool destroying = m_frameState == kFrameDestroying;
  FreeCaptionButtons();
  m_skinSystemMenu.reset();
  m_formHook.Remove();
  FreeControlSkins();
  if (m_form && !destroying) m_menus.GiveBack(*m_form);
  if (m_form && !destroying) m_form->SetColor(m_savedColour);
  m_mdiClientSubclass.Remove();
  if (!m_frameSkinned) {
    m_subclass.Remove();
    if (m_form && !destroying) m_form->Invalidate();
    return;
  }
  RestoreSysMenuBit();
  m_subclass.Remove();
  const bool hadMenuBar = m_menuBar != nullptr;
  GiveMenuBarBack();
  LONG style = GetWindowLongA(Handle, GWL_STYLE);
  bool resize = !destroying && (m_mdiKind == MdiKind::Child || !(style & WS_CHILD)) && m_started &&
                m_frameState != kFrameWaiting;
  if (resize) {
    Rect window = WindowRectOf(Handle);
    POINT at{window.left, window.top};
    if (m_mdiKind == MdiKind::Child) ScreenToClient(GetParent(Handle), &at);
    Size size = UnskinnedWindowSize({window.Width(), window.Height()}, m_systemFrameSize, m_metrics);
    // The strip goes; the system frame measured at the start holds the bar.
    if (hadMenuBar) size.height -= m_menuHeight;
    SetWindowPos(Handle, nullptr, at.x, at.y, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  SetWindowRgn(Handle, nullptr, TRUE);
  m_regionSet = false;
  m_regionSize = {};
  m_menuHeight = 0;
  if (m_form && !destroying) m_form->Invalidate();
}

void TWinSkinForm::ReleaseSkin() {
  // The window is going: the menu stays where it is, the bar's objects go.
  m_menuBar.reset();
  FreeCaptionButtons();
  m_skinSystemMenu.reset();
  m_formHook.Remove();
  m_subclass.Remove();
  m_mdiClientSubclass.Remove();
  FreeControlSkins();
}

void TWinSkinForm::OnNcDestroy() {
  m_frameState = kFrameDestroying;
  ReleaseSkin();
  m_form = nullptr;
}

// --------------------------------------------------------------- refresh

void TWinSkinForm::ReloadSkin() {
  if (m_frameSkinned && !m_skinData->SkinEmpty() && !SkinHasFrame(m_skinData->Skin())) {
    // The new skin has no caption: give the window its system frame back
    // and keep only the client-area services.
    Unskin();
    m_started = false;
    CommonStart(m_skinData);
    OnSkinStart();
    return;
  }
  LoadFrameMetrics();
  m_framePicture.reset();
  RepaintNonClient();
}

void TWinSkinForm::RefreshSkin() {
  Colour face = m_skinData->Skin().Colours[SkinDefinition::kButtonFace];
  if (m_form) {
    m_form->SetColor(face);
    for (int i = 0; i < Screen().FormCount(); ++i)
      if (Screen().Forms(i)->Owner() == m_form) Screen().Forms(i)->SetColor(face);
  }
  m_frameState = kFrameRefreshing;
  if (m_form) m_menus.HandOver(*m_skinData, *m_form);
  if (m_frameSkinned && m_form) {
    ResizeToSkinFrame(true);
    // A height change and back makes the form lay its controls out again.
    m_form->SetHeight(m_form->Height() + 1);
    m_form->SetHeight(m_form->Height() - 1);
  }
  SendMessageA(Handle, WM_SKINNOTIFY, 0, SKIN_MAGIC);
  if (m_skinData->OnAfterSkinForm) m_skinData->OnAfterSkinForm(m_form, Handle, WindowClass);
  m_frameState = kFrameActive;
}

// -------------------------------------------------------- system-menu bit

void TWinSkinForm::HideSysMenuBit() {
  // Without the bit the system neither draws nor hit-tests its own caption
  // buttons over ours (on real Windows it draws them on hover). The bit comes
  // back whenever the system menu opens (Alt+Space), before minimising and
  // when unskinning. Whether a taskbar button's window menu misses it in
  // between only real Windows can show (this program's windows have none).
  if (m_class.buttons & kFrameKeepSysMenuBit) return;
  LONG style = GetWindowLongA(Handle, GWL_STYLE);
  if (!(style & WS_SYSMENU)) return;
  m_hadSysMenuBit = true;
  SetWindowLongA(Handle, GWL_STYLE, style & ~WS_SYSMENU);
}

void TWinSkinForm::RestoreSysMenuBit() {
  if (!m_hadSysMenuBit || (m_class.buttons & kFrameKeepSysMenuBit)) return;
  LONG style = GetWindowLongA(Handle, GWL_STYLE);
  if (!(style & WS_SYSMENU)) SetWindowLongA(Handle, GWL_STYLE, style | WS_SYSMENU);
}

// ------------------------------------------------------------- dispatcher

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
      return 0;
    case WM_SKINQUERY:
      PostMessageA(Handle, WM_SKINNOTIFY, 0, SKIN_MAGIC);
      return 1;
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
      if (wParam != m_hoverTimer.Id()) return CallDefault(msg, wParam, lParam);
      OnHoverTick();
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
      if (!m.Result && m_menuBar && GetKeyState(VK_MENU) < 0 &&
          m_menuBar->ItemForKey(static_cast<char>(m.WParam))) {
        PostMessageA(Handle, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(m.WParam));
        m.Result = 1;
      }
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
        if (!WindowSubclass::CallNext(client, WM_MDIGETACTIVE, 0, 0)) m_skinData->MenuUpdate = m_savedMenuUpdate;
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

// ------------------------------------------------------------- tool bars

void TWinSkinForm::ToolbarBackground(HDC dc, const RECT& area) const {
  const SkinDefinition& skin = m_skinData->Skin();
  if (!skin.Toolbar || skin.Toolbar->Bitmap.IsEmpty() || m_skinData->Options.Contains(xoToolbarBK)) return;
  Rect target = ToRect(area);
  if (target.IsEmpty()) return;
  Surface picture(target.Width(), target.Height());
  StretchCopy(picture.View(), picture.View().Bounds(), skin.Toolbar->Bitmap.View(),
              skin.Toolbar->Bitmap.View().Bounds());
  BlitSurface(dc, {area.left, area.top}, picture.View());
}

bool TWinSkinForm::ToolbarButton(HDC dc, const RECT& bounds, unsigned state) const {
  const SkinDefinition& skin = m_skinData->Skin();
  const TDataSkinButton& buttons = skin.Buttons;
  if (buttons.Bitmap.IsEmpty() || m_frameState != kFrameActive || m_skinData->Options.Contains(xoToolbarButton))
    return false;
  int cell = ToolbarButtonCell(state);
  if (cell == 0) return false;
  bool defined = cell == 1 ? buttons.HasNormalColour2 : cell == 4 ? buttons.HasMouseOverColour2 : buttons.HasPressedColour2;
  Colour text = cell == 1 ? buttons.NormalColour2 : cell == 4 ? buttons.MouseOverColour2 : buttons.PressedColour2;
  if (defined) SetTextColor(dc, static_cast<COLORREF>(ResolveColour(text, skin.System())) & 0xFFFFFF);
  Rect target{bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1};
  if (target.IsEmpty()) return false;
  Surface picture = BuildElementBitmap({0, 0, target.Width(), target.Height()}, buttons.Bitmap,
                                       {buttons.LeftWidth, buttons.TopHeight, buttons.RightWidth, buttons.BottomHeight},
                                       false, false, 5, cell);
  if (buttons.Trans) BlitSurfaceKeyed(dc, {target.left, target.top}, picture.View(), kColourKey);
  else BlitSurface(dc, {target.left, target.top}, picture.View());
  return true;
}

// -------------------------------------------------------------- painting

std::wstring TWinSkinForm::CaptionText() const {
  std::wstring text;
  if (m_unicodeWindow) {
    int n = GetWindowTextLengthW(Handle);
    text.resize(static_cast<std::size_t>(n) + 1);
    text.resize(static_cast<std::size_t>(GetWindowTextW(Handle, text.data(), n + 1)));
  } else {
    char buffer[1000] = {};
    SendMessageA(Handle, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    int n = MultiByteToWideChar(CP_ACP, 0, buffer, -1, nullptr, 0);
    text.resize(static_cast<std::size_t>(std::max(n, 1)));
    MultiByteToWideChar(CP_ACP, 0, buffer, -1, text.data(), n);
    text.resize(text.size() - 1);
  }
  return L" " + text + L"  ";
}

void TWinSkinForm::PaintCaption(OffscreenSurface& picture, const Rect& caption) {
  const SkinDefinition& skin = m_skinData->Skin();
  const TDataSkinBorder& top = skin.BorderTop;
  bool active = m_active != 0;
  Surface bar = ComposeBorder(top, {caption.Width(), caption.Height()}, true,
                              BorderCell(active, std::max(1, top.Frame)));
  StretchCopy(picture.View(), caption, bar.View(), bar.View().Bounds());

  HDC dc = picture.Dc();
  std::wstring text = CaptionText();
  SelectGuard font(dc, m_skinData->CaptionFont() ? m_skinData->CaptionFont()
                                                 : GetStockObject(DEFAULT_GUI_FONT));
  RECT measured = ToRECT(caption);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  const TDataSkinTitle& title = skin.Title;
  CaptionTextInput in;
  in.caption = caption;
  in.text = {measured.right - measured.left, measured.bottom - measured.top};
  in.textShift = title.LeftWidth;
  in.textShiftVert = title.TopHeight;
  in.textRightClip = title.RightWidth;
  in.alignment = title.TextAlignment;
  in.backLeft = title.TXTBackleft;
  in.backRight = title.TXTBackRight;
  in.rightButtonsWidth = RightButtonsWidth(skin.CaptionButtons, CaptionFacts());
  in.rightToLeft = m_class.rightToLeft;
  in.popup = (GetWindowLongA(Handle, GWL_STYLE) & WS_POPUP) != 0;
  in.border = m_class.border;
  CaptionTextLayout layout = LayoutCaptionText(in);
  m_textRect = layout.textRect;
  if (!title.Bitmap.IsEmpty()) {
    GdiFlush();
    DrawStrip(picture.View(), {layout.textRect.left, caption.top, layout.textRect.right, caption.bottom},
              title.Bitmap, true, true, 2, active ? 1 : 2, {title.TXTBackleft, 0, title.TXTBackRight, 0});
  }
  Colour colour = skin.Colours[active ? SkinDefinition::kTitleTextActive : SkinDefinition::kTitleTextNoActive];
  SetTextColor(dc, static_cast<COLORREF>(ResolveColour(colour, skin.System())) & 0xFFFFFF);
  SetBkMode(dc, TRANSPARENT);
  RECT draw = ToRECT(layout.drawRect);
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (m_class.rightToLeft) format |= DT_RIGHT | DT_RTLREADING;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &draw, format);
  SetBkMode(dc, OPAQUE);
  GdiFlush();
  PaintCaptionButtons(picture);
}

CaptionWindowFacts TWinSkinForm::CaptionFacts() const {
  CaptionWindowFacts facts;
  facts.maximised = m_windowState == WindowShowState::Maximised;
  facts.active = m_active != 0;
  facts.frameButtons = m_class.buttons;
  facts.border = m_class.border;
  facts.isMessageBox = m_class.isMessageBox;
  HWND window = Handle;
  facts.askWindow = [window](int visibility, int action) {
    return static_cast<int>(SendMessageA(window, WM_SKINBUTTONVISIBLE, visibility, action));
  };
  return facts;
}

void TWinSkinForm::PaintCaptionButtons(OffscreenSurface& picture) {
  SyncCaptionButtons();
  const SkinDefinition& skin = m_skinData->Skin();
  // The strip under the buttons, kept for repainting one button alone.
  const Size strip{m_paintSize.width, std::min(m_metrics.top, m_paintSize.height)};
  if (m_captionBack.Width() != strip.width || m_captionBack.Height() != strip.height)
    m_captionBack = Surface(strip.width, strip.height);
  StretchCopy(m_captionBack.View(), m_captionBack.View().Bounds(), picture.View(), m_captionBack.View().Bounds());
  // A full repaint shows every button in its resting state.
  if (HotObject) HotObject->State = kNcNormal;
  HotObject = nullptr;

  CaptionWindowFacts facts = CaptionFacts();
  CaptionButtonPlace place{m_paintSize, m_textRect, m_metrics, m_menuHeight,
                           skin.MenuBar ? skin.MenuBar->LeftWidth : 0, GetSystemMetrics(SM_CXSMICON)};
  for (const auto& button : m_captionButtons) {
    const TDataSkinSysButton& b = *button->Element;
    CaptionButtonState state = EvaluateCaptionButton(b, facts);
    button->Visible = state.visible;
    button->Enabled = state.enabled;
    if (!state.visible || (b.Bitmap.IsEmpty() && !IsIconButton(b.Action))) continue;
    button->Bounds = LayoutCaptionButton(b, place);
    // Buttons of the menu strip belong to the menu bar.
    if (b.Visibility == 100) continue;
    if (IsIconButton(b.Action)) {
      DrawWindowIcon(Handle, picture.Dc(), {button->Bounds.left, button->Bounds.top});
      GdiFlush();
    } else {
      DrawFrameCell(picture.View(), button->Bounds, b.Bitmap, true, std::max(1, b.Frame),
                    CaptionButtonCell(b, facts.active, state.enabled));
    }
  }
}

// ---------------------------------------------------------- caption buttons

void TWinSkinForm::SyncCaptionButtons() {
  if (!m_skinData) return;
  const auto& elements = m_skinData->Skin().CaptionButtons;
  if (m_buttonsGeneration == m_skinData->SkinGeneration() && m_captionButtons.size() == elements.size()) return;
  FreeCaptionButtons();
  m_buttonsGeneration = m_skinData->SkinGeneration();
  for (const auto& element : elements) m_captionButtons.push_back(std::make_unique<TWinSysButton>(this, element.get()));
}

void TWinSkinForm::FreeCaptionButtons() {
  StopMouseTracking();
  m_captionButtons.clear();
}

void TWinSkinForm::StopMouseTracking() {
  m_hoverTimer.Stop();
  if (m_skinData) m_skinData->HideCaptionHint();
  m_hoverCounter = 0;
  HotObject = nullptr;
  PressedObject = nullptr;
}

void TWinSkinForm::PaintCaptionButton(TWinSysButton& button) {
  if (!button.Visible || m_frameState != kFrameActive || !m_frameSkinned) return;
  const TDataSkinSysButton& b = *button.Element;
  Rect r = button.Bounds.Intersect(m_captionBack.View().Bounds());
  if (r.IsEmpty()) return;
  try {
    OffscreenSurface picture(r.Width(), r.Height());
    if (!picture.Valid()) return;
    Rect local{0, 0, r.Width(), r.Height()};
    StretchCopy(picture.View(), local, m_captionBack.View(), r);
    Rect cell = button.Bounds.Offset(-r.left, -r.top);
    if (IsIconButton(b.Action)) {
      DrawWindowIcon(Handle, picture.Dc(), {cell.left, cell.top});
    } else {
      DrawFrameCell(picture.View(), cell, b.Bitmap, true, std::max(1, b.Frame),
                    CaptionButtonStateCell(b, button.State, button.Enabled));
    }
    GdiFlush();
    WindowDC dc(Handle, true);
    if (dc.Get()) CopyToWindow(dc.Get(), picture, local, {r.left, r.top});
    ++m_buttonPaints;
  } catch (...) {
    // A button that cannot be drawn now is drawn with the next frame.
  }
}

void TWinSkinForm::ResetHover() {
  if (m_skinData) m_skinData->HideCaptionHint();
  m_hoverCounter = 0;
}

void TWinSkinForm::HoverStarted() {
  m_hoverTimer.Start(Handle);
  // Into the client area no non-client move arrives: the leave notice puts
  // the button back at once rather than at the next hover tick.
  TrackMouseLeave(Handle, true);
}

TNCObject* TWinSkinForm::ObjectAt(Point p) {
  SyncCaptionButtons();
  if (TNCObject* button = FindCaptionButton(m_captionButtons, p)) return button;
  return m_menuBar ? m_menuBar->FindMenuBarItem(p) : nullptr;
}

void TWinSkinForm::OnHoverTick() {
  // The open bar item stays pressed while its menu is open.
  if (m_menuBar && m_menuBar->Tracking()) return;
  if (!HotObject) {
    m_hoverTimer.Stop();
    return;
  }
  if (!m_active) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  Point p = WindowPoint(cursor.x, cursor.y);
  if (!HotObject->Bounds.Contains(p)) {
    HotObject->MouseLeave();
    HotObject = nullptr;
    ResetHover();
    m_hoverTimer.Stop();
    return;
  }
  auto* button = dynamic_cast<TWinSysButton*>(HotObject);
  if (!button) return;
  TApplication& app = Application();
  switch (HoverHintStep(m_hoverCounter, app.HintPause, app.HintHidePause)) {
    case HintStep::Show: {
      std::string text = CaptionHintText(button->Element->Action);
      if (text.empty()) break;
      Rect window = WindowRectOf(Handle);
      RECT at{button->Bounds.left + window.left, cursor.y + 24, 0, 0};
      m_skinData->ShowCaptionHint(at, text);
      break;
    }
    case HintStep::Hide: m_skinData->HideCaptionHint(); break;
    case HintStep::Keep: break;
  }
}

bool TWinSkinForm::CloseAvailable() const {
  if (!m_systemMenu) return false;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  return GetMenuItemInfoA(m_systemMenu, SC_CLOSE, FALSE, &info) != FALSE;
}

void TWinSkinForm::RunAction(TWinSysButton& button, POINT screen) {
  const int action = button.Element->Action;
  auto toActiveChild = [this](UINT command) {
    if (m_mdiKind != MdiKind::Frame || !m_mdiClient) return;
    if (HWND child = reinterpret_cast<HWND>(SendMessageA(m_mdiClient, WM_MDIGETACTIVE, 0, 0)))
      SendMessageA(child, WM_SYSCOMMAND, command, 0);
  };
  switch (action) {
    case 0:
      if (!CloseAvailable()) break;
      m_hoverTimer.Stop();
      PostMessageA(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case 1: case 22: if (button.Enabled) MaximiseWindow(); break;
    case 2: case 23: if (button.Enabled) MinimiseWindow(); break;
    case 3: case 11: case 12: ShowSystemMenu(screen.x + 1, screen.y + 1); break;
    case 4: PostMessageA(Handle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case 7: case 60: toActiveChild(SC_MINIMIZE); break;
    case 8: case 61: toActiveChild(SC_RESTORE); break;
    case 9: case 62: toActiveChild(SC_CLOSE); break;
    default: PostMessageA(Handle, WM_SKINBUTTONACTION, static_cast<WPARAM>(action), 0); break;
  }
}

void TWinSkinForm::RestoreWindow() {
  m_windowState = WindowShowState::Normal;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::MaximiseWindow() {
  if (m_windowState == WindowShowState::Maximised) return RestoreWindow();
  if (m_mdiKind == MdiKind::Child)
    if (TSkinManageBase* manager = TSkinManageBase::Instance()) manager->SetMDIMaximized(true);
  m_windowState = WindowShowState::Maximised;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TWinSkinForm::MinimiseWindow() {
  if (m_windowState == WindowShowState::Minimised) return RestoreWindow();
  m_windowState = WindowShowState::Minimised;
  RestoreSysMenuBit();
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// ------------------------------------------------------ skin system menu

void TWinSkinForm::ShowSystemMenu(int x, int y) {
  DWORD now = GetTickCount();
  // Unsigned difference: right across the tick counter's wrap.
  if (now - m_lastMenuClick > m_doubleClickTime) {
    if (TSkinManageBase* manager = TSkinManageBase::Instance()) manager->MenuSource = kMenuFromSystem;
    m_lastMenuClick = now;
    BuildSkinSystemMenu();
    m_skinSystemMenu->Popup(x, y);
  } else if (HotObject) {
    // The icon button clicked twice: the window closes, as the system's
    // window icon does.
    m_hoverTimer.Stop();
    PostMessageA(Handle, WM_CLOSE, 0, 0);
  }
}

void TWinSkinForm::BuildSkinSystemMenu() {
  m_skinSystemMenu.reset();
  m_skinSystemMenu = std::make_unique<TPopupMenu>(nullptr);
  TPopupMenu& menu = *m_skinSystemMenu;
  menu.Tag = kSkinSystemMenuTag;
  menu.Images = &m_skinData->MenuGlyphs();
  PaintWithSkin(*m_skinData, menu);
  if (!(m_class.buttons & kFrameSystemMenu) || !m_systemMenu) return;
  HWND window = Handle;
  const int count = GetMenuItemCount(m_systemMenu);
  for (int position = 0; position < count; ++position) {
    char text[81] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(m_systemMenu, static_cast<UINT>(position), TRUE, &info)) continue;
    SkinSystemMenuEntry entry = SystemMenuEntryFor(info.wID, info.fState, m_windowState, m_class.buttons, m_class.border);
    TMenuItem& item = menu.Create<TMenuItem>();
    item.SetCaption(text[0] ? std::string(text) : std::string("-"));
    item.Tag = static_cast<std::intptr_t>(info.wID);
    item.SetImageIndex(entry.imageIndex);
    item.SetEnabled(entry.enabled);
    item.SetChecked(entry.checked);
    item.Default = (info.fState & MFS_DEFAULT) != 0;
    item.OnClick = [window](TObject* sender) {
      PostMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(static_cast<TMenuItem*>(sender)->Tag), 0);
    };
    menu.Add(item);
  }
}

// ---------------------------------------------------- bare menu items

LRESULT TWinSkinForm::OnMeasureMenuItem(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!mis || mis->CtlType != ODT_MENU || !m_hadMenu) return CallDefault(msg, wParam, lParam);
  if (TMenuItem* item = BarMenuItem(mis->itemID)) {
    WindowDC dc(Handle);
    SelectGuard font(dc.Get(), MenuFont());
    int w = 0, h = 0;
    item->Menu()->MeasureItem(*item, dc.Get(), w, h);
    MeasureMainMenuItem(*m_skinData, *item, w, h);
    mis->itemWidth = static_cast<UINT>(std::max(w, 0));
    mis->itemHeight = static_cast<UINT>(std::max(h, 0));
    return TRUE;
  }
  // Every other framework item is its own menu's to measure.
  if (m_form && TMenu::FindItem(mis->itemID)) return CallDefault(msg, wParam, lParam);
  // The menu about to open holds the item; the window's own menu otherwise.
  std::string text = HandleItemText(m_activeMenu ? m_activeMenu : GetMenu(Handle), mis->itemID);
  WindowDC dc(Handle);
  MeasureHandleItem(*m_skinData, text, dc.Get(), mis->itemWidth, mis->itemHeight);
  return TRUE;
}

LRESULT TWinSkinForm::OnDrawMenuItem(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (!dis || dis->CtlType != ODT_MENU || !m_hadMenu) return CallDefault(msg, wParam, lParam);
  if (TMenuItem* item = BarMenuItem(dis->itemID)) {
    SelectGuard font(dis->hDC, MenuFont());
    DrawMenuItem(*m_skinData, item->ParentHandle(), LookOf(*item), dis->hDC, dis->rcItem, dis->itemState);
    return TRUE;
  }
  if (m_form && TMenu::FindItem(dis->itemID)) return CallDefault(msg, wParam, lParam);
  HMENU menu = reinterpret_cast<HMENU>(dis->hwndItem);
  DrawMenuItem(*m_skinData, menu, LookOfHandleItem(menu, dis->itemID), dis->hDC, dis->rcItem, dis->itemState);
  return TRUE;
}

TMenuItem* TWinSkinForm::BarMenuItem(UINT command) const {
  if (!m_form || !m_form->Menu()) return nullptr;
  TMenuItem* item = TMenu::FindItem(command);
  return item && item->Menu() == m_form->Menu() ? item : nullptr;
}

// ------------------------------------------------------------- menu bar

void TWinSkinForm::TakeMenuBar() {
  if (!GetMenu(Handle)) return;
  m_hadMenu = true;
  RECT before{};
  GetClientRect(Handle, &before);
  auto bar = std::make_unique<TWinSkinMenu>(*this);
  // A menu without items stays the window's own.
  if (!bar->BuildItems()) return;
  m_menuBar = std::move(bar);
  m_clientBeforeMenuBar = before;
  m_menuHeight = GetSystemMetrics(SM_CYMENU);
}

void TWinSkinForm::GiveMenuBarBack() {
  if (!m_menuBar) return;
  if (HotObject && dynamic_cast<TMenuBtn*>(HotObject)) HotObject = nullptr;
  if (PressedObject && dynamic_cast<TMenuBtn*>(PressedObject)) PressedObject = nullptr;
  m_menuBar->GiveMenuBack();
  m_menuBar.reset();
}

void TWinSkinForm::OpenMenuBarItem(TMenuBtn* item, bool byKeyboard) {
  if (!item || !m_menuBar) return;
  m_skinData->HideCaptionHint();
  m_menuBar->OpenMenuBarItem(item, byKeyboard);
  // A change that came while the menu was open is taken now: the menu it
  // would have rebuilt was on the screen.
  if (m_menuChangedWhileOpen) {
    m_menuChangedWhileOpen = false;
    PostMessageA(Handle, CM_MENUCHANGED, 0, 0);
  }
}

LRESULT TWinSkinForm::OnMenuChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_menuBar && m_menuBar->Tracking()) {
    m_menuChangedWhileOpen = true;
    return 0;
  }
  m_skinData->FramePaintFlag = 0;
  LRESULT r = CallDefault(msg, wParam, lParam);
  m_skinData->FramePaintFlag = 1;
  if (m_menuBar && GetMenu(Handle)) {
    m_menuBar->MenuChanged(m_skinData->MenuUpdate);
    RepaintNonClient();
  }
  return r;
}

// ------------------------------------------------ non-client mouse messages

LRESULT TWinSkinForm::OnNcMouseMove(UINT msg, WPARAM wParam, LPARAM lParam) {
  // An inactive window shows no hot buttons.
  if (!m_active) return 0;
  // A press whose release went elsewhere is over.
  if (GetKeyState(VK_LBUTTON) >= 0) PressedObject = nullptr;
  if (TNCObject* object = ObjectAt(WindowPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) {
    object->MouseEnter();
    return 0;
  }
  if (HotObject) {
    HotObject->MouseLeave();
    HotObject = nullptr;
  }
  return CallDefault(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) {
  m_skinData->HideCaptionHint();
  if (TNCObject* object = ObjectAt(WindowPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) {
    if (!m_active) SetForegroundWindow(Handle);
    if (auto* item = dynamic_cast<TMenuBtn*>(object)) {
      // The bar opens on the press, as the system's own.
      OpenMenuBarItem(item, false);
      return 0;
    }
    object->MouseDown();
    HoverStarted();
    return 0;
  }
  // A zoomed window cannot be dragged by its caption.
  if (m_windowState == WindowShowState::Maximised && m_active && wParam == HTCAPTION)
    return CallDefault(msg, HTMENU, lParam);
  return CallDefault(msg, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) {
  m_skinData->HideCaptionHint();
  TNCObject* object = ObjectAt(WindowPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
  if (!object) {
    PressedObject = nullptr;
    return CallDefault(msg, wParam, lParam);
  }
  if (ReleaseOver(*this, object))
    if (auto* button = dynamic_cast<TWinSysButton*>(object))
      RunAction(*button, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  return 0;
}

LRESULT TWinSkinForm::OnNcLButtonDblClk(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (TNCObject* object = ObjectAt(WindowPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))) {
    auto* button = dynamic_cast<TWinSysButton*>(object);
    if (button && IsIconButton(button->Element->Action)) {
      m_hoverTimer.Stop();
      PostMessageA(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return 0;
  }
  if (wParam != HTCAPTION) return CallDefault(msg, wParam, lParam);
  if (m_windowState != WindowShowState::Normal) RestoreWindow();
  else if (m_class.buttons & kFrameMaximize) MaximiseWindow();
  else return CallDefault(msg, wParam, lParam);
  return 0;
}

LRESULT TWinSkinForm::OnNcRButton(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (wParam != HTCAPTION || m_mdiKind == MdiKind::Child) return CallDefault(msg, wParam, lParam);
  // The release is swallowed too: its default would open the system's own
  // window menu over ours.
  if (msg == WM_NCRBUTTONDOWN) {
    m_skinData->HideCaptionHint();
    ShowSystemMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  }
  return 0;
}

void TWinSkinForm::RepaintNonClient(HDC given) {
  if (m_frameState != kFrameActive && m_frameState != kFrameRefreshing) return;
  if (m_class.border == BorderKind::None || IsMaximisedMdiChild() || !m_frameSkinned) return;
  // A skin that failed to reload keeps its previous pictures: the frame is
  // painted from those rather than left unpainted.
  if (!m_skinData) return;
  try {
    Rect window = WindowRectOf(Handle);
    Size size{window.Width(), window.Height()};
    if (size.width <= 0 || size.height <= 0) return;
    m_paintSize = size;
    ++m_framePaints;
    if (!m_framePicture || m_framePicture->Width() != size.width || m_framePicture->Height() != size.height)
      m_framePicture = std::make_unique<OffscreenSurface>(size.width, size.height);
    OffscreenSurface& picture = *m_framePicture;
    if (!picture.Valid()) return;
    const SkinDefinition& skin = m_skinData->Skin();
    bool minimised = m_windowState == WindowShowState::Minimised;
    FrameParts parts = LayoutFrameParts(size, m_metrics, m_menuHeight, minimised);
    bool active = m_active != 0;
    auto paintBorder = [&](const TDataSkinBorder& border, const Rect& part, bool stacked) {
      if (part.IsEmpty()) return;
      Surface s = ComposeBorder(border, {part.Width(), part.Height()}, stacked,
                                BorderCell(active, std::max(1, border.Frame)));
      StretchCopy(picture.View(), part, s.View(), s.View().Bounds());
    };
    if (minimised) {
      picture.View().Fill(PixelFromColour(ResolveColour(skin.Colours[SkinDefinition::kButtonFace], skin.System())));
    } else {
      paintBorder(skin.BorderLeft, parts.left, false);
      paintBorder(skin.BorderRight, parts.right, false);
      paintBorder(skin.BorderBottom, parts.bottom, true);
    }
    PaintCaption(picture, parts.caption);
    if (!minimised && m_menuHeight > 0) {
      if (m_menuBar) {
        m_menuBar->PaintBar(picture, parts.menuBar);
      } else {
        RECT strip = ToRECT(parts.menuBar);
        FillRect(picture.Dc(), &strip, m_skinData->FaceBrush());
      }
    }

    std::unique_ptr<WindowDC> own;
    HDC dc = given;
    if (!dc) {
      own = std::make_unique<WindowDC>(Handle, true);
      dc = own->Get();
    }
    if (!dc) return;
    int saved = SaveDC(dc);
    if (minimised) {
      CopyToWindow(dc, picture, {0, 0, size.width, m_metrics.top});
    } else {
      // The client area is the window's own: one blit of the frame around it.
      Rect client = SkinnedClientRect({0, 0, size.width, size.height}, m_metrics, m_menuHeight);
      ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
      CopyToWindow(dc, picture, {0, 0, size.width, size.height});
    }
    RestoreDC(dc, saved);
  } catch (...) {
    // A frame that cannot be painted now is painted on the next request;
    // nothing may escape into the system's dispatch.
  }
}

// ---------------------------------------------------------------- region

void TWinSkinForm::ApplyRegion() {
  if (m_frameState == kFrameDestroyed || !m_frameSkinned) return;
  // A borderless window keeps whatever shape its program gave it: the skin
  // has no frame there to cut.
  if (m_class.border == BorderKind::None) return;
  if (m_mdiKind == MdiKind::Child && m_windowState != WindowShowState::Normal) return;
  Rect window = WindowRectOf(Handle);
  Size size{window.Width(), window.Height()};
  if (size.width <= 0 || size.height <= 0) return;
  if (size == m_regionSize && m_mdiKind != MdiKind::Child && m_frameState != kFrameRefreshing) return;
  const SkinDefinition& skin = m_skinData->Skin();
  UniqueRegion region;
  if (!AnyBorderTransparent(skin)) {
    region = UniqueRegion(CreateRectRgn(0, 0, size.width, size.height));
  } else {
    m_regionSize = size;
    region = RegionFromRuns(FrameRegionRects(skin, size, m_metrics, m_class.border));
  }
  if (!region) return;
  ++m_regionBuilds;
  // After SetWindowRgn the region belongs to the system.
  if (SetWindowRgn(Handle, region.Get(), TRUE)) region.Release_();
  m_regionSet = true;
}

void TWinSkinForm::ClearRegion() {
  if (!m_regionSet) return;
  SetWindowRgn(Handle, nullptr, m_mdiKind == MdiKind::Child);
  m_regionSet = false;
  m_regionSize = {};
}

}  // namespace corvane

