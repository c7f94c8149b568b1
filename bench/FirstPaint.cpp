// How long a program takes from its start to its window on the screen, as the system tells
// it (IsWindowVisible of a top-level window of the started process), polled every
// millisecond. With --list it then waits for the window's file-type list box to be shown
// (OmbrixHub keeps it hidden until its list is complete) and reads its final count.
// Prints one line of figures; bench/hub-first-paint.sh runs it under wine.
//
//   first_paint [--list] program [arguments ...]

#include <windows.h>
// After windows.h, which leaves it out when built lean.
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench/ShownWindow.h"

namespace {

BOOL CALLBACK FindListBox(HWND child, LPARAM data) {
  char name[32] = {};
  ::GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "ListBox") != 0) return TRUE;
  *reinterpret_cast<HWND*>(data) = child;
  return FALSE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& frequency) {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Quoted(const char* argument) {
  return std::strchr(argument, ' ') ? "\"" + std::string(argument) + "\"" : std::string(argument);
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  const bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
  if (list) ++first;
  if (argc <= first) {
    std::fprintf(stderr, "usage: first_paint [--list] program [arguments ...]\n");
    return 2;
  }
  std::string commandLine;
  for (int i = first; i < argc; ++i) commandLine += (i > first ? " " : "") + Quoted(argv[i]);

  ::timeBeginPeriod(1);
  LARGE_INTEGER frequency;
  LARGE_INTEGER start;
  ::QueryPerformanceFrequency(&frequency);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", commandLine.c_str(), ::GetLastError());
    return 1;
  }
  ShownWindowSearch search{started.dwProcessId, nullptr};
  double shown = -1;
  while (Milliseconds(start, frequency) < 60000) {
    ::EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      shown = Milliseconds(start, frequency);
      break;
    }
    ::Sleep(1);
  }
  double complete = -1;
  LRESULT items = -1;
  if (search.found && list) {
    HWND listBox = nullptr;
    while (Milliseconds(start, frequency) < 120000) {
      if (!listBox) ::EnumChildWindows(search.found, FindListBox, reinterpret_cast<LPARAM>(&listBox));
      // The list's own flag, not IsWindowVisible: its page need not be the one shown.
      if (listBox && (::GetWindowLongA(listBox, GWL_STYLE) & WS_VISIBLE)) {
        complete = Milliseconds(start, frequency);
        items = ::SendMessageA(listBox, LB_GETCOUNT, 0, 0);
        break;
      }
      ::Sleep(1);
    }
  }
  if (search.found) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(started.hProcess, 1);
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  ::timeEndPeriod(1);
  if (shown < 0) {
    std::printf("shown never\n");
    return 1;
  }
  if (list) {
    std::printf("shown %.1f ms complete %.1f ms items %ld\n", shown, complete, static_cast<long>(items));
  } else {
    std::printf("shown %.1f ms\n", shown);
  }
  return complete < 0 && list ? 1 : 0;
}
