// The menu's icons read on a worker thread: the shell's icon of a link can
// take long (a slow share, hundreds of links), and the launcher must answer
// the user meanwhile. Results are handed to the window's thread through a
// posted message; the loader stops and waits for its thread when it goes.
// Windows only.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Handles.h"

namespace corvane {

class MenuIconLoader {
 public:
  // Reads icon(links[i]) for every i in order, posting `notify` to window
  // after each one.
  MenuIconLoader(std::vector<std::string> links, std::function<HICON(const std::string&)> icon,
                 HWND window, UINT notify);
  ~MenuIconLoader();
  MenuIconLoader(const MenuIconLoader&) = delete;
  MenuIconLoader& operator=(const MenuIconLoader&) = delete;

  // The icons read since the last call, with the index of their link.
  std::vector<std::pair<std::size_t, UniqueIcon>> TakeReady();
  bool Done() const { return m_done; }

 private:
  void Run(std::vector<std::string> links, std::function<HICON(const std::string&)> icon);

  HWND m_window;
  UINT m_notify;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_done{false};
  std::mutex m_lock;
  // Raw until taken: the handle count of the owners is the window thread's.
  std::vector<std::pair<std::size_t, HICON>> m_ready;
  std::thread m_thread;
};

}  // namespace corvane
