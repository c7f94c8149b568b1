#include "controls/win32/Win32FormHost.h"

#include <string>
#include <vector>

#include "controls/win32/FormWindow.h"

namespace ombrix::win32 {

Win32FormHost::Win32FormHost(Platform& platform, FormHostOptions options)
    : platform_(platform), options_(std::move(options)) {}

Win32FormHost::~Win32FormHost() = default;

TModalResult Win32FormHost::ShowModal(TForm& form, HWND owner) {
  FormEngine engine(form, platform_.Dialogs(), options_);
  FormWindow window(form, engine, owner);
  window.Create();
  form.SetHandle(window.Window());
  struct Open {
    std::vector<FormWindow*>& open;
    TForm& form;
    HWND owner;
    bool disabled;
    ~Open() {
      // The owner is enabled again before the form goes, so that it gets the activation back.
      if (disabled) ::EnableWindow(owner, TRUE);
      open.pop_back();
      form.SetHandle(nullptr);
    }
  } opened{open_, form, owner, owner != nullptr && ::IsWindowEnabled(owner)};
  open_.push_back(&window);

  engine.Opening();
  if (opened.disabled) ::EnableWindow(owner, FALSE);
  window.Show();

  while (!engine.Closed()) {
    MSG message{};
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // The application is ending: leave the quit request for the outer loop.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      form.SetModalResult(mrCancel);
      break;
    }
    try {
      if (!window.PreTranslate(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
      }
      // As after a user's action: what the user changed is taken first, so that showing the
      // form's state does not undo it.
      if (form.TakeChangedBehind()) window.Act(nullptr, [] {});
      window.SyncFocus();
    } catch (const std::exception& error) {
      window.ReportError(error.what());
    } catch (...) {
      window.ReportError("Unexpected error.");
    }
  }
  return form.ModalResult();
}

FormWindow* Win32FormHost::Showing(const TForm& form) const {
  for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
    if (&(*it)->Form() == &form) return *it;
  }
  return nullptr;
}

HWND Win32FormHost::WindowOf(const TControl& control) {
  FormWindow* window = Showing(control.Form());
  return window ? window->WindowOf(control) : nullptr;
}

HWND Win32FormHost::ItemWindowOf(const TRadioGroup& group, int index) {
  FormWindow* window = Showing(group.Form());
  return window ? window->ItemWindowOf(group, index) : nullptr;
}

}  // namespace ombrix::win32
