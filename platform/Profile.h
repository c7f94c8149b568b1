#pragma once
// Profile (INI file) service: the ANSI profile calls the system relies on.

#include <optional>
#include <string>
#include <vector>

#include "WinDefs.h"

namespace ombrix {

class IProfile {
 public:
  virtual ~IProfile() = default;

  // GetPrivateProfileStringA for one key: `size` is the buffer capacity in bytes including
  // the terminator; the result is the number of bytes copied into `out`. A text cut to the
  // buffer ends on a whole character of the program's code page.
  virtual DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, DWORD size, std::string& out,
                                         const std::string& fileName) = 0;

  // GetPrivateProfileSectionA, the whole section however long: its lines in file order as
  // the call lists them ("name=value" with blanks trimmed around both and quotes kept, a line
  // without '=' as its trimmed text; comments and empty lines left out). Only the first
  // section of that name counts, as for the key read; none (or no file) gives no lines.
  virtual std::vector<std::string> GetPrivateProfileSectionA(const std::string& section,
                                                             const std::string& fileName) = 0;

  // WritePrivateProfileStringA. No key removes the whole section; no value removes the key.
  virtual BOOL WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                          const std::optional<std::string>& value, const std::string& fileName) = 0;
};

}  // namespace ombrix
