// The caption buttons' mouse machine: which object is under the mouse,
// hot and pressed states, the hint timer, and the actions
// a released button runs.
#include "skin/forms/WinSkinForm.h"

#include <windowsx.h>

#include <utility>

#include "framework/Forms.h"
#include "platform/RectConversions.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinManageBase.h"

namespace corvane {

// ---------------------------------------------------------- caption buttons

void TWinSkinForm::SyncCaptionButtons() {
  if (!m_skinData) return;
  const auto& elements = Skin().CaptionButtons;
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
  ResetHover();
  HotObject = nullptr;
  PressedObject = nullptr;
}

void TWinSkinForm::ResetHover() {
  m_hintTimer.Stop();
  m_hintShowing = false;
  if (m_skinData) m_skinData->HideCaptionHint();
}

void TWinSkinForm::HoverStarted() {
  // Leaving is a message (the leave notice, or a move onto another part of
  // the frame), so the only timer is the hint's, and only for a caption
  // button: it fires when the hint shows and when it goes, then stops.
  // Hot again while it runs (a press on the hot button) keeps its count.
  TrackMouseLeave(Handle, true);
  if (m_hintTimer.Running() || !dynamic_cast<TWinSysButton*>(HotObject)) return;
  const TApplication& app = Application();
  const HintTimes times = HoverHintTimes(app.HintPause, app.HintHidePause);
  m_hintShowing = false;
  m_hintTimer.StartAfter(Handle, static_cast<UINT>(times.showAt >= 0 ? times.showAt : times.hideAt));
}

TNCObject* TWinSkinForm::ObjectAt(Point p) {
  SyncCaptionButtons();
  if (TNCObject* button = FindCaptionButton(m_captionButtons, p)) return button;
  return m_menuBar ? m_menuBar->FindMenuBarItem(p) : nullptr;
}

void TWinSkinForm::OnHintTimer() {
  m_hintTimer.Stop();
  const bool wasShowing = std::exchange(m_hintShowing, false);
  auto* button = dynamic_cast<TWinSysButton*>(HotObject);
  // An open menu-bar item or an inactive window shows no hint.
  if (!button || !m_active || (m_menuBar && m_menuBar->Tracking())) {
    m_skinData->HideCaptionHint();
    return;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  if (!HotObject->Bounds.Contains(WindowPoint(cursor.x, cursor.y))) {
    // A leave the system did not report: the button goes back now.
    HotObject->MouseLeave();
    HotObject = nullptr;
    ResetHover();
    return;
  }
  const TApplication& app = Application();
  const HintTimes times = HoverHintTimes(app.HintPause, app.HintHidePause);
  if (wasShowing || times.showAt < 0) {
    m_skinData->HideCaptionHint();
    return;
  }
  std::string text = CaptionHintText(button->Element->Action);
  if (!text.empty()) {
    Rect window = WindowRectOf(Handle);
    RECT at{button->Bounds.left + window.left, cursor.y + 24, 0, 0};
    m_skinData->ShowCaptionHint(at, text);
  }
  m_hintShowing = true;
  m_hintTimer.StartAfter(Handle, static_cast<UINT>(times.hideAt - times.showAt));
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
    case kActionClose:
      if (!CloseAvailable()) break;
      m_hintTimer.Stop();
      PostMessageA(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case kActionMaximize: case kActionMaximizeToo: if (button.Enabled) MaximiseWindow(); break;
    case kActionMinimize: case kActionMinimizeToo: if (button.Enabled) MinimiseWindow(); break;
    case kActionIcon: case kActionIconToo: case kActionWindowMenu: ShowSystemMenu(screen.x + 1, screen.y + 1); break;
    case kActionHelp: PostMessageA(Handle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case kActionChildMinimize: case kActionChildMinimizeToo: toActiveChild(SC_MINIMIZE); break;
    case kActionChildRestore: case kActionChildRestoreToo: toActiveChild(SC_RESTORE); break;
    case kActionChildClose: case kActionChildCloseToo: toActiveChild(SC_CLOSE); break;
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
      m_hintTimer.Stop();
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

}  // namespace corvane
