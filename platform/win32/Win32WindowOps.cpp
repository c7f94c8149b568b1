#include "platform/win32/Win32WindowOps.h"

#include <csignal>
#include <cstdlib>
#include <exception>
#include <utility>
#include <vector>

#include "base/Utf8.h"
#include "platform/win32/Win32CodePages.h"

namespace ombrix::win32 {

namespace {

// What a crash shows, kept where a crashing program still finds it: fixed tables, since its
// heap may be what failed, and a handler that allocated could fail in turn.
HWND crashWindows[ShownOnCrashCapacity];
int crashCommands[ShownOnCrashCapacity];
volatile std::size_t crashCount = 0;
bool crashHandlersSet = false;
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
std::terminate_handler previousTerminate = nullptr;
void (*previousAbort)(int) = SIG_DFL;

// Once: a terminate handler that ends in abort would show them a second time.
void ShowCrashWindows() {
  const std::size_t count = crashCount;
  crashCount = 0;
  for (std::size_t index = 0; index < count; ++index) ::ShowWindowAsync(crashWindows[index], crashCommands[index]);
}

LONG WINAPI ShowOnUnhandledException(EXCEPTION_POINTERS* exception) {
  ShowCrashWindows();
  return previousFilter ? previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

void ShowOnTerminate() {
  ShowCrashWindows();
  if (previousTerminate) previousTerminate();
  std::abort();
}

// The run time has set the signal back to its default before calling this; on return, abort
// ends the program as it would have.
void ShowOnAbort(int signal) {
  ShowCrashWindows();
  if (previousAbort != SIG_DFL && previousAbort != SIG_IGN && previousAbort != SIG_ERR) previousAbort(signal);
}

// The end-to-end test's way to see the handlers at work: with OMBRIX_TEST_FAULT set, the
// program fails as named ("exception", "terminate" or "abort") once it has hidden a window.
// Nobody else sets it.
void FailWhenATestAsks() {
  // Expanded rather than read: the programs import no other call for the environment, and
  // an unset variable stays "%OMBRIX_TEST_FAULT%".
  char fault[16] = {};
  ::ExpandEnvironmentStringsA("%OMBRIX_TEST_FAULT%", fault, sizeof fault);
  if (fault[0] == 'e') ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  if (fault[0] == 't') std::terminate();
  if (fault[0] == 'a') std::abort();
}

// The procedures of the hooks made, which the system's one callback looks up by hook: a few
// slots, as a program hooks a few events. All on the one GUI thread: out-of-context events
// arrive through its message loop.
struct WinEventSlot {
  HWINEVENTHOOK hook = nullptr;
  WinEventProcedure procedure;
};
WinEventSlot winEventSlots[4];

void CALLBACK WinEventCallback(HWINEVENTHOOK hook, DWORD event, HWND window, LONG objectId, LONG childId, DWORD,
                               DWORD) {
  for (const WinEventSlot& slot : winEventSlots) {
    if (slot.hook != hook) continue;
    // Unhooking keeps the procedure until the slot is taken again, so it may unhook itself.
    slot.procedure(event, window, objectId, childId);
    return;
  }
}

}  // namespace

HWND Win32WindowOps::FindTopWindow() { return ::FindWindowA(nullptr, nullptr); }

HWND Win32WindowOps::FindWindowA(const std::string& className, const std::string& windowName) {
  return ::FindWindowA(className.empty() ? nullptr : className.c_str(),
                       windowName.empty() ? nullptr : windowName.c_str());
}

HWND Win32WindowOps::GetWindow(HWND window, UINT command) { return ::GetWindow(window, command); }

std::string Win32WindowOps::GetWindowTextA(HWND window, int capacity) {
  if (capacity <= 0) return "";
  // Asked with room for a character more: the call may cut a UTF-8 character in two (wine
  // does for another process's window), so the text is cut to the capacity here, on a whole
  // character.
  std::vector<char> buffer(static_cast<size_t>(capacity) + Utf8CharacterRoom + 1, '\0');
  int length = ::GetWindowTextA(window, buffer.data(), capacity + static_cast<int>(Utf8CharacterRoom));
  return CutText(std::string(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0), capacity - 1);
}

LONG_PTR Win32WindowOps::GetWindowLongPtrA(HWND window, int index) { return ::GetWindowLongPtrA(window, index); }

DWORD Win32WindowOps::GetWindowThreadProcessId(HWND window, DWORD* processId) {
  return ::GetWindowThreadProcessId(window, processId);
}

BOOL Win32WindowOps::IsWindow(HWND window) { return ::IsWindow(window); }

BOOL Win32WindowOps::ShowWindow(HWND window, int command) {
  const BOOL wasVisible = ::ShowWindow(window, command);
  // A test's fault comes once a window a crash is to show again is off the screen.
  if (command == SW_HIDE && crashCount != 0 && window == crashWindows[0]) FailWhenATestAsks();
  return wasVisible;
}

BOOL Win32WindowOps::ShowWindowAsync(HWND window, int command) { return ::ShowWindowAsync(window, command); }

BOOL Win32WindowOps::SetForegroundWindow(HWND window) { return ::SetForegroundWindow(window); }

void Win32WindowOps::ShowOnCrash(std::size_t index, HWND window, int command) {
  // Set when first needed: a program that never hides a window crashes as it always did.
  if (!crashHandlersSet) {
    crashHandlersSet = true;
    previousFilter = ::SetUnhandledExceptionFilter(ShowOnUnhandledException);
    previousTerminate = std::set_terminate(ShowOnTerminate);
    previousAbort = std::signal(SIGABRT, ShowOnAbort);
  }
  if (index >= ShownOnCrashCapacity) return;
  crashWindows[index] = window;
  crashCommands[index] = command;
  // Counted only once written, so that a crash in between shows no half-written entry.
  crashCount = window ? index + 1 : index;
}

BOOL Win32WindowOps::GetWindowPlacement(HWND window, WindowPlacementInfo& placement) {
  WINDOWPLACEMENT record{};
  record.length = sizeof record;
  if (!::GetWindowPlacement(window, &record)) return FALSE;
  placement.flags = record.flags;
  placement.showCmd = record.showCmd;
  placement.normalWidth = record.rcNormalPosition.right - record.rcNormalPosition.left;
  placement.normalHeight = record.rcNormalPosition.bottom - record.rcNormalPosition.top;
  return TRUE;
}

HWND Win32WindowOps::GetDesktopWindow() { return ::GetDesktopWindow(); }

std::string Win32WindowOps::GetClassNameA(HWND window) {
  char name[257] = {};
  const int length = ::GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

HRESULT Win32WindowOps::DwmGetWindowAttribute(HWND window, DWORD attribute, DWORD& value) {
  // dwmapi.dll is not on every system the programs run on (nor in every wine prefix), so it
  // is looked up rather than linked. It stays loaded for the rest of the process.
  using DwmGetWindowAttributeCall = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  static const auto call = [] {
    HMODULE dwm = ::LoadLibraryA("dwmapi.dll");
    return dwm ? reinterpret_cast<DwmGetWindowAttributeCall>(
                     reinterpret_cast<void (*)()>(::GetProcAddress(dwm, "DwmGetWindowAttribute")))
               : nullptr;
  }();
  if (!call) return E_NOTIMPL;
  return call(window, attribute, &value, sizeof value);
}

HWINEVENTHOOK Win32WindowOps::SetWinEventHook(DWORD eventMin, DWORD eventMax, DWORD processId,
                                              WinEventProcedure procedure) {
  for (WinEventSlot& slot : winEventSlots) {
    if (slot.hook) continue;
    slot.hook = ::SetWinEventHook(eventMin, eventMax, nullptr, WinEventCallback, processId, 0, WINEVENT_OUTOFCONTEXT);
    if (slot.hook) slot.procedure = std::move(procedure);
    return slot.hook;
  }
  return nullptr;
}

BOOL Win32WindowOps::UnhookWinEvent(HWINEVENTHOOK hook) {
  for (WinEventSlot& slot : winEventSlots) {
    if (slot.hook == hook) slot.hook = nullptr;
  }
  return ::UnhookWinEvent(hook);
}

std::string Win32WindowOps::CharUpperBuffA(const std::string& text) {
  std::string upper = text;
  if (!upper.empty()) ::CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
  return upper;
}

int Win32WindowOps::CompareStringA(LCID locale, DWORD flags, const std::string& left, const std::string& right) {
  // CompareStringA reads the texts in the locale's code page, which stays the legacy one for
  // a program running in UTF-8 (wine 8 does so): "é" would sort as "Ã©", before "b". Read
  // in the program's own code page, they compare as the characters they are.
  const std::string first = Utf16Bytes(left, CP_ACP);
  const std::string second = Utf16Bytes(right, CP_ACP);
  return ::CompareStringW(locale, flags, reinterpret_cast<LPCWSTR>(first.data()),
                          static_cast<int>(first.size() / sizeof(WCHAR)), reinterpret_cast<LPCWSTR>(second.data()),
                          static_cast<int>(second.size() / sizeof(WCHAR)));
}

BOOL Win32WindowOps::RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) {
  return ::RegisterHotKey(window, id, modifiers, virtualKey);
}

BOOL Win32WindowOps::UnregisterHotKey(HWND window, int id) { return ::UnregisterHotKey(window, id); }

}  // namespace ombrix::win32
