#include "platform/win32/Win32CodePages.h"

namespace ombrix::win32 {

UINT Win32CodePages::GetACP() { return ::GetACP(); }

UINT Win32CodePages::LegacyCodePage() {
  DWORD codePage = 0;
  ::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR));
  return codePage;
}

std::string Utf16Bytes(const std::string& text, UINT codePage) {
  const int length = static_cast<int>(text.size());
  const int units = length > 0 ? ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0) : 0;
  // The UTF-16 text is kept in a byte string: it is what CodePageUtf16Le asks for.
  std::string wide(static_cast<size_t>(units) * sizeof(WCHAR), '\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), length, reinterpret_cast<LPWSTR>(&wide[0]), units);
  return wide;
}

std::string Win32CodePages::ConvertText(const std::string& text, UINT from, UINT to) {
  const std::string wide = Utf16Bytes(text, from);
  if (to == CodePageUtf16Le) return wide;
  const LPCWSTR characters = reinterpret_cast<LPCWSTR>(wide.data());
  const int units = static_cast<int>(wide.size() / sizeof(WCHAR));
  const int size = units > 0 ? ::WideCharToMultiByte(to, 0, characters, units, nullptr, 0, nullptr, nullptr) : 0;
  std::string converted(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(to, 0, characters, units, &converted[0], size, nullptr, nullptr);
  return converted;
}

}  // namespace ombrix::win32
