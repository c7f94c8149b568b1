#include "platform/win32/Win32Files.h"

#include <vector>

#include "platform/MiscUtils.h"

namespace ombrix::win32 {

namespace {

// Owns a kernel handle; closes it once.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (Valid()) ::CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool Win32Files::FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Files::DirectoryExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL Win32Files::DeleteFileA(const std::string& path) { return ::DeleteFileA(path.c_str()); }

BOOL Win32Files::CreateDirectoryA(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr); }

BOOL Win32Files::RemoveDirectoryA(const std::string& path) { return ::RemoveDirectoryA(path.c_str()); }

bool Win32Files::ReadFileBytes(const std::string& path, std::string& bytes) {
  FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  bytes.clear();
  std::vector<char> chunk(65536);
  DWORD read = 0;
  while (::ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0) {
    bytes.append(chunk.data(), read);
  }
  return true;
}

bool Win32Files::WriteFileBytes(const std::string& path, const std::string& bytes) {
  FileHandle file(
      ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  DWORD written = 0;
  return bytes.empty() || (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size());
}

std::string Win32Files::GetTempPathA() {
  std::vector<char> buffer(MaxPathBytes + 1, '\0');
  DWORD length = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
  return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

UINT Win32Files::GetTempFileNameA(const std::string& folder, const std::string& prefix, UINT unique,
                                  std::string& fileName) {
  std::vector<char> buffer(MaxPathBytes + 1, '\0');
  UINT result = ::GetTempFileNameA(folder.c_str(), prefix.c_str(), unique, buffer.data());
  if (result != 0) fileName = buffer.data();
  return result;
}

std::string Win32Files::GetModuleFileNameA() {
  std::vector<char> buffer(32768, '\0');
  DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  return std::string(buffer.data(), length);
}

std::string Win32Files::GetCurrentDirectoryA() {
  std::vector<char> buffer(32768, '\0');
  DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

BOOL Win32Files::SetCurrentDirectoryA(const std::string& path) { return ::SetCurrentDirectoryA(path.c_str()); }

std::string Win32Files::QueryVersionString(const std::string& path, const std::string& subBlock) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return "";
  std::vector<BYTE> block(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return "";
  char* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), subBlock.c_str(), reinterpret_cast<void**>(&value), &length) || !value) {
    return "";
  }
  std::string text(value, length);
  return text.substr(0, text.find('\0'));
}

}  // namespace ombrix::win32
