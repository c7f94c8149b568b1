#pragma once
// The message of the shortcut component's error raised by an action, or "(no error)".

#include <functional>
#include <string>

#include "platform/ShellLnk.h"

namespace ombrix::testing {

inline std::string ShellLinkErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EShellLinkWrapper& error) {
    return error.Message();
  }
  return "(no error)";
}

}  // namespace ombrix::testing
