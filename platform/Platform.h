#pragma once
// The Windows operations the system relies on, bundled. One Platform object is handed to
// every component that needs the outside world (the real API, or the simulated desktop).

#include "Clock.h"
#include "Dialogs.h"
#include "Files.h"
#include "Input.h"
#include "Profile.h"
#include "Registry.h"
#include "Shell.h"
#include "WindowOps.h"

namespace ombrix {

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
  virtual IShell& Shell() = 0;
  virtual IInput& Input() = 0;
};

}  // namespace ombrix
