#include "HeapMeter.h"

#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_HEAP_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_HEAP_HOOKS 1
#endif
#endif

#if defined(CORVANE_HEAP_HOOKS)
#include <atomic>

// The sanitizer runtime's allocator interface (GCC ships the runtime but not
// its header).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                  std::size_t),
                                              void (*free_hook)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#elif defined(__linux__)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#endif

namespace corvane::testing {

#if defined(CORVANE_HEAP_HOOKS)
namespace {

std::atomic<bool> g_counting{false};
std::atomic<long long> g_current{0};
std::atomic<long long> g_peak{0};

void OnAllocate(const volatile void*, std::size_t size) {
  if (!g_counting.load(std::memory_order_relaxed)) return;
  const long long now =
      g_current.fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
  long long peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
}

void OnFree(const volatile void* p) {
  // Called before the block is released, so its size is still known.
  if (!p || !g_counting.load(std::memory_order_relaxed)) return;
  g_current.fetch_sub(static_cast<long long>(__sanitizer_get_allocated_size(p)));
}

}  // namespace

std::optional<std::size_t> PeakHeapBytes(const std::function<void()>& work) {
  static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnAllocate, OnFree) != 0;
  if (!installed) return std::nullopt;
  g_current = 0;
  g_peak = 0;
  g_counting = true;
  try {
    work();
  } catch (...) {
    g_counting = false;
    throw;
  }
  g_counting = false;
  return static_cast<std::size_t>(g_peak.load());
}

std::optional<std::string> RunWithinAddressSpace(std::size_t, const std::function<std::string()>&) {
  return std::nullopt;  // the sanitizer's own mappings and quarantine would count
}

#elif defined(__linux__)

std::optional<std::size_t> PeakHeapBytes(const std::function<void()>&) {
  return std::nullopt;
}

std::optional<std::string> RunWithinAddressSpace(std::size_t budget,
                                                 const std::function<std::string()>& work) {
  int channel[2];
  if (pipe(channel) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    close(channel[0]);
    // Address space in use now (VmSize), plus the budget.
    std::ifstream status("/proc/self/status");
    std::string line;
    unsigned long long usedKb = 0;
    while (std::getline(status, line))
      if (std::sscanf(line.c_str(), "VmSize: %llu kB", &usedKb) == 1) break;
    const rlim_t limit = static_cast<rlim_t>(usedKb * 1024 + budget);
    const rlimit bound{limit, limit};
    std::string text = "could not set the limit";
    if (usedKb > 0 && setrlimit(RLIMIT_AS, &bound) == 0) {
      try {
        text = work();
      } catch (const std::bad_alloc&) {
        text = "std::bad_alloc escaped";
      } catch (const std::exception& e) {
        text = std::string("exception escaped: ") + e.what();
      }
    }
    const ssize_t written = write(channel[1], text.data(), text.size());
    _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
  }
  close(channel[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return "child died with signal " + std::to_string(WTERMSIG(status));
  return text;
}

#else

std::optional<std::size_t> PeakHeapBytes(const std::function<void()>&) {
  return std::nullopt;
}
std::optional<std::string> RunWithinAddressSpace(std::size_t, const std::function<std::string()>&) {
  return std::nullopt;
}

#endif

}  // namespace corvane::testing
