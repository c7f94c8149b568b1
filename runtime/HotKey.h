#pragma once
// A hot key as the hot-key control gives it and the settings keep it: the virtual key in
// the low byte, the HOTKEYF_ modifier flags in the next; no key is no hot key.

#include <cstdint>
#include <string>

#include "platform/WinDefs.h"

namespace ombrix {

inline UINT HotKeyKey(std::int32_t hotKey) { return static_cast<UINT>(hotKey) & 0xFF; }
// The MOD_ flags of its modifiers, as RegisterHotKey takes them.
UINT HotKeyModifiers(std::int32_t hotKey);
// As a person reads it: "Ctrl+Alt+N", "Shift+F5"; "" for none.
std::string HotKeyText(std::int32_t hotKey);

}  // namespace ombrix
