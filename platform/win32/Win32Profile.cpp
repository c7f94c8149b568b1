#include "platform/win32/Win32Profile.h"

#include <vector>

#include "base/Utf8.h"

namespace ombrix::win32 {

namespace {

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

DWORD Win32Profile::GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                             const std::string& defaultValue, DWORD size, std::string& out,
                                             const std::string& fileName) {
  if (size == 0) return 0;
  // Asked with room for a character more, and cut to the size here on a whole character:
  // the call's own cut of a UTF-8 text leaves whole characters, then stale bytes up to the
  // terminator it puts last, and answers the count up to that terminator (wine 8).
  std::vector<char> buffer(size + Utf8CharacterRoom + 1, '\0');
  ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                             size + static_cast<DWORD>(Utf8CharacterRoom), fileName.c_str());
  out = CutText(buffer.data(), size - 1);
  return static_cast<DWORD>(out.size());
}

std::vector<std::string> Win32Profile::GetPrivateProfileSectionA(const std::string& section,
                                                                 const std::string& fileName) {
  // The call says only that the buffer was too small (size - 2 copied): ask again with more.
  std::vector<char> buffer(32768, '\0');
  DWORD copied = 0;
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    copied = ::GetPrivateProfileSectionA(section.c_str(), buffer.data(), size, fileName.c_str());
    if (copied + 2 < size) break;
    buffer.assign(buffer.size() * 2, '\0');
  }
  std::vector<std::string> lines;
  for (DWORD start = 0; start < copied;) {
    const std::string line(buffer.data() + start);
    lines.push_back(line);
    start += static_cast<DWORD>(line.size()) + 1;
  }
  return lines;
}

BOOL Win32Profile::WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                              const std::optional<std::string>& value, const std::string& fileName) {
  return ::WritePrivateProfileStringA(section.c_str(), OrNull(key), OrNull(value), fileName.c_str());
}

}  // namespace ombrix::win32
