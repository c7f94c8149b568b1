#pragma once
// The notification-area icon: one icon of the program in the taskbar's notification area,
// with its picture, its tip, and the clicks the user makes on it.

#include <functional>
#include <memory>
#include <string>

#include "platform/Icons.h"
#include "platform/Platform.h"
#include "runtime/PopupMenu.h"

namespace ombrix {

// An icon picture holding one icon handle. The handle is destroyed with the image, or when
// another one takes its place, unless it is a shared system icon (LoadIcon's), which must
// never be destroyed.
class TIconImage {
 public:
  explicit TIconImage(IIcons& icons) : icons_(icons) {}
  ~TIconImage();
  TIconImage(const TIconImage&) = delete;
  TIconImage& operator=(const TIconImage&) = delete;

  HICON Handle() const { return handle_; }
  bool Shared() const { return shared_; }
  // Takes `handle` over and raises OnChange.
  void SetHandle(HICON handle, bool shared = false);
  // Gives the handle up without destroying it; the image is then empty.
  HICON ReleaseHandle();

  std::function<void()> OnChange;

 private:
  void DestroyOwned();

  IIcons& icons_;
  HICON handle_ = nullptr;
  bool shared_ = false;
};

class TTrayIcon {
 public:
  enum class TMouseButton { kLeft, kRight, kMiddle };
  // Modifier keys and buttons of a mouse event; a right click on the icon reports none.
  using TShiftState = unsigned;
  using TNotifyEvent = std::function<void(TTrayIcon& sender)>;
  using TMouseEvent = std::function<void(TTrayIcon& sender, TMouseButton button, TShiftState shift, int x, int y)>;

  // The shell reports mouse and keyboard events on the icon with this message; the icon
  // posts itself the second one to apply its tip again once the message loop runs.
  static constexpr UINT CallbackMessage = WM_USER + 1;
  static constexpr UINT ApplyTipMessage = WM_USER + 2;
  // A longer tip is cut to this many bytes, on a whole character: what the first record of
  // the shell held, which the program has always shown, although the whole record holds 128.
  static constexpr size_t MaxToolTipLength = 62;
  // The hot key's id on the icon's window.
  static constexpr int HotKeyId = 1;

  // `icons` destroys the pictures the icon owns.
  TTrayIcon(Platform& platform, IIcons& icons);
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Whether the icon is meant to be present. Setting a new value adds or deletes it; the
  // value is kept even when the shell refused.
  bool Active() const { return active_; }
  void SetActive(bool active);
  // Whether the shell took the icon when it was last added: at logon the taskbar may not be
  // ready yet, and adding fails or times out.
  bool Shown() const { return shown_; }
  // Adds an icon meant to be present that the shell did not take; true once it is shown.
  bool AddAgain();
  // Shows a balloon from the present icon, without a sound; false when the shell took none.
  bool ShowBalloon(const std::string& title, const std::string& text);
  // Design-time only: whether a form designer shows the icon. No effect in a running program.
  bool ShowDesigning() const { return showDesigning_; }
  void SetShowDesigning(bool show) { showDesigning_ = show; }
  // The picture. Changing it updates a present icon.
  TIconImage& Icon() { return icon_; }
  void SetIcon(HICON handle, bool shared = false) { icon_.SetHandle(handle, shared); }
  const std::string& ToolTip() const { return toolTip_; }
  void SetToolTip(const std::string& toolTip);
  // Shown at the cursor on a right click, before OnRightClick; may be empty (nullptr).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
  // The window brought to the foreground before PopupMenu is shown (a menu closes properly
  // only when its program is in front); the icon's own window unless set.
  void SetApplicationWindow(HWND window) { applicationWindow_ = window; }

  // The hot key that raises OnHotKey, as the hot-key control gives it; 0 for none. A new one
  // takes the old one's place; false when the system refused it (another program holds it),
  // and then the icon has none.
  bool SetHotKey(std::int32_t hotKey);
  // The hot key held, 0 when none.
  std::int32_t HotKey() const { return hotKey_; }

  // The id that tells the shell this icon from the others of the program file (Windows
  // remembers per program file and id whether the user keeps the icon on the taskbar). Set
  // before the icon is added; 0 unless set.
  UINT Id() const { return id_; }
  void SetId(UINT id) { id_ = id; }
  // The protocol the shell agreed to for the present icon: NOTIFYICON_VERSION_4, or 0 when
  // the shell refused it (or no icon is present).
  UINT Version() const { return version_; }

  // The hidden window that receives the icon's notifications.
  HWND WindowHandle() const { return window_; }
  // The record as filled for the last shell call.
  const NotifyIconData& Record() const { return record_; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  // Enter or the space bar on the icon, once the keyboard has reached it (Win+B, arrows).
  TNotifyEvent OnKeySelect;
  // The icon's menu is asked for, by the right button or by the keyboard; x and y are where
  // the shell says the menu belongs.
  TMouseEvent OnRightClick;
  // The hot key was pressed, whatever program was in front.
  TNotifyEvent OnHotKey;
  // The taskbar was made again (the shell restarted, or the display's scaling changed),
  // just before a present icon is added again: the time to make the picture anew.
  TNotifyEvent OnTaskbarCreated;
  // A close request or the end of the session reached the icon's window. Unassigned, the
  // window is destroyed as any window would be.
  TNotifyEvent OnEndRequest;

 private:
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Callback(WPARAM wParam, LPARAM lParam);
  void RightClick(int x, int y);
  void FillRecord();
  // True when the shell took the icon.
  bool Add();
  void SetVersion();
  void Modify();
  void Delete();
  void Raise(const TNotifyEvent& event);

  Platform& platform_;
  TIconImage icon_;
  HWND window_ = nullptr;
  HWND applicationWindow_ = nullptr;
  UINT taskbarCreated_ = 0;
  UINT id_ = 0;
  UINT version_ = 0;
  bool active_ = false;
  bool shown_ = false;
  bool showDesigning_ = false;
  std::string toolTip_;
  std::int32_t hotKey_ = 0;
  TPopupMenu* popupMenu_ = nullptr;
  NotifyIconData record_;
  // Cleared by the destructor: an event handler may destroy the icon, and the code that
  // raised the event must then stop. Made with new rather than make_shared, whose type test
  // brings the library's shared-pointer object and its thread-safe statics into the program
  // (4.8 KB of Ombrix.exe).
  std::shared_ptr<bool> alive_{new bool(true)};
};

}  // namespace ombrix
