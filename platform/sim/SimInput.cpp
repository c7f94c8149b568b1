#include "platform/sim/SimInput.h"

#include <algorithm>

#include "base/AsciiCase.h"
#include "base/Exception.h"

namespace ombrix::sim {

namespace {

LPARAM PointParameter(int x, int y) {
  const DWORD packed = static_cast<DWORD>(static_cast<WORD>(x)) | (static_cast<DWORD>(static_cast<WORD>(y)) << 16);
  return static_cast<LPARAM>(packed);
}

const MenuEntry* FindEntry(const std::vector<MenuEntry>& items, const std::function<bool(const MenuEntry&)>& match) {
  auto it = std::find_if(items.begin(), items.end(), match);
  return it == items.end() ? nullptr : &*it;
}

}  // namespace

BOOL SimInput::GetCursorPos(ScreenPoint& point) {
  point = cursor_;
  return TRUE;
}

void SimInput::SetKeyDown(int virtualKey, bool down) {
  if (down) {
    keysDown_.insert(virtualKey);
  } else {
    keysDown_.erase(virtualKey);
  }
}

bool SimInput::PressHotKey(UINT modifiers, UINT virtualKey) {
  const SimHotKey* held = windows_.HotKeyPressedBy(modifiers, virtualKey);
  if (!held || !held->window) return false;
  // lParam: the modifiers pressed in the low word, the key in the high word.
  PostMessageA(held->window, WM_HOTKEY, static_cast<WPARAM>(held->id),
               static_cast<LPARAM>((modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN)) | virtualKey << 16));
  return true;
}

SHORT SimInput::GetAsyncKeyState(int virtualKey) {
  return keysDown_.count(virtualKey) ? static_cast<SHORT>(-32768) : static_cast<SHORT>(0);
}

HMENU SimInput::GetSystemMenu(HWND window, BOOL revert) {
  // With revert set, Windows restores the standard menu and returns NULL.
  if (revert || !windows_.IsWindow(window)) return nullptr;
  auto it = systemMenus_.find(window);
  if (it != systemMenus_.end()) return it->second;
  HMENU menu = reinterpret_cast<HMENU>(nextMenu_);
  nextMenu_ += 0x10;
  systemMenus_[window] = menu;
  systemMenuOwners_[menu] = window;
  return menu;
}

std::vector<MenuEntry> SimInput::SystemMenuItems(HWND owner) {
  // Windows enables the items for the window that tracks the menu, not for the window the
  // menu belongs to. A utility window is a hidden pop-up without frame or boxes; any other
  // owner is taken for an ordinary overlapped window.
  bool restore = false, move = true, size = false, minimize = false, maximize = false;
  if (!IsUtilityWindow(owner)) {
    WindowPlacementInfo placement;
    windows_.GetWindowPlacement(owner, placement);
    const bool normal = placement.showCmd == SW_SHOWNORMAL;
    restore = !normal;
    move = size = normal;
    minimize = placement.showCmd != SW_SHOWMINIMIZED;
    maximize = placement.showCmd != SW_SHOWMAXIMIZED;
  }
  std::vector<MenuEntry> items;
  items.push_back(MenuEntry{SC_RESTORE, "&Restore", restore, false, false});
  items.push_back(MenuEntry{SC_MOVE, "&Move", move, false, false});
  items.push_back(MenuEntry{SC_SIZE, "&Size", size, false, false});
  items.push_back(MenuEntry{SC_MINIMIZE, "Mi&nimize", minimize, false, false});
  items.push_back(MenuEntry{SC_MAXIMIZE, "Ma&ximize", maximize, false, false});
  items.push_back(MenuEntry{0, "", true, false, true});
  items.push_back(MenuEntry{SC_CLOSE, "&Close\tAlt+F4", true, false, false});
  return items;
}

void SimInput::PickNextMenuItem(const std::string& caption, std::function<void()> whileOpen) {
  choices_.push_back(Choice{Choice::Kind::kCaption, caption, 0, std::move(whileOpen)});
}

void SimInput::PickNextMenuCommand(UINT command, std::function<void()> whileOpen) {
  choices_.push_back(Choice{Choice::Kind::kCommand, "", command, std::move(whileOpen)});
}

void SimInput::DismissNextMenu(std::function<void()> whileOpen) {
  choices_.push_back(Choice{Choice::Kind::kDismiss, "", 0, std::move(whileOpen)});
}

UINT SimInput::Choose(HMENU menu, const std::vector<MenuEntry>& items, UINT flags, int x, int y, HWND owner) {
  const size_t logIndex = menus_.size();
  menus_.push_back(ShownMenu{menu, items, flags, x, y, owner, 0, windows_.Foreground()});
  if (choices_.empty()) throw EProgramError("a popup menu was shown and the test scripted no choice");
  Choice choice = std::move(choices_.front());
  choices_.pop_front();
  if (choice.whileOpen) choice.whileOpen();

  const MenuEntry* entry = nullptr;
  if (choice.kind == Choice::Kind::kCaption) {
    entry = FindEntry(items, [&](const MenuEntry& e) { return !e.separator && e.caption == choice.caption; });
    if (!entry) throw EProgramError("the menu shown has no item \"" + choice.caption + "\"");
  } else if (choice.kind == Choice::Kind::kCommand) {
    entry = FindEntry(items, [&](const MenuEntry& e) { return !e.separator && e.command == choice.command; });
    if (!entry) throw EProgramError("the menu shown has no item with command " + std::to_string(choice.command));
  }
  const UINT chosen = entry && entry->enabled ? entry->command : 0;
  menus_[logIndex].chosen = chosen;  // by index: whileOpen may have shown further menus
  return chosen;
}

BOOL SimInput::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
  auto it = systemMenuOwners_.find(menu);
  if (it == systemMenuOwners_.end() || !windows_.IsWindow(it->second) || !windows_.IsWindow(owner)) return FALSE;
  const UINT chosen = Choose(menu, SystemMenuItems(owner), flags, x, y, owner);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  // The command of a system menu arrives as WM_SYSCOMMAND with the point the menu was
  // opened at.
  if (chosen != 0) PostMessageA(owner, WM_SYSCOMMAND, chosen, PointParameter(x, y));
  return TRUE;
}

UINT SimInput::ShowPopupMenu(const std::vector<MenuEntry>& entries, UINT flags, int x, int y, HWND owner) {
  if (!windows_.IsWindow(owner)) return 0;
  return Choose(nullptr, entries, flags, x, y, owner);
}

BOOL SimInput::PeekMessageA(HWND window, QueuedMessage& message, bool dispatch) {
  // Only the program's own windows have their queue here; other windows belong to other
  // threads.
  auto it = std::find_if(posted_.begin(), posted_.end(), [&](const Posted& p) {
    return IsUtilityWindow(p.message.window) && (window == nullptr || p.message.window == window);
  });
  if (it == posted_.end()) return FALSE;
  message = it->message;
  posted_.erase(it);
  if (dispatch) windows_.DeliverMessage(message.window, message.message, message.wParam, message.lParam);
  return TRUE;
}

LRESULT SimInput::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windows_.DeliverMessage(window, message, wParam, lParam);
}

BOOL SimInput::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!windows_.IsWindow(window)) return FALSE;
  const unsigned long long serial = nextSerial_++;
  posted_.push_back(Posted{serial, QueuedMessage{window, message, wParam, lParam}});
  pump_.Post([this, serial] { DeliverPosted(serial); });
  return TRUE;
}

BOOL SimInput::ChangeWindowMessageFilterEx(HWND window, UINT message) {
  if (!windows_.IsWindow(window)) return FALSE;
  letThrough_.insert(std::make_pair(window, message));
  return TRUE;
}

BOOL SimInput::PostFromNormalRights(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool isolated = message >= WM_USER || message == WM_CLOSE;
  if (elevated_ && isolated && !letThrough_.count(std::make_pair(window, message))) return FALSE;
  return PostMessageA(window, message, wParam, lParam);
}

void SimInput::DeliverPosted(unsigned long long serial) {
  // A message already taken by PeekMessageA is gone.
  auto it = std::find_if(posted_.begin(), posted_.end(), [&](const Posted& p) { return p.serial == serial; });
  if (it == posted_.end()) return;
  const QueuedMessage message = it->message;
  posted_.erase(it);
  windows_.DeliverMessage(message.window, message.message, message.wParam, message.lParam);
}

std::vector<QueuedMessage> SimInput::Pending(HWND window) const {
  std::vector<QueuedMessage> pending;
  for (const Posted& p : posted_) {
    if (p.message.window == window) pending.push_back(p.message);
  }
  return pending;
}

UINT SimInput::RegisterWindowMessageA(const std::string& name) {
  if (name.empty()) return 0;
  const std::string key = AsciiUpperCase(name);
  auto it = registered_.find(key);
  if (it != registered_.end()) return it->second;
  const UINT value = 0xC100 + static_cast<UINT>(registered_.size());
  registered_[key] = value;
  return value;
}

HWND SimInput::AllocateWindow(WindowProcedure procedure) {
  SimWindow window;
  window.className = "OmbrixUtilityWindow";
  window.visible = false;
  HWND handle = windows_.CreateTopWindow(window);
  procedures_[handle] = std::move(procedure);
  windows_.Find(handle)->onMessage = [this, handle](UINT message, WPARAM wParam, LPARAM lParam) {
    return CallProcedure(handle, message, wParam, lParam);
  };
  return handle;
}

void SimInput::DeallocateWindow(HWND window) {
  if (!IsUtilityWindow(window)) return;
  procedures_.erase(window);
  windows_.DestroyWindow(window);
  posted_.erase(
      std::remove_if(posted_.begin(), posted_.end(), [&](const Posted& p) { return p.message.window == window; }),
      posted_.end());
}

LRESULT SimInput::CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = procedures_.find(window);
  if (it == procedures_.end()) return DefWindowProcA(window, message, wParam, lParam);
  // A copy: the procedure may deallocate its own window.
  WindowProcedure procedure = it->second;
  try {
    return procedure(window, message, wParam, lParam);
  } catch (const std::exception& error) {
    if (!errorHandler_) throw;
    auto handler = errorHandler_;
    handler(error);
    return 0;
  }
}

LRESULT SimInput::DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) {
    if (IsUtilityWindow(window)) {
      DeallocateWindow(window);
    } else {
      windows_.DestroyWindow(window);
    }
  }
  return 0;
}

void SimInput::SetProcedureErrorHandler(std::function<void(const std::exception&)> handler) {
  errorHandler_ = std::move(handler);
}

}  // namespace ombrix::sim
