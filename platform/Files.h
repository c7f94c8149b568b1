#pragma once
// Files service: the file system as the programs see it, and version resources.

#include <string>

#include "WinDefs.h"

namespace ombrix {

class IFiles {
 public:
  virtual ~IFiles() = default;

  // True for an existing file; a folder does not count.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  virtual BOOL DeleteFileA(const std::string& path) = 0;
  virtual BOOL CreateDirectoryA(const std::string& path) = 0;
  virtual BOOL RemoveDirectoryA(const std::string& path) = 0;

  // Whole-file reads and writes (bytes, no translation). Writing replaces the file.
  virtual bool ReadFileBytes(const std::string& path, std::string& bytes) = 0;
  virtual bool WriteFileBytes(const std::string& path, const std::string& bytes) = 0;

  // GetTempPathA: the temporary folder, ending with a backslash.
  virtual std::string GetTempPathA() = 0;
  // GetTempFileNameA: with `unique` 0 creates an empty file with a new name and returns the
  // number used; 0 on failure.
  virtual UINT GetTempFileNameA(const std::string& folder, const std::string& prefix, UINT unique,
                                std::string& fileName) = 0;

  // The running program's own file (GetModuleFileNameA of the executable).
  virtual std::string GetModuleFileNameA() = 0;
  virtual std::string GetCurrentDirectoryA() = 0;
  virtual BOOL SetCurrentDirectoryA(const std::string& path) = 0;

  // GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA for one string value,
  // e.g. "\\StringFileInfo\\040904E4\\FileVersion". Empty when the file has no version
  // resource or no such value.
  virtual std::string QueryVersionString(const std::string& path, const std::string& subBlock) = 0;
};

}  // namespace ombrix
