// The form skin's life: start (both modes), the control skins it keeps,
// sizing to the skin's frame, unskinning, and taking a new skin.
#include "skin/forms/WinSkinForm.h"

#include "framework/Forms.h"
#include "pictures/WinSurface.h"
#include "platform/Dpi.h"
#include "platform/RectConversions.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

namespace {

bool IsWindowsVersion50() {
  DWORD v = GetVersion();
  return LOBYTE(LOWORD(v)) == 5 && HIBYTE(LOWORD(v)) == 0;
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
  if (skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(form, Handle, WindowClass);
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
  m_dpi = DpiOfWindow(Handle);
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
  // A child whose skinned caption is lower than the system's caption and
  // frame keeps the difference as an empty strip, so its client area does
  // not grow into what the frame's layout gave it.
  if (m_frameSkinned && m_mdiKind == MdiKind::Child) {
    int system = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
    if (m_metrics.top < system) m_menuHeight = system - m_metrics.top;
  }
  if (m_mdiKind == MdiKind::Child && m_windowState == WindowShowState::Maximised && manager &&
      !manager->MDIMaximized)
    manager->SetMDIMaximized(true);
}

const SkinDefinition& TWinSkinForm::Skin() const { return m_skinData->SkinAt(m_dpi); }

void TWinSkinForm::OnDpiChanged(int dpi) {
  if (dpi < 1 || dpi == m_dpi || !m_skinData) return;
  m_dpi = dpi;
  if (m_menuBar || m_menuHeight > 0) m_menuHeight = SystemMetricForDpi(SM_CYMENU, dpi);
  LoadFrameMetrics();
  // Everything kept at the old size is made again.
  m_framePicture.reset();
  m_captionBack = Surface();
  m_regionSize = Size{};
  m_paintSize = Size{};
}

void TWinSkinForm::LoadFrameMetrics() {
  if (!m_skinData || m_skinData->SkinEmpty()) return;
  m_metrics = corvane::LoadFrameMetrics(Skin(), m_class.border);
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
  const TDataSkinTitle& title = Skin().Title;
  std::wstring text = CaptionText();
  WindowDC screen(nullptr);
  SelectGuard font(screen.Get(), m_skinData->CaptionFont(m_dpi) ? m_skinData->CaptionFont(m_dpi)
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

bool TWinSkinForm::ActiveMdiChildMaximised() const {
  if (m_mdiKind != MdiKind::Frame || !m_mdiClient || !IsWindow(m_mdiClient)) return false;
  BOOL maximised = FALSE;
  HWND active = reinterpret_cast<HWND>(
      SendMessageA(m_mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  return active && maximised;
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
  if (m_frameSkinned && !m_skinData->SkinEmpty() && !SkinHasFrame(Skin())) {
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
  Colour face = Skin().Colours[SkinDefinition::kButtonFace];
  if (m_form) {
    m_form->SetColor(face);
    for (int i = 0; i < Screen().FormCount(); ++i)
      if (Screen().Forms(i)->Owner() == m_form) Screen().Forms(i)->SetColor(face);
  }
  m_frameState = kFrameRefreshing;
  // The controls take the new skin too (and controls added since are skinned).
  RefreshControlSkins();
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

}  // namespace corvane
