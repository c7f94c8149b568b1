#pragma once
// What the pages of the control center share: the platform, the window's settings-store
// component, where OmbrixHub (and so Ombrix beside it) lives, and the title its messages
// carry.

#include <string>

#include "platform/Platform.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

struct THubContext {
  Platform& platform;
  // The window's registry component; its root is HKEY_CLASSES_ROOT between operations.
  TRegistryEnhanced& RegistryOp;
  // OmbrixHub's folder, ending in a backslash.
  std::string HubFolder;
  // "Vorel Ombrix - Control Center": the caption of every message box.
  std::string ApplicationTitle;

  // Every message of the control center: one OK button, the application title as caption.
  void ShowMessage(HWND owner, const std::string& text) const;
};

}  // namespace ombrix
