#pragma once
// Icons service: icons taken from files and the system's standard icons.

#include <string>

#include "WinDefs.h"

namespace ombrix {

class IIcons {
 public:
  virtual ~IIcons() = default;

  // ExtractIconA with the program's instance: index -1 gives the number of icons in the
  // file (as a handle value); otherwise the icon at that index, or nullptr.
  virtual HICON ExtractIconA(const std::string& file, int index) = 0;
  // LoadIconA(NULL, IDI_...): a shared system icon, never destroyed.
  virtual HICON LoadStandardIcon(int resourceId) = 0;
  virtual BOOL DestroyIcon(HICON icon) = 0;
};

}  // namespace ombrix
