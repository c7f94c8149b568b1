#include "platform/sim/SimPlatform.h"
#include "tests/contract/ContractBackend.h"

namespace ombrix::contract {

std::unique_ptr<Platform> MakePlatform() { return std::make_unique<sim::SimPlatform>(); }
const char* BackendName() { return "sim"; }
void SetElevated(Platform& platform, bool elevated) {
  static_cast<sim::SimPlatform&>(platform).SimReg().SetElevated(elevated);
}

void UseTheProgramsCodePage(Platform& platform) {
  static_cast<sim::SimPlatform&>(platform).SimCodes().SetActiveCodePage(CP_UTF8);
}

}  // namespace ombrix::contract
