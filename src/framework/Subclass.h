// Taking over a window or a control and giving it back: the window
// procedure of any HWND (through the system's subclass chain), and a
// framework control's replaceable WindowProc. Both restore what they
// replaced, in any order, and never call into an owner that has gone.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Messages.h"

namespace corvane {

class TControl;
template <class T>
class WindowTable;

// A handler in front of a window's procedure. Removal is explicit (Remove)
// or at destruction; a handler may remove its own subclass while handling a
// message (the usual way on WM_NCDESTROY) and still call CallNext after.
// A window carries at most one: installing a second on the same window
// takes the first one's place. Built on the window procedure itself rather
// than the common controls' subclass chain, so skinning a window or a menu
// never loads that library (about 2 MB under Wine, for good); a window
// those controls already took over gets ours in their chain.
class WindowSubclass {
 public:
  using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

  WindowSubclass() = default;
  ~WindowSubclass() { Remove(); }
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  // Puts handler in front of window; false when the system refused.
  bool Install(HWND window, Handler handler);
  void Remove();
  bool Installed() const { return m_window != nullptr; }
  HWND Window() const { return m_window; }
  // The procedure that was in front before ours.
  static LRESULT CallNext(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  struct Chain;
  // The chain of every window we subclassed.
  static WindowTable<Chain>& Chains();
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static void Release(HWND window, Chain* chain);

  HWND m_window = nullptr;
  // In the common controls' chain rather than our own (see Install).
  bool m_viaSystem = false;
  // Kept until destruction, so removing the subclass from inside the handler
  // never frees the function that is running.
  Handler m_handler;
};

// A handler in front of a control's WindowProc. If someone else took the
// WindowProc over after us, removal turns our handler into a pass-through
// instead of cutting them out of the chain.
class ControlProcHook {
 public:
  using Handler = std::function<void(TMessage&)>;

  ControlProcHook() = default;
  ~ControlProcHook() { Remove(); }
  ControlProcHook(const ControlProcHook&) = delete;
  ControlProcHook& operator=(const ControlProcHook&) = delete;

  void Install(TControl& control, Handler handler);
  void Remove();
  bool Installed() const { return m_state != nullptr; }
  // Runs the WindowProc that was in place before ours.
  void CallOld(TMessage& m) const;

 private:
  struct State;
  struct Thunk;
  TControl* m_control = nullptr;
  std::shared_ptr<State> m_state;
};

}  // namespace corvane
