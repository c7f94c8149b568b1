#pragma once
// Where the shells the contract tests run against differ from Windows.

#include "platform/WinDefs.h"

namespace ombrix::contract {

// Wine's shell leaves a loaded link's show command at SW_SHOWNORMAL whatever the file holds
// (it does write the field); Windows reads it. Tests compare that one field only where the
// shell honours it, and check the stored bytes everywhere.
inline bool ShellIgnoresStoredShowCommand() {
#ifdef _WIN32
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace ombrix::contract
