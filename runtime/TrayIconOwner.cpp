#include "runtime/TrayIconOwner.h"

#include "base/FilePaths.h"
#include "base/Utf8.h"
#include "config/SettingsPages.h"
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
    : platform_(platform), identity_(platform), icon_(platform, platform.Icons()) {
  icon_.SetApplicationWindow(applicationWindow);
  icon_.SetToolTip(OmbrixTitle);
  icon_.OnRightClick = [this](TTrayIcon&, TTrayIcon::TMouseButton, TTrayIcon::TShiftState, int x, int y) {
    if (OnRightClick) OnRightClick(x, y);
  };
  // The hot key and the keyboard's selection of the icon do what a click on the icon does,
  // in every tray mode and whichever click the settings ask of the mouse.
  icon_.OnHotKey = [this](TTrayIcon&) { Toggle(); };
  icon_.OnKeySelect = icon_.OnHotKey;
  // The taskbar comes again also after a change of the display's scaling, when the small
  // icon's size has changed.
  icon_.OnTaskbarCreated = [this](TTrayIcon&) { SetPicture(); };
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
  iconFile_ = settings.Icon;
  iconNumber_ = settings.IconNumber;
  SetPicture();
  icon_.SetActive(false);
  icon_.SetId(identity_.Take(targetFile));
  // Windows keeps the tip an identity was first added with as its name in the taskbar's
  // settings, so the icon is added with the program's name rather than Ombrix's.
  const std::string fileName = targetFile.substr(FolderOf(targetFile).size());
  if (!captionShown_ && !fileName.empty()) icon_.SetToolTip(fileName);
  if (!settings.NoTrayIcon) Present(true);
  TakeHotKey(settings.HotKey, targetFile);
}

void TTrayIconOwner::SetPicture() {
  IIcons& icons = platform_.Icons();
  HICON picture = nullptr;
  // The notification area shows a small icon: made at its size from the file's own images,
  // it stays sharp at every scaling, where a large one scaled down blurs. A longer name
  // would reach the icon functions cut short and could name another file; a negative index
  // would name a resource instead of a position.
  if (!iconFile_.empty() && CharacterCount(iconFile_) <= MaxIconFileLength && iconNumber_ >= 0) {
    try {
      picture = icons.ExtractSmallIconA(iconFile_, iconNumber_, icons.SmallIconSize());
    } catch (const std::exception&) {
      picture = nullptr;
    }
  }
  if (!picture) picture = icons.LoadSmallStandardIcon(IdiApplication);
  if (picture) {
    icon_.SetIcon(picture);
  } else {
    icon_.SetIcon(icons.LoadStandardIcon(IdiApplication), true);
  }
}

void TTrayIconOwner::TakeHotKey(std::int32_t hotKey, const std::string& targetFile) {
  // As the icon, the key must not come back to a program that has ended.
  if (retired_) return;
  // A key stored by an older Ombrix, or by hand, that would take a character from typing
  // in every program is not taken; Program information says why.
  if (!HotKeyLeavesTypingAlone(hotKey)) {
    icon_.SetHotKey(0);
    return;
  }
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
  if (IconShown() && OnIconAdded) OnIconAdded();
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
    if (IconShown() && OnIconAdded) OnIconAdded();
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
  if (text.empty()) return;
  captionShown_ = true;
  icon_.SetToolTip(text);
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
  const char* why = HotKeyKey(hotKey) == VK_F1         ? " (not used: F1 asks for help)"
                    : !HotKeyLeavesTypingAlone(hotKey) ? " (not used: without Ctrl or Alt it would take typing "
                                                         "from every program)"
                    : icon_.HotKey() != hotKey         ? " (in use by another program)"
                                                       : "";
  return HotKeyText(hotKey) + why;
}

void TTrayIconOwner::Retire() {
  retired_ = true;
  StopRetrying();
  if (icon_.Active()) icon_.SetActive(false);
  icon_.SetHotKey(0);
}

}  // namespace ombrix
