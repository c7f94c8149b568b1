#include <vector>

#include "platform/win32/Win32Platform.h"
#include "tests/settings/SettingsBackend.h"

namespace ombrix::settingstest {

std::unique_ptr<Platform> MakePlatform() { return std::make_unique<win32::Win32Platform>(); }
const char* BackendName() { return "win32"; }
std::string WindowsDirectory(Platform&) {
  std::vector<char> buffer(MAX_PATH + 1, '\0');
  const UINT length = ::GetWindowsDirectoryA(buffer.data(), MAX_PATH);
  return std::string(buffer.data(), length);
}
int OpenRegistryHandles(Platform&) { return -1; }

}  // namespace ombrix::settingstest
