// The system's hot-key control. It takes the keys and applies its rules itself; the model
// reads what it holds.

#include "controls/win32/ControlPeer.h"
// After the Windows headers.
#include <commctrl.h>

namespace ombrix::win32 {

namespace {

// The procedure of the class, the same for every hot-key control.
WNDPROC controlProcedure = nullptr;

// The window property that leads from the control to its model.
constexpr char ModelProperty[] = "OmbrixHotKeyModel";

// The control's rules work per combination of modifiers, whatever the key: they would add
// their modifiers to a function key pressed alone, and to one the model keeps free with
// Shift. The model decides what a function key gives (F1 alone never gets here: it asks the
// form for help).
LRESULT CALLBACK FunctionKeysByTheModel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* model = static_cast<const THotKey*>(::GetPropA(window, ModelProperty));
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam >= VK_F1 && wParam <= VK_F24 && model) {
    const BYTE held = (::GetKeyState(VK_SHIFT) < 0 ? HOTKEYF_SHIFT : 0) |
                      (::GetKeyState(VK_CONTROL) < 0 ? HOTKEYF_CONTROL : 0) |
                      (::GetKeyState(VK_MENU) < 0 ? HOTKEYF_ALT : 0);
    if (held == 0 || model->FunctionKeysFree) {
      ::SendMessageA(window, HKM_SETHOTKEY, static_cast<WPARAM>(model->Entered(static_cast<BYTE>(wParam), held)), 0);
      return 0;
    }
  }
  if (message == WM_NCDESTROY) ::RemovePropA(window, ModelProperty);
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
    ::SetPropA(window, ModelProperty, &HotKey());
    controlProcedure = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FunctionKeysByTheModel)));
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
