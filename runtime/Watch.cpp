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

TWatch::~TWatch() {
  Stop();
  Unhook();
}

void TWatch::Start(UINT interval) {
  Stop();
  interval_ = interval;
  timer_ = platform_.Messages().SetTimer(interval, [this] { Tick(); });
}

void TWatch::Stop() {
  if (timer_) platform_.Messages().KillTimer(timer_);
  timer_ = 0;
}

void TWatch::Watch() {
  Start(WatchInterval);
  Hook();
  Tick();
}

void TWatch::Retire() {
  retired_ = true;
  Stop();
  Unhook();
}

void TWatch::Tick() {
  const HWND main = target_.MainWindow();
  if (!main || retired_) return;
  WindowPlacementInfo placement;
  if (!platform_.Windows().GetWindowPlacement(main, placement)) {
    TargetGone();
    if (retired_) return;
  } else if (placement.showCmd == static_cast<UINT>(SW_SHOWMINIMIZED)) {
    HideMinimized();
    // Hiding waits for the program, and an end request answered meanwhile retires the watch.
    if (retired_) return;
  }
  tray_.ShowTip(target_.ReadCaption());
}

void TWatch::HideMinimized() {
  if (!visibility_.MainHidden()) visibility_.Hide();
}

void TWatch::Hook() {
  Unhook();
  DWORD processId = 0;
  platform_.Windows().GetWindowThreadProcessId(target_.MainWindow(), &processId);
  if (!processId) return;
  // The process that owns the main window, which after a hand-over is not the one started.
  // One hook per event: a range would bring every event between them (moves, focus) across
  // processes.
  const DWORD events[] = {EVENT_SYSTEM_MINIMIZESTART, EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_DESTROY};
  for (size_t i = 0; i < hooks_.size(); ++i) {
    hooks_[i] = platform_.Windows().SetWinEventHook(
        events[i], events[i], processId,
        [this](DWORD event, HWND window, LONG objectId, LONG) { OnWinEvent(event, window, objectId); });
  }
}

void TWatch::Unhook() {
  for (HWINEVENTHOOK& hook : hooks_) {
    if (hook) platform_.Windows().UnhookWinEvent(hook);
    hook = nullptr;
  }
}

void TWatch::OnWinEvent(DWORD event, HWND window, LONG objectId) {
  // Only the main window itself, as the timer watches it.
  if (retired_ || objectId != OBJID_WINDOW || !window || window != target_.MainWindow()) return;
  if (event == EVENT_SYSTEM_MINIMIZESTART) {
    // Heard as the minimize starts: the window goes to the tray without waiting for it.
    HideMinimized();
  } else {
    // A new caption for the tip, or the window's end: what the tick checks, now.
    Tick();
  }
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
