// Up-down arrows. The model moves the position; the control only shows it.

#include "controls/win32/ControlPeer.h"
// After the Windows headers.
#include <commctrl.h>

namespace ombrix::win32 {

namespace {

class UpDownPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Pull() override { UpDown().SetPosition(static_cast<int>(::SendMessageA(window_, UDM_GETPOS32, 0, 0))); }

  LRESULT Notify(const NMHDR& header) override {
    if (header.code != static_cast<UINT>(UDN_DELTAPOS)) return 0;
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    if (change.iDelta != 0) {
      // The control counts down for "up" when its range is reversed.
      const bool up = (change.iDelta > 0) != (UpDown().Max() < UpDown().Min());
      context_.SyncFocus(&control_);
      context_.Act(&control_,
                   [&] { context_.Engine().ClickUpDown(UpDown(), up ? TUDBtnType::kNext : TUDBtnType::kPrev); });
    }
    return TRUE;
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(0, UPDOWN_CLASSA, "", style, control_.Bounds(), parent, id);
  }
  void PushState() override {
    int min = 0;
    int max = 0;
    ::SendMessageA(window_, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&min), reinterpret_cast<LPARAM>(&max));
    if (min != UpDown().Min() || max != UpDown().Max()) {
      ::SendMessageA(window_, UDM_SETRANGE32, static_cast<WPARAM>(UpDown().Min()), UpDown().Max());
    }
    if (static_cast<int>(::SendMessageA(window_, UDM_GETPOS32, 0, 0)) != UpDown().Position()) {
      ::SendMessageA(window_, UDM_SETPOS32, 0, UpDown().Position());
    }
  }

 private:
  TUpDown& UpDown() const { return static_cast<TUpDown&>(control_); }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeUpDownPeer(PeerContext& context, TControl& control) {
  return std::make_unique<UpDownPeer>(context, control);
}

}  // namespace ombrix::win32
