#pragma once
// Cursor, keyboard, menus, messages and the program's utility windows over the real API.

#include <memory>

#include "base/SmallMap.h"
#include "platform/Input.h"

namespace ombrix::win32 {

class Win32Input : public IInput {
 public:
  Win32Input() = default;
  ~Win32Input() override;
  Win32Input(const Win32Input&) = delete;
  Win32Input& operator=(const Win32Input&) = delete;

  BOOL GetCursorPos(ScreenPoint& point) override;
  SHORT GetAsyncKeyState(int virtualKey) override;
  HMENU GetSystemMenu(HWND window, BOOL revert) override;
  BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override;
  BOOL PeekMessageA(HWND window, QueuedMessage& message, bool dispatch) override;
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  UINT RegisterWindowMessageA(const std::string& name) override;
  BOOL ChangeWindowMessageFilterEx(HWND window, UINT message) override;
  HWND AllocateWindow(WindowProcedure procedure) override;
  void DeallocateWindow(HWND window) override;
  LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetProcedureErrorHandler(std::function<void(const std::exception&)> handler) override;
  UINT ShowPopupMenu(const std::vector<MenuEntry>& entries, UINT flags, int x, int y, HWND owner) override;

  // What the window procedure of a utility window finds through its window.
  struct Utility {
    Win32Input* owner;
    WindowProcedure procedure;
  };

 private:
  static LRESULT CALLBACK UtilityProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  TSmallMap<HWND, std::unique_ptr<Utility>> utilities_;
  std::function<void(const std::exception&)> errorHandler_;
};

}  // namespace ombrix::win32
