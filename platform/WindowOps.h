#pragma once
// Windows service: other processes' top-level windows, in Z order, and the system-wide hot
// keys that reach a window of this program.

#include <cstddef>
#include <functional>
#include <string>

#include "WinDefs.h"

namespace ombrix {

// The fields of WINDOWPLACEMENT the system reads.
struct WindowPlacementInfo {
  UINT flags = 0;
  UINT showCmd = 0;
  // The size of the window in its normal state (rcNormalPosition).
  LONG normalWidth = 0;
  LONG normalHeight = 0;
};

// The windows a crash shows at most: a program's few windows. A crashed Ombrix's record
// brings back any beyond them at the next start of either program.
constexpr std::size_t ShownOnCrashCapacity = 8;
// What an event hook hears: the event, the window, and the object and child it concerns
// (OBJID_WINDOW and CHILDID_SELF for the window itself).
using WinEventProcedure = std::function<void(DWORD event, HWND window, LONG objectId, LONG childId)>;

class IWindowOps {
 public:
  virtual ~IWindowOps() = default;

  // FindWindowA(NULL, NULL): the topmost top-level window.
  virtual HWND FindTopWindow() = 0;
  // FindWindowA with a class and/or a window name (empty means "any").
  virtual HWND FindWindowA(const std::string& className, const std::string& windowName) = 0;
  // GetWindow; the system uses GW_HWNDNEXT: the window below in Z order, or nullptr.
  virtual HWND GetWindow(HWND window, UINT command) = 0;
  // GetWindowTextA with a buffer of `capacity` bytes including the terminator; a text cut to
  // it ends on a whole character of the program's code page.
  virtual std::string GetWindowTextA(HWND window, int capacity) = 0;
  // GetWindowLongPtrA: GWLP_HINSTANCE, GWLP_HWNDPARENT, GWLP_WNDPROC, GWLP_ID, GWLP_USERDATA,
  // GWL_STYLE, GWL_EXSTYLE; 0 for a window that does not exist.
  virtual LONG_PTR GetWindowLongPtrA(HWND window, int index) = 0;
  // GetWindowThreadProcessId: the thread id, and the process id through `processId`.
  virtual DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) = 0;
  virtual BOOL IsWindow(HWND window) = 0;
  virtual BOOL ShowWindow(HWND window, int command) = 0;
  virtual BOOL ShowWindowAsync(HWND window, int command) = 0;
  virtual BOOL SetForegroundWindow(HWND window) = 0;
  // The windows this program wants shown should it crash, one at a time: `window` becomes
  // the list's entry `index` and the last one, or with nullptr the list ends before `index`.
  // Entries from ShownOnCrashCapacity on are left out. An unhandled exception, a call of
  // std::terminate (where an uncaught C++ exception ends) and abort (SIGABRT) each hand the
  // list to ShowWindowAsync, with each window's `command`, and then let the crash go on as it
  // would have.
  virtual void ShowOnCrash(std::size_t index, HWND window, int command) = 0;
  // GetWindowPlacement (record length 44); FALSE when the window does not exist.
  virtual BOOL GetWindowPlacement(HWND window, WindowPlacementInfo& placement) = 0;
  virtual HWND GetDesktopWindow() = 0;
  // GetClassNameA with room for 256 characters; empty for a window that does not exist.
  virtual std::string GetClassNameA(HWND window) = 0;
  // DwmGetWindowAttribute for a DWORD attribute; Ombrix asks DWMWA_CLOAKED, whose value is
  // not 0 while the system keeps the window off the screen though it is WS_VISIBLE. The
  // call's HRESULT; where the system has no such call, E_NOTIMPL.
  virtual HRESULT DwmGetWindowAttribute(HWND window, DWORD attribute, DWORD& value) = 0;

  // SetWinEventHook out of context for the events `eventMin` to `eventMax` of the process
  // `processId`: `procedure` runs from this thread's message loop, some time after the
  // event. nullptr when the system refuses. Where the system delivers no events of other
  // processes (wine 8 delivers almost none), the hook is made and never called.
  virtual HWINEVENTHOOK SetWinEventHook(DWORD eventMin, DWORD eventMax, DWORD processId,
                                        WinEventProcedure procedure) = 0;
  // UnhookWinEvent; FALSE for a hook that is not one.
  virtual BOOL UnhookWinEvent(HWINEVENTHOOK hook) = 0;

  // RegisterHotKey: WM_HOTKEY (wParam `id`) reaches `window` of this thread whenever
  // `virtualKey` goes down with exactly the MOD_ALT, MOD_CONTROL, MOD_SHIFT and MOD_WIN keys of
  // `modifiers` held. FALSE when some registration already holds that key with those
  // modifiers, this program's own included. A second registration of the same window and id
  // keeps the first one as well: give that up first. A window's hot keys end with it.
  virtual BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) = 0;
  // UnregisterHotKey; FALSE when `window` holds no hot key `id`.
  virtual BOOL UnregisterHotKey(HWND window, int id) = 0;

  // CharUpperBuffA over a copy of the text: upper case in the user's locale (the program's
  // code page), the way window names are compared.
  virtual std::string CharUpperBuffA(const std::string& text) = 0;
  // CompareString over two whole texts of the program's code page: CSTR_LESS_THAN,
  // CSTR_EQUAL or CSTR_GREATER_THAN, 0 on failure. With LOCALE_USER_DEFAULT and
  // NORM_IGNORECASE it is the order in which Windows sorts the items of a list.
  virtual int CompareStringA(LCID locale, DWORD flags, const std::string& left, const std::string& right) = 0;
};

}  // namespace ombrix
