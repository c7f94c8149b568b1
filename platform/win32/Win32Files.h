#pragma once
// Files, folders and version resources over the real API.

#include "platform/Files.h"

namespace ombrix::win32 {

class Win32Files : public IFiles {
 public:
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  BOOL DeleteFileA(const std::string& path) override;
  BOOL CreateDirectoryA(const std::string& path) override;
  BOOL RemoveDirectoryA(const std::string& path) override;

  bool ReadFileBytes(const std::string& path, std::string& bytes) override;

  bool WriteFileBytes(const std::string& path, const std::string& bytes) override;

  std::string GetTempPathA() override;

  UINT GetTempFileNameA(const std::string& folder, const std::string& prefix, UINT unique,
                        std::string& fileName) override;

  std::string GetModuleFileNameA() override;

  std::string GetCurrentDirectoryA() override;
  BOOL SetCurrentDirectoryA(const std::string& path) override;

  std::string QueryVersionString(const std::string& path, const std::string& subBlock) override;
};

}  // namespace ombrix::win32
