#pragma once
// A file system keyed by Windows paths: case-insensitive, drive-rooted, with read-only
// files and folders, a current folder, and version resources per file.

#include <map>
#include <set>
#include <string>

#include "platform/Files.h"

namespace ombrix::sim {

class SimFileSystem : public IFiles {
 public:
  SimFileSystem();

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

  // The last error of a failed call, as GetLastError would report it.
  LONG LastError() const { return lastError_; }

  // Full, normalised form of a path (backslashes, no "." or "..", drive-rooted).
  std::string FullPath(const std::string& path) const;
  // Which file a path reaches in the program's view (letter case and WOW64's redirection
  // taken into account): two paths to the same file give the same text.
  std::string FileKey(const std::string& path) const { return KeyOf(FullPath(path)); }
  // The Windows directory, where the profile functions look up names without a folder.
  std::string WindowsDirectory() const { return "C:\\WINDOWS"; }

  // Test controls.
  void MakeDirectories(const std::string& path);  // with every missing parent
  void SetReadOnly(const std::string& path, bool readOnly);
  void SetModuleFileName(const std::string& path) { moduleFileName_ = path; }
  void SetVersionString(const std::string& path, const std::string& subBlock, const std::string& value);
  // The program sees the files as a 32-bit program on 64-bit Windows does (WOW64's view).
  void SetWow64View(bool wow64) { wow64View_ = wow64; }

 private:
  struct File {
    std::string bytes;
  };
  std::string KeyOf(const std::string& fullPath) const;
  static std::string ParentOf(const std::string& fullPath);
  bool Fail(LONG error);
  bool Writable(const std::string& fullPath, bool replacing);

  // A file's named streams ("C:\\Docs\\Help.chm:Zone.Identifier") are read and written
  // under their own names, as on NTFS, and deleted with the file.
  std::map<std::string, File> files_;
  std::set<std::string> directories_;
  std::set<std::string> readOnly_;
  std::map<std::string, std::map<std::string, std::string>> versions_;
  std::string currentDirectory_ = "C:\\";
  std::string moduleFileName_ = "C:\\Program Files\\Ombrix\\Ombrix.exe";
  LONG lastError_ = 0;
  bool wow64View_ = false;
};

}  // namespace ombrix::sim
