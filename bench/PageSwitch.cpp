// How long OmbrixHub takes to open its stored-settings page the first time: starts the
// program, waits until its window is on the screen and then the given time more, changes
// the page control to its third page as a click on the tab does, and polls every
// millisecond until the page's "Import Reg." button is visible (a page may make its
// controls' windows only when first opened). Prints one line of figures;
// bench/hub-page-switch.sh runs it under wine.
//
//   page_switch program wait-ms

#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ShownWindow.h"

namespace {

constexpr int StoredSettingsTab = 2;
constexpr char ButtonOnThePage[] = "Import Reg.";

BOOL CALLBACK FindTabs(HWND child, LPARAM data) {
  char name[32] = {};
  ::GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, WC_TABCONTROLA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(data) = child;
  return FALSE;
}

BOOL CALLBACK FindShownButton(HWND child, LPARAM data) {
  char text[32] = {};
  ::GetWindowTextA(child, text, sizeof text);
  if (lstrcmpA(text, ButtonOnThePage) != 0 || !::IsWindowVisible(child)) return TRUE;
  *reinterpret_cast<HWND*>(data) = child;
  return FALSE;
}

double Milliseconds() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: page_switch program wait-ms\n");
    return 2;
  }
  std::string commandLine = "\"" + std::string(argv[1]) + "\"";
  const DWORD wait = static_cast<DWORD>(std::atoi(argv[2]));
  ::timeBeginPeriod(1);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", commandLine.c_str(), ::GetLastError());
    return 1;
  }
  ShownWindowSearch search{started.dwProcessId, nullptr};
  for (const double start = Milliseconds(); !search.found && Milliseconds() - start < 60000; ::Sleep(1)) {
    ::EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
  }
  double opened = -1;
  HWND tabs = nullptr;
  if (search.found) {
    ::Sleep(wait);
    ::EnumChildWindows(search.found, FindTabs, reinterpret_cast<LPARAM>(&tabs));
  }
  if (tabs) {
    HWND button = nullptr;
    const double start = Milliseconds();
    ::PostMessageA(tabs, TCM_SETCURFOCUS, StoredSettingsTab, 0);
    while (!button && Milliseconds() - start < 10000) {
      ::EnumChildWindows(search.found, FindShownButton, reinterpret_cast<LPARAM>(&button));
      if (!button) ::Sleep(1);
    }
    if (button) opened = Milliseconds() - start;
  }
  if (search.found) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(started.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(started.hProcess, 1);
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  ::timeEndPeriod(1);
  if (opened < 0) {
    std::printf("opened never\n");
    return 1;
  }
  std::printf("opened %.1f ms\n", opened);
  return 0;
}
