#pragma once
// The simulated Windows desktop: every service of the platform, in memory, for tests.

#include "platform/Platform.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimCodePages.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimIcons.h"
#include "platform/sim/SimInput.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimProfile.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimShellLinks.h"
#include "platform/sim/SimWindowOps.h"

namespace ombrix::sim {

class SimPlatform : public Platform {
 public:
  SimPlatform()
      : registry_(codePages_),
        profile_(files_, codePages_),
        messages_(clock_),
        windows_(codePages_),
        shellLinks_(files_, codePages_),
        processes_(files_, clock_, windows_) {
    windows_.SetEventQueue([this](std::function<void()> message) { messages_.Post(std::move(message)); });
  }

  IRegistry& Registry() override { return registry_; }
  IProfile& Profile() override { return profile_; }
  IFiles& Files() override { return files_; }
  IClock& Clock() override { return clock_; }
  IMessagePump& Messages() override { return messages_; }
  IDialogs& Dialogs() override { return dialogs_; }
  IWindowOps& Windows() override { return windows_; }
  IShellLinks& ShellLinks() override { return shellLinks_; }
  IProcesses& Processes() override { return processes_; }
  IShell& Shell() override { return shell_; }
  IInput& Input() override { return input_; }
  IIcons& Icons() override { return icons_; }
  ICodePages& CodePages() override { return codePages_; }

  // The simulated parts, for tests that arrange or inspect the desktop.
  SimRegistry& SimReg() { return registry_; }
  SimFileSystem& SimFiles() { return files_; }
  SimClock& SimTime() { return clock_; }
  SimMessagePump& SimMessages() { return messages_; }
  SimDialogs& SimBoxes() { return dialogs_; }
  SimWindowOps& SimWindows() { return windows_; }
  SimShellLinks& SimLinks() { return shellLinks_; }
  SimProcesses& SimProcs() { return processes_; }
  // The notification area, shell execution and help.
  SimShell& SimTray() { return shell_; }
  // What the user does (cursor, keys, menu choices), utility windows and posted messages.
  SimInput& SimUser() { return input_; }
  SimIcons& SimIconFiles() { return icons_; }
  // The program's code page: set CP_UTF8 for a program whose manifest entry the system honours.
  SimCodePages& SimCodes() { return codePages_; }
  // The program is a 32-bit one on 64-bit Windows: files, environment and shell links as
  // WOW64 shows them. Arrange the 64-bit system's files before.
  void RunUnderWow64() {
    files_.SetWow64View(true);
    processes_.SetWow64(true);
    shellLinks_.SetWow64Reader(true);
  }
  // The program runs with administrator rights: it may start programs that require them,
  // and what programs at normal rights post to its windows is filtered.
  void RunElevated() {
    processes_.SetElevated(true);
    input_.SetElevated(true);
  }

 private:
  SimCodePages codePages_;  // before the parts that speak it
  SimRegistry registry_;
  SimFileSystem files_;
  SimProfile profile_;
  SimClock clock_;
  SimMessagePump messages_;
  SimDialogs dialogs_;
  SimWindowOps windows_;
  SimShellLinks shellLinks_;
  SimProcesses processes_;  // after the parts it drives
  SimInput input_{windows_, messages_};
  SimShell shell_{input_, windows_, files_, processes_};
  SimIcons icons_;
};

}  // namespace ombrix::sim
