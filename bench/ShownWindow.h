#pragma once
// For the benchmarks that start a program and watch for its window: EnumWindows with
// FindShownWindow finds a top-level window of the process that the system says is visible.

#include <windows.h>

struct ShownWindowSearch {
  DWORD process;
  HWND found;
};

inline BOOL CALLBACK FindShownWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ShownWindowSearch*>(data);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}
