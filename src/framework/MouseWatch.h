// Following the mouse across every window of the thread without looking
// where it is on a timer: a watch is called for each mouse move and each
// mouse-leave notice the thread takes from its queue. Windows only.
#pragma once

#include <windows.h>

#include <functional>

namespace corvane {

// Calls back for WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_MOUSELEAVE and
// WM_NCMOUSELEAVE of any window of the thread, in whatever loop takes them
// from the queue (the program's own, a dialog's, a menu's, a test's pump).
// Behind it is one thread message hook shared by every watch and installed
// while one watches: it runs only as messages come, so a resting mouse
// costs the program nothing.
class MouseWatch {
 public:
  using Callback = std::function<void(const MSG&)>;
  MouseWatch() = default;
  ~MouseWatch() { Stop(); }
  MouseWatch(const MouseWatch&) = delete;
  MouseWatch& operator=(const MouseWatch&) = delete;

  // Starts watching (a running watch takes the new callback).
  void Start(Callback callback);
  void Stop();
  bool Watching() const { return m_watching; }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  Callback m_callback;
  bool m_watching = false;
};

// Asks for one leave notice when the mouse leaves window (WM_NCMOUSELEAVE
// for the non-client area): the system tells no window that the mouse went
// away unless it is asked to.
void NotifyMouseLeave(HWND window, bool nonClient);

}  // namespace corvane
