#include "platform/sim/SimPlatform.h"
#include "tests/contract/ContractBackend.h"

namespace ombrix::contract {

std::unique_ptr<Platform> MakePlatform() {
  auto platform = std::make_unique<sim::SimPlatform>();
  // As Windows from Vista on, the shell names the Startup folder.
  platform->SimTray().SetStartupFolder(
      "C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
  return platform;
}
const char* BackendName() { return "sim"; }
void SetElevated(Platform& platform, bool elevated) {
  static_cast<sim::SimPlatform&>(platform).SimReg().SetElevated(elevated);
}

void UseTheProgramsCodePage(Platform& platform) {
  static_cast<sim::SimPlatform&>(platform).SimCodes().SetActiveCodePage(CP_UTF8);
}

}  // namespace ombrix::contract
