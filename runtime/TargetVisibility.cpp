#include "runtime/TargetVisibility.h"

namespace ombrix {

TTargetVisibility::TTargetVisibility(Platform& platform, const TTarget& target, TTrayIconOwner& tray)
    : windows_(platform.Windows()), target_(target), tray_(tray) {}

void TTargetVisibility::Hide() {
  target_.ForEachWindow([this](std::int32_t slot, HWND window) {
    hidden_.Set(slot, true);
    windows_.ShowWindow(window, SW_HIDE);
  });
  const TAppSettings& settings = target_.Settings();
  if (settings.TrayTask || settings.TrayNoTask || settings.NoTrayTask) {
    tray_.Present(true);
  } else if (settings.NoTrayIcon) {
    tray_.Present(false);
  }
}

void TTargetVisibility::Show() {
  target_.ForEachWindow([this](std::int32_t slot, HWND window) {
    hidden_.Set(slot, false);
    windows_.ShowWindow(window, SW_RESTORE);
  });
  const TAppSettings& settings = target_.Settings();
  if (settings.TrayTask || settings.TrayNoTask) {
    tray_.Present(true);
  } else if (settings.NoTrayTask || settings.NoTrayIcon) {
    tray_.Present(false);
  }
  windows_.SetForegroundWindow(target_.MainWindow());
}

void TTargetVisibility::Toggle() {
  // The record decides, not the window's real visibility.
  if (hidden_.Get(target_.MainWindowIndex())) {
    Show();
  } else {
    Hide();
  }
}

void TTargetVisibility::RestoreHidden() {
  // Ending with the target's windows hidden would leave a program running with no window
  // and no icon to bring it back.
  for (std::int32_t slot = target_.WindowCount(); slot >= 1; --slot) {
    if (!hidden_.Get(slot)) continue;
    const HWND window = target_.Window(slot);
    if (window && windows_.IsWindow(window)) windows_.ShowWindow(window, SW_RESTORE);
    hidden_.Set(slot, false);
  }
}

}  // namespace ombrix
