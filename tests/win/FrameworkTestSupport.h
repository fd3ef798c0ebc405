// Small helpers shared by the framework, picture control and launcher tests.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace corvane::test {

// The folder of the running test program (helper programs are built there).
inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/"));
}

// Delivers everything waiting in this thread's queue.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps until done() or the time is up; true when done() held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return false;
    Pump();
    Sleep(10);
  }
  return true;
}

// Pumps messages for the whole time (what a user's pause lets happen).
inline void Wait(DWORD milliseconds) { PumpUntil([] { return false; }, milliseconds); }

// A 32-bit memory canvas to paint into and read back.
class Canvas {
 public:
  Canvas(int width, int height) : m_dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_bitmap.Reset(CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_old = SelectObject(m_dc.Get(), m_bitmap.Get());
  }
  ~Canvas() { SelectObject(m_dc.Get(), m_old); }
  HDC Dc() const { return m_dc.Get(); }
  COLORREF At(int x, int y) const { return GetPixel(m_dc.Get(), x, y); }

 private:
  MemoryDC m_dc;
  UniqueBitmap m_bitmap;
  HGDIOBJ m_old = nullptr;
};

// This thread's top-level windows, in the system's order.
inline std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The first top-level window of class cls that process pid owns, or null.
inline HWND FindProcessWindow(DWORD pid, const std::string& cls) {
  struct Find {
    DWORD pid;
    const std::string* cls;
    HWND found;
  } f{pid, &cls, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Find*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        if (owner != f->pid || *f->cls != name) return TRUE;
        f->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    m_path = std::string(base) + "corvane-launcher-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~TempFolder() {
    std::string pattern = m_path + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern.c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string full = m_path + "\\" + name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(m_path.c_str());
  }
  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
};

// Copies the program under test into folder as Corvane.exe (beside its own
// store, as users run it) and starts it there; false when either step fails.
inline bool StartProgramCopy(const TempFolder& folder, PROCESS_INFORMATION& pi) {
  const char* exe = std::getenv("CORVANE_EXE");
  if (!exe) return false;
  std::string copy = folder.File("Corvane.exe");
  if (!CopyFileA(exe, copy.c_str(), FALSE)) return false;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string command = "\"" + copy + "\"";
  return CreateProcessA(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &si, &pi) != FALSE;
}

// Waits for a started program to end (terminating it when it does not),
// closes its handles; true when it ended by itself.
inline bool AwaitProgramEnd(PROCESS_INFORMATION& pi, DWORD milliseconds = 15000) {
  DWORD waited = WaitForSingleObject(pi.hProcess, milliseconds);
  if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 9);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return waited == WAIT_OBJECT_0;
}

}  // namespace corvane::test

namespace corvane::test {

// Writes a 24-bit BMP of width x height whose pixel (x, y), top-down, is
// colour(x, y) as 0x00BBGGRR.
inline bool WriteBmp(const std::string& path, int width, int height,
                     const std::function<COLORREF(int, int)>& colour) {
  int stride = ((width * 3 + 3) / 4) * 4;
  std::string data(static_cast<std::size_t>(stride) * height, '\0');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = colour(x, y);
      std::size_t at = static_cast<std::size_t>(height - 1 - y) * stride + x * 3;
      data[at] = static_cast<char>(GetBValue(c));
      data[at + 1] = static_cast<char>(GetGValue(c));
      data[at + 2] = static_cast<char>(GetRValue(c));
    }
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + data.size());
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(h, &file, sizeof file, &written, nullptr) && WriteFile(h, &info, sizeof info, &written, nullptr) &&
            WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(h);
  return ok;
}

// Real input, as the system delivers it to whatever window is under the
// pointer: the pointer moved to a screen point, one button pressed and
// released there (down and up: MOUSEEVENTF_ flags), and what follows pumped.
inline void ClickAt(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
  SetCursorPos(at.x, at.y);
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = down;
  input[1].mi.dwFlags = up;
  SendInput(2, input, sizeof(INPUT));
  for (int i = 0; i < 10; ++i) {
    Pump();
    Sleep(10);
  }
}

// Keys to press once a popup menu is open (from a timer inside the menu
// loop), and how many items the menu had then (-1 until it opened).
inline std::vector<WPARAM> g_menuKeys;
inline int g_menuItemsSeen = -1;
inline void CALLBACK PressMenuKeys(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  g_menuItemsSeen = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)));
  for (WPARAM key : g_menuKeys) {
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
  }
}

// The window's region as a fresh handle, or null when it has none.
inline UniqueRegion WindowRegion(HWND window) {
  UniqueRegion r(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(window, r.Get()) == ERROR) return UniqueRegion{};
  return r;
}

}  // namespace corvane::test
