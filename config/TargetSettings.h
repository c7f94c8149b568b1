#pragma once
// A program's settings entry as Ombrix uses it and the settings pages show it: loaded from
// the store, then held to what the pages' controls can show. Start-up reads the target's
// entry here; the pages show any entry through the same rules, so what a user sees in the
// configuration dialog is what Ombrix runs with.

#include <string>

#include "platform/Platform.h"
#include "settings/AppSettings.h"

namespace ombrix {

// The number of icons in `file`; 0 for a name the icon functions would cut short (it could
// name another file) and for a file without icons.
int IconCountOf(IIcons& icons, const std::string& file);
// The icon position the pages keep for `position` among `count` icons: 0 when beyond them.
int IconPositionWithin(int position, int count);

// `settings` as the pages show them: a show state or click mode beyond the lists shows none
// (-1; the click mode's list never goes below "none"), of the four tray modes only the last
// one on stays on, and the icon position is one of the icon file's icons.
TAppSettings ShownSettings(TAppSettings settings, IIcons& icons);

// The stored entry of `targetFile` (the defaults where nothing is stored) as the pages show it.
TAppSettings LoadTargetSettings(Platform& platform, const std::string& targetFile);

}  // namespace ombrix
