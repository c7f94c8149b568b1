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
  bool keptUnseen = false;
  target_.ForEachWindow([this, &keptUnseen](std::int32_t slot, HWND window) {
    neverShown_.Set(slot, !Visible(window));
    keptUnseen = keptUnseen || neverShown_.Get(slot);
  });
  // A launcher may pass its hidden start on to a program it starts as administrator, whose
  // windows Windows lets Ombrix neither show nor hide: said in place of Hide's message,
  // which would tell the user to close a program they cannot see.
  if (keptUnseen && !aboveOwnRightsTold_ && TargetRunsAboveOwnRights()) {
    aboveOwnRightsTold_ = true;
    ShowOwnMessage(platform_, "A program started through\r\n" + target_.File() +
                                  "\r\nruns as administrator: Windows does not let Ombrix, running with normal rights, "
                                  "show or hide it. Started hidden, it stays hidden until it ends.\r\n\r\n"
                                  "To keep it in the tray, end it in Task Manager and start Ombrix as administrator.");
  }
  Hide();
  if (ending_) return;
  // Not hidden after all (the icon went meanwhile, the program runs above Ombrix's rights):
  // what the start kept unseen comes up as a minimized start's window, to wait in view.
  target_.ForEachWindow([this](std::int32_t slot, HWND window) {
    if (hidden_.Get(slot) || !neverShown_.Get(slot)) return;
    windows_.ShowWindow(window, SW_SHOWMINNOACTIVE);
    if (Visible(window)) {
      neverShown_.Set(slot, false);
      return;
    }
    // Windows refused: the window is as unseen as a hidden one and is kept as one, so that
    // a click asks for it and says why it cannot come.
    Record(slot, true);
  });
  Changed();
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
  // Recorded before the hide: hiding another program's window waits for that program (under
  // wine up to two seconds, while the display lets go of a minimized window), and an Ombrix
  // killed meanwhile must leave a record of a window that is already off the screen.
  target_.ForEachWindow([this](std::int32_t slot, HWND) { Record(slot, true); });
  Changed();
  bool refused = false;
  target_.ForEachWindow([this, &refused](std::int32_t slot, HWND window) {
    if (ending_) return;
    windows_.ShowWindow(window, SW_HIDE);
    // While Windows hid it, Ombrix may have answered an end request (a log-off, an
    // installer): that showed this window again, and nothing may hide it now.
    if (ending_) return;
    // A window Windows does not let Ombrix change stays on screen: recording it hidden
    // would make the next click hide it again instead of showing it.
    const bool hidden = !Visible(window);
    refused = refused || !hidden;
    Record(slot, hidden);
  });
  if (ending_) return;
  Changed();
  if (refused) TellRefused(hideRefusalTold_, "hide");
}

void TTargetVisibility::Show() {
  bool refused = false;
  target_.ForEachWindow([this, &refused](std::int32_t slot, HWND window) {
    windows_.ShowWindow(window, BringBackCommand(slot, window));
    if (ending_) return;
    const bool shown = Visible(window);
    refused = refused || !shown;
    Record(slot, !shown);
  });
  const TAppSettings& settings = target_.Settings();
  if (settings.TrayTask || settings.TrayNoTask) {
    tray_.Present(true);
  } else if (settings.NoTrayTask || settings.NoTrayIcon) {
    tray_.Present(false);
  }
  if (ending_) return;
  windows_.SetForegroundWindow(target_.MainWindow());
  Changed();
  if (refused) TellRefused(showRefusalTold_, "show");
}

void TTargetVisibility::Changed() {
  // Once Ombrix ends, its record is gone for good: a hide or show still under way must not
  // bring it back.
  if (!changed_ || ending_) return;
  changed_ = false;
  // Whoever changed the set (a click, the hot key, the timer, the menu), a later start
  // must find it as it is now, should this Ombrix not end normally.
  std::vector<HWND> hidden;
  for (std::int32_t slot = 1; slot <= target_.WindowCount(); ++slot) {
    const HWND window = target_.Window(slot);
    if (!hidden_.Get(slot) || !window) continue;
    // A crash of Ombrix itself shows them before the process goes, with the command worked
    // out now: a crashing Ombrix can do no more than hand it over.
    windows_.ShowOnCrash(hidden.size(), window, ShowCommandToBringBack(windows_, window));
    hidden.push_back(window);
  }
  windows_.ShowOnCrash(hidden.size(), nullptr, 0);
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
  ending_ = true;
  for (std::int32_t slot = target_.WindowCount(); slot >= 1; --slot) {
    if (!hidden_.Get(slot)) continue;
    const HWND window = target_.Window(slot);
    if (window && windows_.IsWindow(window)) windows_.ShowWindow(window, BringBackCommand(slot, window));
    Record(slot, false);
  }
  record_.Remove();
}

void TTargetVisibility::DropRecord() {
  ending_ = true;
  record_.Remove();
}

}  // namespace ombrix
