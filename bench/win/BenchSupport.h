// Timing helpers of the Windows benchmarks: milliseconds, medians of timed
// rounds (GDI work flushed inside each round), and the message pump.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace corvane::bench {

using Clock = std::chrono::steady_clock;

inline double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

inline double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The median time of round(i) for i in 0..rounds-1, each with its GDI work
// flushed before the clock stops.
template <typename Round>
double MedianTime(int rounds, Round&& round) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    auto t0 = Clock::now();
    round(i);
    GdiFlush();
    times.push_back(Millis(Clock::now() - t0));
  }
  return Median(std::move(times));
}

inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace corvane::bench
