// The system's hot-key control. It takes the keys and applies its rules itself; the model
// reads what it holds.

#include "controls/win32/ControlPeer.h"
// After the Windows headers.
#include <commctrl.h>

namespace ombrix::win32 {

namespace {

// The procedure of the class, the same for every hot-key control.
WNDPROC controlProcedure = nullptr;

// The control's rules would add their modifiers to a function key pressed alone, which the
// model keeps alone (F1 never gets here: it asks the form for help).
LRESULT CALLBACK FunctionKeysAlone(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam >= VK_F1 && wParam <= VK_F24 &&
      ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
    ::SendMessageA(window, HKM_SETHOTKEY, wParam, 0);
    return 0;
  }
  return ::CallWindowProcA(controlProcedure, window, message, wParam, lParam);
}

class HotKeyPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Pull() override { HotKey().SetHotKey(ControlHotKey()); }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    HWND window = context_.MakeWindow(0, HOTKEY_CLASSA, "", style, control_.Bounds(), parent, id);
    ::SendMessageA(window, HKM_SETRULES, HotKey().InvalidCombinations, HotKey().InvalidModifiers);
    controlProcedure = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FunctionKeysAlone)));
    return window;
  }
  void PushState() override {
    if (ControlHotKey() != HotKey().HotKey())
      ::SendMessageA(window_, HKM_SETHOTKEY, static_cast<WPARAM>(HotKey().HotKey()), 0);
  }

 private:
  THotKey& HotKey() const { return static_cast<THotKey&>(control_); }
  int ControlHotKey() const { return LOWORD(::SendMessageA(window_, HKM_GETHOTKEY, 0, 0)); }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeHotKeyPeer(PeerContext& context, TControl& control) {
  return std::make_unique<HotKeyPeer>(context, control);
}

}  // namespace ombrix::win32
