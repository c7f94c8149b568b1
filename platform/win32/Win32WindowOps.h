#pragma once
// Other programs' windows over the real API.

#include "platform/WindowOps.h"

namespace ombrix::win32 {

class Win32WindowOps : public IWindowOps {
 public:
  HWND FindTopWindow() override;
  HWND FindWindowA(const std::string& className, const std::string& windowName) override;
  HWND GetWindow(HWND window, UINT command) override;
  std::string GetWindowTextA(HWND window, int capacity) override;
  LONG_PTR GetWindowLongPtrA(HWND window, int index) override;
  DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) override;
  BOOL IsWindow(HWND window) override;
  BOOL ShowWindow(HWND window, int command) override;
  BOOL ShowWindowAsync(HWND window, int command) override;
  BOOL SetForegroundWindow(HWND window) override;
  void ShowOnCrash(std::size_t index, HWND window, int command) override;
  BOOL GetWindowPlacement(HWND window, WindowPlacementInfo& placement) override;
  HWND GetDesktopWindow() override;
  std::string GetClassNameA(HWND window) override;
  HRESULT DwmGetWindowAttribute(HWND window, DWORD attribute, DWORD& value) override;
  HWINEVENTHOOK SetWinEventHook(DWORD eventMin, DWORD eventMax, DWORD processId, WinEventProcedure procedure) override;
  BOOL UnhookWinEvent(HWINEVENTHOOK hook) override;
  std::string CharUpperBuffA(const std::string& text) override;
  int CompareStringA(LCID locale, DWORD flags, const std::string& left, const std::string& right) override;
  BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) override;
  BOOL UnregisterHotKey(HWND window, int id) override;
};

}  // namespace ombrix::win32
