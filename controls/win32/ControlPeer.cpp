#include "controls/win32/ControlPeer.h"

#include "controls/win32/Hints.h"
#include "controls/win32/Look.h"

namespace ombrix::win32 {

const char* const ContainerClass = "OmbrixContainer";

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
  const int copied = ::GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

bool HasStyle(HWND window, DWORD style) {
  return (static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)) & style) != 0;
}

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  if (window && WindowText(window) != text) ::SetWindowTextA(window, text.c_str());
}

void FillList(HWND window, bool combo, const std::vector<std::string>& items) {
  std::size_t bytes = 0;
  for (const std::string& text : items) bytes += text.size() + 1;
  ::SendMessageA(window, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  ::SendMessageA(window, combo ? CB_INITSTORAGE : LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  for (const std::string& text : items) {
    ::SendMessageA(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void ControlPeer::Create(HWND parent, int id) {
  bounds_ = control_.Bounds();
  const DWORD style =
      (control_.Enabled() ? 0 : WS_DISABLED) | (control_.Focusable() && control_.TabStop ? WS_TABSTOP : 0);
  window_ = MakeWindows(parent, id, style);
  font_ = context_.Gdi().FontFor(FontOf(context_.Form(), control_));
  ::SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  context_.Route(window_, this);
  Created(parent);
}

void ControlPeer::Push() {
  Place();
  const bool shown = Shown();
  if (HasStyle(window_, WS_VISIBLE) != shown) ::ShowWindow(window_, shown ? SW_SHOWNA : SW_HIDE);
  if ((::IsWindowEnabled(window_) != FALSE) != control_.Enabled()) {
    ::EnableWindow(window_, control_.Enabled());
    for (HWND item : ItemWindows()) ::EnableWindow(item, control_.Enabled());
  }
  PushFont();
  PushHint();
  PushState();
}

void ControlPeer::Place() {
  if (PlacedByParent() || control_.Bounds() == bounds_) return;
  bounds_ = control_.Bounds();
  const TBounds bounds = WindowBounds();
  const int width = context_.Scale(bounds.Width);
  const int height = context_.Scale(bounds.Height);
  ::MoveWindow(window_, context_.Scale(bounds.Left), context_.Scale(bounds.Top), width, height, TRUE);
  if (HWND frame = Frame()) ::MoveWindow(frame, 0, 0, width, height, TRUE);
}

void ControlPeer::PushFont() {
  HFONT font = context_.Gdi().FontFor(FontOf(context_.Form(), control_));
  if (font == font_) return;
  font_ = font;
  std::vector<HWND> windows = ItemWindows();
  windows.push_back(window_);
  if (HWND frame = Frame()) windows.push_back(frame);
  for (HWND window : windows) ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ControlPeer::PushHint() {
  if (control_.Hint == hint_) return;
  std::vector<HWND> windows = ItemWindows();
  windows.insert(windows.begin(), window_);
  context_.Tooltip().Update(windows, hint_, control_.Hint);
  hint_ = control_.Hint;
}

void ControlPeer::PushCaption(const std::string& extra) {
  SetWindowTextIfChanged(window_, control_.Caption());
  const std::string look = LookOf(context_.Form(), control_) + extra;
  if (look != look_) {
    look_ = look;
    ::InvalidateRect(window_, nullptr, TRUE);
  }
}

std::unique_ptr<ControlPeer> MakePeer(PeerContext& context, TControl& control) {
  switch (control.Kind()) {
    case TControlKind::kEdit:
    case TControlKind::kReadOnlyEdit:
      return MakeEditPeer(context, control);
    case TControlKind::kLabel:
      return MakeLabelPeer(context, control);
    case TControlKind::kLabel3D:
    case TControlKind::kImage:
    case TControlKind::kCaptionStrip:
      return MakeCosmeticPeer(context, control);
    case TControlKind::kButton:
      return MakeButtonPeer(context, control);
    case TControlKind::kCheckBox:
    case TControlKind::kRadioButton:
      return MakeCheckPeer(context, control);
    case TControlKind::kComboBox:
      return MakeComboBoxPeer(context, control);
    case TControlKind::kListBox:
      return MakeListBoxPeer(context, control);
    case TControlKind::kUpDown:
      return MakeUpDownPeer(context, control);
    case TControlKind::kHotKey:
      return MakeHotKeyPeer(context, control);
    case TControlKind::kPageControl:
      return MakePageControlPeer(context, control);
    case TControlKind::kTabSheet:
      return MakeTabSheetPeer(context, control);
    case TControlKind::kGroupBox:
      return MakeGroupBoxPeer(context, control);
    case TControlKind::kRadioGroup:
      return MakeRadioGroupPeer(context, control);
  }
  throw EProgramError(control.Name() + ": no peer for its kind");
}

}  // namespace ombrix::win32
