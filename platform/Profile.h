#pragma once
// Profile (INI file) service: the two ANSI profile calls the system relies on.

#include <optional>
#include <string>

#include "WinDefs.h"

namespace ombrix {

class IProfile {
 public:
  virtual ~IProfile() = default;

  // GetPrivateProfileStringA for one key: `size` is the buffer capacity in characters
  // including the terminator; the result is the number of characters copied into `out`.
  virtual DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, DWORD size, std::string& out,
                                         const std::string& fileName) = 0;

  // WritePrivateProfileStringA. No key removes the whole section; no value removes the key.
  virtual BOOL WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                          const std::optional<std::string>& value,
                                          const std::string& fileName) = 0;
};

}  // namespace ombrix
