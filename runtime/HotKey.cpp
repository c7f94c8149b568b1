#include "runtime/HotKey.h"

#include "base/NumberText.h"

namespace ombrix {

namespace {

struct TKeyName {
  BYTE Key;
  const char* Name;
};
// The modifiers in the order the hot-key control shows them.
constexpr TKeyName ModifierNames[] = {{HOTKEYF_CONTROL, "Ctrl+"}, {HOTKEYF_SHIFT, "Shift+"}, {HOTKEYF_ALT, "Alt+"}};
// Keys whose name is not their character; the punctuation keys as a US keyboard marks them.
constexpr TKeyName KeyNames[] = {
    {VK_PAUSE, "Pause"},
    {VK_PRIOR, "Page Up"},
    {VK_NEXT, "Page Down"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left"},
    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},
    {VK_SNAPSHOT, "Print Screen"},
    {VK_INSERT, "Insert"},
    {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},
    {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num ."},
    {VK_DIVIDE, "Num /"},
    {VK_NUMLOCK, "Num Lock"},
    {VK_SCROLL, "Scroll Lock"},
    {VK_OEM_1, ";"},
    {VK_OEM_PLUS, "="},
    {VK_OEM_COMMA, ","},
    {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."},
    {VK_OEM_2, "/"},
    {VK_OEM_3, "`"},
    {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},
    {VK_OEM_6, "]"},
    {VK_OEM_7, "'"},
};

}  // namespace

UINT HotKeyModifiers(std::int32_t hotKey) {
  const UINT flags = static_cast<UINT>(hotKey) >> 8;
  return ((flags & HOTKEYF_ALT) ? MOD_ALT : 0) | ((flags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
         ((flags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0);
}

std::string HotKeyText(std::int32_t hotKey) {
  const UINT key = HotKeyKey(hotKey);
  std::string text;
  if (!key) return text;
  for (const TKeyName& modifier : ModifierNames) {
    if ((static_cast<UINT>(hotKey) >> 8) & modifier.Key) text += modifier.Name;
  }
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    text += static_cast<char>(key);
  } else if (key >= VK_F1 && key <= VK_F24) {
    text += 'F';
    text += IntToText(static_cast<std::int32_t>(key - VK_F1 + 1));
  } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    text += "Num ";
    text += static_cast<char>('0' + key - VK_NUMPAD0);
  } else {
    for (const TKeyName& name : KeyNames) {
      if (name.Key == key) return text + name.Name;
    }
    text += "Key ";
    text += IntToText(static_cast<std::int32_t>(key));
  }
  return text;
}

}  // namespace ombrix
