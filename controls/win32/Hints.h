#pragma once
// The tooltip of a form: each window of a control with a hint is one of its tools, and the
// tooltip watches the mouse over them by itself.

#include <string>
#include <vector>

#include "controls/win32/GdiOwners.h"

namespace ombrix::win32 {

class Hints {
 public:
  // Owned by the form, so that it stays above it; it shows hints also while the form is
  // inactive. Off until Show.
  void Create(HWND form);
  // The form's ShowHint.
  void Show(bool shown);
  // The hint of the control shown by `windows` changed from `before` to `after`.
  void Update(const std::vector<HWND>& windows, const std::string& before, const std::string& after);

 private:
  OwnedWindow tooltip_;
  bool shown_ = false;
};

}  // namespace ombrix::win32
