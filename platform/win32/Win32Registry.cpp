#include "platform/win32/Win32Registry.h"

namespace ombrix::win32 {

LONG Win32Registry::RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) {
  result = nullptr;
  return ::RegOpenKeyExA(parent, subKey.c_str(), 0, access, &result);
}

LONG Win32Registry::RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result,
                                    DWORD* disposition, DWORD options) {
  result = nullptr;
  return ::RegCreateKeyExA(parent, subKey.c_str(), 0, nullptr, options, access, nullptr, &result, disposition);
}

LONG Win32Registry::RegCloseKey(HKEY key) { return ::RegCloseKey(key); }

LONG Win32Registry::RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data,
                                     DWORD* size) {
  DWORD capacity = data ? static_cast<DWORD>(data->size()) : 0;
  LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, type, data ? data->data() : nullptr, &capacity);
  if (size) *size = capacity;
  return result;
}

LONG Win32Registry::RegQueryValueA(HKEY key, const std::string& subKey, std::vector<BYTE>* data, DWORD* size) {
  LONG capacity = data ? static_cast<LONG>(data->size()) : 0;
  LONG result =
      ::RegQueryValueA(key, subKey.c_str(), data ? reinterpret_cast<LPSTR>(data->data()) : nullptr, &capacity);
  if (size) *size = static_cast<DWORD>(capacity);
  return result;
}

LONG Win32Registry::RegSetValueExA(HKEY key, const std::string& name, DWORD type, const std::vector<BYTE>& data) {
  // Windows adds a terminator to a string whose next byte happens to be NUL; a non-NUL
  // byte after the data makes the call store exactly what it was given.
  std::vector<BYTE> buffer(data);
  buffer.push_back(0xFF);
  return ::RegSetValueExA(key, name.c_str(), 0, type, buffer.data(), static_cast<DWORD>(data.size()));
}

LONG Win32Registry::RegDeleteValueA(HKEY key, const std::string& name) { return ::RegDeleteValueA(key, name.c_str()); }

LONG Win32Registry::RegDeleteKeyA(HKEY parent, const std::string& subKey) {
  return ::RegDeleteKeyA(parent, subKey.c_str());
}

LONG Win32Registry::RegEnumKeyExA(HKEY key, DWORD index, DWORD capacity, std::string& name) {
  std::string buffer(capacity + 1, '\0');
  DWORD length = capacity;
  LONG result = ::RegEnumKeyExA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) name.assign(buffer.data(), length);
  return result;
}

LONG Win32Registry::RegEnumValueA(HKEY key, DWORD index, DWORD capacity, std::string& name) {
  std::string buffer(capacity + 1, '\0');
  DWORD length = capacity;
  LONG result = ::RegEnumValueA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) name.assign(buffer.data(), length);
  return result;
}

LONG Win32Registry::RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values,
                                     DWORD* maxValueNameLen, DWORD* maxValueLen) {
  return ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, subKeys, maxSubKeyLen, nullptr, values, maxValueNameLen,
                            maxValueLen, nullptr, nullptr);
}

std::string Win32Registry::FormatMessageA(LONG error) {
  LPSTR buffer = nullptr;
  const DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text = length > 0 && buffer ? std::string(buffer, length) : std::string();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace ombrix::win32
