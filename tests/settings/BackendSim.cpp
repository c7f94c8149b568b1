#include "platform/sim/SimPlatform.h"
#include "tests/settings/SettingsBackend.h"

namespace ombrix::settingstest {

std::unique_ptr<Platform> MakePlatform() { return std::make_unique<sim::SimPlatform>(); }
const char* BackendName() { return "sim"; }
std::string WindowsDirectory(Platform& platform) {
  return static_cast<sim::SimPlatform&>(platform).SimFiles().WindowsDirectory();
}
int OpenRegistryHandles(Platform& platform) {
  return static_cast<sim::SimPlatform&>(platform).SimReg().OpenHandleCount();
}

}  // namespace ombrix::settingstest
