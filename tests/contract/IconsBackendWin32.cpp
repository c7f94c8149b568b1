#include "tests/contract/IconsContract.h"

namespace ombrix::contract {

// IconsContract.rc gives the test program three icon groups.
std::string FileWithThreeIcons(Platform& platform) { return platform.Files().GetModuleFileNameA(); }

}  // namespace ombrix::contract
