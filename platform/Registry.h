#pragma once
// Registry service: the ANSI registry calls, with Win32's result codes and capacities.

#include <string>
#include <vector>

#include "WinDefs.h"

namespace ombrix {

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // RegOpenKeyExA. On failure `result` is set to nullptr.
  virtual LONG RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) = 0;
  // RegCreateKeyExA; creates missing intermediate keys, all with `options`. A key made with
  // REG_OPTION_VOLATILE lives until its hive is unloaded (HKEY_CURRENT_USER: at log-off), and
  // every key below it must be volatile too (ERROR_CHILD_MUST_BE_VOLATILE otherwise).
  virtual LONG RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result, DWORD* disposition,
                               DWORD options = REG_OPTION_NON_VOLATILE) = 0;
  virtual LONG RegCloseKey(HKEY key) = 0;

  // RegQueryValueExA. `data` null means "no buffer" (only type and size are asked). Otherwise
  // data->size() is the capacity offered (cbData in); the bytes are copied into the front of
  // it, a string gaining a terminating NUL only when there is room, and the vector keeps its
  // size. `size` receives the stored size (or the size required, with ERROR_MORE_DATA).
  // An empty name means the default (unnamed) value.
  virtual LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data,
                                DWORD* size) = 0;
  // RegQueryValueA: the default value of `subKey` below `key` (of `key` itself when empty),
  // opened, read and closed in one call. `data` and `size` as in RegQueryValueExA; a key
  // without a default value reads as an empty string (size 1). The value's type is not
  // reported and REG_EXPAND_SZ comes unexpanded. A missing key gives ERROR_FILE_NOT_FOUND.
  virtual LONG RegQueryValueA(HKEY key, const std::string& subKey, std::vector<BYTE>* data, DWORD* size) = 0;
  // RegSetValueExA storing exactly the given bytes (cbData = data.size()).
  virtual LONG RegSetValueExA(HKEY key, const std::string& name, DWORD type, const std::vector<BYTE>& data) = 0;
  virtual LONG RegDeleteValueA(HKEY key, const std::string& name) = 0;
  // RegDeleteKeyA: the key must have no subkeys (ERROR_ACCESS_DENIED otherwise).
  virtual LONG RegDeleteKeyA(HKEY parent, const std::string& subKey) = 0;

  // RegEnumKeyExA / RegEnumValueA: `capacity` is the name buffer in characters including the
  // terminator; ERROR_MORE_DATA when the name does not fit, ERROR_NO_MORE_ITEMS past the end.
  virtual LONG RegEnumKeyExA(HKEY key, DWORD index, DWORD capacity, std::string& name) = 0;
  virtual LONG RegEnumValueA(HKEY key, DWORD index, DWORD capacity, std::string& name) = 0;

  // RegQueryInfoKeyA: counts and longest name lengths (without terminators); any pointer may
  // be null.
  virtual LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values, DWORD* maxValueNameLen,
                                DWORD* maxValueLen) = 0;

  // FormatMessageA from the system's message table for a result code of these calls: the
  // system's own words for it, without the line break that ends them; "" when the system
  // has no text for the code.
  virtual std::string FormatMessageA(LONG error) = 0;
};

}  // namespace ombrix
