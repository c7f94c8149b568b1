// Push buttons (flat ones too), check boxes and radio buttons.

#include "controls/win32/ControlPeer.h"

namespace ombrix::win32 {

namespace {

class ButtonPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Command(UINT code, int) override {
    if (code == BN_CLICKED) context_.Act(&control_, [&] { context_.Engine().Click(control_); });
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    const auto& button = static_cast<const TButton&>(control_);
    return context_.MakeWindow(
        0, "BUTTON", button.Caption(),
        style | (button.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (button.Flat ? BS_FLAT : 0), button.Bounds(),
        parent, id);
  }
  void PushState() override { PushCaption(); }
};

// The host checks radio buttons itself (the model decides the group), never Windows.
class CheckPeer : public ButtonPeer {
 public:
  using ButtonPeer::ButtonPeer;

  void Pull() override {
    if (control_.Kind() == TControlKind::kCheckBox) {
      static_cast<TCheckBox&>(control_).SetChecked(::SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(0, "BUTTON", control_.Caption(),
                               style | (control_.Kind() == TControlKind::kCheckBox ? BS_CHECKBOX : BS_RADIOBUTTON),
                               control_.Bounds(), parent, id);
  }
  void PushState() override {
    PushCaption();
    const bool checked = control_.Kind() == TControlKind::kCheckBox ? static_cast<TCheckBox&>(control_).Checked()
                                                                    : static_cast<TRadioButton&>(control_).Checked();
    if ((::SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED) != checked) {
      ::SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeButtonPeer(PeerContext& context, TControl& control) {
  return std::make_unique<ButtonPeer>(context, control);
}

std::unique_ptr<ControlPeer> MakeCheckPeer(PeerContext& context, TControl& control) {
  return std::make_unique<CheckPeer>(context, control);
}

}  // namespace ombrix::win32
