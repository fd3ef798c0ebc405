// Helpers for tests that run Corvane.exe itself as a user would: the running
// program with its windows, its link editor's controls and message boxes,
// and folders and links made on the Linux side under Wine (links made there
// look like plain files to the program, and only the Linux side can make a
// folder refuse new files to root).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "ShellTestFiles.h"
#include "launcher/LinkStore.h"

namespace corvane::test {

// Corvane.exe started from a folder (ending in a backslash), with its
// windows found by class.
class RunningProgram {
 public:
  explicit RunningProgram(const std::string& folder) {
    std::string exe = folder + "Corvane.exe";
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    m_started = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.c_str(), &si, &m_pi) != FALSE;
  }
  ~RunningProgram() {
    if (!m_started) return;
    if (Alive()) {
      if (m_launcher) PostMessageA(m_launcher, WM_KEYDOWN, VK_ESCAPE, 0);
      // A message about the place not stored may come first.
      AwaitMessageBox(1000);
    }
    AwaitProgramEnd(m_pi, 5000);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Alive() const { return m_started && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }
  HWND Window(const char* cls) const { return FindProcessWindow(m_pi.dwProcessId, cls); }

  // Waits for the launcher to show; null when it does not.
  HWND AwaitLauncher() {
    if (m_started && !m_launcher)
      PumpUntil([&] { return (m_launcher = Window("TForm1")) && IsWindowVisible(m_launcher); },
                20000);
    return m_launcher && IsWindowVisible(m_launcher) ? m_launcher : nullptr;
  }
  // Waits for the launcher, then double-clicks it: the link editor opens.
  HWND OpenEditor() {
    if (!AwaitLauncher()) return nullptr;
    PostMessageA(m_launcher, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    // The press starts the picture's move loop, which a real double-click
    // ends by releasing the button; without it the loop would take the
    // next Esc for itself.
    PostMessageA(m_launcher, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND editor = nullptr;
    PumpUntil([&] { return (editor = Window("TForm2")) && IsWindowVisible(editor); }, 10000);
    return editor;
  }
  HWND Launcher() const { return m_launcher; }
  // Esc on the launcher, as the user ends the program.
  void PressEsc() const { PostMessageA(m_launcher, WM_KEYDOWN, VK_ESCAPE, 0); }
  // True when the program ended within the time.
  bool AwaitEnd(DWORD milliseconds) const {
    return !m_started || WaitForSingleObject(m_pi.hProcess, milliseconds) == WAIT_OBJECT_0;
  }

  // The program's message box, read and closed; empty text when none came.
  std::string AwaitMessageBox(DWORD milliseconds) const {
    HWND box = nullptr;
    if (!PumpUntil([&] { return (box = Window("#32770")) && IsWindowVisible(box); }, milliseconds))
      return {};
    std::string message = MessageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    PumpUntil([&] { return !IsWindow(box); }, 3000);
    return message;
  }

 private:
  PROCESS_INFORMATION m_pi{};
  bool m_started = false;
  HWND m_launcher = nullptr;
};

// Every window inside parent, with its class and text.
struct Child {
  HWND window;
  std::string cls;
  std::string text;
  RECT box;
};
inline std::vector<Child> Children(HWND parent) {
  std::vector<Child> children;
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        Child child{w, {}, {}, {}};
        char buffer[256] = {};
        GetClassNameA(w, buffer, sizeof buffer);
        child.cls = buffer;
        GetWindowTextA(w, buffer, sizeof buffer);
        child.text = buffer;
        GetWindowRect(w, &child.box);
        reinterpret_cast<std::vector<Child>*>(p)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

// The child window with this text (a button's caption), or null.
inline HWND ChildWithText(HWND parent, const std::string& text) {
  for (const Child& c : Children(parent))
    if (c.text == text) return c.window;
  return nullptr;
}

// The children of one class, top to bottom and left to right.
inline std::vector<Child> ChildrenOfClass(HWND parent, const char* cls) {
  std::vector<Child> found;
  for (const Child& c : Children(parent))
    if (lstrcmpiA(c.cls.c_str(), cls) == 0) found.push_back(c);
  std::sort(found.begin(), found.end(), [](const Child& a, const Child& b) {
    return a.box.top != b.box.top ? a.box.top < b.box.top : a.box.left < b.box.left;
  });
  return found;
}

// Clicks a button as the system reports a click to its parent.
inline void Click(HWND button) {
  PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

// Fills the editor's file name and menu entry name and presses Save.
inline bool SaveLinkInEditor(HWND editor, const std::string& file, const std::string& name) {
  std::vector<Child> fields = ChildrenOfClass(editor, "TEdit");
  HWND save = ChildWithText(editor, "Save");
  if (fields.size() != 3 || !save) return false;
  SendMessageA(fields[0].window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  SendMessageA(fields[1].window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  Click(save);
  return true;
}

// Right-clicks window at (x, y), so that its popup menu opens, with whileOpen
// run from a timer inside the menu's loop (it must close the menu); returns
// once the menu has closed.
inline void RightClickWithMenuTimer(HWND window, int x, int y, TIMERPROC whileOpen) {
  SetTimer(nullptr, 0, 200, whileOpen);
  SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
  SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
  Pump();
}

// One key of the store file at path, written or read through a store object
// of its own, as another copy of the program would; "" reads as missing.
inline void StoreValue(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value) {
  LinkStore store;
  store.Open(path);
  store.WriteString(section, key, value);
}
inline std::string StoredValue(const std::string& path, const std::string& section,
                               const std::string& key, const std::string& missing = "") {
  LinkStore store;
  store.Open(path);
  return store.ReadString(section, key, missing);
}

// ---- The Linux side, under Wine ------------------------------------------

// The Linux path of a Windows path; empty outside Wine.
inline std::string UnixPath(const std::string& windowsPath) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  FARPROC found = GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name");
  auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(found));
  if (!toUnix) return {};
  wchar_t wide[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
  char* unix = toUnix(wide);
  if (!unix) return {};
  std::string path = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Runs a shell command on the Linux side (Wine starts Linux programs, but
// reports no exit code for them) and gives its exit status, -1 when it did
// not run. Quote paths in the command with single quotes.
inline int UnixShell(const std::string& command) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  const std::string done = std::string(base) + "corvane-shell-" +
                           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  const std::string unixDone = UnixPath(done);
  if (unixDone.empty()) return -1;
  std::string line = "/bin/sh -c \"(" + command + ") >/dev/null 2>&1; echo $? >'" + unixDone +
                     ".part'; mv '" + unixDone + ".part' '" + unixDone + "'\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  for (int i = 0; i < 1000 && !corvane::testing::Exists(done); ++i) Sleep(10);
  std::string status = corvane::testing::ReadWholeFile(done);
  DeleteFileA(done.c_str());
  if (status == "<missing>" || status.empty()) return -1;
  return std::atoi(status.c_str());
}

// The Linux path of a file's Windows path, also for a name that leads
// nowhere (Wine cannot resolve such a name itself).
inline std::string UnixPathOfName(const std::string& windowsPath) {
  std::string folder = windowsPath.substr(0, windowsPath.find_last_of('\\'));
  return UnixPath(folder) + "/" + windowsPath.substr(folder.size() + 1);
}

// True when a file of this Windows path is a symbolic link on the Linux side.
inline bool IsUnixLink(const std::string& windowsPath) {
  return UnixShell("test -L '" + UnixPathOfName(windowsPath) + "'") == 0;
}

// A Linux symbolic link at linkPath (a Windows path in an existing folder)
// to target (a Linux path), removed again when it goes: Wine lists no link
// that leads nowhere, so a temporary folder's own clean-up would miss it
// and leave the folder behind for a later test of the same name.
class UnixLink {
 public:
  UnixLink(const std::string& unixTarget, const std::string& linkPath)
      : m_link(UnixPathOfName(linkPath)) {
    m_made = UnixShell("ln -s '" + unixTarget + "' '" + m_link + "'") == 0;
  }
  ~UnixLink() { UnixShell("rm -f '" + m_link + "'"); }
  UnixLink(const UnixLink&) = delete;
  UnixLink& operator=(const UnixLink&) = delete;
  bool Made() const { return m_made; }

 private:
  std::string m_link;
  bool m_made = false;
};

// While it lives, the folder (a Windows path) takes no new file, also from
// root: by the immutable flag where the user may set it, else by its mode.
// Files already in it stay writable unless lockFiles is set.
class FolderTakingNoNewFile {
 public:
  FolderTakingNoNewFile(const std::string& folder, bool lockFiles = false)
      : m_unix(UnixPath(folder)), m_lockFiles(lockFiles) {
    const std::string files = m_lockFiles ? " '" + m_unix + "'/*" : "";
    UnixShell("chattr +i '" + m_unix + "'" + files + " || chmod a-w '" + m_unix + "'" + files);
    std::string probe = folder + (folder.back() == '\\' ? "" : "\\") + "probe.txt";
    m_holds = !corvane::testing::WriteWholeFile(probe, "x");
    DeleteFileA(probe.c_str());
  }
  ~FolderTakingNoNewFile() {
    const std::string files = m_lockFiles ? " '" + m_unix + "'/*" : "";
    UnixShell("chattr -i '" + m_unix + "'" + files + "; chmod u+w '" + m_unix + "'" + files);
  }
  FolderTakingNoNewFile(const FolderTakingNoNewFile&) = delete;
  FolderTakingNoNewFile& operator=(const FolderTakingNoNewFile&) = delete;
  // False when the folder could not be made to refuse (no way on this machine).
  bool Holds() const { return m_holds; }

 private:
  std::string m_unix;
  bool m_lockFiles;
  bool m_holds = false;
};

}  // namespace corvane::test
