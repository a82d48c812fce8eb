#pragma once
// Wall time, for the benchmarks that run under Wine.
#include <windows.h>

#include <algorithm>
#include <functional>

// The seconds one run of the work takes.
inline double SecondsTaken(const std::function<void()>& work) {
  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  work();
  ::QueryPerformanceCounter(&end);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The fewest seconds of the runs, so that a neighbour's load on a shared machine weighs as little
// as possible; prepare, when given, runs untimed before each.
inline double BestSeconds(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    best = std::min(best, SecondsTaken(work));
  }
  return best;
}
