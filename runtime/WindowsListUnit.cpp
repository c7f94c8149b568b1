#include "runtime/WindowsListUnit.h"

#include <algorithm>
#include <cstdint>

namespace ombrix {

namespace {

constexpr DWORD AttemptPause = 300;
// GetWindowTextA capacity of a caption, terminator included.
constexpr int CaptionCapacity = 512;
// A walk with GW_HWNDNEXT can run in a circle when windows are reordered meanwhile; no
// desktop holds more windows than this, so the walk stops there at the latest.
constexpr int MaxListedWindows = 65536;

std::string Number(unsigned long long value) { return std::to_string(value); }
std::string HandleNumber(HWND window) { return Number(reinterpret_cast<ULONG_PTR>(window)); }

// Test-mode reports: Ombrix has no window of its own, so the box is owned by the desktop and
// brought to the foreground.
void Report(Platform& platform, const std::string& text) {
  platform.Dialogs().MessageBoxA(platform.Windows().GetDesktopWindow(), text, WindowReportCaption,
                                 MB_OK | MB_SETFOREGROUND);
}

class Discovery {
 public:
  Discovery(Platform& platform, TargetState& state, THandOver* handOver)
      : platform_(platform), windows_(platform.Windows()), state_(state), handOver_(handOver) {}

  // One examination of the list; true when a window was taken.
  bool Examine(const TWindowsList& list) {
    bool found = false;
    const std::string wanted = windows_.CharUpperBuffA(state_.Settings.WindowCaption);
    for (const TWindowsListEntry& entry : list.TheWindowsList) {
      const HWND window = entry.Info.Handle;
      DWORD processId = 0;
      const DWORD threadId = windows_.GetWindowThreadProcessId(window, &processId);
      if (state_.Settings.MinimizeType) {
        // Any thread of the target counts; programs it started in turn have their own ids.
        if (threadId != state_.ProcessInfo.threadId && processId != state_.ProcessInfo.processId) continue;
        if (Full()) break;
        if (IsHelperWindow(windows_.CharUpperBuffA(entry.Name)) || !windows_.IsWindow(window)) continue;
        Take(entry, processId, threadId);
        state_.WindowProcessId = processId;
        if (state_.WindowCount == state_.MainWindowIndex) TakeCaption(window);
      } else {
        if (state_.Settings.UsePID && processId != state_.ProcessInfo.processId) continue;
        const std::string name = windows_.CharUpperBuffA(entry.Name);
        // An empty search text is contained in nothing.
        const bool matches = state_.Settings.DoPartialSearch ? !wanted.empty() && name.find(wanted) != std::string::npos
                                                             : name == wanted;
        if (!matches) continue;
        if (Full()) break;
        Take(entry, processId, threadId);
        // Every match becomes the main window in turn; the last one keeps the role.
        state_.MainWindowIndex = state_.WindowCount;
        TakeCaption(window);
      }
      found = true;
    }
    if (!found && state_.Settings.MinimizeType && handOver_) found = Adopt(list);
    return found;
  }

 private:
  // At most NbWindows + 1 windows are taken, and never more than the slots.
  bool Full() const { return state_.WindowCount >= TargetSlots<HWND>::Last || state_.WindowCount > state_.NbWindows(); }

  void Take(const TWindowsListEntry& entry, DWORD processId, DWORD threadId) {
    state_.WindowCount += 1;
    state_.WindowHandles.Set(state_.WindowCount, entry.Info.Handle);
    if (!state_.Settings.DebugMode) return;
    Report(platform_, "WINDOW #" + Number(static_cast<unsigned long long>(state_.WindowCount)) + "\r\n\r\n< " +
                          entry.Name + " >\r\nPID = " + Number(processId) + "\r\nTID = " + Number(threadId) +
                          "\r\nHnd = " + HandleNumber(entry.Info.Handle) +
                          "\r\n\r\nApp PID = " + Number(state_.ProcessInfo.processId) +
                          "\r\nApp TID = " + Number(state_.ProcessInfo.threadId) + OriginText());
  }

  // Says in the window report where a window not of the started process came from.
  std::string OriginText() const {
    switch (state_.WindowOrigin) {
      case TWindowOrigin::kDescendant:
        return "\r\n\r\nTaken from a program the started one started:\r\n" + adoptedFile_;
      case TWindowOrigin::kHandedOver:
        return "\r\n\r\nTaken from a running copy the started one handed over to:\r\n" + adoptedFile_;
      default:
        return "";
    }
  }

  void TakeCaption(HWND window) {
    state_.CurrentCaption = windows_.GetWindowTextA(window, CaptionCapacity);
    if (!state_.Settings.DebugMode) return;
    Report(platform_, "WINDOW #" + Number(static_cast<unsigned long long>(state_.WindowCount)) +
                          "\r\n\r\nThis is the main window you configured.\r\n\r\nHandle = " + HandleNumber(window) +
                          "\r\nApp PID = " + Number(state_.ProcessInfo.processId) + "\r\nApp TID = " +
                          Number(state_.ProcessInfo.threadId) + "\r\nWindow Name = " + state_.CurrentCaption + "\r\n");
  }

  // The started program shows no window of its own: the windows of the first process it
  // handed over to, topmost first. Of a running copy only the one new window is taken: the
  // copy's other new windows are the user's own doing.
  bool Adopt(const TWindowsList& list) {
    handOver_->Refresh();
    DWORD adopted = 0;
    for (const TWindowsListEntry& entry : list.TheWindowsList) {
      const HWND window = entry.Info.Handle;
      DWORD processId = 0;
      const DWORD threadId = windows_.GetWindowThreadProcessId(window, &processId);
      if (adopted != 0 && processId != adopted) continue;
      if (IsHelperWindow(windows_.CharUpperBuffA(entry.Name)) || !windows_.IsWindow(window)) continue;
      const TWindowOrigin origin = handOver_->Origin(window, processId);
      if (origin == TWindowOrigin::kStarted) continue;
      if (Full() || (adopted != 0 && origin == TWindowOrigin::kHandedOver)) break;
      if (adopted == 0) {
        adopted = processId;
        state_.WindowOrigin = origin;
        state_.WindowProcessId = processId;
        adoptedFile_ = handOver_->ProgramFile(processId);
      }
      Take(entry, processId, threadId);
      if (state_.WindowCount == state_.MainWindowIndex) TakeCaption(window);
    }
    return adopted != 0;
  }

  Platform& platform_;
  IWindowOps& windows_;
  TargetState& state_;
  THandOver* handOver_;
  std::string adoptedFile_;
};

}  // namespace

bool IsHelperWindow(const std::string& upperName) {
  return upperName == "OLEMAINTHREADWNDNAME" || upperName == "DDE SERVER WINDOW" ||
         upperName.find("OLERPCNOTIFY") != std::string::npos || upperName == "DDE CLIENT WINDOW" ||
         upperName == "DEFAULT IME" || upperName == "MSCTFIME UI";
}

void TWindowsList::RefreshWindowList() {
  TheWindowsList.clear();
  HWND window = windows_.FindTopWindow();
  for (int listed = 0; window && listed < MaxListedWindows; ++listed) {
    AddWindow(window);
    window = windows_.GetWindow(window, GW_HWNDNEXT);
  }
}

void TWindowsList::AddWindow(HWND window) {
  TWindowsListEntry entry;
  entry.Name = windows_.GetWindowTextA(window, WindowNameCapacity);
  if (entry.Name.empty() && !AcceptEmptyNames) return;
  entry.Info.Handle = window;
  entry.Info.Instance = windows_.GetWindowLongPtrA(window, GWLP_HINSTANCE);
  entry.Info.Parent = windows_.GetWindowLongPtrA(window, GWLP_HWNDPARENT);
  entry.Info.WindowProc = windows_.GetWindowLongPtrA(window, GWLP_WNDPROC);
  entry.Info.Id = windows_.GetWindowLongPtrA(window, GWLP_ID);
  entry.Info.UserData = windows_.GetWindowLongPtrA(window, GWLP_USERDATA);
  TheWindowsList.push_back(entry);
}

HWND TWindowsList::HandleAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return TheWindowsList[static_cast<size_t>(index)].Info.Handle;
}

bool FindTargetWindows(Platform& platform, TargetState& state, TWindowsList& windowsList, THandOver* handOver) {
  state.WindowHandles.Set(state.MainWindowIndex, nullptr);
  state.CurrentCaption.clear();
  state.WindowCount = 0;
  state.WindowOrigin = TWindowOrigin::kStarted;
  state.WindowProcessId = 0;
  // Computed wide: a SecsToWait near the 32-bit limit must not wrap to a negative count.
  const std::int64_t attempts = std::max<std::int64_t>(1, std::int64_t{state.SecsToWait()} * 1000 / AttemptPause);
  Discovery discovery(platform, state, handOver);
  bool found = false;
  for (std::int64_t attempt = 1;; ++attempt) {
    state.LaunchError = -2;
    windowsList.RefreshWindowList();
    found = discovery.Examine(windowsList);
    if (found || attempt >= attempts) break;
    // Blocks: nothing of Ombrix runs while it waits for the program's windows.
    platform.Clock().Sleep(AttemptPause);
  }
  if (state.Settings.DebugMode) Report(platform, "End of detected windows.");
  return found;
}

}  // namespace ombrix
