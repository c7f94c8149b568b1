#include "runtime/TrayHint.h"

#include "base/Exception.h"
#include "base/NumberText.h"
#include "base/Utf8.h"
#include "runtime/OmbrixSelf.h"
#include "settings/AppSettings.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

std::string TrayHintText(const std::string& program, bool windows11) {
  const std::string rest =
      std::string(
          " is in the tray. If you do not see its icon, click ^ on the taskbar; to keep it in view, drag it onto "
          "the taskbar, or turn it on in Settings > Personalization > Taskbar > ") +
      (windows11 ? "Other system tray icons." : "Select which icons appear on the taskbar.");
  return CutText(program, NotifyIconInfoCapacity - rest.size()) + rest;
}

void TTrayHint::IconAdded(TTrayIcon& icon) {
  if (looked_ || icon.Id() == 0) return;
  looked_ = true;
  TRegistryEnhanced registry(platform_);
  registry.RootKey = TRootKey::hkCurrentUser;
  registry.Key = SettingsKey;
  if (!registry.ReadValueDefault(ValueTrayHints, TVariant(true)).ToBool()) return;
  const std::string shown = registry.ReadText(ValueTrayHintsShown);
  const std::string id = IntToText(static_cast<std::int32_t>(icon.Id())) + " ";
  if ((" " + shown).find(" " + id) != std::string::npos) return;
  const bool windows11 = platform_.Shell().RtlGetVersionBuild() >= Windows11Build;
  if (!icon.ShowBalloon(OmbrixTitle, TrayHintText(icon.ToolTip(), windows11))) return;
  try {
    registry.WriteValue(ValueTrayHintsShown, TVariant(shown + id));
  } catch (const Exception&) {
    // Not remembered, the hint comes again at the next run: better than saying so now.
  }
}

}  // namespace ombrix
