#pragma once
// Whether the target's windows are shown: hiding and showing them, the toggle that a click
// on the icon and the hot key both call, what the tray mode does with the icon meanwhile,
// and the record of which windows Ombrix hid.

#include <cstdint>

#include "platform/Platform.h"
#include "runtime/Target.h"
#include "runtime/TargetState.h"
#include "runtime/TrayIconOwner.h"

namespace ombrix {

class TTargetVisibility {
 public:
  TTargetVisibility(Platform& platform, const TTarget& target, TTrayIconOwner& tray);

  // Hides every window found; the icon stays or comes in the modes that keep one, and goes
  // in the mode that never shows one.
  void Hide();
  // Shows every window found and brings the main one to the front; the icon stays in the
  // modes that keep it always and goes in the others.
  void Show();
  // Shows the target when its main window is recorded hidden, hides it otherwise.
  void Toggle();
  // Shows again whatever Ombrix hid, before Ombrix ends without its icon.
  void RestoreHidden();

  // Whether the window in `slot` is recorded hidden.
  bool Hidden(std::int32_t slot) const { return hidden_.Get(slot); }

 private:
  IWindowOps& windows_;
  const TTarget& target_;
  TTrayIconOwner& tray_;
  TargetSlots<bool> hidden_;
};

}  // namespace ombrix
