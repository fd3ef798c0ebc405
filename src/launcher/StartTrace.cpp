#include "launcher/StartTrace.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdint>
#include <string>

namespace corvane {

namespace {

std::uint64_t Ticks(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// The trace file, or empty when tracing is off (read once).
const std::string& TraceFile() {
  static const std::string file = [] {
    char path[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA("CORVANE_START_TRACE", path, sizeof path);
    return n > 0 && n < sizeof path ? std::string(path) : std::string();
  }();
  return file;
}

}  // namespace

void StartTraceMark(const char* step) {
  const std::string& file = TraceFile();
  if (file.empty()) return;
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  double ms = static_cast<double>(Ticks(now) - Ticks(created)) / 10000.0;
  // The memory the process holds so far (its working set: what Wine
  // reports of every process), so where it goes at start shows step by
  // step; kernel32's own entry, so no further library loads for it.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  if (FILE* out = std::fopen(file.c_str(), "a")) {
    std::fprintf(out, "%8.1f ms %7llu kB  %s\n", ms, static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
                 step);
    std::fclose(out);
  }
}

}  // namespace corvane
