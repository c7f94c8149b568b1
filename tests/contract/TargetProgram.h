#pragma once
// The project's test target program (OmbrixTarget.exe) on the backend under test, and small
// helpers for tests that start it.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace ombrix::contract {

// The full path of the target program; on the simulated desktop it is defined first.
std::string TargetProgram(Platform& platform);
// Ends a program a test started and releases its handles.
void EndProgram(Platform& platform, const ProcessInformation& info);

// Tries `ready` until it holds, pausing briefly between tries, for at most about 15 seconds
// of the platform's clock (real or virtual).
template <typename Ready>
bool WaitUntil(Platform& platform, Ready ready) {
  for (int attempt = 0; attempt < 600; ++attempt) {
    if (ready()) return true;
    platform.Clock().Sleep(25);
  }
  return ready();
}

// The top-level windows of one process, topmost first: all of them, or only those shown
// (which leaves out the hidden helper windows every program has).
inline std::vector<HWND> WindowsOfProcess(IWindowOps& windows, DWORD processId, bool shownOnly = true) {
  std::vector<HWND> found;
  for (HWND window = windows.FindTopWindow(); window; window = windows.GetWindow(window, GW_HWNDNEXT)) {
    DWORD owner = 0;
    windows.GetWindowThreadProcessId(window, &owner);
    if (owner != processId) continue;
    if (shownOnly && (windows.GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) == 0) continue;
    found.push_back(window);
  }
  return found;
}

inline std::vector<std::string> Captions(IWindowOps& windows, const std::vector<HWND>& list) {
  std::vector<std::string> captions;
  for (HWND window : list) captions.push_back(windows.GetWindowTextA(window, 256));
  return captions;
}

// Starts the target with these options, shown normally.
inline bool StartTarget(Platform& platform, const std::string& options, ProcessInformation& info,
                        WORD showCommand = SW_SHOWNORMAL) {
  StartupInfo startup;
  startup.flags = STARTF_USESHOWWINDOW;
  startup.showWindow = showCommand;
  return platform.Processes().CreateProcessA("\"" + TargetProgram(platform) + "\" " + options,
                                             CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, startup, info) != FALSE;
}

}  // namespace ombrix::contract
