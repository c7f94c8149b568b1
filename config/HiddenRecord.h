#pragma once
// What Ombrix hid, kept where a later start of either program finds it. A program hidden by
// Ombrix has no taskbar button; when Ombrix is ended from outside (Task Manager, an
// installer) or crashes, nothing would show it again. So a running Ombrix keeps the windows
// it hid under a volatile key of the user's settings, and every start of Ombrix and
// OmbrixHub shows again those of an Ombrix that no longer runs. Volatile, because handles
// and process ids mean nothing after the session.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace ombrix {

// Below the settings key: one subkey per running Ombrix, named by its process id and
// creation time.
inline constexpr char HiddenWindowsSubKey[] = "Hidden";

// How a window hidden by Ombrix comes back: shown as it was, or restored when it was
// minimized (which brings one minimized from maximized back maximized).
int ShowCommandToBringBack(IWindowOps& windows, HWND window);

// The record of one running Ombrix.
class THiddenRecord {
 public:
  explicit THiddenRecord(Platform& platform);

  // `windows`, of the program `file`, are now all the windows this Ombrix keeps hidden.
  // The same set as last written writes nothing; an empty one removes the record.
  void Write(const std::vector<HWND>& windows, const std::string& file);
  // Ombrix ends normally: its record goes.
  void Remove();

 private:
  Platform& platform_;
  std::string name_;
  std::vector<HWND> written_;
};

// What a start found left hidden by Ombrix processes that no longer run: the programs whose
// windows were shown again, and those whose windows this start may not change.
struct TLeftHidden {
  std::vector<std::string> shown;
  std::vector<std::string> refused;
};

// Shows again, without waiting on a hung program, each recorded window that still belongs
// to the process that was hidden, and removes what it has dealt with; a window Windows
// does not let this start change keeps its record. A record that cannot be read goes.
TLeftHidden ShowWindowsLeftHidden(Platform& platform);
// What to tell the user; empty when nothing was found.
std::string LeftHiddenText(const TLeftHidden& found);

}  // namespace ombrix
