#pragma once
// The code pages of the simulated desktop: a Western system (legacy code page Windows-1252)
// whose program runs in 1252 until a test gives it UTF-8, as the manifest's entry does. The
// other simulated services read the active code page from here to behave as Windows does in
// it.

#include <string>

#include "platform/CodePages.h"

namespace ombrix::sim {

class SimCodePages : public ICodePages {
 public:
  UINT GetACP() override { return active_; }
  UINT LegacyCodePage() override { return CodePageWindows1252; }
  // Knows Windows-1252, UTF-8 and, as a target, UTF-16LE; any other code page gives "".
  std::string ConvertText(const std::string& text, UINT from, UINT to) override { return Convert(text, from, to); }

  // The program's code page: CP_UTF8 as with the manifest's entry honoured, or 1252.
  void SetActiveCodePage(UINT codePage) { active_ = codePage; }
  UINT Active() const { return active_; }
  bool Utf8() const { return active_ == CP_UTF8; }
  std::string Convert(const std::string& text, UINT from, UINT to) const;
  // A text of the active code page as the system keeps it inside (UTF-16) and gives it back:
  // under UTF-8, bytes that are no character come back as U+FFFD.
  std::string Reencoded(const std::string& text) const { return Convert(text, CP_ACP, CP_ACP); }
  // A text cut to a buffer of `maxBytes` as the ...A calls cut it: under UTF-8 on a whole
  // character, in a one-byte code page anywhere.
  std::string Cut(const std::string& text, std::size_t maxBytes) const;
  // The characters of a text once converted to UTF-16, as the system counts them.
  std::size_t Characters(const std::string& text) const;
  // Upper case as CharUpperBuffA makes it in the active code page.
  std::string Upper(const std::string& text) const;
  // The characters of a text of the active code page (Unicode code points).
  std::u32string Decode(const std::string& text) const { return Decode(text, active_); }

  // The simulated services made on their own (outside a simulated desktop) run in 1252.
  static const SimCodePages& Western();

 private:
  std::u32string Decode(const std::string& text, UINT codePage) const;
  static std::string Encode(const std::u32string& characters, UINT codePage);

  UINT active_ = CodePageWindows1252;
};

}  // namespace ombrix::sim
