// Drop-down lists without free text.

#include <algorithm>

#include "controls/win32/ControlPeer.h"

namespace ombrix::win32 {

namespace {

class ComboBoxPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Pull() override { Combo().SetItemIndex(static_cast<int>(::SendMessageA(window_, CB_GETCURSEL, 0, 0))); }

  void Command(UINT code, int) override {
    if (code != CBN_SELCHANGE) return;
    const int index = static_cast<int>(::SendMessageA(window_, CB_GETCURSEL, 0, 0));
    context_.Act(&control_, [&] { context_.Engine().Select(Combo(), index); });
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(0, "COMBOBOX", "", style | CBS_DROPDOWNLIST | WS_VSCROLL, WindowBounds(), parent, id);
  }
  // The window's height includes the dropped-down list.
  TBounds WindowBounds() const override {
    TBounds bounds = control_.Bounds();
    bounds.Height += 16 * std::max(Combo().DropDownCount, 1);
    return bounds;
  }
  // The items only when they changed since the last push.
  void PushState() override {
    if (!filled_ || itemsRevision_ != Combo().ItemsRevision()) {
      RedrawOff redraw(window_);
      FillList(window_, true, Combo().Items());
      filled_ = true;
      itemsRevision_ = Combo().ItemsRevision();
    }
    if (static_cast<int>(::SendMessageA(window_, CB_GETCURSEL, 0, 0)) != Combo().ItemIndex()) {
      ::SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(Combo().ItemIndex()), 0);
    }
  }

 private:
  TComboBox& Combo() const { return static_cast<TComboBox&>(control_); }

  bool filled_ = false;
  unsigned itemsRevision_ = 0;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeComboBoxPeer(PeerContext& context, TControl& control) {
  return std::make_unique<ComboBoxPeer>(context, control);
}

}  // namespace ombrix::win32
