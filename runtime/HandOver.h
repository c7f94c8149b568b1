#pragma once
// Where the target's window comes from when the started program does not keep it itself:
// a launcher that starts the real program and ends, or a single-instance program that hands
// its command to the copy already running and ends.
//
// Descendants are followed through the parent ids of process snapshots, taken each time the
// desktop is looked at: the same calls work on every Windows and under wine, the target is
// started exactly as before (a job object would have to hold it suspended, and a program
// that starts its helpers outside any job would escape it), and nothing stays attached to
// the target once it is found.

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "runtime/TargetState.h"

namespace ombrix {

class THandOver {
 public:
  explicit THandOver(Platform& platform);

  // Just before the launch: what exists now is never the target's.
  void BeforeLaunch();
  // Just after a successful launch. `targetFile` stands for the started program's file when
  // the process has ended before it could be read. `startedHidden`: it was started with
  // SW_HIDE, which a launcher may pass on to the program it starts.
  void Launched(DWORD processId, HANDLE process, const std::string& targetFile, bool startedHidden);
  // Before each look at the desktop: the programs started in turn since the last look, and
  // whether the started program has ended.
  void Refresh();

  // Where a window may be taken from other than the started process: kStarted when it may
  // not be taken (it existed before the launch, does not look like a main window, or belongs
  // to no process followed).
  TWindowOrigin Origin(HWND window, DWORD processId);
  // The full path of a process's program file; empty when it cannot be read.
  std::string ProgramFile(DWORD processId);

  // After a hidden start that found no window: shows, as a minimized start would have, each
  // window of the started program and its descendants that the start kept hidden. True when
  // one was shown.
  bool ShowWhatTheHiddenStartKept();
  // Whether the started program or one it started still runs (as of the last Refresh).
  bool FamilyRuns() const { return familyRuns_; }

 private:
  // New since the launch, no owner, no palette; shown, or with `orHidden` a hidden one with
  // a title bar and a size, as a window made to be seen has (the system's and the
  // frameworks' hidden helper windows are untitled popups, or have no size).
  bool LooksLikeMainWindow(HWND window, bool orHidden);
  static bool Contains(const std::vector<DWORD>& ids, DWORD id);

  Platform& platform_;
  // Searched in place: a desktop's windows and processes number some hundreds, and sorting
  // them would cost the program more bytes than the search costs time.
  std::vector<HWND> windowsBefore_;
  std::vector<DWORD> processesBefore_;
  std::vector<DWORD> family_;  // the started process and its descendants
  HANDLE started_ = nullptr;
  bool startedEnded_ = false;
  bool startedHidden_ = false;
  bool familyRuns_ = false;
  std::string startedFile_;  // upper-cased
};

}  // namespace ombrix
