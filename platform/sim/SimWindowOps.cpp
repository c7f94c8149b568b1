#include "platform/sim/SimWindowOps.h"

#include <algorithm>

#include "platform/sim/SimText.h"

namespace ombrix::sim {

namespace {
ULONG_PTR HandleValue(HWND window) { return reinterpret_cast<ULONG_PTR>(window); }
const HWND DesktopWindow = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x10010));
}  // namespace

SimWindow* SimWindowOps::Find(HWND window) {
  auto it = windows_.find(HandleValue(window));
  return it == windows_.end() ? nullptr : &it->second;
}

HWND SimWindowOps::CreateTopWindow(const SimWindow& window) {
  HWND handle = reinterpret_cast<HWND>(nextHandle_);
  nextHandle_ += 0x10;
  windows_[HandleValue(handle)] = window;
  zOrder_.insert(zOrder_.begin(), handle);
  return handle;
}

void SimWindowOps::DestroyWindow(HWND window) {
  windows_.erase(HandleValue(window));
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
  if (foreground_ == window) foreground_ = nullptr;
}

LRESULT SimWindowOps::DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SimWindow* found = Find(window);
  if (!found) return 0;
  if (found->onMessage) {
    // The procedure may destroy its own window; keep it alive for the call.
    auto procedure = found->onMessage;
    return procedure(message, wParam, lParam);
  }
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

HWND SimWindowOps::FindTopWindow() { return zOrder_.empty() ? nullptr : zOrder_.front(); }

HWND SimWindowOps::FindWindowA(const std::string& className, const std::string& windowName) {
  for (HWND handle : zOrder_) {
    const SimWindow& window = windows_[HandleValue(handle)];
    if (!className.empty() && !SameTextNoCase(className, window.className)) continue;
    if (!windowName.empty() && windowName != window.caption) continue;
    return handle;
  }
  return nullptr;
}

HWND SimWindowOps::GetWindow(HWND window, UINT command) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), window);
  if (it == zOrder_.end()) return nullptr;
  if (command == GW_HWNDPREV) return it == zOrder_.begin() ? nullptr : *(it - 1);
  if (command == GW_HWNDFIRST) return zOrder_.front();
  if (command == GW_HWNDLAST) return zOrder_.back();
  if (command != GW_HWNDNEXT) return nullptr;
  return ++it == zOrder_.end() ? nullptr : *it;
}

std::string SimWindowOps::GetWindowTextA(HWND window, int capacity) {
  SimWindow* found = Find(window);
  if (!found || capacity <= 0) return "";
  return found->caption.substr(0, static_cast<size_t>(capacity - 1));
}

LONG_PTR SimWindowOps::GetWindowLongA(HWND window, int) { return Find(window) ? 0 : 0; }

DWORD SimWindowOps::GetWindowThreadProcessId(HWND window, DWORD* processId) {
  SimWindow* found = Find(window);
  if (processId) *processId = found ? found->processId : 0;
  return found ? found->threadId : 0;
}

BOOL SimWindowOps::IsWindow(HWND window) { return Find(window) ? TRUE : FALSE; }

BOOL SimWindowOps::ShowWindow(HWND window, int command) {
  SimWindow* found = Find(window);
  if (!found) return FALSE;
  const BOOL wasVisible = found->visible ? TRUE : FALSE;
  switch (command) {
    case SW_HIDE:
      found->visible = false;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      found->restoreToMaximized = found->showCmd == SW_SHOWMAXIMIZED;
      found->showCmd = SW_SHOWMINIMIZED;
      found->visible = true;
      break;
    case SW_SHOWMAXIMIZED:
      found->showCmd = SW_SHOWMAXIMIZED;
      found->visible = true;
      break;
    case SW_RESTORE:
      if (found->showCmd == SW_SHOWMINIMIZED && found->restoreToMaximized) {
        found->showCmd = SW_SHOWMAXIMIZED;
      } else {
        found->showCmd = SW_SHOWNORMAL;
      }
      found->restoreToMaximized = false;
      found->visible = true;
      break;
    case SW_SHOWNORMAL:
      found->showCmd = SW_SHOWNORMAL;
      found->visible = true;
      break;
    default:  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE keep the state
      found->visible = true;
      break;
  }
  return wasVisible;
}

BOOL SimWindowOps::ShowWindowAsync(HWND window, int command) { return ShowWindow(window, command); }

BOOL SimWindowOps::SetForegroundWindow(HWND window) {
  if (!Find(window)) return FALSE;
  foreground_ = window;
  return TRUE;
}

BOOL SimWindowOps::GetWindowPlacement(HWND window, WindowPlacementInfo& placement) {
  SimWindow* found = Find(window);
  if (!found) return FALSE;
  placement.showCmd = found->showCmd;
  placement.flags = found->showCmd == SW_SHOWMINIMIZED && found->restoreToMaximized ? 2 : 0;
  return TRUE;
}

HWND SimWindowOps::GetDesktopWindow() { return DesktopWindow; }

}  // namespace ombrix::sim
