#include "controls/win32/Hints.h"

#include <commctrl.h>

namespace ombrix::win32 {

void Hints::Create(HWND form) {
  tooltip_ = OwnedWindow(::CreateWindowExA(
      WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, ::GetModuleHandleA(nullptr), nullptr));
  if (tooltip_.Get()) ::SendMessageA(tooltip_.Get(), TTM_ACTIVATE, FALSE, 0);
}

void Hints::Show(bool shown) {
  if (!tooltip_.Get() || shown == shown_) return;
  shown_ = shown;
  ::SendMessageA(tooltip_.Get(), TTM_ACTIVATE, shown ? TRUE : FALSE, 0);
}

void Hints::Update(const std::vector<HWND>& windows, const std::string& before, const std::string& after) {
  if (!tooltip_.Get() || before == after) return;
  for (HWND window : windows) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(window);
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    std::string text = after;
    tool.lpszText = &text[0];
    UINT message = TTM_UPDATETIPTEXTA;
    if (after.empty()) {
      message = TTM_DELTOOLA;
    } else if (before.empty()) {
      message = TTM_ADDTOOLA;
    }
    ::SendMessageA(tooltip_.Get(), message, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace ombrix::win32
