#include "runtime/TargetVisibility.h"

#include "runtime/OmbrixSelf.h"

namespace ombrix {

TTargetVisibility::TTargetVisibility(Platform& platform, const TTarget& target, TTrayIconOwner& tray)
    : platform_(platform), windows_(platform.Windows()), target_(target), tray_(tray), record_(platform) {}

bool TTargetVisibility::Visible(HWND window) const {
  return (windows_.GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TTargetVisibility::Record(std::int32_t slot, bool hidden) {
  if (hidden_.Get(slot) != hidden) changed_ = true;
  hidden_.Set(slot, hidden);
}

void TTargetVisibility::TellRefused(bool& told, const char* what) {
  if (told) return;
  told = true;
  ShowOwnMessage(platform_, std::string("Windows did not let Ombrix ") + what + "\r\n" + target_.File() +
                                "\r\nThe program may run as administrator: start Ombrix as administrator\r\n"
                                "to hide and show it.");
}

bool TTargetVisibility::TargetRunsAboveOwnRights() {
  bool above = false;
  target_.ForEachWindow([this, &above](std::int32_t, HWND window) {
    DWORD processId = 0;
    windows_.GetWindowThreadProcessId(window, &processId);
    above = above || (processId != 0 && platform_.Processes().RunsAboveOwnRights(processId));
  });
  return above;
}

bool TTargetVisibility::CanHide() const { return target_.Settings().NoTrayIcon || tray_.IconShown(); }

bool TTargetVisibility::MainHidden() const {
  const HWND main = target_.MainWindow();
  return hidden_.Get(target_.MainWindowIndex()) && main && windows_.IsWindow(main) && !Visible(main);
}

void TTargetVisibility::TakeHiddenStart() {
  target_.ForEachWindow([this](std::int32_t slot, HWND window) { neverShown_.Set(slot, !Visible(window)); });
  Hide();
}

int TTargetVisibility::BringBackCommand(std::int32_t slot, HWND window) {
  // A window never shown has no state to come back to; SW_SHOW would also let the program's
  // start command (SW_HIDE) decide its first show.
  const bool neverShown = neverShown_.Get(slot);
  neverShown_.Set(slot, false);
  return neverShown ? SW_SHOWNORMAL : ShowCommandToBringBack(windows_, window);
}

void TTargetVisibility::Hide() {
  const TAppSettings& settings = target_.Settings();
  if (settings.TrayTask || settings.TrayNoTask || settings.NoTrayTask) {
    tray_.Present(true);
  } else if (settings.NoTrayIcon) {
    tray_.Present(false);
  }
  // Hidden without its icon, the program would have no way back: it stays shown until the
  // taskbar takes the icon (a minimized program then goes at the next tick of the timer).
  if (!CanHide()) return;
  // Asked before anything is tried: Windows would refuse each window (the check after the
  // hide catches any other refusal), and the user learns the way that works.
  if (TargetRunsAboveOwnRights()) {
    if (!aboveOwnRightsTold_) {
      aboveOwnRightsTold_ = true;
      ShowOwnMessage(platform_,
                     "Windows does not let a program running with normal rights hide a program running "
                     "as administrator:\r\n" +
                         target_.File() +
                         "\r\n\r\nTo keep it in the tray, close it and start it through Ombrix: when it "
                         "needs administrator rights, Ombrix offers to run with them too.");
    }
    return;
  }
  bool refused = false;
  target_.ForEachWindow([this, &refused](std::int32_t slot, HWND window) {
    windows_.ShowWindow(window, SW_HIDE);
    // A window Windows does not let Ombrix change stays on screen: recording it hidden
    // would make the next click hide it again instead of showing it.
    const bool hidden = !Visible(window);
    refused = refused || !hidden;
    hideAsked_.Set(slot, !hidden);
    Record(slot, hidden);
  });
  Changed();
  if (refused) TellRefused(hideRefusalTold_, "hide");
}

void TTargetVisibility::Show() {
  bool refused = false;
  target_.ForEachWindow([this, &refused](std::int32_t slot, HWND window) {
    windows_.ShowWindow(window, BringBackCommand(slot, window));
    const bool shown = Visible(window);
    refused = refused || !shown;
    hideAsked_.Set(slot, false);
    Record(slot, !shown);
  });
  const TAppSettings& settings = target_.Settings();
  if (settings.TrayTask || settings.TrayNoTask) {
    tray_.Present(true);
  } else if (settings.NoTrayTask || settings.NoTrayIcon) {
    tray_.Present(false);
  }
  windows_.SetForegroundWindow(target_.MainWindow());
  Changed();
  if (refused) TellRefused(showRefusalTold_, "show");
}

void TTargetVisibility::Changed() {
  if (!changed_) return;
  changed_ = false;
  // Whoever changed the set (a click, the hot key, the timer, the menu), a later start
  // must find it as it is now, should this Ombrix not end normally.
  std::vector<HWND> hidden;
  for (std::int32_t slot = 1; slot <= target_.WindowCount(); ++slot) {
    if (hidden_.Get(slot) && target_.Window(slot)) hidden.push_back(target_.Window(slot));
  }
  record_.Write(hidden, target_.File());
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
    const HWND window = target_.Window(slot);
    const bool hiddenLate = hideAsked_.Get(slot) && window && windows_.IsWindow(window) && !Visible(window);
    hideAsked_.Set(slot, false);
    if (!hidden_.Get(slot) && !hiddenLate) continue;
    if (window && windows_.IsWindow(window)) windows_.ShowWindow(window, BringBackCommand(slot, window));
    Record(slot, false);
  }
  Changed();
}

}  // namespace ombrix
