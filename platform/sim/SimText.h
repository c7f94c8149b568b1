#pragma once
// Small text helpers of the simulated layer: Windows compares names without letter case.

#include <string>

#include "base/AsciiCase.h"

namespace ombrix::sim {

inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string LowerText(std::string text) {
  for (char& c : text) c = LowerChar(c);
  return text;
}

inline bool SameTextNoCase(const std::string& a, const std::string& b) {
  return AsciiUpperCase(a) == AsciiUpperCase(b);
}

}  // namespace ombrix::sim
