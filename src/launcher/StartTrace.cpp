#include "launcher/StartTrace.h"

#include <windows.h>
#include <malloc.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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

// The heap every new and malloc of the program draws from.
HANDLE RuntimeHeap() { return reinterpret_cast<HANDLE>(_get_heap_handle()); }

struct HeapUse {
  std::uint64_t used = 0;
  // Free but still committed: pages the heap keeps (and the process holds)
  // after what was in them was freed.
  std::uint64_t free = 0;
  // Each reserved range the heap's blocks lie in.
  std::vector<std::pair<std::uintptr_t, std::uintptr_t>> ranges;
};

std::pair<std::uintptr_t, std::uintptr_t> ReservationOf(const void* address) {
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(address, &info, sizeof info)) return {0, 0};
  const auto base = reinterpret_cast<std::uintptr_t>(info.AllocationBase);
  std::uintptr_t end = base;
  while (VirtualQuery(reinterpret_cast<const void*>(end), &info, sizeof info) &&
         reinterpret_cast<std::uintptr_t>(info.AllocationBase) == base && info.RegionSize > 0)
    end += info.RegionSize;
  return {base, end};
}

HeapUse WalkHeap(HANDLE heap) {
  HeapUse use;
  if (!heap || !HeapLock(heap)) return use;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_REGION) {
      use.ranges.push_back(ReservationOf(entry.lpData));
    } else if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
      use.used += entry.cbData;
    } else if (!(entry.wFlags & PROCESS_HEAP_UNCOMMITTED_RANGE)) {
      use.free += entry.cbData;
    }
  }
  HeapUnlock(heap);
  return use;
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
  const HeapUse heap = WalkHeap(RuntimeHeap());
  if (FILE* out = std::fopen(file.c_str(), "a")) {
    std::fprintf(out, "%8.1f ms %7llu kB  %-20s (C heap: %llu kB in use, %llu kB free)\n", ms,
                 static_cast<unsigned long long>(memory.WorkingSetSize / 1024), step,
                 static_cast<unsigned long long>(heap.used / 1024),
                 static_cast<unsigned long long>(heap.free / 1024));
    std::fclose(out);
  }
}

void StartTraceHeapRanges() {
  const std::string& file = TraceFile();
  if (file.empty()) return;
  FILE* out = std::fopen(file.c_str(), "a");
  if (!out) return;
  for (const auto& [name, heap] : {std::pair{"C-runtime", RuntimeHeap()}, std::pair{"process", GetProcessHeap()}})
    for (const auto& [first, end] : WalkHeap(heap).ranges)
      if (first < end)
        std::fprintf(out, "heap %s %llx %llx\n", name, static_cast<unsigned long long>(first),
                     static_cast<unsigned long long>(end));
  std::fclose(out);
}

}  // namespace corvane
