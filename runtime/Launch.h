#pragma once
// Starting the target program, waiting until it is ready for input, and the words for a
// launch or discovery result code.

#include <cstdint>
#include <string>

#include "base/Exception.h"
#include "platform/Platform.h"
#include "runtime/TargetState.h"

namespace ombrix {

// The target's folder could not be made the current folder, so the target was not started.
// Start-up shows the message and ends.
class ELaunchFolder : public Exception {
 public:
  explicit ELaunchFolder(const std::string& folder)
      : Exception("Unable to change to the program's folder:\r\n" + folder + "\r\n\r\nThe program was not started."),
        folder_(folder) {}
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
};

// The show command the target is started with, from its ShowState setting and the way
// Ombrix itself was started.
WORD TargetShowCommand(std::int32_t showState, const StartupInfo& ownStartup);
// The show command the target is launched with: SW_HIDE instead of a minimized start when
// Ombrix can hide the window at once (`canHide`: its icon is there), since a minimized
// target goes to the tray anyway and should not be seen on its way; otherwise as above.
WORD LaunchShowCommand(std::int32_t showState, const StartupInfo& ownStartup, bool canHide);

// Starts TargetFile with TargetParams from TargetFile's folder. True when the process was
// created (ProcessInfo filled, LaunchError 0); false with LaunchError set to the Windows
// error code otherwise. Throws ELaunchFolder when the folder cannot be made current.
// The command line is passed whole, however long: cutting it would start the program with
// arguments the user never gave. A line beyond what Windows accepts fails like any other
// launch, with the error code Windows gives.
// With `canHide`, a start into the tray is a hidden one (LaunchShowCommand; StartedHidden).
bool LaunchTarget(Platform& platform, TargetState& state, bool canHide = false);

// Waits at most 30 seconds until the started program waits for input. The result does not
// matter to start-up: a console program, for one, never becomes idle.
DWORD WaitForTargetIdle(Platform& platform, const TargetState& state);

// The message for a LaunchError value.
std::string LaunchErrorText(std::int32_t code);

// What Ombrix says when `file` did not start with the Windows error `code`. The codes of the
// old program-start interface (below 32) keep their words; for the others that table only
// says "No error / Unknown error", so the message names the program and gives the system's
// own description, in the user's language, with the code.
std::string StartFailureText(IProcesses& processes, const std::string& file, std::int32_t code);

}  // namespace ombrix
