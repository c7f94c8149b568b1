#include "platform/sim/SimPlatform.h"
#include "tests/contract/IconsContract.h"

namespace ombrix::contract {

std::string FileWithThreeIcons(Platform& platform) {
  const std::string file = "C:\\Program Files\\Ombrix\\Ombrix.exe";
  platform.Files().WriteFileBytes(file, "MZ");
  static_cast<sim::SimPlatform&>(platform).SimIconFiles().SetIconCount(file, 3);
  return file;
}

}  // namespace ombrix::contract
