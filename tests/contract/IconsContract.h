#pragma once
// What the icons contract needs from each backend beyond the platform itself.

#include <string>

#include "platform/Platform.h"

namespace ombrix::contract {

// A file holding exactly three icons: under wine the test program itself (its icon
// resources), natively a simulated program file given three icons.
std::string FileWithThreeIcons(Platform& platform);

}  // namespace ombrix::contract
