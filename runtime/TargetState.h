#pragma once
// The data of the one target Ombrix serves: what was started, what was found, and the
// target's settings. The target (TTarget) owns it; launching and discovery fill it.

#include <array>
#include <cstdint>
#include <string>

#include "base/NumberText.h"
#include "platform/Processes.h"
#include "settings/AppSettings.h"

namespace ombrix {

// Slots numbered 1 to 100. A number outside that range names no slot: reading it gives the
// empty value and writing it changes nothing, so a stored "MainHandle" of 0 or 500 can never
// reach memory outside the slots.
template <typename T>
class TargetSlots {
 public:
  static constexpr std::int32_t First = 1;
  static constexpr std::int32_t Last = 100;

  static bool InRange(std::int32_t slot) { return slot >= First && slot <= Last; }
  T Get(std::int32_t slot) const { return InRange(slot) ? slots_[static_cast<size_t>(slot - First)] : T{}; }
  void Set(std::int32_t slot, T value) {
    if (InRange(slot)) slots_[static_cast<size_t>(slot - First)] = value;
  }
  void Clear() { slots_.fill(T{}); }

 private:
  std::array<T, Last - First + 1> slots_{};
};

// Where the target's windows were found.
enum class TWindowOrigin {
  kStarted,     // the started process's own
  kDescendant,  // of a program the started one started, or one of those started
  kHandedOver,  // of a copy of the same program file, after the started one ended
};

struct TargetState {
  // The target and how it was started.
  std::string TargetFile;
  std::string TargetParams;
  // 0 after a successful launch, the Windows error code of a failed one, -2 once discovery
  // has run.
  std::int32_t LaunchError = 0;
  ProcessInformation ProcessInfo;
  StartupInfo OwnStartupInfo;
  // The target was started with SW_HIDE, straight into the tray.
  bool StartedHidden = false;

  // What discovery found.
  std::string CurrentCaption;
  TargetSlots<HWND> WindowHandles;
  std::int32_t WindowCount = 0;
  // Whose windows were taken by process: the started process's own, or those of the program
  // it handed over to.
  TWindowOrigin WindowOrigin = TWindowOrigin::kStarted;
  DWORD WindowProcessId = 0;

  // The target's settings as the configuration dialog collected them, and the numbers they
  // hold as text, read with the digits-only rule. The main window's slot starts as the
  // setting says; discovery by window name moves it to the last window that matched.
  TAppSettings Settings;
  std::int32_t MainWindowIndex = 0;
  std::int32_t NbWindows() const { return DigitsToInt(Settings.NbWindows); }
  std::int32_t SecsToWait() const { return DigitsToInt(Settings.SecsToWait); }
};

}  // namespace ombrix
