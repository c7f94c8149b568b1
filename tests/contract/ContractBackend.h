#pragma once
// What a contract test needs from the backend under test: the platform, and a scratch
// place in the registry and on disk that is removed afterwards.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace ombrix::contract {

std::unique_ptr<Platform> MakePlatform();
// A short name of the backend, for messages.
const char* BackendName();
// Gives the user an administrator's full rights (or takes them back), for tests that arrange
// machine-wide keys as an installer does. The simulated user is a standard one unless told;
// wine's may write everywhere anyway (on Windows such a test must run elevated).
void SetElevated(Platform& platform, bool elevated);
// Runs the program in the code page both programs' manifest asks for, UTF-8: the simulated
// desktop is switched; under wine the test program carries the programs' manifest.
void UseTheProgramsCodePage(Platform& platform);

}  // namespace ombrix::contract
