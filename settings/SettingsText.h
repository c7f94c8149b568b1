#pragma once
// Small text helpers shared by the settings store: the messages' "%s" substitution and the
// letter-case folding the searches use.

#include <cstdint>
#include <string>

namespace ombrix {

// The pattern with its first "%s" replaced by `argument` (the argument is never parsed).
inline std::string FormatText(const std::string& pattern, const std::string& argument) {
  const std::string::size_type at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + argument + pattern.substr(at + 2);
}

// Lower case for the letters A to Z only: the searches compare this way whatever the code
// page, so bytes above 127 are left as they are.
inline std::string LowerLettersAZ(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// A decimal number with an optional sign and nothing else around it, within 32 bits.
inline bool ParseDecimalInt32(const std::string& text, std::int32_t& value) {
  std::string::size_type at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  if (at == text.size()) return false;
  long long number = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    number = number * 10 + (text[at] - '0');
    if (number > 2147483648LL) return false;
  }
  if (negative) number = -number;
  if (number > 2147483647LL) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

}  // namespace ombrix
