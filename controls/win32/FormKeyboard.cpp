// The keys a form handles itself, before the focused control sees them: Tab moves through
// the tab sequence, Enter and Esc press the default and cancel buttons, F1 asks for help,
// Alt+letter presses the control its caption marks, and typed characters go through the
// focused control's key-press event first.

#include "controls/win32/FormWindow.h"

namespace ombrix::win32 {

namespace {

bool IsEdit(TControlKind kind) { return kind == TControlKind::kEdit || kind == TControlKind::kReadOnlyEdit; }

}  // namespace

bool FormWindow::PreTranslate(MSG& message) {
  if (message.hwnd != Window() && !::IsChild(Window(), message.hwnd)) return false;
  switch (message.message) {
    case WM_KEYDOWN: {
      const WPARAM key = message.wParam;
      if (key == VK_RETURN || key == VK_ESCAPE) {
        // An open drop-down list takes Enter and Esc itself.
        HWND combo = message.hwnd;
        if (ControlOf(combo) == nullptr) combo = ::GetParent(combo);
        const TControl* control = ControlOf(combo);
        if (control && control->Kind() == TControlKind::kComboBox && ::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) {
          return false;
        }
        SyncFocus();
        Act(nullptr, [&] { key == VK_RETURN ? engine_.Enter() : engine_.Escape(); });
        return true;
      }
      if (key == VK_TAB) {
        SyncFocus();
        const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
        TControl* next = nullptr;
        Act(nullptr, [&] { next = engine_.Tab(backwards); });
        if (next && IsEdit(next->Kind()) && !engine_.Closed()) {
          ::SendMessageA(FocusWindowOf(next), EM_SETSEL, 0, -1);
        }
        return true;
      }
      if (key == VK_F1) {
        SyncFocus();
        Act(nullptr, [&] { engine_.Help(); });
        return true;
      }
      return false;
    }
    case WM_SYSCHAR: {
      const char letter = static_cast<char>(message.wParam);
      bool clicked = false;
      SyncFocus();
      Act(nullptr, [&] { clicked = engine_.Mnemonic(letter); });
      return clicked;
    }
    case WM_CHAR: {
      SyncFocus();
      if (ControlOwning(message.hwnd) != form_.ActiveControl() || !form_.ActiveControl()) return false;
      char key = static_cast<char>(message.wParam);
      bool passed = true;
      Act(nullptr, [&] { passed = engine_.KeyPress(key); });
      if (!passed || engine_.Closed()) return true;
      message.wParam = static_cast<unsigned char>(key);
      return false;
    }
    default:
      return false;
  }
}

}  // namespace ombrix::win32
