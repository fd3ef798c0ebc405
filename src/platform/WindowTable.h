// What the program keeps per window of its own (the framework object behind
// a window, a subclassed window's chain), looked up on every message. A
// window property would serve, but under Wine every property read is a
// round trip to the window server, paid for each message of each window;
// this table is a lookup inside the process. Windows of any thread may be
// entered, so the table is locked; a window's entry is read on the thread
// the window belongs to.
#pragma once

#include <windows.h>

#include <mutex>
#include <unordered_map>

namespace corvane {

template <class T>
class WindowTable {
 public:
  void Set(HWND window, T* value) {
    std::lock_guard lock(m_mutex);
    m_entries[window] = value;
  }
  T* Get(HWND window) const {
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(window);
    return it == m_entries.end() ? nullptr : it->second;
  }
  void Erase(HWND window) {
    std::lock_guard lock(m_mutex);
    m_entries.erase(window);
  }

 private:
  mutable std::mutex m_mutex;
  std::unordered_map<HWND, T*> m_entries;
};

}  // namespace corvane
