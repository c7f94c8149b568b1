#pragma once
// The simulated Windows desktop: every service of the platform, in memory, for tests.

#include "platform/Platform.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimIcons.h"
#include "platform/sim/SimProfile.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimWindowOps.h"

namespace ombrix::sim {

class SimPlatform : public Platform {
 public:
  SimPlatform() : profile_(files_), messages_(clock_) {}

  IRegistry& Registry() override { return registry_; }
  IProfile& Profile() override { return profile_; }
  IFiles& Files() override { return files_; }
  IClock& Clock() override { return clock_; }
  IMessagePump& Messages() override { return messages_; }
  IDialogs& Dialogs() override { return dialogs_; }
  IWindowOps& Windows() override { return windows_; }
  IIcons& Icons() override { return icons_; }

  // The simulated parts, for tests that arrange or inspect the desktop.
  SimRegistry& SimReg() { return registry_; }
  SimFileSystem& SimFiles() { return files_; }
  SimClock& SimTime() { return clock_; }
  SimMessagePump& SimMessages() { return messages_; }
  SimDialogs& SimBoxes() { return dialogs_; }
  SimWindowOps& SimWindows() { return windows_; }
  SimIcons& SimIconFiles() { return icons_; }

 private:
  SimRegistry registry_;
  SimFileSystem files_;
  SimProfile profile_;
  SimClock clock_;
  SimMessagePump messages_;
  SimDialogs dialogs_;
  SimWindowOps windows_;
  SimIcons icons_;
};

}  // namespace ombrix::sim
