#pragma once
// Small text helpers of the simulated layer: Windows compares names without letter case.

#include <string>

namespace ombrix::sim {

inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string UpperText(std::string text) {
  for (char& c : text) c = UpperChar(c);
  return text;
}

inline std::string LowerText(std::string text) {
  for (char& c : text) c = LowerChar(c);
  return text;
}

inline bool SameTextNoCase(const std::string& a, const std::string& b) { return UpperText(a) == UpperText(b); }

}  // namespace ombrix::sim
