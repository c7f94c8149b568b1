#include "platform/sim/SimShell.h"

#include "platform/sim/SimText.h"

namespace ombrix::sim {

INT_PTR SimShell::ShellExecuteA(HWND owner, const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& folder, int showCommand) {
  executeCalls_.push_back(ShellExecuteCall{owner, verb, file, parameters, folder, showCommand});
  if (executeAnswers_.empty()) return 42;
  const INT_PTR result = executeAnswers_.front();
  executeAnswers_.pop_front();
  return result;
}

INT_PTR SimShell::ShellExecuteExA(HWND owner, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& folder, int showCommand,
                                  HANDLE& process) {
  process = nullptr;
  lastError_ = 0;
  // The verb "runas" asks the user first; a declined prompt fails the call.
  if (verb == "runas" && !consentGiven_) {
    executeCalls_.push_back(ShellExecuteCall{owner, verb, file, parameters, folder, showCommand});
    lastError_ = ERROR_CANCELLED;
    return SE_ERR_ACCESSDENIED;
  }
  const INT_PTR result = ShellExecuteA(owner, verb, file, parameters, folder, showCommand);
  if (result <= 32) return result;
  for (const auto& opener : openers_) {
    const std::string& extension = opener.first;
    if (file.size() >= extension.size() && SameTextNoCase(file.substr(file.size() - extension.size()), extension)) {
      process = processes_.StartForShell("\"" + opener.second + "\" \"" + file + "\"", showCommand);
      break;
    }
  }
  return result;
}

HWND SimShell::HtmlHelpA(HWND caller, const std::string& helpFile, UINT command, ULONG_PTR data) {
  helpCalls_.push_back(HtmlHelpCall{caller, helpFile, command, data});
  if (!files_.FileExists(helpFile)) return nullptr;
  if (helpAnswers_.empty()) return ViewerWindow();
  const HWND result = helpAnswers_.front();
  helpAnswers_.pop_front();
  return result;
}

HRESULT SimShell::SHGetKnownFolderPath(TKnownFolder folder, std::string& path) {
  if (folder != TKnownFolder::kStartup || startupFolder_.empty()) return E_NOTIMPL;
  path = startupFolder_;
  return S_OK;
}

BOOL SimShell::Shell_NotifyIconA(DWORD message, const NotifyIconData& data) {
  const BOOL result = refuse_ ? FALSE : Apply(message, data);
  notifyCalls_.push_back(NotifyIconCall{message, data, result});
  return result;
}

BOOL SimShell::Apply(DWORD message, const NotifyIconData& data) {
  const auto key = std::make_pair(data.window, data.id);
  auto it = icons_.find(key);
  switch (message) {
    case NIM_ADD: {
      // The shell keeps one icon per window and id: a second add is refused.
      if (it != icons_.end()) return FALSE;
      TrayIconState added;
      added.window = data.window;
      added.id = data.id;
      // Windows 10 and 11 put an icon whose identity they have not seen behind the overflow's
      // "^"; one the user promoted stays on the taskbar at every later run. A legacy icon's
      // identity is its program's file and its id (the window changes from run to run).
      RememberedIcon& identity = Remember(files_.GetModuleFileNameA(), data.id);
      if (identity.initialTip.empty() && (data.flags & NIF_TIP))
        identity.initialTip = data.tip.substr(0, NotifyIconTipCapacity);
      added.promoted = identity.promoted;
      it = icons_.emplace(key, added).first;
      break;
    }
    case NIM_SETVERSION:
      // The version lasts as long as the icon: every add starts again at version 0.
      if (it == icons_.end() || refuseVersions_) return FALSE;
      if (data.version != 0 && data.version != 3 && data.version != NOTIFYICON_VERSION_4) return FALSE;
      it->second.version = data.version;
      return TRUE;
    case NIM_MODIFY:
      if (it == icons_.end()) return FALSE;
      break;
    case NIM_DELETE:
      if (it == icons_.end()) return FALSE;
      icons_.erase(it);
      return TRUE;
    default:
      return FALSE;
  }
  TrayIconState& icon = it->second;
  if (data.flags & NIF_MESSAGE) icon.callbackMessage = data.callbackMessage;
  if (data.flags & NIF_ICON) icon.icon = data.icon;
  if (data.flags & NIF_TIP) icon.tip = data.tip.substr(0, NotifyIconTipCapacity);
  return TRUE;
}

RememberedIcon& SimShell::Remember(const std::string& programFile, UINT id) {
  for (RememberedIcon& known : remembered_) {
    if (known.id == id && SameTextNoCase(known.programFile, programFile)) return known;
  }
  RememberedIcon added;
  added.programFile = programFile;
  added.id = id;
  remembered_.push_back(added);
  return remembered_.back();
}

const RememberedIcon* SimShell::Remembered(const std::string& programFile, UINT id) const {
  for (const RememberedIcon& known : remembered_) {
    if (known.id == id && SameTextNoCase(known.programFile, programFile)) return &known;
  }
  return nullptr;
}

bool SimShell::PromoteIcon(HWND window, UINT id, bool promoted) {
  auto it = icons_.find(std::make_pair(window, id));
  if (it == icons_.end()) return false;
  it->second.promoted = promoted;
  Remember(files_.GetModuleFileNameA(), id).promoted = promoted;
  return true;
}

const TrayIconState* SimShell::FindIcon(HWND window, UINT id) const {
  auto it = icons_.find(std::make_pair(window, id));
  return it == icons_.end() ? nullptr : &it->second;
}

void SimShell::RestartShell() {
  icons_.clear();
  const UINT taskbarCreated = input_.RegisterWindowMessageA("TaskbarCreated");
  for (HWND window : windows_.ZOrder()) input_.PostFromNormalRights(window, taskbarCreated, 0, 0);
}

void SimShell::ChangeScaling(SimIcons& icons, int percent) {
  icons.SetScaling(percent);
  const UINT taskbarCreated = input_.RegisterWindowMessageA("TaskbarCreated");
  for (HWND window : windows_.ZOrder()) input_.PostFromNormalRights(window, taskbarCreated, 0, 0);
}

bool SimShell::ClickIcon(HWND window, UINT id, Click click) {
  const TrayIconState* icon = FindIcon(window, id);
  if (!icon || icon->callbackMessage == 0) return false;
  const bool twins = icon->version >= 3;
  std::vector<UINT> events;
  switch (click) {
    case Click::kLeft:
      events = {WM_LBUTTONDOWN, WM_LBUTTONUP};
      break;
    case Click::kDouble:
      events = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
      break;
    case Click::kRight:
      events = {WM_RBUTTONDOWN, WM_RBUTTONUP};
      break;
    case Click::kKeySelect:
      events = {NIN_KEYSELECT};
      break;
    case Click::kMenuKey:
      events = {WM_CONTEXTMENU};
      break;
  }
  const bool keyboard = click == Click::kKeySelect || click == Click::kMenuKey;
  if (keyboard && !twins) return false;
  ScreenPoint at = IconAnchor();
  if (!keyboard) input_.GetCursorPos(at);
  for (UINT event : events) {
    Post(*icon, event, at);
    if (twins && event == WM_LBUTTONUP) Post(*icon, NIN_SELECT, at);
    if (twins && event == WM_RBUTTONUP) Post(*icon, WM_CONTEXTMENU, at);
  }
  return true;
}

void SimShell::Post(const TrayIconState& icon, UINT event, const ScreenPoint& at) {
  if (icon.version >= NOTIFYICON_VERSION_4) {
    input_.PostFromNormalRights(icon.window, icon.callbackMessage,
                                MAKEWPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)),
                                MAKELPARAM(event, icon.id));
  } else {
    input_.PostFromNormalRights(icon.window, icon.callbackMessage, icon.id, static_cast<LPARAM>(event));
  }
}

}  // namespace ombrix::sim
