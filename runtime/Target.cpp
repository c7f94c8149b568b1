#include "runtime/Target.h"

#include "base/NumberText.h"
#include "runtime/Launch.h"

namespace ombrix {

namespace {

// The longest caption read of the main window.
constexpr int CaptionCapacity = 512;

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
  handOver_.Launched(state_.ProcessInfo.processId, state_.ProcessInfo.process, state_.TargetFile);
  return true;
}

void TTarget::ShowHiddenStart() {
  if (!state_.StartedHidden) return;
  const WORD command = TargetShowCommand(state_.Settings.ShowState, state_.OwnStartupInfo);
  for (HWND window = windows_.FindTopWindow(); window; window = windows_.GetWindow(window, GW_HWNDNEXT)) {
    DWORD processId = 0;
    windows_.GetWindowThreadProcessId(window, &processId);
    if (processId != state_.ProcessInfo.processId) continue;
    // A window the user would see: captioned, unowned, no palette, not shown yet. A
    // program's own hidden helpers (IME, message windows) have no caption.
    const LONG_PTR style = windows_.GetWindowLongPtrA(window, GWL_STYLE);
    if ((style & WS_VISIBLE) || (style & WS_CAPTION) != WS_CAPTION) continue;
    if (windows_.GetWindowLongPtrA(window, GWLP_HWNDPARENT) != 0) continue;
    if (windows_.GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) continue;
    windows_.ShowWindow(window, command);
  }
}

void TTarget::WaitUntilIdle() { WaitForTargetIdle(platform_, state_); }

bool TTarget::FindWindows() {
  if (!FindTargetWindows(platform_, state_, windowsList_, &handOver_)) return false;
  foundAt_ = platform_.Clock().Now();
  return true;
}

const std::string& TTarget::ReadCaption() {
  state_.CurrentCaption = windows_.GetWindowTextA(MainWindow(), CaptionCapacity);
  return state_.CurrentCaption;
}

}  // namespace ombrix
