#pragma once
// Input and messages: the cursor and keyboard, menus, messages addressed to windows, and the
// program's own hidden utility windows whose procedure is a C++ callable.

#include <exception>
#include <functional>
#include <string>
#include <vector>

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

// One item of a popup menu shown by ShowPopupMenu.
struct MenuEntry {
  UINT command = 0;  // nonzero; what ShowPopupMenu returns when the item is chosen
  std::string caption;
  bool enabled = true;
  bool checked = false;
  bool separator = false;
};

// The procedure of a utility window. Messages it does not handle go to DefWindowProcA.
using WindowProcedure = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

class IInput {
 public:
  virtual ~IInput() = default;

  virtual BOOL GetCursorPos(ScreenPoint& point) = 0;
  // The top bit of the result (the value is negative) is set while the key is down.
  virtual SHORT GetAsyncKeyState(int virtualKey) = 0;
  virtual HMENU GetSystemMenu(HWND window, BOOL revert) = 0;
  // TrackPopupMenu. With TPM_RETURNCMD the result is the chosen command (0: none);
  // otherwise the choice is posted to `owner` (WM_SYSCOMMAND for a system menu, WM_COMMAND
  // for any other) and the result is nonzero unless the call failed.
  virtual BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) = 0;
  // PeekMessageA with PM_REMOVE for one window of this thread; `dispatch` translates and
  // dispatches the message taken.
  virtual BOOL PeekMessageA(HWND window, QueuedMessage& message, bool dispatch) = 0;
  virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // RegisterWindowMessageA: one value per name (compared without regard to case) for the
  // whole system, in 0xC000..0xFFFF; 0 on failure.
  virtual UINT RegisterWindowMessageA(const std::string& name) = 0;
  // ChangeWindowMessageFilterEx with MSGFLT_ALLOW: `message` reaches `window` from programs
  // running at lower rights too, which Windows otherwise drops for an elevated program.
  // FALSE where the system has no such call (before Windows 7, and under wine a no-op).
  virtual BOOL ChangeWindowMessageFilterEx(HWND window, UINT message) = 0;

  // A hidden top-level window of this thread whose procedure is `procedure`. Top-level, not
  // message-only, so that broadcasts such as "TaskbarCreated" reach it. nullptr on failure.
  virtual HWND AllocateWindow(WindowProcedure procedure) = 0;
  virtual void DeallocateWindow(HWND window) = 0;
  virtual LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // An exception thrown by a utility window's procedure must not cross the system's call of
  // that procedure; it goes here instead.
  virtual void SetProcedureErrorHandler(std::function<void(const std::exception&)> handler) = 0;

  // Builds a popup menu from `entries`, tracks it at (x, y) with `flags` and TPM_RETURNCMD
  // for `owner`, and destroys it again. Returns the chosen entry's command, 0 when the menu
  // was dismissed.
  virtual UINT ShowPopupMenu(const std::vector<MenuEntry>& entries, UINT flags, int x, int y, HWND owner) = 0;
};

}  // namespace ombrix
