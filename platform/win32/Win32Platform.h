#pragma once
// The platform over the real Windows API. Thin: every call forwards to its Win32
// counterpart; no logic of the system lives here.

#include <memory>

#include "platform/Platform.h"
#include "platform/ShellLinks.h"
#include "platform/win32/Win32Icons.h"
#include "platform/win32/Win32Processes.h"

namespace ombrix::win32 {

class Win32Platform : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;

  IRegistry& Registry() override;
  IProfile& Profile() override;
  IFiles& Files() override;
  IClock& Clock() override;
  IMessagePump& Messages() override;
  IDialogs& Dialogs() override;
  IWindowOps& Windows() override;
  IShellLinks& ShellLinks() override;  // defined in Win32ShellLinks.cpp
  IProcesses& Processes() override { return processes_; }
  IShell& Shell() override;
  IInput& Input() override;
  IIcons& Icons() override { return icons_; }
  ICodePages& CodePages() override;

 private:
  struct Services;
  std::unique_ptr<Services> services_;
  std::unique_ptr<IShellLinks> shellLinks_;  // made on first use
  Win32Processes processes_;
  Win32Icons icons_;
};

}  // namespace ombrix::win32
