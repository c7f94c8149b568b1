#pragma once
// Showing a form modally. The Win32 host creates real windows; the simulated host lets a
// test act as the user. Both run the form's handlers through one FormEngine, so the order
// of events is the same on both.

#include <functional>
#include <string>

#include "controls/Form.h"
#include "platform/HelpFile.h"

namespace ombrix {

struct FormHostOptions {
  // Caption of the general error box that shows an error escaping a handler.
  std::string ApplicationTitle;
  // F1: opens the help topic of a context (never called with 0).
  std::function<void(HWND window, int helpContext)> ShowHelp;
};

// A program's options: `title` on its error notes, and F1 opening the topic of the focused
// control's help context in the program's help file.
inline FormHostOptions ProgramHostOptions(const std::string& title, const THelpFile& help) {
  return FormHostOptions{title, [help](HWND window, int context) { help.ShowTopic(window, context); }};
}

class IFormHost {
 public:
  virtual ~IFormHost() = default;
  // Shows the form until its modal result is set; the owner (if any) cannot be used
  // meanwhile. Returns the modal result.
  virtual TModalResult ShowModal(TForm& form, HWND owner) = 0;
};

}  // namespace ombrix
