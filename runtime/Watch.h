#pragma once
// The watch timer: while the target's main window lives, a minimized target is hidden and
// the icon's tip follows the window's caption; once the window is gone, Ombrix ends (after
// offering the configuration when the program closed within seconds of being found).
// Where the system tells of the window's minimize, caption change and end, the same is done
// at once; the timer stays for systems that do not (wine raises almost no window events
// of other programs).

#include <array>
#include <functional>

#include "platform/Platform.h"
#include "runtime/Target.h"
#include "runtime/TargetVisibility.h"
#include "runtime/TrayIconOwner.h"

namespace ombrix {

class TWatch {
 public:
  // The timer runs from the start at a short interval; it has nothing to do until the main
  // window has been found.
  TWatch(Platform& platform, TTarget& target, TTargetVisibility& visibility, TTrayIconOwner& tray);
  ~TWatch();
  TWatch(const TWatch&) = delete;
  TWatch& operator=(const TWatch&) = delete;

  // The target's window was found: from now on the timer watches it at its own pace and
  // its events are heard. The first check is now: a window found minimized is hidden at
  // once, not at the first tick.
  void Watch();
  // One tick of the timer.
  void Tick();
  // Ombrix ends: the timer stops for good.
  void Retire();

  bool Running() const { return timer_ != 0; }
  UINT Interval() const { return interval_; }

  // The program closed soon after it was found and the user wants to configure it.
  std::function<void()> OnConfigure;
  // The target's main window is gone: Ombrix ends.
  std::function<void()> OnEnd;

 private:
  void Start(UINT interval);
  void Stop();
  void TargetGone();
  // Hides the target unless it is in the tray already: a minimize heard as an event and
  // seen again by the next tick is one hide.
  void HideMinimized();
  void Hook();
  void Unhook();
  void OnWinEvent(DWORD event, HWND window, LONG objectId);

  Platform& platform_;
  TTarget& target_;
  TTargetVisibility& visibility_;
  TTrayIconOwner& tray_;
  UINT_PTR timer_ = 0;
  UINT interval_ = 0;
  bool retired_ = false;
  std::array<HWINEVENTHOOK, 3> hooks_{};
};

}  // namespace ombrix
