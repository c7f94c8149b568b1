#pragma once
// The benchmarks' common start: one run over the simulated desktop and, in the Windows
// build, one over the real API. The first argument is the number of repetitions.

#include <algorithm>
#include <cstdlib>

#include "platform/sim/SimPlatform.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace ombrix {

// `bench(platform, backend name, repetitions)` returns the number of its failed checks.
template <class Bench>
int RunOnBothDesktops(int argc, char** argv, int defaultRepetitions, Bench bench) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRepetitions;
  int failures = 0;
  {
    sim::SimPlatform platform;
    failures += bench(platform, "simulated desktop", repetitions);
  }
#ifdef _WIN32
  {
    win32::Win32Platform platform;
    failures += bench(platform, "Windows API", repetitions);
  }
#endif
  return failures == 0 ? 0 : 1;
}

}  // namespace ombrix
