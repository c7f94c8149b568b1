#include "runtime/Watch.h"

#include <cmath>

#include "base/DateTime.h"
#include "platform/MiscUtils.h"
#include "runtime/OmbrixSelf.h"

namespace ombrix {

namespace {

constexpr UINT FirstInterval = 100;
constexpr UINT WatchInterval = 500;
constexpr int QuickCloseSeconds = 5;

constexpr char QuickCloseQuestion[] =
    "Application was detected closed 5 seconds\r\nafter launch. This might mean that this application \r\n"
    "needs configuration.\r\nDo you wish to go to the configuration screen ?\r\n(answering no will close Ombrix)\r\n";

}  // namespace

TWatch::TWatch(Platform& platform, TTarget& target, TTargetVisibility& visibility, TTrayIconOwner& tray)
    : platform_(platform), target_(target), visibility_(visibility), tray_(tray) {
  Start(FirstInterval);
}

TWatch::~TWatch() { Stop(); }

void TWatch::Start(UINT interval) {
  Stop();
  interval_ = interval;
  timer_ = platform_.Messages().SetTimer(interval, [this] { Tick(); });
}

void TWatch::Stop() {
  if (timer_) platform_.Messages().KillTimer(timer_);
  timer_ = 0;
}

void TWatch::Watch() { Start(WatchInterval); }

void TWatch::Retire() {
  retired_ = true;
  Stop();
}

void TWatch::Tick() {
  const HWND main = target_.MainWindow();
  if (!main || retired_) return;
  WindowPlacementInfo placement;
  if (!platform_.Windows().GetWindowPlacement(main, placement)) {
    TargetGone();
    if (retired_) return;
  } else if (placement.showCmd == static_cast<UINT>(SW_SHOWMINIMIZED)) {
    visibility_.Hide();
    // Hiding waits for the program, and an end request answered meanwhile retires the watch.
    if (retired_) return;
  }
  tray_.ShowTip(target_.ReadCaption());
}

void TWatch::TargetGone() {
  // Whole seconds since the main window was found, days included.
  const long long elapsedMilliseconds =
      std::llround((platform_.Clock().Now() - target_.FoundAt()) * MillisecondsPerDay);
  if (elapsedMilliseconds / 1000 >= QuickCloseSeconds || target_.Settings().WarnQuickClose) {
    if (OnEnd) OnEnd();
    return;
  }
  Stop();
  if (AskYesNo(platform_, OmbrixTitle, QuickCloseQuestion) == IDYES && OnConfigure) OnConfigure();
  if (OnEnd) OnEnd();
}

}  // namespace ombrix
