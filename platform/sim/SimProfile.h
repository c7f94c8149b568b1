#pragma once
// The profile functions over the simulated file system, following Windows' parsing and
// rewriting rules (see the profile contract tests). A file without a byte-order mark is read
// in the program's code page: under UTF-8, bytes of a legacy code page come back as U+FFFD.

#include "platform/Profile.h"
#include "platform/sim/SimCodePages.h"
#include "platform/sim/SimFileSystem.h"

namespace ombrix::sim {

class SimProfile : public IProfile {
 public:
  SimProfile(SimFileSystem& files, const SimCodePages& codePages) : files_(files), codePages_(codePages) {}

  DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue,
                                 DWORD size, std::string& out, const std::string& fileName) override;
  std::vector<std::string> GetPrivateProfileSectionA(const std::string& section, const std::string& fileName) override;
  BOOL WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                  const std::optional<std::string>& value, const std::string& fileName) override;

 private:
  std::string ResolveName(const std::string& fileName) const;
  SimFileSystem& files_;
  const SimCodePages& codePages_;
};

}  // namespace ombrix::sim
