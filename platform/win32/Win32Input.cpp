#include "platform/win32/Win32Input.h"

namespace ombrix::win32 {

namespace {

const char UtilityClassName[] = "OmbrixUtilityWindow";

// Destroys a menu built for one popup.
class MenuOwner {
 public:
  explicit MenuOwner(HMENU menu) : menu_(menu) {}
  ~MenuOwner() {
    if (menu_) ::DestroyMenu(menu_);
  }
  MenuOwner(const MenuOwner&) = delete;
  MenuOwner& operator=(const MenuOwner&) = delete;
  HMENU Get() const { return menu_; }

 private:
  HMENU menu_;
};

}  // namespace

Win32Input::~Win32Input() {
  while (!utilities_.Empty()) DeallocateWindow(utilities_.AnyKey());
}

BOOL Win32Input::GetCursorPos(ScreenPoint& point) {
  POINT position{};
  if (!::GetCursorPos(&position)) return FALSE;
  point.x = position.x;
  point.y = position.y;
  return TRUE;
}

SHORT Win32Input::GetAsyncKeyState(int virtualKey) { return ::GetAsyncKeyState(virtualKey); }

HMENU Win32Input::GetSystemMenu(HWND window, BOOL revert) { return ::GetSystemMenu(window, revert); }

BOOL Win32Input::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
  return ::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

BOOL Win32Input::PeekMessageA(HWND window, QueuedMessage& message, bool dispatch) {
  MSG taken;
  if (!::PeekMessageA(&taken, window, 0, 0, PM_REMOVE)) return FALSE;
  message.window = taken.hwnd;
  message.message = taken.message;
  message.wParam = taken.wParam;
  message.lParam = taken.lParam;
  if (dispatch) {
    ::TranslateMessage(&taken);
    ::DispatchMessageA(&taken);
  }
  return TRUE;
}

LRESULT Win32Input::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(window, message, wParam, lParam);
}

BOOL Win32Input::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(window, message, wParam, lParam);
}

UINT Win32Input::RegisterWindowMessageA(const std::string& name) { return ::RegisterWindowMessageA(name.c_str()); }

BOOL Win32Input::ChangeWindowMessageFilterEx(HWND window, UINT message) {
  // Windows 7 and later; looked up rather than imported, so that the program still starts
  // where it is missing.
  using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const auto filter = reinterpret_cast<Filter>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
  return filter ? filter(window, message, MSGFLT_ALLOW, nullptr) : FALSE;
}

LRESULT CALLBACK Win32Input::UtilityProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* utility = reinterpret_cast<Utility*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!utility || !utility->procedure) return ::DefWindowProcA(window, message, wParam, lParam);
  // A copy: the procedure may deallocate its own window. Exceptions stop here, since they
  // cannot unwind through the system's frames.
  WindowProcedure procedure = utility->procedure;
  Win32Input* owner = utility->owner;
  auto handler = owner->errorHandler_;
  LRESULT result = 0;
  try {
    result = procedure(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    if (handler) {
      handler(error);
    } else {
      ::MessageBoxA(nullptr, error.what(), nullptr, MB_OK | MB_ICONERROR);
    }
  } catch (...) {
    ::MessageBoxA(nullptr, "Unknown error", nullptr, MB_OK | MB_ICONERROR);
  }
  // Destroyed by other means than DeallocateWindow (DefWindowProc on WM_CLOSE): forget it,
  // so that a later DeallocateWindow cannot reach a window that reuses the handle.
  if (message == WM_NCDESTROY) owner->utilities_.Erase(window);
  return result;
}

HWND Win32Input::AllocateWindow(WindowProcedure procedure) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  if (!::GetClassInfoA(instance, UtilityClassName, &windowClass)) {
    windowClass.lpfnWndProc = UtilityProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = UtilityClassName;
    if (!::RegisterClassA(&windowClass)) return nullptr;
  }
  auto utility = std::make_unique<Utility>(Utility{this, std::move(procedure)});
  // A hidden pop-up, not a message-only window: only top-level windows hear broadcasts.
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, UtilityClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, utility.get());
  if (!window) return nullptr;
  utilities_.Set(window, std::move(utility));
  return window;
}

void Win32Input::DeallocateWindow(HWND window) {
  if (!utilities_.Find(window)) return;
  // Messages of the destruction itself go to the default procedure.
  ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  ::DestroyWindow(window);
  utilities_.Erase(window);
}

LRESULT Win32Input::DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void Win32Input::SetProcedureErrorHandler(std::function<void(const std::exception&)> handler) {
  errorHandler_ = std::move(handler);
}

UINT Win32Input::ShowPopupMenu(const std::vector<MenuEntry>& entries, UINT flags, int x, int y, HWND owner) {
  MenuOwner menu(::CreatePopupMenu());
  if (!menu.Get()) return 0;
  for (const MenuEntry& entry : entries) {
    if (entry.separator) {
      ::AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    } else {
      const UINT state = (entry.enabled ? MF_ENABLED : MF_GRAYED) | (entry.checked ? MF_CHECKED : MF_UNCHECKED);
      ::AppendMenuA(menu.Get(), MF_STRING | state, entry.command, entry.caption.c_str());
    }
  }
  return static_cast<UINT>(::TrackPopupMenu(menu.Get(), flags | TPM_RETURNCMD, x, y, 0, owner, nullptr));
}

}  // namespace ombrix::win32
