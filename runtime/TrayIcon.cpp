#include "runtime/TrayIcon.h"

#include "base/Utf8.h"
#include "runtime/EndRequest.h"
#include "runtime/HotKey.h"

namespace ombrix {

TIconImage::~TIconImage() { DestroyOwned(); }

void TIconImage::DestroyOwned() {
  if (handle_ && !shared_) icons_.DestroyIcon(handle_);
  handle_ = nullptr;
  shared_ = false;
}

void TIconImage::SetHandle(HICON handle, bool shared) {
  if (handle != handle_) DestroyOwned();
  handle_ = handle;
  shared_ = handle ? shared : false;
  if (OnChange) {
    auto onChange = OnChange;
    onChange();
  }
}

HICON TIconImage::ReleaseHandle() {
  HICON handle = handle_;
  handle_ = nullptr;
  shared_ = false;
  return handle;
}

TTrayIcon::TTrayIcon(Platform& platform, IIcons& icons) : platform_(platform), icon_(icons) {
  IInput& input = platform_.Input();
  // Registered before the window exists, so that a broadcast cannot arrive unrecognised.
  taskbarCreated_ = input.RegisterWindowMessageA("TaskbarCreated");
  window_ = input.AllocateWindow([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(window, message, wParam, lParam);
  });
  icon_.OnChange = [this] { Modify(); };
  FillRecord();
  // Explorer runs at normal rights: an elevated Ombrix would never hear of clicks on its
  // icon or of a new taskbar, and taskkill's close request would not reach it, unless let
  // through.
  if (window_ && platform_.Processes().IsElevated()) {
    for (const UINT message :
         {CallbackMessage, taskbarCreated_, static_cast<UINT>(WM_HOTKEY), static_cast<UINT>(WM_CLOSE)}) {
      input.ChangeWindowMessageFilterEx(window_, message);
    }
  }
}

TTrayIcon::~TTrayIcon() {
  *alive_ = false;
  icon_.OnChange = nullptr;
  if (active_) Delete();
  SetHotKey(0);
  if (window_) platform_.Input().DeallocateWindow(window_);
}

void TTrayIcon::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active) {
    Add();
  } else {
    Delete();
  }
}

void TTrayIcon::SetToolTip(const std::string& toolTip) {
  toolTip_ = CutText(toolTip, MaxToolTipLength);
  Modify();
}

bool TTrayIcon::SetHotKey(std::int32_t hotKey) {
  if (hotKey == hotKey_) return true;
  IWindowOps& windows = platform_.Windows();
  // The system keeps an old registration beside a new one of the same id.
  if (hotKey_) windows.UnregisterHotKey(window_, HotKeyId);
  hotKey_ = 0;
  if (!HotKeyKey(hotKey)) return true;
  // Held down, the key would hide and show the program over and over; Windows Vista lacks
  // MOD_NOREPEAT and may refuse it, so it gets a key that repeats.
  const UINT modifiers = HotKeyModifiers(hotKey);
  if (!window_ || !(windows.RegisterHotKey(window_, HotKeyId, modifiers | MOD_NOREPEAT, HotKeyKey(hotKey)) ||
                    windows.RegisterHotKey(window_, HotKeyId, modifiers, HotKeyKey(hotKey))))
    return false;
  hotKey_ = hotKey;
  return true;
}

void TTrayIcon::FillRecord() {
  record_.size = NotifyIconDataSize;
  record_.window = window_;
  record_.id = id_;
  // Under version 4 the shell shows the standard tip only when asked to; the older versions
  // ignore the flag.
  record_.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  record_.callbackMessage = CallbackMessage;
  record_.icon = icon_.Handle();
  record_.tip = toolTip_;
  record_.version = 0;
  // A balloon is shown once, by the call that asks for it.
  record_.infoTitle.clear();
  record_.info.clear();
}

bool TTrayIcon::AddAgain() {
  if (!active_ || shown_) return shown_;
  // An add that timed out may have been carried out all the same: then only a modify
  // succeeds.
  FillRecord();
  IShell& shell = platform_.Shell();
  shown_ = shell.Shell_NotifyIconA(NIM_MODIFY, record_) || shell.Shell_NotifyIconA(NIM_ADD, record_);
  if (shown_) SetVersion();
  return shown_;
}

bool TTrayIcon::Add() {
  FillRecord();
  version_ = 0;
  shown_ = platform_.Shell().Shell_NotifyIconA(NIM_ADD, record_) != FALSE;
  if (shown_) SetVersion();
  // An icon added before its tip was known gets the tip applied once more when the message
  // loop runs, by which time its owner has usually set one.
  if (toolTip_.empty() && window_) platform_.Input().PostMessageA(window_, ApplyTipMessage, 0, 0);
  return shown_;
}

void TTrayIcon::SetVersion() {
  // The shell forgets the version with the icon, so every add asks again. Version 4 brings
  // the keyboard's events and the menu's own position; a shell that refuses it keeps
  // speaking the old form, which the callback reads too.
  record_.version = NOTIFYICON_VERSION_4;
  if (platform_.Shell().Shell_NotifyIconA(NIM_SETVERSION, record_)) version_ = NOTIFYICON_VERSION_4;
  record_.version = 0;
}

void TTrayIcon::Modify() {
  FillRecord();
  if (active_) platform_.Shell().Shell_NotifyIconA(NIM_MODIFY, record_);
}

bool TTrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
  if (!active_ || !shown_) return false;
  FillRecord();
  record_.flags = NIF_INFO;
  record_.infoTitle = title;
  record_.info = text;
  record_.infoFlags = NIIF_INFO | NIIF_NOSOUND;
  return platform_.Shell().Shell_NotifyIconA(NIM_MODIFY, record_) != FALSE;
}

void TTrayIcon::Delete() {
  shown_ = false;
  FillRecord();
  version_ = 0;
  platform_.Shell().Shell_NotifyIconA(NIM_DELETE, record_);
}

void TTrayIcon::Raise(const TNotifyEvent& event) {
  if (!event) return;
  // A copy: the handler may rewire the event it was called through.
  auto handler = event;
  handler(*this);
}

LRESULT TTrayIcon::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CallbackMessage) {
    Callback(wParam, lParam);
    return 0;
  }
  if (message == WM_HOTKEY && wParam == HotKeyId) {
    Raise(OnHotKey);
    return 0;
  }
  if (message == ApplyTipMessage) {
    SetToolTip(toolTip_);
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    // The shell started again with an empty notification area. An icon meant to be present
    // is added again: for a program hidden to the tray it is the only way back.
    const std::shared_ptr<bool> alive = alive_;
    Raise(OnTaskbarCreated);
    if (*alive && active_) Add();
    return 0;
  }
  if (OnEndRequest && IsEndRequest(message, wParam)) {
    Raise(OnEndRequest);
    return EndRequestAnswer(message);
  }
  return platform_.Input().DefWindowProcA(window, message, wParam, lParam);
}

void TTrayIcon::Callback(WPARAM wParam, LPARAM lParam) {
  // Before version 4, lParam is the event and the menu goes where the cursor is; from
  // version 4 on the event is the low word and the point is in wParam. The shell follows
  // each button's release with its own twin (NIN_SELECT after the left, WM_CONTEXTMENU after
  // the right), so one of each pair is taken: the mouse's own events for the clicks, as
  // their double-click event comes only in that form, and WM_CONTEXTMENU for the menu, as
  // the keyboard asks for it that way too.
  const bool version4 = version_ >= NOTIFYICON_VERSION_4;
  const UINT event = version4 ? LOWORD(static_cast<ULONG_PTR>(lParam)) : static_cast<UINT>(lParam);
  ScreenPoint at{static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
  if (event == WM_LBUTTONUP) {
    Raise(OnClick);
  } else if (event == WM_LBUTTONDBLCLK) {
    Raise(OnDblClick);
  } else if (event == NIN_KEYSELECT && version4) {
    Raise(OnKeySelect);
  } else if (event == (version4 ? WM_CONTEXTMENU : WM_RBUTTONUP)) {
    if (!version4) platform_.Input().GetCursorPos(at);
    RightClick(at.x, at.y);
  }
}

void TTrayIcon::RightClick(int x, int y) {
  const std::shared_ptr<bool> alive = alive_;
  if (popupMenu_) {
    platform_.Windows().SetForegroundWindow(applicationWindow_ ? applicationWindow_ : window_);
    platform_.Messages().ProcessMessages();
    if (!*alive || !popupMenu_) return;
    popupMenu_->Popup(x, y);
    if (!*alive) return;
  }
  if (OnRightClick) {
    auto handler = OnRightClick;
    handler(*this, TMouseButton::kRight, 0, x, y);
  }
}

}  // namespace ombrix
