#pragma once
// The profile functions over the simulated file system, following Windows' parsing and
// rewriting rules (see the profile contract tests).

#include "platform/Profile.h"
#include "platform/sim/SimFileSystem.h"

namespace ombrix::sim {

class SimProfile : public IProfile {
 public:
  explicit SimProfile(SimFileSystem& files) : files_(files) {}

  DWORD GetPrivateProfileStringA(const std::string& section, const std::string& key, const std::string& defaultValue,
                                 DWORD size, std::string& out, const std::string& fileName) override;
  std::vector<std::string> GetPrivateProfileSectionA(const std::string& section,
                                                     const std::string& fileName) override;
  BOOL WritePrivateProfileStringA(const std::string& section, const std::optional<std::string>& key,
                                  const std::optional<std::string>& value, const std::string& fileName) override;

 private:
  std::string ResolveName(const std::string& fileName) const;
  SimFileSystem& files_;
};

}  // namespace ombrix::sim
