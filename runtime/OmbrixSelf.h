#pragma once
// Ombrix itself: its title, its program file and folder, and its messages. It has no window
// of its own, so a box is owned by the desktop and brought to the foreground.

#include <string>

#include "platform/Platform.h"

namespace ombrix {

inline constexpr char OmbrixTitle[] = "Vorel Ombrix";

inline int ShowOwnMessage(Platform& platform, const std::string& text, UINT type = MB_OK) {
  return platform.Dialogs().MessageBoxA(platform.Windows().GetDesktopWindow(), text, OmbrixTitle,
                                        type | MB_SETFOREGROUND);
}

inline std::string OwnFile(Platform& platform) { return platform.Files().GetModuleFileNameA(); }

// Ombrix's folder with its trailing backslash.
inline std::string OwnFolder(Platform& platform) {
  const std::string file = OwnFile(platform);
  const size_t slash = file.find_last_of("\\:");
  return slash == std::string::npos ? "" : file.substr(0, slash + 1);
}

}  // namespace ombrix
