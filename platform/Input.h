#pragma once
// Menus, input and messages addressed to other windows.

#include "WinDefs.h"

namespace ombrix {

struct ScreenPoint {
  LONG x = 0;
  LONG y = 0;
};

// One message taken off the queue (PeekMessageA with PM_REMOVE).
struct QueuedMessage {
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class IInput {
 public:
  virtual ~IInput() = default;

  virtual BOOL GetCursorPos(ScreenPoint& point) = 0;
  virtual SHORT GetAsyncKeyState(int virtualKey) = 0;
  virtual HMENU GetSystemMenu(HWND window, BOOL revert) = 0;
  virtual BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) = 0;
  // PeekMessageA with PM_REMOVE for one window; `dispatch` translates and dispatches it.
  virtual BOOL PeekMessageA(HWND window, QueuedMessage& message, bool dispatch) = 0;
  virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

}  // namespace ombrix
