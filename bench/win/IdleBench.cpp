// What the launcher costs while nobody touches it, against bare window
// programs started in the same run: how often each process is woken
// (voluntary context switches of all its threads), how much processor time
// it takes over a fixed idle window, and how much private memory it holds
// when idle. Two rounds: the launcher with its editor hidden against a bare
// window program, then the same launcher with the editor shown against a
// bare program whose one window holds a focused edit field (the system's
// caret blinks there), each measured while its window is the active one.
// Prints the launcher's start steps with its working set after each, a
// breakdown of its idle private memory by mapping, and, last, the counts
// and differences.
//
//   idle_bench corvane.exe bare_window.exe bare_edit.exe [seconds]
//
// Under Wine every Windows process is a Linux process: the figures are read
// from its /proc entries (drive Z: is the Linux root), found by the unique
// folder the programs are copied into for the run. The mouse is parked in a
// corner no window covers, as a user's mouse is while working elsewhere;
// each program is then measured once more alone with the mouse resting over
// its window. The launcher's anonymous memory is named by the heap ranges
// its start trace lists.
//
// Under Wine a window that asked for its mouse-leave notice is checked on a
// system timer (every mouse hover time) for as long as the mouse rests over
// it; Windows needs no timer for that. The editor's controls ask for that
// notice (their enter and leave events), so the editor with the mouse
// resting over it is also set against the bare edit program making the
// same request (--track-leave).
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"

using namespace corvane::bench;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::replace(s.begin(), s.end(), '/', '\\');
  return s;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      names.push_back(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

// The Linux process running a program started from folder; empty when none.
std::string LinuxProcessOf(const std::string& exePath) {
  const std::string wanted = Lower(exePath);
  for (const std::string& pid : Entries("Z:\\proc")) {
    std::string command = ReadWhole("Z:\\proc\\" + pid + "\\cmdline");
    std::replace(command.begin(), command.end(), '\0', ' ');
    if (Lower(command).find(wanted) != std::string::npos) return pid;
  }
  return {};
}

struct Counters {
  std::uint64_t wakes = 0;
  std::uint64_t cpuNs = 0;
};

std::uint64_t FieldAfter(const std::string& text, const std::string& key) {
  std::size_t at = text.find(key);
  if (at == std::string::npos) return 0;
  return std::strtoull(text.c_str() + at + key.size(), nullptr, 10);
}

// Summed over the process's threads (a thread that ended is not counted).
Counters Read(const std::string& pid) {
  Counters c;
  const std::string tasks = "Z:\\proc\\" + pid + "\\task";
  for (const std::string& tid : Entries(tasks)) {
    c.wakes += FieldAfter(ReadWhole(tasks + "\\" + tid + "\\status"), "voluntary_ctxt_switches:");
    c.cpuNs += std::strtoull(ReadWhole(tasks + "\\" + tid + "\\schedstat").c_str(), nullptr, 10);
  }
  return c;
}

struct Memory {
  // Pages of the process no other process maps (file pages too).
  std::uint64_t privateKb = 0;
  // Of those, the ones no file backs: heaps, stacks, bitmaps, data written
  // to (what the system could only swap out).
  std::uint64_t anonymousKb = 0;
};

Memory MemoryOf(const std::string& pid) {
  std::string rollup = ReadWhole("Z:\\proc\\" + pid + "\\smaps_rollup");
  return {FieldAfter(rollup, "Private_Clean:") + FieldAfter(rollup, "Private_Dirty:"),
          FieldAfter(rollup, "Anonymous:")};
}

// Calls take(start address, path as mapped (empty for anonymous memory),
// private kB) for each mapping of the process.
template <typename Take>
void ForEachMapping(const std::string& pid, Take&& take) {
  std::istringstream smaps(ReadWhole("Z:\\proc\\" + pid + "\\smaps"));
  std::string line, path;
  std::uint64_t start = 0, privateKb = 0;
  bool open = false;
  while (std::getline(smaps, line)) {
    if (line.empty()) continue;
    if (std::isxdigit(static_cast<unsigned char>(line[0])) && line.find('-') < 17) {
      if (open) take(start, path, privateKb);
      std::istringstream fields(line);
      std::string range, perms, offset, device, inode;
      fields >> range >> perms >> offset >> device >> inode;
      std::getline(fields, path);
      path.erase(0, path.find_first_not_of(' '));
      start = std::strtoull(range.c_str(), nullptr, 16);
      privateKb = 0;
      open = true;
      continue;
    }
    if (line.rfind("Private_Clean:", 0) == 0 || line.rfind("Private_Dirty:", 0) == 0)
      privateKb += std::strtoull(line.c_str() + 14, nullptr, 10);
  }
  if (open) take(start, path, privateKb);
}

// Private kB by what is mapped: a file's base name, or the kind of
// anonymous memory.
std::map<std::string, std::uint64_t> PrivateByMapping(const std::string& pid) {
  std::map<std::string, std::uint64_t> by;
  ForEachMapping(pid, [&](std::uint64_t, const std::string& path, std::uint64_t kb) {
    if (path.empty()) by["[anonymous]"] += kb;
    else if (path[0] == '[') by[path] += kb;
    else by[path.substr(path.find_last_of('/') + 1)] += kb;
  });
  return by;
}

// Reserved ranges the launcher names in its start trace ("heap <name>
// <first> <end>", hex): its heaps.
struct NamedRange {
  std::string name;
  std::uint64_t first = 0, end = 0;
};

std::vector<NamedRange> HeapRangesIn(const std::string& trace) {
  std::vector<NamedRange> ranges;
  std::istringstream lines(ReadWhole(trace));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string word, name, first, end;
    if (!(fields >> word >> name >> first >> end) || word != "heap") continue;
    ranges.push_back({name + " heap", std::strtoull(first.c_str(), nullptr, 16), std::strtoull(end.c_str(), nullptr, 16)});
  }
  return ranges;
}

// The process's anonymous private kB by owner: each named heap, the rest as
// "other". Mappings are matched by their start address.
std::map<std::string, std::uint64_t> AnonymousByOwner(const std::string& pid, const std::vector<NamedRange>& named) {
  std::map<std::string, std::uint64_t> by;
  ForEachMapping(pid, [&](std::uint64_t start, const std::string& path, std::uint64_t kb) {
    if (!path.empty()) return;
    std::string owner = "other";
    for (const NamedRange& r : named)
      if (start >= r.first && start < r.end) owner = r.name;
    by[owner] += kb;
  });
  return by;
}

struct Program {
  explicit Program(std::string path, std::string arguments = {})
      : exe(std::move(path)), args(std::move(arguments)) {}
  std::string exe;
  std::string args;
  PROCESS_INFORMATION pi{};
  // Its Linux process id, as /proc names it.
  std::string pid;
};

// The current environment plus one variable, as CreateProcess takes it.
std::string EnvironmentWith(const std::string& assignment) {
  std::string block;
  char* all = GetEnvironmentStringsA();
  for (char* p = all; *p; p += std::strlen(p) + 1) block.append(p).push_back('\0');
  FreeEnvironmentStringsA(all);
  block.append(assignment).push_back('\0');
  block.push_back('\0');
  return block;
}

bool Start(Program& p, const std::string& environment = {}) {
  std::string command = "\"" + p.exe + "\"" + (p.args.empty() ? "" : " " + p.args);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                      environment.empty() ? nullptr : const_cast<char*>(environment.data()), nullptr, &si, &p.pi))
    return false;
  for (int i = 0; i < 500 && p.pid.empty(); ++i) {
    p.pid = LinuxProcessOf(p.exe);
    if (p.pid.empty()) Sleep(10);
  }
  return !p.pid.empty();
}

struct Found {
  DWORD pid;
  const char* className;
  HWND window;
};

HWND VisibleWindowOf(DWORD pid, const char* className = nullptr) {
  Found found{pid, className, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Found*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        if (owner == f->pid && IsWindowVisible(w) && (!f->className || std::string(name) == f->className)) {
          f->window = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.window;
}

bool WaitForWindow(const Program& p, const char* className = nullptr) {
  for (int i = 0; i < 2000; ++i) {
    if (VisibleWindowOf(p.pi.dwProcessId, className)) return true;
    Sleep(10);
  }
  return false;
}

// Start-up work is over once no process of the round took processor time
// for two seconds (at most twenty seconds are waited).
void WaitUntilQuiet(const std::vector<const Program*>& programs) {
  std::vector<std::uint64_t> last(programs.size());
  int quietSamples = 0;
  for (int i = 0; i < 80 && quietSamples < 8; ++i) {
    bool quiet = true;
    for (std::size_t k = 0; k < programs.size(); ++k) {
      std::uint64_t now = Read(programs[k]->pid).cpuNs;
      if (now != last[k]) quiet = false;
      last[k] = now;
    }
    quietSamples = quiet ? quietSamples + 1 : 0;
    Sleep(250);
  }
}

struct Idle {
  std::uint64_t wakes = 0;
  double cpuMs = 0;
};

std::vector<Idle> MeasureIdle(const std::vector<const Program*>& programs, int seconds) {
  std::vector<Counters> before;
  for (const Program* p : programs) before.push_back(Read(p->pid));
  Sleep(static_cast<DWORD>(seconds) * 1000);
  std::vector<Idle> result;
  for (std::size_t k = 0; k < programs.size(); ++k) {
    Counters after = Read(programs[k]->pid);
    result.push_back({after.wakes - before[k].wakes, static_cast<double>(after.cpuNs - before[k].cpuNs) / 1e6});
  }
  return result;
}

void Close(Program& p) {
  if (!p.pi.hProcess) return;
  if (HWND w = VisibleWindowOf(p.pi.dwProcessId)) PostMessageA(w, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(p.pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(p.pi.hProcess, 1);
  CloseHandle(p.pi.hThread);
  CloseHandle(p.pi.hProcess);
  p.pi = {};
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

void ParkMouse() { SetCursorPos(4, GetSystemMetrics(SM_CYSCREEN) - 4); }

// Rests the mouse in the middle of the program's visible window of the class
// (the X pointer moves with it), waits until the move's work is over and
// measures the program alone; the mouse is parked again after.
Idle MeasureWithMouseOver(const Program& p, const char* className, int seconds) {
  Idle idle;
  if (HWND w = VisibleWindowOf(p.pi.dwProcessId, className)) {
    RECT r{};
    GetWindowRect(w, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    WaitUntilQuiet({&p});
    idle = MeasureIdle({&p}, seconds)[0];
  }
  ParkMouse();
  return idle;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: idle_bench corvane.exe bare_window.exe bare_edit.exe [seconds]\n");
    return 2;
  }
  const int seconds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 60;
  // A folder of the run's own: the programs are found by it, and the
  // launcher starts with a fresh store beside its copy.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "corvane-idle-" + std::to_string(GetCurrentProcessId()) + "-" +
      std::to_string(GetTickCount());
  CreateDirectoryA(folder.c_str(), nullptr);
  Program launcher(folder + "\\" + BaseName(argv[1])), bare(folder + "\\" + BaseName(argv[2])),
      bareEdit(folder + "\\" + BaseName(argv[3])), bareEditTracking(bareEdit.exe, "--track-leave");
  if (!CopyFileA(argv[1], launcher.exe.c_str(), FALSE) || !CopyFileA(argv[2], bare.exe.c_str(), FALSE) ||
      !CopyFileA(argv[3], bareEdit.exe.c_str(), FALSE)) {
    std::printf("could not copy the programs into %s\n", folder.c_str());
    return 1;
  }
  ParkMouse();
  const std::string trace = folder + "\\start-trace.txt";

  // Round one: the launcher as it starts, editor hidden, against the bare
  // window. Round two: the editor shown (and active, its caret blinking if
  // a field has the focus), then the bare edit program, whose field has the
  // focus while it is measured.
  int failed = 0;
  if (!Start(launcher, EnvironmentWith("CORVANE_START_TRACE=" + trace)) || !Start(bare) ||
      !WaitForWindow(launcher, "TForm1") || !WaitForWindow(bare)) {
    std::printf("a program did not start or showed no window\n");
    failed = 1;
  }
  std::vector<Idle> hidden, shown;
  // With the mouse resting over the window: launcher, bare window, editor,
  // bare edit.
  Idle overLauncher, overBare, overEditor, overBareEdit, overBareEditTracking;
  std::map<std::string, std::uint64_t> launcherAnonymous;
  Memory launcherMemory, bareMemory, launcherShownMemory, bareEditMemory;
  std::map<std::string, std::uint64_t> launcherMap, bareMap;
  if (!failed) {
    WaitUntilQuiet({&launcher, &bare});
    hidden = MeasureIdle({&launcher, &bare}, seconds);
    launcherMemory = MemoryOf(launcher.pid);
    bareMemory = MemoryOf(bare.pid);
    launcherMap = PrivateByMapping(launcher.pid);
    launcherAnonymous = AnonymousByOwner(launcher.pid, HeapRangesIn(trace));
    bareMap = PrivateByMapping(bare.pid);

    overLauncher = MeasureWithMouseOver(launcher, "TForm1", seconds);
    overBare = MeasureWithMouseOver(bare, nullptr, seconds);

    // The editor opens on a double-click of the picture; the mouse stays
    // parked.
    HWND picture = VisibleWindowOf(launcher.pi.dwProcessId, "TForm1");
    PostMessageA(picture, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    if (!WaitForWindow(launcher, "TForm2")) {
      std::printf("the editor did not show\n");
      failed = 1;
    }
  }
  if (!failed) {
    WaitUntilQuiet({&launcher});
    shown.push_back(MeasureIdle({&launcher}, seconds)[0]);
    launcherShownMemory = MemoryOf(launcher.pid);
    overEditor = MeasureWithMouseOver(launcher, "TForm2", seconds);
    if (!Start(bareEdit) || !WaitForWindow(bareEdit)) {
      std::printf("the bare edit program showed no window\n");
      failed = 1;
    }
  }
  if (!failed) {
    WaitUntilQuiet({&bareEdit});
    shown.push_back(MeasureIdle({&bareEdit}, seconds)[0]);
    bareEditMemory = MemoryOf(bareEdit.pid);
    overBareEdit = MeasureWithMouseOver(bareEdit, nullptr, seconds);
    // The same program asking for the leave notice, alone (it is found by
    // the same path, so the first one has ended).
    Close(bareEdit);
    if (!Start(bareEditTracking) || !WaitForWindow(bareEditTracking)) {
      std::printf("the bare edit program asking for the leave notice showed no window\n");
      failed = 1;
    } else {
      WaitUntilQuiet({&bareEditTracking});
      overBareEditTracking = MeasureWithMouseOver(bareEditTracking, nullptr, seconds);
    }
  }
  Close(bareEditTracking);
  Close(bareEdit);
  Close(bare);
  Close(launcher);
  std::ifstream steps(trace);
  std::string line;
  std::printf("the launcher's start, since its process was created:\n");
  while (std::getline(steps, line))
    if (line.rfind("heap ", 0) != 0) std::printf("  %s\n", line.c_str());
  steps.close();
  DeleteFileA(trace.c_str());
  for (const char* name : {argv[1], argv[2], argv[3]}) DeleteFileA((folder + "\\" + BaseName(name)).c_str());
  DeleteFileA((folder + "\\" + BaseName(argv[1]).substr(0, BaseName(argv[1]).find_last_of('.')) + ".ini").c_str());
  RemoveDirectoryA(folder.c_str());
  if (failed) return 1;

  std::printf("launcher's private memory when idle by mapping, kB (launcher / bare, largest differences first):\n");
  std::vector<std::pair<std::string, long long>> differences;
  for (const auto& [name, kb] : launcherMap)
    differences.push_back({name, static_cast<long long>(kb) - static_cast<long long>(bareMap[name])});
  for (const auto& [name, kb] : bareMap)
    if (!launcherMap.count(name)) differences.push_back({name, -static_cast<long long>(kb)});
  std::sort(differences.begin(), differences.end(),
            [](const auto& a, const auto& b) { return std::llabs(a.second) > std::llabs(b.second); });
  for (const auto& [name, difference] : differences) {
    if (difference == 0) continue;
    std::printf("  %-40s %7llu / %7llu  (%+lld)\n", name.c_str(),
                static_cast<unsigned long long>(launcherMap[name]), static_cast<unsigned long long>(bareMap[name]),
                difference);
  }
  std::printf("launcher's anonymous private memory by owner, kB (bare window's anonymous in all: %llu):\n",
              static_cast<unsigned long long>(bareMap["[anonymous]"]));
  for (const auto& [owner, kb] : launcherAnonymous)
    std::printf("  %-40s %7llu\n", owner.c_str(), static_cast<unsigned long long>(kb));
  auto mb = [](std::uint64_t kb) { return static_cast<double>(kb) / 1024.0; };
  auto wakes = [](const Idle& i) { return static_cast<unsigned long long>(i.wakes); };
  std::printf("idle over %d s, editor hidden: launcher %llu wake-ups, %.1f ms CPU; bare window %llu wake-ups, %.1f ms CPU\n",
              seconds, wakes(hidden[0]), hidden[0].cpuMs, wakes(hidden[1]), hidden[1].cpuMs);
  std::printf("idle over %d s, editor shown: launcher %llu wake-ups, %.1f ms CPU; bare edit %llu wake-ups, %.1f ms CPU\n",
              seconds, wakes(shown[0]), shown[0].cpuMs, wakes(shown[1]), shown[1].cpuMs);
  std::printf("private memory when idle (of it anonymous): launcher %.1f MB (%.1f), editor shown %.1f MB (%.1f); "
              "bare window %.1f MB (%.1f), bare edit %.1f MB (%.1f)\n",
              mb(launcherMemory.privateKb), mb(launcherMemory.anonymousKb), mb(launcherShownMemory.privateKb),
              mb(launcherShownMemory.anonymousKb), mb(bareMemory.privateKb), mb(bareMemory.anonymousKb),
              mb(bareEditMemory.privateKb), mb(bareEditMemory.anonymousKb));
  std::printf("idle over %d s, mouse resting over the window: launcher %llu wake-ups, %.1f ms CPU; bare window %llu "
              "wake-ups, %.1f ms CPU; editor %llu wake-ups, %.1f ms CPU; bare edit %llu wake-ups, %.1f ms CPU\n",
              seconds, wakes(overLauncher), overLauncher.cpuMs, wakes(overBare), overBare.cpuMs, wakes(overEditor),
              overEditor.cpuMs, wakes(overBareEdit), overBareEdit.cpuMs);
  std::printf("idle over %d s, mouse resting over the window of the bare edit asking for the mouse-leave notice: %llu "
              "wake-ups, %.1f ms CPU\n",
              seconds, wakes(overBareEditTracking), overBareEditTracking.cpuMs);
  std::printf("wake-ups beyond the reference: editor hidden %lld, editor shown %lld\n",
              static_cast<long long>(hidden[0].wakes) - static_cast<long long>(hidden[1].wakes),
              static_cast<long long>(shown[0].wakes) - static_cast<long long>(shown[1].wakes));
  std::printf("CPU beyond the reference: editor hidden %+.1f ms, editor shown %+.1f ms\n",
              hidden[0].cpuMs - hidden[1].cpuMs, shown[0].cpuMs - shown[1].cpuMs);
  std::printf("mouse resting over the window, beyond the reference: launcher %lld wake-ups, %+.1f ms CPU; editor "
              "%lld wake-ups, %+.1f ms CPU\n",
              static_cast<long long>(overLauncher.wakes) - static_cast<long long>(overBare.wakes),
              overLauncher.cpuMs - overBare.cpuMs,
              static_cast<long long>(overEditor.wakes) - static_cast<long long>(overBareEdit.wakes),
              overEditor.cpuMs - overBareEdit.cpuMs);
  std::printf("mouse resting over the editor, beyond the bare edit asking for the mouse-leave notice: %lld wake-ups, "
              "%+.1f ms CPU\n",
              static_cast<long long>(overEditor.wakes) - static_cast<long long>(overBareEditTracking.wakes),
              overEditor.cpuMs - overBareEditTracking.cpuMs);
  std::printf("private memory beyond the bare window: %+.1f MB (anonymous %+.1f MB)\n",
              mb(launcherMemory.privateKb) - mb(bareMemory.privateKb),
              mb(launcherMemory.anonymousKb) - mb(bareMemory.anonymousKb));
  return 0;
}
