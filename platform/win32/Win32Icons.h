#pragma once
// Icons over the real API (shell32 and user32).

#include "platform/Icons.h"

namespace ombrix::win32 {

class Win32Icons : public IIcons {
 public:
  HICON ExtractIconA(const std::string& file, int index) override;
  HICON LoadStandardIcon(int resourceId) override;
  BOOL DestroyIcon(HICON icon) override;
  int SmallIconSize() override;
  HICON ExtractSmallIconA(const std::string& file, int index, int size) override;
  HICON LoadSmallStandardIcon(int resourceId) override;
};

}  // namespace ombrix::win32
