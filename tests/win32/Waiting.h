#pragma once
// What the end-to-end tests under wine share: paths in Windows' spelling, and bounded
// polling for what another process does.

#include <windows.h>

#include <functional>
#include <string>

namespace ombrix::testing {

// A path the build gives with forward slashes, with Windows' backslashes.
inline std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Polls until `done` holds, at most `milliseconds`.
inline bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = 15000) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > milliseconds) return false;
    ::Sleep(25);
  }
  return true;
}

}  // namespace ombrix::testing
