#include "platform/sim/SimPlatform.h"
#include "tests/contract/ContractBackend.h"

namespace ombrix::contract {

std::unique_ptr<Platform> MakePlatform() { return std::make_unique<sim::SimPlatform>(); }
const char* BackendName() { return "sim"; }

}  // namespace ombrix::contract
