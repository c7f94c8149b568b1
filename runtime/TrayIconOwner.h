#pragma once
// The target's icon in the notification area: its picture from the settings, whether it is
// there, its tip, the click that toggles the target, and the target's hot key, which the
// icon's window holds.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Platform.h"
#include "runtime/TrayIcon.h"
#include "runtime/TrayIconId.h"
#include "settings/AppSettings.h"

namespace ombrix {

class TTrayIconOwner {
 public:
  // `applicationWindow` is brought to the foreground before a menu of the icon is shown.
  TTrayIconOwner(Platform& platform, HWND applicationWindow);

  TTrayIcon& Icon() { return icon_; }
  const TTrayIcon& Icon() const { return icon_; }

  // Takes the picture of `settings`, adds the icon unless the settings want none, and takes
  // the hot key for `targetFile`. The icon's id comes from `targetFile` and its first tip is
  // the program's name, the identity under which Windows lists it.
  void Setup(const TAppSettings& settings, const std::string& targetFile);
  // Adds (true) or removes the icon; never adds it once the icon has been retired. An icon
  // the shell does not take (no taskbar yet, at logon) is tried again for a while.
  void Present(bool present);
  // The icon is meant to be present and the shell has it.
  bool IconShown() const { return icon_.Active() && icon_.Shown(); }
  // Shows `text` as the tip; an empty text leaves the tip as it is.
  void ShowTip(const std::string& text);
  // A single click (TrayDblClick 0) or a double click (1) raises OnToggle.
  void SetClickMode(std::int32_t trayDblClick);
  // The hot key as Program Information shows it: "none", the key, or the key and why Ombrix
  // does not hold it (another program holds it, or it would take typing or help).
  std::string HotKeyInfo(std::int32_t hotKey) const;
  // Ombrix ends: the icon goes and the hot key is freed, for good.
  void Retire();
  ~TTrayIconOwner();

  // A click or a double click, as the settings say, the keyboard's selection of the icon, or
  // the hot key.
  std::function<void()> OnToggle;
  // The icon's menu is asked for, to be shown at (x, y).
  std::function<void(int x, int y)> OnRightClick;
  // The shell has taken the icon, at its first add or a later try.
  std::function<void()> OnIconAdded;
  // A request to end reached the icon's window.
  std::function<void()> OnEndRequest;

 private:
  // The small icon of the settings' file and position at the system's small-icon size.
  void SetPicture();
  // Takes the hot key, or says once that another program holds it.
  void TakeHotKey(std::int32_t hotKey, const std::string& targetFile);
  void Toggle();
  void RetryIcon();
  void StopRetrying();

  Platform& platform_;
  std::string targetFile_;
  UINT_PTR retryTimer_ = 0;
  int retries_ = 0;
  bool iconFailureTold_ = false;
  TTrayIconIdentity identity_;
  TTrayIcon icon_;
  bool retired_ = false;
  // Where the picture comes from, as the settings last said.
  std::string iconFile_;
  std::int32_t iconNumber_ = 0;
  // A caption has been shown as the tip: the file name no longer stands in for it.
  bool captionShown_ = false;
  // The last hot key another program was found to hold: reported once.
  std::int32_t refusedHotKey_ = 0;
};

}  // namespace ombrix
