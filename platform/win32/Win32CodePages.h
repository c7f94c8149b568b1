#pragma once
// The code pages over the real API.

#include "platform/CodePages.h"

namespace ombrix::win32 {

// The text of `codePage` in UTF-16, its units' bytes held in a string (as CodePageUtf16Le).
std::string Utf16Bytes(const std::string& text, UINT codePage);

class Win32CodePages : public ICodePages {
 public:
  UINT GetACP() override;
  UINT LegacyCodePage() override;
  std::string ConvertText(const std::string& text, UINT from, UINT to) override;
};

}  // namespace ombrix::win32
