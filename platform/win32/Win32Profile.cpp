#include "platform/win32/Win32Profile.h"

#include <vector>

namespace ombrix::win32 {

namespace {

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

DWORD Win32Profile::GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                             const std::string& defaultValue, DWORD size, std::string& out,
                                             const std::string& fileName) {
  std::vector<char> buffer(size + 1, '\0');
  DWORD copied = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(), size,
                                            fileName.c_str());
  if (size > 0) out.assign(buffer.data(), copied);
  return copied;
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
