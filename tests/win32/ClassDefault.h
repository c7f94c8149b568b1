#pragma once
// A file type's key below HKEY_CLASSES_ROOT, registered for one test as Windows registers it
// and put back as it was afterwards: wine's own prefix registers fewer types.

#include <windows.h>

#include <string>
#include <vector>

namespace ombrix::testing {

// The default value of a key below HKEY_CLASSES_ROOT, put back as it was when the test is
// done (the key removed again when it did not exist).
class ClassDefault {
 public:
  ClassDefault(const std::string& key, DWORD type, const std::string& value) : key_(key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
      DWORD size = 0;
      if (::RegQueryValueExA(handle, "", nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
        oldData_.resize(size);
        ::RegQueryValueExA(handle, "", nullptr, &oldType_, oldData_.data(), &size);
        hadValue_ = true;
      }
      existed_ = true;
      ::RegCloseKey(handle);
    }
    set_ = ::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                             nullptr) == ERROR_SUCCESS &&
           ::RegSetValueExA(handle, "", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    if (handle) ::RegCloseKey(handle);
  }
  ~ClassDefault() {
    if (!existed_) {
      ::RegDeleteKeyA(HKEY_CLASSES_ROOT, key_.c_str());
      return;
    }
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
    if (hadValue_) {
      ::RegSetValueExA(handle, "", 0, oldType_, oldData_.data(), static_cast<DWORD>(oldData_.size()));
    } else {
      ::RegDeleteValueA(handle, "");
    }
    ::RegCloseKey(handle);
  }
  ClassDefault(const ClassDefault&) = delete;
  ClassDefault& operator=(const ClassDefault&) = delete;
  bool Set() const { return set_; }

 private:
  std::string key_;
  bool existed_ = false;
  bool hadValue_ = false;
  bool set_ = false;
  DWORD oldType_ = REG_NONE;
  std::vector<BYTE> oldData_;
};

}  // namespace ombrix::testing
