#include "base/Utf8.h"

namespace ombrix {

std::size_t Utf8CharacterLength(const std::string& text, std::size_t at) {
  if (at >= text.size()) return 0;
  const auto byte = [&](std::size_t index) {
    return index < text.size() ? static_cast<unsigned char>(text[index]) : 0u;
  };
  const unsigned lead = byte(at);
  if (lead < 0x80) return 1;
  // The lead byte gives the length and the first bits; 0x80 to 0xC1 and 0xF5 up start no
  // character (a continuation byte, or a form that is overlong or too large from the start).
  if (lead < 0xC2 || lead > 0xF4) return 0;
  const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  char32_t code = lead & (0x7F >> length);
  for (std::size_t index = at + 1; index < at + length; ++index) {
    if ((byte(index) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(index) & 0x3F);
  }
  // Overlong forms, UTF-16's surrogates and code points beyond U+10FFFF are no characters.
  if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

bool IsUtf8(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharacterLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::size_t CharacterCount(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharacterLength(text, at);
    count += length == 4 ? 2 : 1;
    at += length == 0 ? 1 : length;
  }
  return count;
}

std::string CutText(const std::string& text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = Utf8CharacterLength(text, end);
    const std::size_t next = end + (length == 0 ? 1 : length);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace ombrix
