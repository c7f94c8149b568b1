#include "runtime/TrayHint.h"

#include "base/Utf8.h"

namespace ombrix {

std::string TrayHintText(const std::string& program, bool windows11) {
  std::string rest =
      " is in the tray. If you do not see its icon, click ^ on the taskbar; to keep it in view, drag it onto the "
      "taskbar, or turn it on in Settings > Personalization > Taskbar > ";
  rest += windows11 ? "Other system tray icons." : "Select which icons appear on the taskbar.";
  return CutText(program, NotifyIconInfoCapacity - rest.size()) + rest;
}

}  // namespace ombrix
