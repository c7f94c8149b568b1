#pragma once
// The simulated user and message traffic: a scripted cursor and keyboard, scripted choices
// in popup menus with a log of every menu shown, the program's utility windows, and posted
// messages queued per window and delivered by the message pump.

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimWindowOps.h"

namespace ombrix::sim {

// A popup menu as it was shown, and what the user did with it.
struct ShownMenu {
  HMENU menu = nullptr;  // the system menu tracked, nullptr for a menu built by ShowPopupMenu
  std::vector<MenuEntry> items;
  UINT flags = 0;  // as the caller passed them
  int x = 0;
  int y = 0;
  HWND owner = nullptr;
  UINT chosen = 0;            // the command chosen, 0 when dismissed
  HWND foreground = nullptr;  // the foreground window when the menu opened
};

class SimInput : public IInput {
 public:
  SimInput(SimWindowOps& windows, SimMessagePump& pump) : windows_(windows), pump_(pump) {}

  BOOL GetCursorPos(ScreenPoint& point) override;
  SHORT GetAsyncKeyState(int virtualKey) override;
  HMENU GetSystemMenu(HWND window, BOOL revert) override;
  BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override;
  BOOL PeekMessageA(HWND window, QueuedMessage& message, bool dispatch) override;
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  UINT RegisterWindowMessageA(const std::string& name) override;
  BOOL ChangeWindowMessageFilterEx(HWND window, UINT message) override;
  HWND AllocateWindow(WindowProcedure procedure) override;
  void DeallocateWindow(HWND window) override;
  LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetProcedureErrorHandler(std::function<void(const std::exception&)> handler) override;
  UINT ShowPopupMenu(const std::vector<MenuEntry>& entries, UINT flags, int x, int y, HWND owner) override;

  // Test controls.
  void SetCursorPos(LONG x, LONG y) { cursor_ = ScreenPoint{x, y}; }
  void SetKeyDown(int virtualKey, bool down);
  // The user presses `virtualKey` with the MOD_ keys of `modifiers` held: the hot key that
  // this presses, held by a window of this program, gets its WM_HOTKEY posted. False when no
  // such hot key is held.
  bool PressHotKey(UINT modifiers, UINT virtualKey);
  // What the user does with the next popup menu: choose the item with this caption (as
  // shown, "&Close"), choose the item with this command, or dismiss the menu. `whileOpen`
  // runs first, as the menu's own message loop lets other things happen. Choosing a
  // disabled item or a separator closes nothing and counts as dismissing; a caption or
  // command the menu does not have is a mistake in the test. A menu shown with no choice
  // scripted is one too: both throw EProgramError.
  void PickNextMenuItem(const std::string& caption, std::function<void()> whileOpen = {});
  void PickNextMenuCommand(UINT command, std::function<void()> whileOpen = {});
  void DismissNextMenu(std::function<void()> whileOpen = {});

  const std::vector<ShownMenu>& Menus() const { return menus_; }
  void ClearLog() { menus_.clear(); }
  bool IsUtilityWindow(HWND window) const { return procedures_.count(window) != 0; }
  int UtilityWindowCount() const { return static_cast<int>(procedures_.size()); }
  // The program runs elevated: what Explorer and other programs at normal rights post to its
  // windows passes only as PostFromNormalRights says.
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // A message posted by a program at normal rights (the shell's icon callbacks and its
  // "TaskbarCreated", a close request of taskkill). Windows' isolation of elevated windows
  // drops, without a word to the program that should get it, every message from WM_USER up
  // and WM_CLOSE unless the window let it through with ChangeWindowMessageFilterEx. False
  // when dropped.
  BOOL PostFromNormalRights(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Messages posted to `window` and not yet delivered or removed.
  std::vector<QueuedMessage> Pending(HWND window) const;

 private:
  struct Posted {
    unsigned long long serial;
    QueuedMessage message;
  };
  struct Choice {
    enum class Kind { kCaption, kCommand, kDismiss } kind;
    std::string caption;
    UINT command;
    std::function<void()> whileOpen;
  };

  LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void DeliverPosted(unsigned long long serial);
  std::vector<MenuEntry> SystemMenuItems(HWND owner);
  // Runs the next scripted choice against `items` and logs the menu; returns the command
  // chosen or 0.
  UINT Choose(HMENU menu, const std::vector<MenuEntry>& items, UINT flags, int x, int y, HWND owner);

  SimWindowOps& windows_;
  SimMessagePump& pump_;
  ScreenPoint cursor_;
  std::set<int> keysDown_;
  std::map<HWND, WindowProcedure> procedures_;
  std::function<void(const std::exception&)> errorHandler_;
  std::deque<Posted> posted_;
  unsigned long long nextSerial_ = 1;
  std::map<std::string, UINT> registered_;
  std::map<HWND, HMENU> systemMenus_;
  std::map<HMENU, HWND> systemMenuOwners_;
  ULONG_PTR nextMenu_ = 0x5000;
  std::deque<Choice> choices_;
  std::vector<ShownMenu> menus_;
  bool elevated_ = false;
  std::set<std::pair<HWND, UINT>> letThrough_;
};

}  // namespace ombrix::sim
