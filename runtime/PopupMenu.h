#pragma once
// A popup menu of the program's own, as a model: items with name, caption, enabled and
// checked state, separators, and a handler run when the user chooses the item. Shown through
// the platform's popup-menu service at a point of the screen.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace ombrix {

class TMenuItem {
 public:
  TMenuItem(std::string name, std::string caption) : Name(std::move(name)), Caption(std::move(caption)) {}

  // Runs OnClick, as choosing the item does.
  void Click();

  std::string Name;
  std::string Caption;
  bool Enabled = true;
  bool Checked = false;
  bool Separator = false;
  int HelpContext = 0;
  std::function<void(TMenuItem& sender)> OnClick;
};

// Where the menu opens relative to the point it is shown at.
enum class TPopupAlignment { kLeft, kRight, kCenter };
// Which mouse buttons choose an item.
enum class TTrackButton { kRightButton, kLeftButton };

class TPopupMenu {
 public:
  explicit TPopupMenu(Platform& platform);
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  // Items keep their address for the menu's lifetime, so a form may hold on to them. Names
  // and captions are taken as plain character pointers, as every item is declared with
  // literals: std::string parameters would be built and destroyed at each declaration.
  TMenuItem& Add(const char* name, const char* caption, std::function<void(TMenuItem&)> onClick = {});
  TMenuItem& AddSeparator(const char* name);
  TMenuItem* Find(const std::string& name);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) { return *items_.at(static_cast<size_t>(index)); }

  // The TrackPopupMenu flags that Alignment and TrackButton stand for.
  UINT PopupFlags() const;
  // Shows the menu at (x, y) in screen coordinates and waits for the user. When an item is
  // chosen, its OnClick runs once the menu has closed, and the result is true. The handler
  // runs last: it may destroy the menu. The menu's owner is brought to the foreground first
  // and posted a null message afterwards, as a menu of a program without a visible window
  // needs in order to take the keyboard and to close on a click elsewhere.
  bool Popup(int x, int y);

  // The hidden window that owns the menu while it is shown.
  HWND WindowHandle() const { return window_; }

  TPopupAlignment Alignment = TPopupAlignment::kLeft;
  TTrackButton TrackButton = TTrackButton::kRightButton;
  int HelpContext = 0;

  // F1 in the open menu: the help context of the highlighted item, or the menu's own when
  // that item has none (or none is highlighted).
  std::function<void(int helpContext)> OnHelp;
  // A close request or the end of the session reached the owner window. Unassigned, the
  // window is destroyed as any window would be.
  std::function<void()> OnEndRequest;

 private:
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  int HighlightedHelpContext() const;

  Platform& platform_;
  HWND window_ = nullptr;
  UINT highlighted_ = 0;  // the command of the item the user is on, 0 for none
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

}  // namespace ombrix
