#pragma once
// Code pages: the one the program's ...A calls speak, the one the system spoke before a program
// could choose UTF-8, and conversions between them.

#include <string>

#include "WinDefs.h"

namespace ombrix {

// Code page identifiers the system uses beside CP_ACP and CP_UTF8.
constexpr UINT CodePageWindows1252 = 1252;
// UTF-16 little-endian; only ever converted to, as the bytes themselves.
constexpr UINT CodePageUtf16Le = 1200;

class ICodePages {
 public:
  virtual ~ICodePages() = default;

  // GetACP: the code page of every ...A call of this program. CP_UTF8 where the system honours
  // the manifest's activeCodePage entry (Windows 10 1903 and later, wine 8); the system's ANSI
  // code page where it does not (Windows 7 and 8).
  virtual UINT GetACP() = 0;
  // The system's ANSI code page whatever the manifest says (the system locale's default): the
  // code page of programs without the entry, earlier versions of these among them.
  virtual UINT LegacyCodePage() = 0;
  // MultiByteToWideChar from `from`, then WideCharToMultiByte into `to`, or the UTF-16 bytes
  // themselves for CodePageUtf16Le. CP_ACP stands for GetACP's code page. Bytes that are no
  // character of `from` become U+FFFD, characters `to` lacks its default character.
  virtual std::string ConvertText(const std::string& text, UINT from, UINT to) = 0;
};

}  // namespace ombrix
