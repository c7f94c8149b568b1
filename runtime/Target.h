#pragma once
// The one target Ombrix serves: the program and arguments it starts, the settings it runs
// with, the process it started and the windows found for it, from start-up until its main
// window is gone.

#include <string>

#include "platform/Platform.h"
#include "runtime/HandOver.h"
#include "runtime/TargetState.h"
#include "runtime/WindowsListUnit.h"

namespace ombrix {

class TTarget {
 public:
  explicit TTarget(Platform& platform);

  const std::string& File() const { return state_.TargetFile; }
  const std::string& Params() const { return state_.TargetParams; }
  void SetCommand(const std::string& file, const std::string& params);
  void SetParams(const std::string& params) { state_.TargetParams = params; }

  const TAppSettings& Settings() const { return state_.Settings; }
  // The whole entry, as start-up or a saved configuration gives it: the main window's slot
  // starts as its "MainHandle" says.
  void ApplySettings(const TAppSettings& settings);
  // What a saved configuration changes for a target already found: the icon, the tray mode,
  // the click mode and the hot key. The rest stays as start-up read it, to be used at the
  // next start.
  void ApplyTraySettings(const TAppSettings& settings);

  // Starts the program from its own folder (Ombrix's own start-up record decides the show
  // command where the settings leave it; hidden instead of minimized with `canHide`). False
  // with LaunchError set when it did not start; throws ELaunchFolder when its folder cannot
  // be made current.
  bool Launch(bool canHide);
  bool StartedHidden() const { return state_.StartedHidden; }
  // Start-up gives up without a window: after a hidden start, the program's windows are shown
  // as a minimized start would have shown them, or it would run unseen with no icon. A
  // program still starting up is waited for, without an icon, until it makes its window (a
  // minute at most, while it or a program it started runs).
  void ShowWhatAHiddenStartKept();
  std::int32_t LaunchError() const { return state_.LaunchError; }
  // Waits until the started program is ready for input, at most 30 seconds.
  void WaitUntilIdle();
  // Looks for the windows as the settings say, for up to their seconds. True when a window was
  // taken; FoundAt is then the moment.
  bool FindWindows();
  int SecsToWait() const { return state_.SecsToWait(); }
  TDateTime FoundAt() const { return foundAt_; }
  const ProcessInformation& Process() const { return state_.ProcessInfo; }
  // Whose windows were taken by process: the started program's own, or those of the program
  // it handed over to (WindowProcessId).
  TWindowOrigin WindowOrigin() const { return state_.WindowOrigin; }
  DWORD WindowProcessId() const { return state_.WindowProcessId; }

  // The windows found, in slots 1 to WindowCount; the main one is in slot MainWindowIndex.
  std::int32_t WindowCount() const { return state_.WindowCount; }
  HWND Window(std::int32_t slot) const { return state_.WindowHandles.Get(slot); }
  std::int32_t MainWindowIndex() const { return state_.MainWindowIndex; }
  HWND MainWindow() const { return Window(state_.MainWindowIndex); }
  // Calls `action(slot, window)` for each window found that still exists, the last slot first.
  template <typename Action>
  void ForEachWindow(Action action) const {
    for (std::int32_t slot = state_.WindowCount; slot >= 1; --slot) {
      const HWND window = Window(slot);
      if (window && windows_.IsWindow(window)) action(slot, window);
    }
  }

  // The main window's caption as last read.
  const std::string& Caption() const { return state_.CurrentCaption; }
  // Reads the main window's caption again.
  const std::string& ReadCaption();

 private:
  Platform& platform_;
  IWindowOps& windows_;
  TargetState state_;
  TWindowsList windowsList_;
  THandOver handOver_;
  TDateTime foundAt_ = 0;
};

}  // namespace ombrix
