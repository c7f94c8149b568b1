#include "platform/win32/Win32Icons.h"

#include <shellapi.h>

namespace ombrix::win32 {

// The program's own instance: ExtractIcon needs one, and which one does not change the result.
HICON Win32Icons::ExtractIconA(const std::string& file, int index) {
  return ::ExtractIconA(::GetModuleHandleA(nullptr), file.c_str(), static_cast<UINT>(index));
}

HICON Win32Icons::LoadStandardIcon(int resourceId) { return ::LoadIconA(nullptr, MAKEINTRESOURCEA(resourceId)); }

BOOL Win32Icons::DestroyIcon(HICON icon) { return ::DestroyIcon(icon); }

}  // namespace ombrix::win32
