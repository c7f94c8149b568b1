#pragma once
// The settings fixture with the simulated desktop's test controls at hand (native only).

#include "platform/sim/SimPlatform.h"
#include "tests/settings/SettingsFixture.h"

namespace ombrix::settingstest {

class SimSettingsTest : public SettingsTest {
 protected:
  sim::SimPlatform& Sim() { return static_cast<sim::SimPlatform&>(*platform_); }
};

}  // namespace ombrix::settingstest
