#include "platform/sim/SimPlatform.h"
#include "tests/contract/TargetProgram.h"
#include "tests/target/SimTarget.h"

namespace ombrix::contract {

std::string TargetProgram(Platform& platform) {
  const std::string path = "C:\\Ombrix Tests\\OmbrixTarget.exe";
  target::DefineSimTarget(dynamic_cast<sim::SimPlatform&>(platform).SimProcs(), path);
  return path;
}

void EndProgram(Platform& platform, const ProcessInformation& info) {
  dynamic_cast<sim::SimPlatform&>(platform).SimProcs().Terminate(info.processId);
}

}  // namespace ombrix::contract
