#include "platform/win32/Win32Platform.h"
#include "tests/contract/ContractBackend.h"

namespace ombrix::contract {

std::unique_ptr<Platform> MakePlatform() { return std::make_unique<win32::Win32Platform>(); }
const char* BackendName() { return "win32"; }
void SetElevated(Platform&, bool) {}
void UseTheProgramsCodePage(Platform&) {}

}  // namespace ombrix::contract
