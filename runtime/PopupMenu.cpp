#include "runtime/PopupMenu.h"

namespace ombrix {

void TMenuItem::Click() {
  if (!OnClick) return;
  // A copy: the handler may replace OnClick (or destroy the item).
  auto handler = OnClick;
  handler(*this);
}

TPopupMenu::TPopupMenu(Platform& platform) : platform_(platform) {
  IInput& input = platform_.Input();
  window_ = input.AllocateWindow([&input](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return input.DefWindowProcA(window, message, wParam, lParam);
  });
}

TPopupMenu::~TPopupMenu() {
  if (window_) platform_.Input().DeallocateWindow(window_);
}

TMenuItem& TPopupMenu::Add(const std::string& name, const std::string& caption,
                           std::function<void(TMenuItem&)> onClick) {
  items_.push_back(std::make_unique<TMenuItem>(name, caption));
  items_.back()->OnClick = std::move(onClick);
  return *items_.back();
}

TMenuItem& TPopupMenu::AddSeparator(const std::string& name) {
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
  UINT flags = TrackButton == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON;
  if (Alignment == paRight) flags |= TPM_RIGHTALIGN;
  if (Alignment == paCenter) flags |= TPM_CENTERALIGN;
  return flags;
}

bool TPopupMenu::Popup(int x, int y) {
  std::vector<MenuEntry> entries;
  for (size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem& item = *items_[i];
    entries.push_back(MenuEntry{static_cast<UINT>(i + 1), item.Caption, item.Enabled, item.Checked, item.Separator});
  }
  const UINT chosen = platform_.Input().ShowPopupMenu(entries, PopupFlags(), x, y, window_);
  if (chosen == 0 || chosen > items_.size()) return false;
  TMenuItem& item = *items_[chosen - 1];
  if (!item.Enabled || item.Separator) return false;
  item.Click();
  return true;
}

}  // namespace ombrix
