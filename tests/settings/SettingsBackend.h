#pragma once
// What the settings tests need from the backend under test: the platform and the few facts
// about it that the platform interface does not give.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace ombrix::settingstest {

std::unique_ptr<Platform> MakePlatform();
const char* BackendName();
// Where the profile calls put a file named without a folder.
std::string WindowsDirectory(Platform& platform);
// Registry handles open right now, or -1 when the backend cannot tell.
int OpenRegistryHandles(Platform& platform);

}  // namespace ombrix::settingstest
