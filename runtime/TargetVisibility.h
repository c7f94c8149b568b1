#pragma once
// Whether the target's windows are shown: hiding and showing them, the toggle that a click
// on the icon and the hot key both call, what the tray mode does with the icon meanwhile,
// and the record of which windows Ombrix hid.

#include <cstdint>

#include "config/HiddenRecord.h"
#include "platform/Platform.h"
#include "runtime/Target.h"
#include "runtime/TargetState.h"
#include "runtime/TrayIconOwner.h"

namespace ombrix {

class TTargetVisibility {
 public:
  TTargetVisibility(Platform& platform, const TTarget& target, TTrayIconOwner& tray);

  // Hides every window found; the icon stays or comes in the modes that keep one, and goes
  // in the mode that never shows one. A window still visible afterwards is not recorded
  // hidden, and the user is told once.
  void Hide();
  // Shows every window found as it was when hidden (a minimized one restored) and brings
  // the main one to the front; the icon stays in the modes that keep it always and goes in
  // the others. A window still invisible afterwards stays recorded hidden, told once.
  void Show();
  // Shows the target when its main window is recorded hidden, hides it otherwise.
  void Toggle();
  // Shows again whatever Ombrix hid, before Ombrix ends without its icon.
  void RestoreHidden();

  // Whether a hide would take effect now: in the modes with an icon, only once the
  // taskbar has it (hidden without it, the program would have no way back).
  bool CanHide() const;
  // The main window is recorded hidden and off the screen: the target is in the tray, as
  // the toggle sees it, and a hide would change nothing.
  bool MainHidden() const;
  // The windows found after a start with SW_HIDE: those the program showed anyway are
  // hidden, and all are recorded hidden. One never shown comes up normal at the first show,
  // as a minimized start's window would when restored. Where Ombrix cannot hide them now,
  // those never shown are shown minimized.
  void TakeHiddenStart();

  // Whether the window in `slot` is recorded hidden.
  bool Hidden(std::int32_t slot) const { return hidden_.Get(slot); }
  // Ombrix ends normally: what it hid needs no showing by a later start.
  void DropRecord();

 private:
  void Record(std::int32_t slot, bool hidden);
  // Writes the record for a later start when a Record since the last call changed the set.
  void Changed();
  bool Visible(HWND window) const;
  // How a hidden window comes back: normal when it was never shown, else as it was.
  int BringBackCommand(std::int32_t slot, HWND window);
  // Says once per kind (hiding, showing) that Windows kept a window as it was.
  void TellRefused(bool& told, const char* what);
  // Whether a window found belongs to a program running at higher rights than Ombrix (as
  // administrator), whose windows Windows does not let Ombrix change.
  bool TargetRunsAboveOwnRights();

  Platform& platform_;
  IWindowOps& windows_;
  const TTarget& target_;
  TTrayIconOwner& tray_;
  TargetSlots<bool> hidden_;
  // Windows of a hidden start that were never on the screen.
  TargetSlots<bool> neverShown_;
  THiddenRecord record_;
  bool changed_ = false;
  // Set once Ombrix has shown what it hid to end, or has ended. Hiding and showing another
  // program's window waits for that program, and Ombrix answers the messages sent to it
  // meanwhile, an end request among them: a hide under way then stops short.
  bool ending_ = false;
  bool hideRefusalTold_ = false;
  bool aboveOwnRightsTold_ = false;
  bool showRefusalTold_ = false;
};

}  // namespace ombrix
