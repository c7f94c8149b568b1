#pragma once
// The desktop's top-level windows, topmost first, and the search for the target's windows
// among them.

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "runtime/HandOver.h"
#include "runtime/TargetState.h"

namespace ombrix {

// GetWindowTextA capacity of a listed window's name, terminator included.
constexpr int WindowNameCapacity = 255;

// Hidden helper windows that the system gives a program's threads: COM's and DDE's, and
// the input-method windows every thread that makes a window gets. They are never the
// program's own windows, and showing them would put empty boxes on the screen.
// `upperName` is already upper-cased.
bool IsHelperWindow(const std::string& upperName);

// What is read of a window when it is listed. Ombrix itself uses only the handle.
struct TWindowInfo {
  HWND Handle = nullptr;
  LONG_PTR Instance = 0;    // GWLP_HINSTANCE
  LONG_PTR Parent = 0;      // GWLP_HWNDPARENT
  LONG_PTR WindowProc = 0;  // GWLP_WNDPROC
  LONG_PTR Id = 0;          // GWLP_ID
  LONG_PTR UserData = 0;    // GWLP_USERDATA
};

// One listed window: its name (caption) and its information. The list holds both by value,
// so clearing it releases everything.
struct TWindowsListEntry {
  std::string Name;
  TWindowInfo Info;
};

class TWindowsList {
 public:
  explicit TWindowsList(IWindowOps& windows) : windows_(windows) {}

  // In enumeration order (topmost first); not sorted; equal names may repeat.
  std::vector<TWindowsListEntry> TheWindowsList;
  // When false, windows without a name are not listed.
  bool AcceptEmptyNames = false;

  // Rebuilds the list from the current top-level windows.
  void RefreshWindowList();
  // Lists one window (unless it is unnamed and those are not accepted).
  void AddWindow(HWND window);
  // The handle of entry `index` (0-based); nullptr outside the list.
  HWND HandleAt(int index) const;
  int Count() const { return static_cast<int>(TheWindowsList.size()); }

 private:
  IWindowOps& windows_;
};

// The caption of the test-mode reports: the application title, as on every plain message
// box of Ombrix.
inline const char* const WindowReportCaption = "Vorel Ombrix";

// Looks for the target's windows, by process or by window name as the target's settings
// say, trying for up to SecsToWait seconds. Fills WindowHandles, WindowCount, CurrentCaption
// and, by name, MainWindowIndex; leaves LaunchError at -2. True when a window was taken.
// In test mode (DebugMode) every window taken is reported in a message box.
// By process, with `handOver`, a started program that shows no window of its own hands the
// search on to the programs it started, and once it has ended to a copy of itself already
// running; WindowOrigin and WindowProcessId then say where the windows came from.
bool FindTargetWindows(Platform& platform, TargetState& state, TWindowsList& windowsList,
                       THandOver* handOver = nullptr);

}  // namespace ombrix
