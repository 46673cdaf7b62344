// What the toolkit's benchmarks time with: a monotonic clock in nanoseconds and the median
// of the samples.
#ifndef ZK_BENCH_BENCH_TIMING_H
#define ZK_BENCH_BENCH_TIMING_H

#include <windows.h>

#include <algorithm>
#include <vector>

inline double NowNs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

#endif
