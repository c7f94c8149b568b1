#include "runtime/HandOver.h"

#include <algorithm>

#include "runtime/WindowsListUnit.h"

namespace ombrix {

namespace {

// A walk with GW_HWNDNEXT can run in a circle when windows are reordered meanwhile.
constexpr int MaxListedWindows = 65536;

}  // namespace

THandOver::THandOver(Platform& platform) : platform_(platform) {}

bool THandOver::Contains(const std::vector<DWORD>& ids, DWORD id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void THandOver::BeforeLaunch() {
  IWindowOps& windows = platform_.Windows();
  windowsBefore_.clear();
  HWND window = windows.FindTopWindow();
  for (int listed = 0; window && listed < MaxListedWindows; ++listed) {
    windowsBefore_.push_back(window);
    window = windows.GetWindow(window, GW_HWNDNEXT);
  }
  processesBefore_.clear();
  for (const ProcessEntry& entry : platform_.Processes().CreateToolhelp32Snapshot()) {
    processesBefore_.push_back(entry.processId);
  }
}

void THandOver::Launched(DWORD processId, HANDLE process, const std::string& targetFile, bool startedHidden) {
  family_.assign(1, processId);
  started_ = process;
  startedEnded_ = false;
  startedHidden_ = startedHidden;
  familyRuns_ = true;
  std::string file = platform_.Processes().QueryFullProcessImageNameA(processId);
  if (file.empty()) file = targetFile;
  startedFile_ = platform_.Windows().CharUpperBuffA(file);
}

void THandOver::Refresh() {
  if (family_.empty()) return;
  const std::vector<ProcessEntry> snapshot = platform_.Processes().CreateToolhelp32Snapshot();
  // A child may be listed before its parent: go round until nothing joins. A process that
  // ran before the launch is never one of the family, whatever its parent id says (ids of
  // ended processes are given out again).
  for (bool joined = true; joined;) {
    joined = false;
    for (const ProcessEntry& entry : snapshot) {
      if (Contains(family_, entry.processId) || !Contains(family_, entry.parentProcessId)) continue;
      if (Contains(processesBefore_, entry.processId)) continue;
      family_.push_back(entry.processId);
      joined = true;
    }
  }
  // Ombrix holds the started process's handle, so its id is not given out again meanwhile.
  if (!startedEnded_ && started_) {
    startedEnded_ = platform_.Processes().WaitForSingleObject(started_, 0) == WAIT_OBJECT_0;
  }
  familyRuns_ = !startedEnded_ || std::any_of(snapshot.begin(), snapshot.end(), [this](const ProcessEntry& entry) {
    return entry.processId != family_[0] && Contains(family_, entry.processId);
  });
}

bool THandOver::LooksLikeMainWindow(HWND window, bool orHidden) {
  // A helper's named message window, a tool palette or a dialog of another window is not
  // what the user started.
  IWindowOps& windows = platform_.Windows();
  if (std::find(windowsBefore_.begin(), windowsBefore_.end(), window) != windowsBefore_.end()) return false;
  if (windows.GetWindowLongPtrA(window, GWLP_HWNDPARENT) != 0) return false;
  if ((windows.GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return false;
  const LONG_PTR style = windows.GetWindowLongPtrA(window, GWL_STYLE);
  if ((style & WS_VISIBLE) != 0) return true;
  if (!orHidden || (style & WS_CAPTION) != WS_CAPTION) return false;
  WindowPlacementInfo placement;
  return windows.GetWindowPlacement(window, placement) && placement.normalWidth > 0 && placement.normalHeight > 0;
}

TWindowOrigin THandOver::Origin(HWND window, DWORD processId) {
  if (family_.empty() || processId == family_[0]) return TWindowOrigin::kStarted;
  const bool descendant = Contains(family_, processId);
  // A copy of the program is taken only once the started one has ended without a window:
  // until then, a window of another copy is that copy's business.
  if (!descendant && !startedEnded_) return TWindowOrigin::kStarted;
  // A launcher started hidden may pass that on to the program it starts, whose window then
  // waits unseen; a running copy was not started by Ombrix, and its hidden windows are its own.
  if (!LooksLikeMainWindow(window, startedHidden_ && descendant)) return TWindowOrigin::kStarted;
  if (descendant) return TWindowOrigin::kDescendant;
  // The same program file, compared by full path: another program of the same name in
  // another folder is not the target.
  const std::string file = ProgramFile(processId);
  if (!file.empty() && platform_.Windows().CharUpperBuffA(file) == startedFile_) return TWindowOrigin::kHandedOver;
  return TWindowOrigin::kStarted;
}

std::string THandOver::ProgramFile(DWORD processId) {
  return platform_.Processes().QueryFullProcessImageNameA(processId);
}

bool THandOver::ShowWhatTheHiddenStartKept() {
  if (!startedHidden_ || family_.empty()) return false;
  Refresh();
  IWindowOps& windows = platform_.Windows();
  std::vector<HWND> kept;
  HWND window = windows.FindTopWindow();
  for (int listed = 0; window && listed < MaxListedWindows; ++listed) {
    DWORD processId = 0;
    windows.GetWindowThreadProcessId(window, &processId);
    if (Contains(family_, processId) && (windows.GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) == 0 &&
        LooksLikeMainWindow(window, true)) {
      const std::string name = windows.GetWindowTextA(window, WindowNameCapacity);
      if (!name.empty() && !IsHelperWindow(windows.CharUpperBuffA(name))) kept.push_back(window);
    }
    window = windows.GetWindow(window, GW_HWNDNEXT);
  }
  // Shown once the walk is over, as showing reorders the windows; without waiting, as a
  // program still starting up may not answer for a while.
  for (HWND hidden : kept) windows.ShowWindowAsync(hidden, SW_SHOWMINNOACTIVE);
  return !kept.empty();
}

}  // namespace ombrix
