// Group boxes and radio groups: a container window for the controls inside, with a group
// frame beneath them. The frame covers the whole group and paints no background, so the
// container paints its own beneath the frame, and does not clip its children away.

#include <algorithm>

#include "controls/win32/ControlPeer.h"

namespace ombrix::win32 {

namespace {

constexpr int FrameId = 0xFFFF;
constexpr int FirstItemId = 20000;

class FramedPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  // The frame goes below the controls it surrounds, clipped by them.
  void ChildrenCreated() override {
    const TBounds& bounds = control_.Bounds();
    frame_ = context_.MakeWindow(0, "BUTTON", control_.Caption(), BS_GROUPBOX | WS_CLIPSIBLINGS | WS_VISIBLE,
                                 TBounds{0, 0, bounds.Width, bounds.Height}, window_, FrameId);
    ::SendMessageA(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    ::SetWindowPos(frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    context_.Route(frame_, this);
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(WS_EX_CONTROLPARENT, ContainerClass, "", style, control_.Bounds(), parent, id);
  }
  HWND Frame() const override { return frame_; }
  void PushState() override { SetWindowTextIfChanged(frame_, control_.Caption()); }

  HWND frame_ = nullptr;
};

// A radio group's items are radio buttons of its own, checked by the host as the model says.
class RadioGroupPeer : public FramedPeer {
 public:
  using FramedPeer::FramedPeer;

  void Command(UINT code, int item) override {
    if (code == BN_CLICKED && item >= 0) {
      context_.Act(&control_, [&] { context_.Engine().ClickItem(Group(), item); });
    }
  }
  HWND FocusWindow() const override {
    if (buttons_.empty()) return nullptr;
    const int index = Group().ItemIndex();
    return buttons_[index >= 0 ? static_cast<std::size_t>(index) : 0];
  }
  HWND ItemWindow(int index) const override {
    return index >= 0 && index < static_cast<int>(buttons_.size()) ? buttons_[static_cast<std::size_t>(index)]
                                                                   : nullptr;
  }

 protected:
  void Created(HWND) override { CreateItems(); }
  std::vector<HWND> ItemWindows() const override { return buttons_; }
  void PushState() override {
    FramedPeer::PushState();
    if (Group().Items() != items_) {
      CreateItems();
      for (HWND button : buttons_) ::EnableWindow(button, Group().Enabled());
    }
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
      const bool checked = static_cast<int>(i) == Group().ItemIndex();
      if ((::SendMessageA(buttons_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) != checked) {
        ::SendMessageA(buttons_[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      }
    }
  }

 private:
  TRadioGroup& Group() const { return static_cast<TRadioGroup&>(control_); }

  void CreateItems() {
    for (HWND button : buttons_) {
      context_.Route(button, nullptr);
      ::DestroyWindow(button);
    }
    buttons_.clear();
    items_ = Group().Items();
    const TBounds& bounds = Group().Bounds();
    const int count = static_cast<int>(items_.size());
    const int top = 18;
    const int rowHeight = count > 0 ? std::max(17, (bounds.Height - top - 4) / count) : 0;
    for (int i = 0; i < count; ++i) {
      const TBounds row{8, top + i * rowHeight + (rowHeight - 17) / 2, bounds.Width - 16, 17};
      HWND button =
          context_.MakeWindow(0, "BUTTON", items_[static_cast<std::size_t>(i)],
                              BS_RADIOBUTTON | WS_VISIBLE | (i == 0 ? WS_TABSTOP : 0), row, window_, FirstItemId + i);
      ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
      context_.Route(button, this, i);
      buttons_.push_back(button);
    }
    if (frame_) ::SetWindowPos(frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  std::vector<HWND> buttons_;
  std::vector<std::string> items_;  // the items the buttons show
};

}  // namespace

std::unique_ptr<ControlPeer> MakeGroupBoxPeer(PeerContext& context, TControl& control) {
  return std::make_unique<FramedPeer>(context, control);
}

std::unique_ptr<ControlPeer> MakeRadioGroupPeer(PeerContext& context, TControl& control) {
  return std::make_unique<RadioGroupPeer>(context, control);
}

}  // namespace ombrix::win32
