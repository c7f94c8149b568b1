#pragma once
// Profile (INI) files over the real API.

#include "platform/Profile.h"

namespace ombrix::win32 {

class Win32Profile : public IProfile {
 public:
  DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue,
                                 DWORD size, std::string& out, const std::string& fileName) override;

  std::vector<std::string> GetPrivateProfileSectionA(const std::string& section, const std::string& fileName) override;

  BOOL WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                  const std::optional<std::string>& value, const std::string& fileName) override;
};

}  // namespace ombrix::win32
