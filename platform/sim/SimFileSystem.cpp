#include "platform/sim/SimFileSystem.h"

#include <cstdio>
#include <vector>

#include "base/AsciiCase.h"

namespace ombrix::sim {

SimFileSystem::SimFileSystem() {
  for (const char* folder : {"C:\\", "C:\\WINDOWS", "C:\\TEMP", "C:\\Program Files", "C:\\Program Files\\Ombrix"}) {
    directories_.insert(KeyOf(folder));
  }
}

std::string SimFileSystem::FullPath(const std::string& path) const {
  std::string text = path;
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  std::string drive;
  std::string rest;
  if (text.size() >= 2 && text[1] == ':') {
    drive = text.substr(0, 2);
    rest = text.substr(2);
    if (rest.empty() || rest[0] != '\\') rest = currentDirectory_.substr(2) + "\\" + rest;
  } else if (!text.empty() && text[0] == '\\') {
    drive = currentDirectory_.substr(0, 2);
    rest = text;
  } else {
    drive = currentDirectory_.substr(0, 2);
    rest = currentDirectory_.substr(2) + "\\" + text;
  }
  std::vector<std::string> parts;
  std::string piece;
  auto flush = [&] {
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    piece.clear();
  };
  for (char c : rest) {
    if (c == '\\') {
      flush();
    } else {
      piece += c;
    }
  }
  flush();
  std::string full = AsciiUpperCase(drive) + "\\";
  for (size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  return full;
}

std::string SimFileSystem::KeyOf(const std::string& fullPath) const {
  std::string key = AsciiUpperCase(fullPath);
  if (!wow64View_) return key;
  // WOW64's file system redirector: a 32-bit program that names the Windows folder's
  // System32 reaches SysWOW64, where the 32-bit system files are, and reaches the real
  // System32 only as Sysnative, a name that exists in its view alone. (A few subfolders of
  // System32, such as drivers\etc and spool, are not redirected; nothing here reads them.)
  const auto redirect = [&key](const std::string& from, const std::string& to) {
    if (key.compare(0, from.size(), from) != 0) return false;
    if (key.size() > from.size() && key[from.size()] != '\\') return false;
    key = to + key.substr(from.size());
    return true;
  };
  if (!redirect("C:\\WINDOWS\\SYSTEM32", "C:\\WINDOWS\\SYSWOW64"))
    redirect("C:\\WINDOWS\\SYSNATIVE", "C:\\WINDOWS\\SYSTEM32");
  return key;
}

std::string SimFileSystem::ParentOf(const std::string& fullPath) {
  size_t slash = fullPath.find_last_of('\\');
  if (slash == std::string::npos) return "";
  if (slash <= 2) return fullPath.substr(0, 3);
  return fullPath.substr(0, slash);
}

bool SimFileSystem::Fail(LONG error) {
  lastError_ = error;
  return false;
}

bool SimFileSystem::Writable(const std::string& fullPath, bool replacing) {
  const std::string key = KeyOf(fullPath);
  if (directories_.count(key)) return Fail(ERROR_ACCESS_DENIED);
  if (!directories_.count(KeyOf(ParentOf(fullPath)))) return Fail(ERROR_PATH_NOT_FOUND);
  if (readOnly_.count(KeyOf(ParentOf(fullPath))) && !files_.count(key)) return Fail(ERROR_ACCESS_DENIED);
  if (replacing && readOnly_.count(key)) return Fail(ERROR_ACCESS_DENIED);
  return true;
}

bool SimFileSystem::FileExists(const std::string& path) {
  return !path.empty() && files_.count(KeyOf(FullPath(path))) > 0;
}

bool SimFileSystem::DirectoryExists(const std::string& path) {
  return !path.empty() && directories_.count(KeyOf(FullPath(path))) > 0;
}

BOOL SimFileSystem::DeleteFileA(const std::string& path) {
  const std::string full = FullPath(path);
  auto it = files_.find(KeyOf(full));
  if (path.empty() || it == files_.end()) return Fail(ERROR_FILE_NOT_FOUND);
  if (readOnly_.count(KeyOf(full)) || readOnly_.count(KeyOf(ParentOf(full)))) return Fail(ERROR_ACCESS_DENIED);
  // On NTFS a file's named streams ("file:stream", such as the download mark
  // "file:Zone.Identifier") are part of it and go with it.
  const std::string key = it->first;
  files_.erase(it);
  files_.erase(files_.lower_bound(key + ":"), files_.lower_bound(key + ";"));
  return TRUE;
}

BOOL SimFileSystem::CreateDirectoryA(const std::string& path) {
  const std::string full = FullPath(path);
  const std::string key = KeyOf(full);
  if (directories_.count(key) || files_.count(key)) return Fail(ERROR_ALREADY_EXISTS);
  if (!directories_.count(KeyOf(ParentOf(full)))) return Fail(ERROR_PATH_NOT_FOUND);
  if (readOnly_.count(KeyOf(ParentOf(full)))) return Fail(ERROR_ACCESS_DENIED);
  directories_.insert(key);
  return TRUE;
}

BOOL SimFileSystem::RemoveDirectoryA(const std::string& path) {
  const std::string key = KeyOf(FullPath(path));
  if (!directories_.count(key)) return Fail(ERROR_FILE_NOT_FOUND);
  const std::string prefix = key + "\\";
  for (const auto& file : files_) {
    if (file.first.compare(0, prefix.size(), prefix) == 0) return Fail(ERROR_ACCESS_DENIED);
  }
  for (const auto& folder : directories_) {
    if (folder.compare(0, prefix.size(), prefix) == 0) return Fail(ERROR_ACCESS_DENIED);
  }
  directories_.erase(key);
  return TRUE;
}

bool SimFileSystem::ReadFileBytes(const std::string& path, std::string& bytes) {
  auto it = files_.find(KeyOf(FullPath(path)));
  if (path.empty() || it == files_.end()) return Fail(ERROR_FILE_NOT_FOUND);
  bytes = it->second.bytes;
  return true;
}

bool SimFileSystem::WriteFileBytes(const std::string& path, const std::string& bytes) {
  if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  const std::string full = FullPath(path);
  if (!Writable(full, true)) return false;
  files_[KeyOf(full)].bytes = bytes;
  return true;
}

std::string SimFileSystem::GetTempPathA() { return "C:\\TEMP\\"; }

UINT SimFileSystem::GetTempFileNameA(const std::string& folder, const std::string& prefix, UINT unique,
                                     std::string& fileName) {
  std::string base = FullPath(folder);
  if (!DirectoryExists(base)) {
    Fail(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  if (base.back() != '\\') base += '\\';
  const std::string stem = base + prefix.substr(0, 3);
  auto nameFor = [&](UINT number) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", number & 0xFFFF);
    return stem + hex + ".TMP";
  };
  if (unique != 0) {
    fileName = nameFor(unique);
    return unique & 0xFFFF;
  }
  for (UINT number = 1; number <= 0xFFFF; ++number) {
    if (!FileExists(nameFor(number))) {
      fileName = nameFor(number);
      if (!WriteFileBytes(fileName, "")) return 0;
      return number;
    }
  }
  Fail(ERROR_FILE_EXISTS);
  return 0;
}

std::string SimFileSystem::GetModuleFileNameA() { return moduleFileName_; }

std::string SimFileSystem::GetCurrentDirectoryA() { return currentDirectory_; }

BOOL SimFileSystem::SetCurrentDirectoryA(const std::string& path) {
  if (path.empty() || !DirectoryExists(path)) return Fail(ERROR_PATH_NOT_FOUND);
  currentDirectory_ = FullPath(path);
  return TRUE;
}

std::string SimFileSystem::QueryVersionString(const std::string& path, const std::string& subBlock) {
  auto file = versions_.find(KeyOf(FullPath(path)));
  if (file == versions_.end() || !FileExists(path)) return "";
  auto value = file->second.find(AsciiUpperCase(subBlock));
  return value == file->second.end() ? "" : value->second;
}

void SimFileSystem::MakeDirectories(const std::string& path) {
  const std::string full = FullPath(path);
  std::string partial;
  size_t start = 0;
  while (start <= full.size()) {
    size_t slash = full.find('\\', start);
    partial = full.substr(0, slash == std::string::npos ? full.size() : slash);
    if (partial.size() > 2) directories_.insert(KeyOf(partial));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
}

void SimFileSystem::SetReadOnly(const std::string& path, bool readOnly) {
  const std::string key = KeyOf(FullPath(path));
  if (readOnly) {
    readOnly_.insert(key);
  } else {
    readOnly_.erase(key);
  }
}

void SimFileSystem::SetVersionString(const std::string& path, const std::string& subBlock, const std::string& value) {
  versions_[KeyOf(FullPath(path))][AsciiUpperCase(subBlock)] = value;
}

}  // namespace ombrix::sim
