#pragma once
// Upper case for the letters a to z alone, every other byte as it is: for names whose letter
// case the system ignores only in ASCII (INI and registry names as the programs cache them,
// shortcut extensions, mnemonics, the simulated desktop's names). Texts a user compares in the
// locale are upper-cased by the system instead (IWindowOps::CharUpperBuffA).

#include <string>

namespace ombrix {

constexpr char AsciiUpperCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiUpperCase(std::string text) {
  for (char& c : text) c = AsciiUpperCase(c);
  return text;
}

}  // namespace ombrix
