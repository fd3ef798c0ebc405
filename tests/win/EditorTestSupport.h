// Helpers for the link editor tests: reading and answering the program's
// message boxes and file dialogs from inside their modal loops, and shell
// drops built by hand.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace corvane::test {

// The visible top-level dialog ("#32770") of this thread, or null.
inline HWND FindThreadDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (std::string(cls) == "#32770" && IsWindowVisible(w)) {
          *reinterpret_cast<HWND*>(out) = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A message box's message: its longest static text (the icon is a static
// too). Works on another process's box as well.
inline std::string MessageBoxText(HWND box) {
  std::string longest;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM out) -> BOOL {
        char cls[16] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) return TRUE;
        char text[2048] = {};
        GetWindowTextA(child, text, sizeof text);
        auto* best = reinterpret_cast<std::string*>(out);
        if (std::strlen(text) > best->size()) *best = text;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&longest));
  return longest;
}

namespace detail {
inline std::string& BoxCaption() {
  static std::string caption;
  return caption;
}
inline std::string& BoxText() {
  static std::string text;
  return text;
}
inline int& BoxCount() {
  static int count = 0;
  return count;
}
inline void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindThreadDialog();
  if (!box) return;
  char caption[256] = {};
  GetWindowTextA(box, caption, sizeof caption);
  BoxCaption() = caption;
  BoxText() = MessageBoxText(box);
  ++BoxCount();
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}
}  // namespace detail

// What a message box said while action ran: its caption and text; the box is
// closed with OK. Empty texts when no box appeared.
struct MessageBoxSeen {
  int count = 0;
  std::string caption;
  std::string text;
};
inline MessageBoxSeen CatchMessageBoxes(const std::function<void()>& action) {
  detail::BoxCaption().clear();
  detail::BoxText().clear();
  detail::BoxCount() = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, detail::ReadAndCloseBox);
  action();
  KillTimer(nullptr, timer);
  return MessageBoxSeen{detail::BoxCount(), detail::BoxCaption(), detail::BoxText()};
}

namespace detail {
inline std::string& DialogAnswer() {
  static std::string answer;
  return answer;
}
inline void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindThreadDialog();
  if (!dialog) return;
  KillTimer(nullptr, id);
  if (DialogAnswer().empty()) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  // The name field of the explorer-style file dialog.
  SetDlgItemTextA(dialog, 0x47C, DialogAnswer().c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}
}  // namespace detail

// Runs action, answering the file dialog it opens with fileName (empty:
// cancel).
inline void AnswerFileDialog(const std::string& fileName, const std::function<void()>& action) {
  detail::DialogAnswer() = fileName;
  UINT_PTR timer = SetTimer(nullptr, 0, 100, detail::AnswerDialog);
  action();
  KillTimer(nullptr, timer);
}

// A shell drop of the given files, as the system hands it to a window; the
// receiver frees it with DragFinish.
inline HGLOBAL MakeDrop(const std::vector<std::string>& files) {
  std::string names;
  for (const std::string& f : files) {
    names += f;
    names.push_back('\0');
  }
  names.push_back('\0');
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
  GlobalUnlock(memory);
  return memory;
}

}  // namespace corvane::test
