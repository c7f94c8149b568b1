#include "platform/sim/SimWindowOps.h"

#include <algorithm>
#include <vector>

#include "platform/sim/SimText.h"

namespace ombrix::sim {

namespace {
ULONG_PTR HandleValue(HWND window) { return reinterpret_cast<ULONG_PTR>(window); }
const HWND DesktopWindow = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x10010));
// The modifiers a hot key is pressed with; MOD_NOREPEAT only changes how it repeats.
constexpr UINT ModifierKeys = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
}  // namespace

SimWindow* SimWindowOps::Lookup(HWND window) {
  auto it = windows_.find(HandleValue(window));
  return it == windows_.end() ? nullptr : &it->second;
}

SimWindow* SimWindowOps::Find(HWND window) {
  CatchUp();
  return Lookup(window);
}

HWND SimWindowOps::CreateTopWindow(const SimWindow& window) {
  CatchUp();
  HWND handle = reinterpret_cast<HWND>(nextHandle_);
  nextHandle_ += 0x10;
  windows_[HandleValue(handle)] = window;
  zOrder_.insert(zOrder_.begin(), handle);
  return handle;
}

void SimWindowOps::DestroyWindow(HWND window) {
  CatchUp();
  const SimWindow* found = Lookup(window);
  const DWORD processId = found ? found->processId : 0;
  windows_.erase(HandleValue(window));
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
  if (foreground_ == window) foreground_ = nullptr;
  hotKeys_.erase(
      std::remove_if(hotKeys_.begin(), hotKeys_.end(), [&](const SimHotKey& key) { return key.window == window; }),
      hotKeys_.end());
  if (processId) RaiseWinEvent(EVENT_OBJECT_DESTROY, window, processId);
}

void SimWindowOps::SetWindowTextA(HWND window, const std::string& caption) {
  SimWindow* found = Find(window);
  if (!found) return;
  found->caption = caption;
  RaiseWinEvent(EVENT_OBJECT_NAMECHANGE, window, found->processId);
}

void SimWindowOps::RaiseWinEvent(DWORD event, HWND window, DWORD processId) {
  if (!winEventsRaised_) return;
  for (const WinEventHook& hook : hooks_) {
    if (event < hook.eventMin || event > hook.eventMax || (hook.processId && hook.processId != processId)) continue;
    // Heard later, from the hooking program's message loop; a hook gone by then hears nothing.
    const HWINEVENTHOOK handle = hook.handle;
    const auto deliver = [this, handle, event, window] {
      for (const WinEventHook& live : hooks_) {
        if (live.handle != handle) continue;
        const WinEventProcedure procedure = live.procedure;
        procedure(event, window, OBJID_WINDOW, CHILDID_SELF);
        return;
      }
    };
    if (post_) {
      post_(deliver);
    } else {
      deliver();
    }
  }
}

HWINEVENTHOOK SimWindowOps::SetWinEventHook(DWORD eventMin, DWORD eventMax, DWORD processId,
                                            WinEventProcedure procedure) {
  CatchUp();
  if (eventMin > eventMax || !procedure) return nullptr;
  const HWINEVENTHOOK handle = reinterpret_cast<HWINEVENTHOOK>(nextHook_++);
  hooks_.push_back({handle, eventMin, eventMax, processId, std::move(procedure)});
  return handle;
}

BOOL SimWindowOps::UnhookWinEvent(HWINEVENTHOOK hook) {
  const auto found =
      std::find_if(hooks_.begin(), hooks_.end(), [hook](const WinEventHook& entry) { return entry.handle == hook; });
  if (found == hooks_.end()) return FALSE;
  hooks_.erase(found);
  return TRUE;
}

bool SimWindowOps::Isolated(HWND window) {
  const SimWindow* found = Find(window);
  return found && (found->elevated || (isolated_ && isolated_(found->processId)));
}

LRESULT SimWindowOps::DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SimWindow* found = Find(window);
  if (!found) return 0;
  if ((message >= WM_USER || message == WM_CLOSE) && Isolated(window)) return 0;
  if (found->onMessage) {
    // The procedure may destroy its own window; keep it alive for the call.
    auto procedure = found->onMessage;
    return procedure(message, wParam, lParam);
  }
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

HWND SimWindowOps::FindTopWindow() {
  CatchUp();
  return zOrder_.empty() ? nullptr : zOrder_.front();
}

HWND SimWindowOps::FindWindowA(const std::string& className, const std::string& windowName) {
  CatchUp();
  for (HWND handle : zOrder_) {
    const SimWindow& window = windows_[HandleValue(handle)];
    if (!className.empty() && !SameTextNoCase(className, window.className)) continue;
    // Neither name is compared with its letter case.
    if (!windowName.empty() && !SameTextNoCase(windowName, window.caption)) continue;
    return handle;
  }
  return nullptr;
}

HWND SimWindowOps::GetWindow(HWND window, UINT command) {
  CatchUp();
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
  return codePages_.Cut(found->caption, static_cast<size_t>(capacity - 1));
}

std::string SimWindowOps::GetClassNameA(HWND window) {
  SimWindow* found = Find(window);
  return found ? found->className.substr(0, 256) : "";
}

HRESULT SimWindowOps::DwmGetWindowAttribute(HWND window, DWORD attribute, DWORD& value) {
  SimWindow* found = Find(window);
  // Only the attribute Ombrix asks is modelled; Windows refuses a window that is none.
  if (!found || attribute != DWMWA_CLOAKED) return E_INVALIDARG;
  value = found->cloaked;
  return S_OK;
}

LONG_PTR SimWindowOps::GetWindowLongPtrA(HWND window, int index) {
  SimWindow* found = Find(window);
  if (!found) return 0;
  switch (index) {
    case GWLP_HINSTANCE:
      return found->instance;
    case GWLP_HWNDPARENT:
      return found->owner;
    case GWLP_WNDPROC:
      return found->windowProc;
    case GWLP_ID:
      return found->id;
    case GWLP_USERDATA:
      return found->userData;
    case GWL_EXSTYLE:
      return found->exStyle;
    case GWL_STYLE: {
      LONG style = found->style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
      if (found->visible) style |= WS_VISIBLE;
      if (found->showCmd == SW_SHOWMINIMIZED) style |= WS_MINIMIZE;
      if (found->showCmd == SW_SHOWMAXIMIZED) style |= WS_MAXIMIZE;
      return style;
    }
    default:
      return 0;
  }
}

DWORD SimWindowOps::GetWindowThreadProcessId(HWND window, DWORD* processId) {
  SimWindow* found = Find(window);
  if (processId) *processId = found ? found->processId : 0;
  return found ? found->threadId : 0;
}

BOOL SimWindowOps::IsWindow(HWND window) { return Find(window) ? TRUE : FALSE; }

BOOL SimWindowOps::ShowWindow(HWND window, int command) {
  if (Isolated(window)) return FALSE;
  return ShowOwnWindow(window, command);
}

BOOL SimWindowOps::ShowOwnWindow(HWND window, int command) {
  SimWindow* found = Find(window);
  if (!found) return FALSE;
  const BOOL wasVisible = found->visible ? TRUE : FALSE;
  bool minimizing = false;
  switch (command) {
    case SW_HIDE:
      found->visible = false;
      ++found->hideRequests;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      minimizing = found->showCmd != SW_SHOWMINIMIZED;
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
  if (duringShowWindow_) {
    const std::function<void()> meanwhile = std::move(duringShowWindow_);
    duringShowWindow_ = nullptr;
    meanwhile();
  }
  // Windows raises the event when a window starts to become minimized, not for one that
  // already is.
  if (minimizing) RaiseWinEvent(EVENT_SYSTEM_MINIMIZESTART, window, found->processId);
  return wasVisible;
}

BOOL SimWindowOps::ShowWindowAsync(HWND window, int command) {
  // Nonzero when the change was handed to the window's thread, whatever its visibility
  // was; the simulated desktop carries it out at once.
  SimWindow* found = Find(window);
  if (!found || found->elevated) return FALSE;
  ShowWindow(window, command);
  return TRUE;
}

BOOL SimWindowOps::SetForegroundWindow(HWND window) {
  CatchUp();
  if (!Find(window)) return FALSE;
  foreground_ = window;
  return TRUE;
}

BOOL SimWindowOps::GetWindowPlacement(HWND window, WindowPlacementInfo& placement) {
  SimWindow* found = Find(window);
  if (!found) return FALSE;
  placement.showCmd = found->showCmd;
  placement.flags = found->showCmd == SW_SHOWMINIMIZED && found->restoreToMaximized ? 2 : 0;
  placement.normalWidth = found->width;
  placement.normalHeight = found->height;
  return TRUE;
}

HWND SimWindowOps::GetDesktopWindow() { return DesktopWindow; }

std::string SimWindowOps::CharUpperBuffA(const std::string& text) { return codePages_.Upper(text); }

namespace {

// The first-level weight of a character in the user's (Western) locale: punctuation and
// symbols before digits before letters, letters without regard to case. Hyphens and
// apostrophes weigh nothing at this level (Windows' word sort), so "co-op" sorts with "coop".
// Every other character comes after the Latin letters in the order of its code, which puts
// Greek before Cyrillic before the Japanese scripts, as Windows sorts them.
int PrimaryWeight(char32_t code) {
  static const std::string Punctuation = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
  if (code >= '0' && code <= '9') return 1000 + static_cast<int>(code);
  if (code >= 'a' && code <= 'z') return 2000 + static_cast<int>(code - 'a' + 'A');
  if (code >= 'A' && code <= 'Z') return 2000 + static_cast<int>(code);
  const std::size_t place = code < 0x80 ? Punctuation.find(static_cast<char>(code)) : std::string::npos;
  if (place != std::string::npos) return 100 + static_cast<int>(place);
  return 3000 + static_cast<int>(code);  // control characters and the rest, after the letters
}

bool IgnoredAtFirstLevel(char32_t code) { return code == '-' || code == '\''; }

int Sign(int value) { return (value > 0) - (value < 0); }

}  // namespace

int SimWindowOps::CompareStringA(LCID, DWORD flags, const std::string& left, const std::string& right) {
  // The characters compared: in a one-byte code page its bytes; under UTF-8 the characters,
  // in upper case, since letter case counts only at the last level.
  const auto characters = [this](const std::string& text) {
    if (codePages_.Utf8()) return codePages_.Decode(codePages_.Upper(text));
    std::u32string bytes;
    for (char c : text) bytes += static_cast<unsigned char>(c);
    return bytes;
  };
  // First the letters, digits and punctuation; hyphens and apostrophes only break a tie,
  // a text without them first; then case, when it counts (lower case first).
  const auto primary = [&](const std::string& text) {
    std::vector<int> weights;
    for (char32_t code : characters(text)) {
      if (!IgnoredAtFirstLevel(code)) weights.push_back(PrimaryWeight(code));
    }
    return weights;
  };
  const auto ignored = [](const std::string& text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return IgnoredAtFirstLevel(static_cast<unsigned char>(c)); });
  };
  const auto order = [](const auto& a, const auto& b) { return a < b ? -1 : b < a ? 1 : 0; };
  int result = order(primary(left), primary(right));
  if (result == 0) result = order(ignored(left), ignored(right));
  if (result == 0 && !(flags & NORM_IGNORECASE)) result = -Sign(left.compare(right));
  return CSTR_EQUAL + result;
}

const SimHotKey* SimWindowOps::HotKeyPressedBy(UINT modifiers, UINT virtualKey) const {
  for (const SimHotKey& key : hotKeys_) {
    if (key.virtualKey == virtualKey && (key.modifiers & ModifierKeys) == (modifiers & ModifierKeys)) return &key;
  }
  return nullptr;
}

BOOL SimWindowOps::RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) {
  CatchUp();
  if ((window && !Lookup(window)) || HotKeyPressedBy(modifiers, virtualKey)) return FALSE;
  hotKeys_.push_back({window, id, modifiers, virtualKey});
  return TRUE;
}

BOOL SimWindowOps::UnregisterHotKey(HWND window, int id) {
  CatchUp();
  const auto found = std::find_if(hotKeys_.begin(), hotKeys_.end(),
                                  [&](const SimHotKey& key) { return key.window == window && key.id == id; });
  if (found == hotKeys_.end()) return FALSE;
  hotKeys_.erase(found);
  return TRUE;
}

}  // namespace ombrix::sim
