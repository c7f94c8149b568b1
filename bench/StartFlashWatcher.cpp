// StartFlashWatcher.exe: how long a window is on the screen. Waits for a top-level window
// with the given caption to exist, then asks IsWindowVisible every millisecond for the
// given time and prints the milliseconds it answered yes; at the end it closes the window.
//
//   StartFlashWatcher.exe CAPTION [watch-ms] [wait-ms]
//
// Prints "visible N.N ms", or "not found" (exit code 1) when no such window came within
// wait-ms (default 20000).

#include <windows.h>
// timeBeginPeriod, which the lean Windows header leaves out.
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: StartFlashWatcher CAPTION [watch-ms] [wait-ms]\n");
    return 2;
  }
  const char* caption = argv[1];
  const double watchMs = argc > 2 ? std::atof(argv[2]) : 3000.0;
  const double waitMs = argc > 3 ? std::atof(argv[3]) : 20000.0;
  ::timeBeginPeriod(1);
  LARGE_INTEGER frequency;
  LARGE_INTEGER start;
  LARGE_INTEGER now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);

  HWND window = nullptr;
  while (!(window = ::FindWindowA(nullptr, caption))) {
    ::QueryPerformanceCounter(&now);
    if (Milliseconds(start, now, frequency) > waitMs) {
      std::printf("not found\n");
      return 1;
    }
    ::Sleep(1);
  }

  // Each sample's answer counts for the time until the next one.
  LARGE_INTEGER found;
  LARGE_INTEGER last;
  ::QueryPerformanceCounter(&found);
  last = found;
  bool visible = ::IsWindowVisible(window) != FALSE;
  double visibleMs = 0;
  for (;;) {
    ::Sleep(1);
    ::QueryPerformanceCounter(&now);
    if (visible) visibleMs += Milliseconds(last, now, frequency);
    last = now;
    if (!::IsWindow(window) || Milliseconds(found, now, frequency) > watchMs) break;
    visible = ::IsWindowVisible(window) != FALSE;
  }
  std::printf("visible %.1f ms\n", visibleMs);
  std::fflush(stdout);
  ::PostMessageA(window, WM_CLOSE, 0, 0);
  ::timeEndPeriod(1);
  return 0;
}
