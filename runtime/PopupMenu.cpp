#include "runtime/PopupMenu.h"

#include "runtime/EndRequest.h"

namespace ombrix {

void TMenuItem::Click() {
  if (!OnClick) return;
  // A copy: the handler may replace OnClick (or destroy the item).
  auto handler = OnClick;
  handler(*this);
}

TPopupMenu::TPopupMenu(Platform& platform) : platform_(platform) {
  window_ = platform_.Input().AllocateWindow([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(window, message, wParam, lParam);
  });
}

LRESULT TPopupMenu::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MENUSELECT) {
    // The low word names the item now highlighted; 0xFFFF in the high word with no menu
    // means the menu has closed.
    const UINT flags = static_cast<UINT>((wParam >> 16) & 0xFFFF);
    highlighted_ = flags == 0xFFFF && lParam == 0 ? 0 : static_cast<UINT>(wParam & 0xFFFF);
    return 0;
  }
  if (message == WM_HELP) {
    const int context = HighlightedHelpContext();
    if (context != 0 && OnHelp) {
      auto onHelp = OnHelp;
      onHelp(context);
    }
    return TRUE;
  }
  if (OnEndRequest && IsEndRequest(message, wParam)) {
    auto onEndRequest = OnEndRequest;
    onEndRequest();
    return EndRequestAnswer(message);
  }
  return platform_.Input().DefWindowProcA(window, message, wParam, lParam);
}

int TPopupMenu::HighlightedHelpContext() const {
  if (highlighted_ >= 1 && highlighted_ <= items_.size()) {
    const int own = items_[highlighted_ - 1]->HelpContext;
    if (own != 0) return own;
  }
  return HelpContext;
}

TPopupMenu::~TPopupMenu() {
  if (window_) platform_.Input().DeallocateWindow(window_);
}

TMenuItem& TPopupMenu::Add(const char* name, const char* caption, std::function<void(TMenuItem&)> onClick) {
  items_.push_back(std::make_unique<TMenuItem>(name, caption));
  items_.back()->OnClick = std::move(onClick);
  return *items_.back();
}

TMenuItem& TPopupMenu::AddSeparator(const char* name) {
  TMenuItem& item = Add(name, "-");
  item.Separator = true;
  return item;
}

TMenuItem* TPopupMenu::Find(const std::string& name) {
  for (auto& item : items_) {
    if (item->Name == name) return item.get();
  }
  return nullptr;
}

UINT TPopupMenu::PopupFlags() const {
  UINT flags = TrackButton == TTrackButton::kRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON;
  if (Alignment == TPopupAlignment::kRight) flags |= TPM_RIGHTALIGN;
  if (Alignment == TPopupAlignment::kCenter) flags |= TPM_CENTERALIGN;
  return flags;
}

bool TPopupMenu::Popup(int x, int y) {
  std::vector<MenuEntry> entries;
  for (size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem& item = *items_[i];
    entries.push_back(MenuEntry{static_cast<UINT>(i + 1), item.Caption, item.Enabled, item.Checked, item.Separator});
  }
  IInput& input = platform_.Input();
  highlighted_ = 0;
  platform_.Windows().SetForegroundWindow(window_);
  const UINT chosen = input.ShowPopupMenu(entries, PopupFlags(), x, y, window_);
  input.PostMessageA(window_, WM_NULL, 0, 0);
  if (chosen == 0 || chosen > items_.size()) return false;
  TMenuItem& item = *items_[chosen - 1];
  if (!item.Enabled || item.Separator) return false;
  item.Click();
  return true;
}

}  // namespace ombrix
