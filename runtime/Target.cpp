#include "runtime/Target.h"

#include "base/NumberText.h"
#include "runtime/Launch.h"

namespace ombrix {

namespace {

// The longest caption read of the main window.
constexpr int CaptionCapacity = 512;
// How long an Ombrix that gave up the search still looks for a window the hidden start would
// keep unseen, while the program runs, and how often.
constexpr int LateWindowWait = 60000;
constexpr DWORD LateWindowPause = 300;

}  // namespace

TTarget::TTarget(Platform& platform)
    : platform_(platform), windows_(platform.Windows()), windowsList_(platform.Windows()), handOver_(platform) {
  windowsList_.AcceptEmptyNames = false;
}

void TTarget::SetCommand(const std::string& file, const std::string& params) {
  state_.TargetFile = file;
  state_.TargetParams = params;
}

void TTarget::ApplySettings(const TAppSettings& settings) {
  state_.Settings = settings;
  state_.MainWindowIndex = DigitsToInt(settings.MainHandle);
}

void TTarget::ApplyTraySettings(const TAppSettings& settings) {
  TAppSettings& own = state_.Settings;
  own.Icon = settings.Icon;
  own.IconNumber = settings.IconNumber;
  own.TrayTask = settings.TrayTask;
  own.TrayNoTask = settings.TrayNoTask;
  own.NoTrayTask = settings.NoTrayTask;
  own.NoTrayIcon = settings.NoTrayIcon;
  own.TrayDblClick = settings.TrayDblClick;
  own.HotKey = settings.HotKey;
}

bool TTarget::Launch(bool canHide) {
  state_.OwnStartupInfo = platform_.Processes().GetStartupInfoA();
  handOver_.BeforeLaunch();
  if (!LaunchTarget(platform_, state_, canHide)) return false;
  handOver_.Launched(state_.ProcessInfo.processId, state_.ProcessInfo.process, state_.TargetFile, state_.StartedHidden);
  return true;
}

void TTarget::WaitUntilIdle() { WaitForTargetIdle(platform_, state_); }

bool TTarget::FindWindows() {
  if (!FindTargetWindows(platform_, state_, windowsList_, &handOver_)) return false;
  foundAt_ = platform_.Clock().Now();
  return true;
}

void TTarget::ShowWhatAHiddenStartKept() {
  if (!state_.StartedHidden) return;
  for (int waited = 0; !handOver_.ShowWhatTheHiddenStartKept(); waited += LateWindowPause) {
    if (!handOver_.FamilyRuns() || waited >= LateWindowWait) return;
    platform_.Clock().Sleep(LateWindowPause);
  }
}

const std::string& TTarget::ReadCaption() {
  state_.CurrentCaption = windows_.GetWindowTextA(MainWindow(), CaptionCapacity);
  return state_.CurrentCaption;
}

}  // namespace ombrix
