#include "framework/ComCtrls.h"

#include <commctrl.h>

namespace corvane {

namespace {

// How often the bar looks where the mouse is. Polling, not mouse tracking:
// the mouse may reach a control from outside the form or from a window of
// the system's classes without the framework seeing it arrive.
constexpr UINT kHintPollMs = 100;
constexpr UINT_PTR kHintTimer = 1;

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

}  // namespace

TStatusBar::TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {
  m_width = 200;
  m_height = 19;
}

void TStatusBar::CreateParams(TCreateParams& p) {
  EnsureCommonControls();
  TWinControl::CreateParams(p);
  p.baseClass = STATUSCLASSNAMEA;
  // The framework places the bar; the control must not move itself on every
  // parent resize to a height of its own choosing.
  p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_BOTTOM;
}

void TStatusBar::WindowCreated() {
  SendMessageA(Handle(), SB_SIMPLE, SimplePanel ? TRUE : FALSE, 0);
  SendMessageA(Handle(), SB_SETTEXTA, SimplePanel ? SB_SIMPLEID : 0,
               reinterpret_cast<LPARAM>(m_simpleText.c_str()));
  if (m_alignHeight > 0) AlignBottom(m_alignHeight);
  if (AutoHint) SetTimer(Handle(), kHintTimer, kHintPollMs, nullptr);
}

void TStatusBar::SetSimpleText(const std::string& text) {
  if (text == m_simpleText) return;
  m_simpleText = text;
  if (HandleAllocated())
    SendMessageA(Handle(), SB_SETTEXTA, SimplePanel ? SB_SIMPLEID : 0,
                 reinterpret_cast<LPARAM>(m_simpleText.c_str()));
}

void TStatusBar::AlignBottom(int height) {
  m_alignHeight = height;
  if (!Parent() || !Parent()->HandleAllocated()) return;
  RECT client{};
  GetClientRect(Parent()->Handle(), &client);
  SetBounds(0, client.bottom - height, client.right, height);
}

std::string TStatusBar::HintAt(POINT screen) {
  if (!HandleAllocated()) return {};
  HWND hit = WindowFromPoint(screen);
  if (!hit || GetAncestor(hit, GA_ROOT) != GetAncestor(Handle(), GA_ROOT)) return {};
  TWinControl* windowed = nullptr;
  for (HWND w = hit; w && !windowed; w = GetParent(w)) windowed = ControlOfWindow(w);
  if (!windowed) return {};
  TControl* control = windowed;
  POINT client = screen;
  ::ScreenToClient(windowed->Handle(), &client);
  if (TControl* graphic = windowed->ControlAtPos(client)) control = graphic;
  for (; control; control = control->Parent())
    if (!control->Hint.empty()) return control->Hint;
  return {};
}

void TStatusBar::FollowMouse() {
  if (!AutoHint || !IsWindowVisible(Handle())) return;
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  SetSimpleText(HintAt(cursor));
}

void TStatusBar::Dispatch(TMessage& m) {
  if (m.Msg == WM_TIMER && m.WParam == kHintTimer) {
    FollowMouse();
    return;
  }
  TWinControl::Dispatch(m);
}

}  // namespace corvane
