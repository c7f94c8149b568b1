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

}  // namespace ombrix::contract
