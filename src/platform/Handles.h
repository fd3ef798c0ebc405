// Owners for Win32 handles: every GDI/USER handle has exactly one owner, a
// move-only type made from one template. A borrowed handle is a plain handle.
// The platform folder sits under every Windows-side folder (the picture
// object and the framework both own handles): it includes only the core.
#pragma once

#include <windows.h>

#include <utility>

namespace corvane {

// How many handles our owners hold right now, across every owner type. The
// system's own object counts are not available everywhere (some systems
// report none), so leak checks count here as well.
inline long& OwnedHandleCount() {
  static long count = 0;
  return count;
}

// Owns a handle and releases it with Release when it goes out of scope.
template <typename Handle, auto Release, Handle Invalid = Handle{}>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : m_handle(h) {
    if (h != Invalid) ++OwnedHandleCount();
  }
  Owned(Owned&& other) noexcept : m_handle(std::exchange(other.m_handle, Invalid)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      m_handle = std::exchange(other.m_handle, Invalid);
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  Handle Get() const { return m_handle; }
  explicit operator bool() const { return m_handle != Invalid; }
  // Gives up ownership without releasing (the handle now belongs to the caller).
  Handle Release_() {
    if (m_handle != Invalid) --OwnedHandleCount();
    return std::exchange(m_handle, Invalid);
  }
  void Reset(Handle h = Invalid) {
    if (m_handle != Invalid) {
      Release(m_handle);
      --OwnedHandleCount();
    }
    if (h != Invalid) ++OwnedHandleCount();
    m_handle = h;
  }

 private:
  Handle m_handle = Invalid;
};

namespace detail {
inline void DeleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void DeleteDc(HDC h) { DeleteDC(h); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void UnhookHook(HHOOK h) { UnhookWindowsHookEx(h); }
inline void DestroyWindowHandle(HWND h) { DestroyWindow(h); }
inline void DeleteMetafile(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
}  // namespace detail

using UniqueBitmap = Owned<HBITMAP, detail::DeleteGdiObject>;
using UniqueRegion = Owned<HRGN, detail::DeleteGdiObject>;
using UniqueFont = Owned<HFONT, detail::DeleteGdiObject>;
using UniqueBrush = Owned<HBRUSH, detail::DeleteGdiObject>;
using UniquePen = Owned<HPEN, detail::DeleteGdiObject>;
using MemoryDC = Owned<HDC, detail::DeleteDc>;
using UniqueIcon = Owned<HICON, detail::DestroyIconHandle>;
using UniqueMenu = Owned<HMENU, detail::DestroyMenuHandle>;
using UniqueHook = Owned<HHOOK, detail::UnhookHook>;
using UniqueWindow = Owned<HWND, detail::DestroyWindowHandle>;
using UniqueEnhMetafile = Owned<HENHMETAFILE, detail::DeleteMetafile>;
using UniqueHandle = Owned<HANDLE, detail::CloseKernelHandle>;

// A DC obtained with GetDC/GetWindowDC, released with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window, bool wholeWindow = false)
      : m_window(window), m_dc(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDC() {
    if (m_dc) ReleaseDC(m_window, m_dc);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// Selects an object into a DC for one scope and puts the previous one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  ~SelectGuard() { SelectObject(m_dc, m_previous); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// A timer of one window, killed when the owner stops it or goes away.
class WindowTimer {
 public:
  WindowTimer(UINT_PTR id, UINT intervalMs) : m_id(id), m_interval(intervalMs) {}
  ~WindowTimer() { Stop(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  // Starts it on window unless it already runs.
  void Start(HWND window) {
    if (m_window) return;
    if (SetTimer(window, m_id, m_interval, nullptr)) m_window = window;
  }
  // Starts it on window to fire after intervalMs, or moves a running one
  // to that interval from now.
  void StartAfter(HWND window, UINT intervalMs) {
    Stop();
    m_interval = intervalMs;
    if (SetTimer(window, m_id, m_interval, nullptr)) m_window = window;
  }
  void Stop() {
    if (m_window) KillTimer(m_window, m_id);
    m_window = nullptr;
  }
  bool Running() const { return m_window != nullptr; }
  UINT_PTR Id() const { return m_id; }

 private:
  UINT_PTR m_id;
  UINT m_interval;
  HWND m_window = nullptr;
};

}  // namespace corvane
