#pragma once
// The hint a program's icon gives the first time it is in the notification area. Windows 10
// and 11 put an icon they have not seen before behind the overflow's "^", so a program that
// Ombrix keeps there seems to have vanished; a balloon says where it is and how to keep it on
// the taskbar. Ombrix never changes the system's own notification-area settings: only the
// user may promote an icon.

#include <string>

#include "platform/Shell.h"

namespace ombrix {

// Below the settings key: REG_DWORD 0 turns the hints off.
inline constexpr char ValueTrayHints[] = "TrayHints";
// Below the settings key: the ids of the icons that have had their hint, each followed by a
// blank ("3085 51772 "). Windows remembers an icon's place per identity (Ombrix's file and
// the id), so that is what a hint is owed to. One value for every program: an entry per
// program started would fill the stored settings and their export.
inline constexpr char ValueTrayHintsShown[] = "TrayHintsShown";

// The balloon's text for `program` in the words of Windows 11's settings or Windows 10's,
// within the balloon's limit: a long name is cut, never the way to the icon.
std::string TrayHintText(const std::string& program, bool windows11);

}  // namespace ombrix
