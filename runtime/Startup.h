#pragma once
// Start-up, up to the target's window: Ombrix's own entries in the settings key, the target
// from the command line (or the open dialog), a shortcut or document turned into the program
// to start, the launch, and the search for the window with its retry question.

#include <functional>
#include <string>

#include "platform/Platform.h"
#include "platform/ShellLnk.h"
#include "runtime/Target.h"
#include "settings/AppSettings.h"

namespace ombrix {

class TStartup {
 public:
  TStartup(Platform& platform, TTarget& target);

  // Writes Ombrix's version, folder and file name under the settings key; nothing reads
  // them back, so a registry that refuses them does not stop the program.
  void RecordInstallation();
  // The target file and its arguments from the command line, or the file the user chooses
  // when there is none. False when there is none or it does not exist (said where due).
  bool TakeTarget(const std::string& commandLine);
  // Turns a shortcut or a document into the program to start and its arguments. False,
  // with the reason shown, when that cannot be done.
  bool Checkfilename();
  // Starts the target, hidden when it goes to the tray and `canHide`. False, with the reason
  // shown, when it did not start (OnLaunchFailed first). A program that needs administrator
  // rights gets the offer to start Ombrix again with them, for it.
  bool Launch(bool canHide);
  // The target did not start (or an elevated Ombrix starts it): raised, and needed, before
  // anything is said, so that the icon added for it goes first.
  std::function<void()> OnLaunchFailed;
  // Looks for the target's windows; when none is found, asks whether to look again, to
  // configure (`configure`, then look again) or to give up. `ended` says whether Ombrix has
  // ended meanwhile (the tray menu and the timer stay live in every box shown here): then
  // the search stops. True when a window was found.
  bool DiscoverWindows(const std::function<void()>& configure, const std::function<bool()>& ended);
  // False, with the reason shown, when the windows found cannot be kept in the tray.
  bool KeepsWindows();

 private:
  // `path`, or where a 64-bit system the user sees has it when this process's view lacks it.
  std::string InTheSystemExplorerShows(const std::string& path);
  // The program (ProgID) the user chose for documents with this extension; empty: none.
  std::string UserChoice(const std::string& extension);
  // Asks whether to start Ombrix again as administrator for a target that needs it, and does
  // so on Yes. Ombrix at normal rights could neither hide nor end such a program, so the
  // target is never started elevated alone.
  void RestartElevated();

  Platform& platform_;
  TTarget& target_;
  TShellLinkWrapper shellLink_;
  // What an elevated Ombrix is started again with: this one's arguments and the folder it
  // was started in (before the launch made the target's folder current), for relative paths.
  std::string ownArguments_;
  std::string startFolder_;
};

}  // namespace ombrix
