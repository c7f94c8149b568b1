#include "platform/sim/SimCodePages.h"

#include "base/Utf8.h"

namespace ombrix::sim {

namespace {

// Windows-1252's characters for 0x80 to 0x9F; the five it leaves undefined map to the control
// characters of the same number, as MultiByteToWideChar maps them.
const char32_t Windows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
constexpr char32_t Replacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AppendUtf16Le(std::string& out, char32_t code) {
  const auto unit = [&](char32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
  };
  if (code < 0x10000) {
    unit(code);
  } else {
    unit(0xD800 + ((code - 0x10000) >> 10));
    unit(0xDC00 + ((code - 0x10000) & 0x3FF));
  }
}

char Windows1252Byte(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int index = 0; index < 32; ++index) {
    if (Windows1252High[index] == code) return static_cast<char>(0x80 + index);
  }
  return '?';
}

char32_t UpperCharacter(char32_t code) {
  if ((code >= 'a' && code <= 'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7)) return code - 0x20;
  if (code == 0xFF) return 0x178;
  if (code == 0x153 || code == 0x161 || code == 0x17E) return code - 1;  // oe, s and z with caron
  if (code == 0x3C2) return 0x3A3;                                       // final sigma
  if ((code >= 0x3B1 && code <= 0x3C9) || (code >= 0x430 && code <= 0x44F)) return code - 0x20;  // Greek, Cyrillic
  if (code >= 0x450 && code <= 0x45F) return code - 0x50;
  return code;
}

}  // namespace

std::u32string SimCodePages::Decode(const std::string& text, UINT codePage) const {
  if (codePage == CP_ACP) codePage = active_;
  std::u32string characters;
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (codePage != CP_UTF8) {
      characters += byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char32_t{byte};
      ++at;
      continue;
    }
    const std::size_t length = Utf8CharacterLength(text, at);
    if (length == 0) {
      characters += Replacement;
      ++at;
      continue;
    }
    char32_t code = length == 1 ? byte : byte & (0x7F >> length);
    for (std::size_t index = at + 1; index < at + length; ++index) code = code << 6 | (text[index] & 0x3F);
    characters += code;
    at += length;
  }
  return characters;
}

std::string SimCodePages::Encode(const std::u32string& characters, UINT codePage) {
  std::string out;
  for (char32_t code : characters) {
    if (codePage == CP_UTF8) {
      AppendUtf8(out, code);
    } else if (codePage == CodePageUtf16Le) {
      AppendUtf16Le(out, code);
    } else {
      out += Windows1252Byte(code);
    }
  }
  return out;
}

std::string SimCodePages::Convert(const std::string& text, UINT from, UINT to) const {
  const auto known = [this](UINT& codePage) {
    if (codePage == CP_ACP) codePage = active_;
    return codePage == CP_UTF8 || codePage == CodePageWindows1252;
  };
  if (!known(from) || (!known(to) && to != CodePageUtf16Le)) return "";
  return Encode(Decode(text, from), to);
}

std::string SimCodePages::Cut(const std::string& text, std::size_t maxBytes) const {
  return Utf8() ? CutText(text, maxBytes) : text.substr(0, maxBytes);
}

std::size_t SimCodePages::Characters(const std::string& text) const {
  return Utf8() ? Convert(text, CP_UTF8, CodePageUtf16Le).size() / 2 : text.size();
}

std::string SimCodePages::Upper(const std::string& text) const {
  std::u32string characters = Decode(text);
  for (char32_t& code : characters) code = UpperCharacter(code);
  return Encode(characters, active_);
}

const SimCodePages& SimCodePages::Western() {
  static const SimCodePages western;
  return western;
}

}  // namespace ombrix::sim
