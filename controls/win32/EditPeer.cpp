// Edit boxes, and the read-only boxes that show values.

#include "controls/win32/ControlPeer.h"

namespace ombrix::win32 {

namespace {

class EditPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Pull() override { Edit().SetText(WindowText(window_)); }

  void Command(UINT code, int) override {
    if (code != EN_CHANGE || Edit().ReadOnly()) return;
    const std::string text = WindowText(window_);
    context_.Act(&control_, [&] { context_.Engine().TextEdited(Edit(), text); });
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    // A flat box: a plain border instead of the sunken edge.
    HWND window = context_.MakeWindow(0, "EDIT", Edit().Text(),
                                      style | WS_BORDER | ES_AUTOHSCROLL | (Edit().ReadOnly() ? ES_READONLY : 0),
                                      control_.Bounds(), parent, id);
    if (Edit().MaxLength > 0) ::SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(Edit().MaxLength), 0);
    return window;
  }
  void PushState() override { SetWindowTextIfChanged(window_, Edit().Text()); }

 private:
  TEdit& Edit() const { return static_cast<TEdit&>(control_); }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeEditPeer(PeerContext& context, TControl& control) {
  return std::make_unique<EditPeer>(context, control);
}

}  // namespace ombrix::win32
