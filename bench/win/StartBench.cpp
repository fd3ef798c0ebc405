// Start-up time of the launcher against a bare window program, started
// alternately under the same conditions: from the process's creation to its
// first visible top-level window, watched from here. Each launcher start
// gets a fresh store (the INI beside the exe is removed, or replaced by the
// given one). With CORVANE_START_TRACE set, the launcher also writes where
// its own start-up time goes; the last launcher run's trace is printed.
// Prints the medians and, last, their ratio.
//
//   start_bench corvane.exe bare_window.exe [pairs] [links]
//
// links: a store of that many links is given to every launcher start; every
// tenth lies on a network share that does not exist.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"

using namespace corvane::bench;

namespace {

struct Found {
  DWORD pid;
  HWND window;
};

HWND VisibleWindowOf(DWORD pid) {
  Found found{pid, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Found*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == f->pid && IsWindowVisible(w)) {
          f->window = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.window;
}

// Milliseconds from CreateProcess to a visible window; -1 when none came.
double TimeToWindow(const std::string& exe, const std::string& environment) {
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  auto t0 = Clock::now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                      environment.empty() ? nullptr : const_cast<char*>(environment.data()),
                      nullptr, &si, &pi))
    return -1;
  double elapsed = -1;
  HWND window = nullptr;
  while (Millis(Clock::now() - t0) < 20000) {
    if ((window = VisibleWindowOf(pi.dwProcessId))) {
      elapsed = Millis(Clock::now() - t0);
      break;
    }
    Sleep(1);
  }
  // Closed as a user closes it (the launcher saves its position), then made sure of.
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return elapsed;
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of("\\/") + 1);
}

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: start_bench corvane.exe bare_window.exe [pairs] [links]\n");
    return 2;
  }
  const std::string launcher = argv[1];
  const std::string bare = argv[2];
  const int pairs = argc > 3 ? std::atoi(argv[3]) : 8;
  const int links = argc > 4 ? std::atoi(argv[4]) : 0;
  const std::string ini = FolderOf(launcher) + "corvane.ini";
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string trace = std::string(temp) + "corvane-start-trace.txt";
  const std::string environment = EnvironmentWith("CORVANE_START_TRACE=" + trace);
  const std::string seed = std::string(temp) + "corvane-start-store.ini";
  DeleteFileA(seed.c_str());
  for (int i = 0; i < links; ++i) {
    std::string name = "Link " + std::to_string(i);
    const char* target = i % 10 == 9 ? "\\\\no-such-host\\share\\tool.exe" : "C:\\windows\\notepad.exe";
    WritePrivateProfileStringA(name.c_str(), "Link", target, seed.c_str());
  }

  // One start of each first, so neither pays for warming the system's caches.
  DeleteFileA(ini.c_str());
  TimeToWindow(bare, "");
  TimeToWindow(launcher, "");
  std::vector<double> launcherTimes, bareTimes;
  for (int i = 0; i < pairs; ++i) {
    DeleteFileA(ini.c_str());
    if (links > 0) CopyFileA(seed.c_str(), ini.c_str(), FALSE);
    DeleteFileA(trace.c_str());
    double l = TimeToWindow(launcher, environment);
    double b = TimeToWindow(bare, "");
    if (l < 0 || b < 0) {
      std::printf("a program showed no window\n");
      return 1;
    }
    launcherTimes.push_back(l);
    bareTimes.push_back(b);
    std::printf("pair %d: launcher %.1f ms, bare %.1f ms\n", i + 1, l, b);
  }
  DeleteFileA(ini.c_str());
  std::ifstream steps(trace);
  std::string line;
  std::printf("last launcher start, ms since its process was created:\n");
  while (std::getline(steps, line)) std::printf("  %s\n", line.c_str());
  double l = Median(launcherTimes), b = Median(bareTimes);
  std::printf("median of %d pairs (%d links): launcher %.1f ms, bare %.1f ms\n", pairs, links, l, b);
  std::printf("ratio %.2f\n", b > 0 ? l / b : 0.0);
  return 0;
}
