#pragma once
// The Win32 form host: real windows and common controls made from a form's declarations,
// shown modally in a message loop of its own (timers and other windows keep working; the
// owner is disabled meanwhile). Models and controls are kept in step: the models are
// written to the controls before the form shows and after each handler, and read back
// from them before each handler.

#include <memory>
#include <vector>

#include "controls/FormEngine.h"
#include "platform/Platform.h"

namespace ombrix::win32 {

class FormWindow;

class Win32FormHost : public IFormHost {
 public:
  Win32FormHost(Platform& platform, FormHostOptions options);
  ~Win32FormHost() override;
  Win32FormHost(const Win32FormHost&) = delete;
  Win32FormHost& operator=(const Win32FormHost&) = delete;

  TModalResult ShowModal(TForm& form, HWND owner) override;

  // While the form is shown: the window of one of its controls (of a radio group, the
  // button of an item); nullptr otherwise. Asked for a control of a page that waits to be
  // shown, it makes the windows of every waiting page. For tests that drive the real
  // controls.
  HWND WindowOf(const TControl& control);
  HWND ItemWindowOf(const TRadioGroup& group, int index);

 private:
  FormWindow* Showing(const TForm& form) const;

  Platform& platform_;
  FormHostOptions options_;
  std::vector<FormWindow*> open_;  // nested modal forms, innermost last
};

}  // namespace ombrix::win32
