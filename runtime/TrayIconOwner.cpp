#include "runtime/TrayIconOwner.h"

#include "base/Utf8.h"
#include "runtime/HotKey.h"
#include "runtime/OmbrixSelf.h"

namespace ombrix {

namespace {
// At logon the taskbar may take a while to come up: tried every few seconds for a minute,
// besides the shell's own word when its taskbar is created.
constexpr UINT IconRetryInterval = 3000;
constexpr int IconRetries = 20;
}  // namespace

TTrayIconOwner::TTrayIconOwner(Platform& platform, HWND applicationWindow)
    : platform_(platform), icon_(platform, platform.Icons()) {
  icon_.SetApplicationWindow(applicationWindow);
  icon_.SetToolTip(OmbrixTitle);
  icon_.OnRightClick = [this](TTrayIcon&, TTrayIcon::TMouseButton, TTrayIcon::TShiftState, int, int) {
    if (OnRightClick) OnRightClick();
  };
  // The hot key does what a click on the icon does, in every tray mode.
  icon_.OnHotKey = [this](TTrayIcon&) { Toggle(); };
  icon_.OnEndRequest = [this](TTrayIcon&) {
    if (OnEndRequest) OnEndRequest();
  };
}

TTrayIconOwner::~TTrayIconOwner() { StopRetrying(); }

void TTrayIconOwner::Toggle() {
  if (OnToggle) OnToggle();
}

void TTrayIconOwner::Setup(const TAppSettings& settings, const std::string& targetFile) {
  targetFile_ = targetFile;
  SetPicture(settings);
  icon_.SetActive(false);
  if (!settings.NoTrayIcon) Present(true);
  TakeHotKey(settings.HotKey, targetFile);
}

void TTrayIconOwner::SetPicture(const TAppSettings& settings) {
  IIcons& icons = platform_.Icons();
  HICON picture = nullptr;
  // A longer name would reach the icon functions cut short and could name another file;
  // a negative index would ask for the count instead of an icon.
  if (!settings.Icon.empty() && CharacterCount(settings.Icon) <= MaxIconFileLength && settings.IconNumber >= 0) {
    try {
      picture = icons.ExtractIconA(settings.Icon, settings.IconNumber);
    } catch (const std::exception&) {
      picture = nullptr;
    }
  }
  if (IsNotAnIconFile(picture)) picture = nullptr;
  if (picture) {
    icon_.SetIcon(picture);
  } else {
    icon_.SetIcon(icons.LoadStandardIcon(IdiApplication), true);
  }
}

void TTrayIconOwner::TakeHotKey(std::int32_t hotKey, const std::string& targetFile) {
  // As the icon, the key must not come back to a program that has ended.
  if (retired_) return;
  if (icon_.SetHotKey(hotKey) || hotKey == refusedHotKey_) return;
  refusedHotKey_ = hotKey;
  ShowOwnMessage(platform_, "The hot key " + HotKeyText(hotKey) + " of\r\n" + targetFile +
                                "\r\nis in use by another program. Ombrix goes on without it;\r\n"
                                "\"Configure\" can give the program another one.");
}

void TTrayIconOwner::Present(bool present) {
  // A dialog left open by the tray menu can still be saved after Ombrix has ended (the watch
  // timer ends Ombrix while the configuration is open); the icon must not come back to a
  // program that has ended.
  icon_.SetActive(present && !retired_);
  if (!icon_.Active() || icon_.Shown()) {
    StopRetrying();
  } else if (!retryTimer_) {
    retries_ = 0;
    retryTimer_ = platform_.Messages().SetTimer(IconRetryInterval, [this] { RetryIcon(); });
  }
}

void TTrayIconOwner::StopRetrying() {
  if (retryTimer_) platform_.Messages().KillTimer(retryTimer_);
  retryTimer_ = 0;
}

void TTrayIconOwner::RetryIcon() {
  if (icon_.AddAgain() || !icon_.Active()) {
    StopRetrying();
    return;
  }
  if (++retries_ < IconRetries) return;
  StopRetrying();
  // The program stays shown: hidden without an icon it would have no way back.
  if (iconFailureTold_) return;
  iconFailureTold_ = true;
  ShowOwnMessage(platform_, "The icon of\r\n" + targetFile_ +
                                "\r\ncould not be put in the notification area: the taskbar did not answer.\r\n"
                                "The program stays shown until the taskbar is ready.");
}

void TTrayIconOwner::ShowTip(const std::string& text) {
  if (!text.empty()) icon_.SetToolTip(text);
}

void TTrayIconOwner::SetClickMode(std::int32_t trayDblClick) {
  if (trayDblClick == 1) {
    icon_.OnClick = nullptr;
    icon_.OnDblClick = [this](TTrayIcon&) { Toggle(); };
  } else {
    icon_.OnClick = [this](TTrayIcon&) { Toggle(); };
    icon_.OnDblClick = nullptr;
  }
}

std::string TTrayIconOwner::HotKeyInfo(std::int32_t hotKey) const {
  if (!HotKeyKey(hotKey)) return "none";
  return HotKeyText(hotKey) + (icon_.HotKey() == hotKey ? "" : " (in use by another program)");
}

void TTrayIconOwner::Retire() {
  retired_ = true;
  StopRetrying();
  if (icon_.Active()) icon_.SetActive(false);
  icon_.SetHotKey(0);
}

}  // namespace ombrix
