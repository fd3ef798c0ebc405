#include "framework/MouseWatch.h"

#include <algorithm>
#include <vector>

#include "platform/Handles.h"

namespace corvane {

namespace {

// The watches of the thread (the framework runs on one GUI thread) and the
// hook that feeds them.
struct Watches {
  std::vector<MouseWatch*> list;
  UniqueHook hook;
};

Watches& ThreadWatches() {
  static Watches watches;
  return watches;
}

bool IsWatchedMessage(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE || msg == WM_MOUSELEAVE || msg == WM_NCMOUSELEAVE;
}

}  // namespace

void MouseWatch::Start(Callback callback) {
  m_callback = std::move(callback);
  if (m_watching) return;
  Watches& watches = ThreadWatches();
  if (!watches.hook)
    watches.hook.Reset(SetWindowsHookExA(WH_GETMESSAGE, HookProc, nullptr, GetCurrentThreadId()));
  if (!watches.hook) return;
  watches.list.push_back(this);
  m_watching = true;
}

void MouseWatch::Stop() {
  if (!m_watching) return;
  m_watching = false;
  Watches& watches = ThreadWatches();
  std::erase(watches.list, this);
  if (watches.list.empty()) watches.hook.Reset();
}

LRESULT CALLBACK MouseWatch::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  Watches& watches = ThreadWatches();
  HHOOK hook = watches.hook.Get();
  // A peek that leaves the message in the queue is not a move yet: it
  // comes again when it is taken.
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    if (IsWatchedMessage(msg.message)) {
      // A callback may stop its own watch or another one.
      std::vector<MouseWatch*> now = watches.list;
      for (MouseWatch* watch : now) {
        if (std::find(watches.list.begin(), watches.list.end(), watch) == watches.list.end()) continue;
        try {
          if (watch->m_callback) watch->m_callback(msg);
        } catch (...) {
          // Nothing may escape into the system's message retrieval.
        }
      }
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

void NotifyMouseLeave(HWND window, bool nonClient) {
  if (!window) return;
  TRACKMOUSEEVENT request{sizeof request, static_cast<DWORD>(TME_LEAVE | (nonClient ? TME_NONCLIENT : 0)), window, 0};
  TrackMouseEvent(&request);
}

}  // namespace corvane
