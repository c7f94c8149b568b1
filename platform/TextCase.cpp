#include "platform/TextCase.h"

#include "platform/WinDefs.h"

namespace ombrix {

#ifdef _WIN32

std::string AnsiUpperCase(const std::string& text) {
  std::string upper = text;
  if (!upper.empty()) ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

#else

namespace {

unsigned char UpperWindows1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe ligature
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

}  // namespace

std::string AnsiUpperCase(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(UpperWindows1252(static_cast<unsigned char>(c)));
  return upper;
}

#endif

}  // namespace ombrix
