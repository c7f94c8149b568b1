#pragma once
// The Windows operations the system relies on, bundled. One Platform object is handed to
// every component that needs the outside world (the real API, or the simulated desktop).

#include "Clock.h"
#include "CodePages.h"
#include "Dialogs.h"
#include "Files.h"
#include "Icons.h"
#include "Input.h"
#include "Processes.h"
#include "Profile.h"
#include "Registry.h"
#include "Shell.h"
#include "WindowOps.h"

namespace ombrix {

// Declared in ShellLinks.h, which brings the shell headers along; only its users include it.
class IShellLinks;

class Platform {
 public:
  virtual ~Platform() = default;

  virtual IRegistry& Registry() = 0;
  virtual IProfile& Profile() = 0;
  virtual IFiles& Files() = 0;
  virtual IClock& Clock() = 0;
  virtual IMessagePump& Messages() = 0;
  virtual IDialogs& Dialogs() = 0;
  virtual IWindowOps& Windows() = 0;
  virtual IShellLinks& ShellLinks() = 0;
  virtual IProcesses& Processes() = 0;
  virtual IShell& Shell() = 0;
  virtual IInput& Input() = 0;
  virtual IIcons& Icons() = 0;
  virtual ICodePages& CodePages() = 0;
};

}  // namespace ombrix
