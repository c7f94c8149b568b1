#pragma once
#include "platform/Registry.h"

namespace ombrix::win32 {

class Win32Registry : public IRegistry {
 public:
  LONG RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) override;
  LONG RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result, DWORD* disposition,
                       DWORD options = REG_OPTION_NON_VOLATILE) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data, DWORD* size) override;
  LONG RegQueryValueA(HKEY key, const std::string& subKey, std::vector<BYTE>* data, DWORD* size) override;
  LONG RegSetValueExA(HKEY key, const std::string& name, DWORD type, const std::vector<BYTE>& data) override;
  LONG RegDeleteValueA(HKEY key, const std::string& name) override;
  LONG RegDeleteKeyA(HKEY parent, const std::string& subKey) override;
  LONG RegEnumKeyExA(HKEY key, DWORD index, DWORD capacity, std::string& name) override;
  LONG RegEnumValueA(HKEY key, DWORD index, DWORD capacity, std::string& name) override;
  LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values, DWORD* maxValueNameLen,
                        DWORD* maxValueLen) override;
  std::string FormatMessageA(LONG error) override;
};

}  // namespace ombrix::win32
