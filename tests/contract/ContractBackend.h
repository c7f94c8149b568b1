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

// Deletes a key and everything below it (the registry calls delete only leaf keys).
void DeleteTree(IRegistry& registry, HKEY parent, const std::string& subKey);

}  // namespace ombrix::contract
