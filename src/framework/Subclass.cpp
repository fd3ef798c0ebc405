#include "framework/Subclass.h"

#include <commctrl.h>

#include "framework/Controls.h"

namespace corvane {

namespace {
// One id for all of ours: a window carries at most one WindowSubclass.
constexpr UINT_PTR kSubclassId = 0x43565253;
}  // namespace

bool WindowSubclass::Install(HWND window, Handler handler) {
  Remove();
  m_handler = std::move(handler);
  if (!SetWindowSubclass(window, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  m_window = window;
  return true;
}

void WindowSubclass::Remove() {
  if (!m_window) return;
  RemoveWindowSubclass(m_window, Proc, kSubclassId);
  m_window = nullptr;
}

LRESULT WindowSubclass::CallNext(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(window, msg, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<WindowSubclass*>(data);
  LRESULT result = self->m_handler(window, msg, wParam, lParam);
  // The window's last message: whatever the handler did, nothing of ours
  // may stay in its chain.
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(window, Proc, kSubclassId);
  return result;
}

struct ControlProcHook::State {
  Handler handler;
  std::function<void(TMessage&)> old;
  bool active = true;
};

// The callable put into the control's WindowProc; recognisable by type, so
// removal can tell whether it is still the one in place.
struct ControlProcHook::Thunk {
  std::shared_ptr<State> state;
  void operator()(TMessage& m) const {
    if (state->active) state->handler(m);
    else state->old(m);
  }
};

void ControlProcHook::Install(TControl& control, Handler handler) {
  Remove();
  m_control = &control;
  m_state = std::make_shared<State>();
  m_state->handler = std::move(handler);
  m_state->old = control.WindowProc;
  control.WindowProc = Thunk{m_state};
}

void ControlProcHook::Remove() {
  if (!m_state) return;
  const Thunk* current = m_control->WindowProc.target<Thunk>();
  if (current && current->state == m_state) m_control->WindowProc = m_state->old;
  else m_state->active = false;
  m_state.reset();
  m_control = nullptr;
}

void ControlProcHook::CallOld(TMessage& m) const {
  if (m_state) m_state->old(m);
}

}  // namespace corvane
