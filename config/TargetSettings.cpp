#include "config/TargetSettings.h"

#include <algorithm>

#include "base/Utf8.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

namespace {

// The items of the show-state list and the click-mode group.
constexpr std::int32_t ShowStateCount = 4;
constexpr std::int32_t ClickModeCount = 2;

}  // namespace

int IconCountOf(IIcons& icons, const std::string& file) {
  if (file.empty() || CharacterCount(file) > MaxIconFileLength) return 0;
  return static_cast<int>(reinterpret_cast<ULONG_PTR>(icons.ExtractIconA(file, -1)));
}

int IconPositionWithin(int position, int count) {
  // A file without icons keeps position 0: -1 would later ask the icon functions for the
  // count instead of an icon.
  const int last = std::max(count - 1, 0);
  return position < 0 || position > last ? 0 : position;
}

TAppSettings ShownSettings(TAppSettings settings, IIcons& icons) {
  if (settings.ShowState < 0 || settings.ShowState >= ShowStateCount) settings.ShowState = -1;
  settings.TrayDblClick = std::min(std::max(settings.TrayDblClick, -1), ClickModeCount - 1);
  // The tray modes are radio buttons shown in this order: checking one unchecks the others,
  // so the last one on is the one left checked.
  bool* const trayModes[] = {&settings.TrayTask, &settings.TrayNoTask, &settings.NoTrayTask, &settings.NoTrayIcon};
  bool laterOn = false;
  for (auto mode = std::rbegin(trayModes); mode != std::rend(trayModes); ++mode) {
    if (laterOn) **mode = false;
    laterOn = laterOn || **mode;
  }
  settings.IconNumber =
      static_cast<std::int16_t>(IconPositionWithin(settings.IconNumber, IconCountOf(icons, settings.Icon)));
  return settings;
}

TAppSettings LoadTargetSettings(Platform& platform, const std::string& targetFile) {
  TRegistryEnhanced registry(platform);
  registry.RootKey = TRootKey::hkCurrentUser;
  registry.Key = SettingsKey;
  TAppSettingsStore store(platform, registry);
  TAppSettings settings = DefaultAppSettings(targetFile);
  store.LoadSettings(settings);
  return ShownSettings(settings, platform.Icons());
}

}  // namespace ombrix
