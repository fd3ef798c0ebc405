#include "framework/Subclass.h"

#include <commctrl.h>

#include <memory>

#include "framework/Controls.h"
#include "platform/WindowTable.h"

namespace corvane {

namespace {
// The property the common controls keep their own chain in.
constexpr const wchar_t* kSystemChainProperty = L"CC32SubclassInfo";
// Our id in the common controls' chain.
constexpr UINT_PTR kSubclassId = 0x43565253;

LRESULT CALLBACK SystemProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto& handler = *reinterpret_cast<WindowSubclass::Handler*>(data);
  LRESULT result = handler(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(window, SystemProc, kSubclassId);
  return result;
}
}  // namespace

// What one subclassed window needs: the procedure that was in place before
// ours, the handler in front of it (none once removed), and how many of our
// calls are running on the window, so nothing is freed under a running one.
struct WindowSubclass::Chain {
  WNDPROC next = nullptr;
  WindowSubclass* owner = nullptr;
  int running = 0;
};

WindowTable<WindowSubclass::Chain>& WindowSubclass::Chains() {
  static WindowTable<Chain> table;
  return table;
}

bool WindowSubclass::Install(HWND window, Handler handler) {
  Remove();
  if (!IsWindow(window)) return false;
  m_handler = std::move(handler);
  auto* chain = Chains().Get(window);
  if (!chain && GetPropW(window, kSystemChainProperty)) {
    // The common controls took the window over before us (an up-down's
    // buddy field, say): we join their chain, since giving the last of theirs
    // back puts the window's first procedure back (Wine does so whatever
    // sits in front), which would cut ours out.
    if (!SetWindowSubclass(window, SystemProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&m_handler))) return false;
    m_window = window;
    m_viaSystem = true;
    return true;
  }
  if (!chain) {
    auto fresh = std::make_unique<Chain>();
    Chains().Set(window, fresh.get());
    // Unicode on both sides, so every window gets its messages in one form
    // whatever procedure it was made with.
    SetLastError(0);
    fresh->next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowSubclass::Proc)));
    if (!fresh->next && GetLastError() != 0) {
      Chains().Erase(window);
      return false;
    }
    chain = fresh.release();
  } else if (chain->owner && chain->owner != this) {
    // One per window: the earlier one is out of it.
    chain->owner->m_window = nullptr;
  }
  chain->owner = this;
  m_window = window;
  return true;
}

void WindowSubclass::Remove() {
  if (!m_window) return;
  HWND window = m_window;
  m_window = nullptr;
  if (m_viaSystem) {
    m_viaSystem = false;
    RemoveWindowSubclass(window, SystemProc, kSubclassId);
    return;
  }
  auto* chain = Chains().Get(window);
  if (!chain || chain->owner != this) return;
  chain->owner = nullptr;
  if (chain->running == 0) Release(window, chain);
}

// Gives the window its procedure back once no handler is left and none of
// our calls runs on it. When someone put a procedure in front of ours since,
// ours stays as a pass-through: taking it out would cut them off.
void WindowSubclass::Release(HWND window, Chain* chain) {
  if (chain->owner || chain->running > 0) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != &WindowSubclass::Proc) return;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->next));
  Chains().Erase(window);
  delete chain;
}

LRESULT WindowSubclass::CallNext(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* chain = Chains().Get(window);
  if (!chain && GetPropW(window, kSystemChainProperty)) return DefSubclassProc(window, msg, wParam, lParam);
  if (!chain || !chain->next) return DefWindowProcW(window, msg, wParam, lParam);
  return CallWindowProcW(chain->next, window, msg, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* chain = Chains().Get(window);
  if (!chain) return DefWindowProcW(window, msg, wParam, lParam);
  ++chain->running;
  LRESULT result = 0;
  if (WindowSubclass* owner = chain->owner) {
    // The handler is kept by its owner until the owner goes, so removing
    // the subclass inside it never frees the function that is running.
    result = owner->m_handler(window, msg, wParam, lParam);
  } else {
    result = CallWindowProcW(chain->next, window, msg, wParam, lParam);
  }
  --chain->running;
  if (msg == WM_NCDESTROY) {
    // The window's last message: whatever the handler did, nothing of ours
    // may stay with it.
    if (chain->owner) chain->owner->m_window = nullptr;
    chain->owner = nullptr;
    if (chain->running == 0) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->next));
      Chains().Erase(window);
      delete chain;
    }
    return result;
  }
  if (!chain->owner && chain->running == 0) Release(window, chain);
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
