#include "settings/RegistryAccessor.h"

namespace ombrix {

namespace {

// Enough for any value name (16,383 characters) even when the ANSI form of a name takes more
// bytes than the count the registry reported.
constexpr DWORD LargestNameBuffer = 65536;

}  // namespace

TRegistry::TRegistry(IRegistry& registry) : registry_(registry) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
  if (root == rootKey_) return;
  CloseKey();
  rootKey_ = root;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
  std::string subKey = path;
  const bool relative = subKey.empty() || subKey[0] != '\\';
  if (!relative) subKey.erase(0, 1);
  const HKEY base = (relative && currentKey_) ? currentKey_ : rootKey_;
  HKEY opened = nullptr;
  LONG result;
  if (canCreate && !subKey.empty()) {
    result = registry_.RegCreateKeyExA(base, subKey, KEY_ALL_ACCESS, opened, nullptr);
  } else {
    result = registry_.RegOpenKeyExA(base, subKey, access_, opened);
  }
  lastOpenResult_ = result;
  if (result != ERROR_SUCCESS) return false;
  std::string newPath = (relative && currentKey_) ? currentPath_ + "\\" + subKey : subKey;
  CloseKey();
  currentKey_ = opened;
  currentPath_ = std::move(newPath);
  return true;
}

void TRegistry::CloseKey() {
  if (currentKey_) registry_.RegCloseKey(currentKey_);
  currentKey_ = nullptr;
  currentPath_.clear();
}

TStringList TRegistry::GetValueNames() { return ListNames(true); }

TStringList TRegistry::GetKeyNames() { return ListNames(false); }

TStringList TRegistry::ListNames(bool values) {
  TStringList names;
  std::size_t next = 0;
  AppendNames(values, names, next, static_cast<std::size_t>(-1));
  return names;
}

bool TRegistry::AppendKeyNames(TStringList& names, std::size_t& next, std::size_t most) {
  return AppendNames(false, names, next, most);
}

std::string TRegistry::KeyNameAt(std::size_t index) {
  // A key's name has at most 255 characters, so no need to ask the key for its longest.
  constexpr DWORD LongestKeyName = 255;
  std::string name;
  if (currentKey_) NameAt(false, static_cast<DWORD>(index), LongestKeyName, name);
  return name;
}

bool TRegistry::AppendNames(bool values, TStringList& names, std::size_t& next, std::size_t most) {
  if (!currentKey_) return true;
  DWORD count = 0, longest = 0;
  const LONG info = values ? registry_.RegQueryInfoKeyA(currentKey_, nullptr, nullptr, &count, &longest, nullptr)
                           : registry_.RegQueryInfoKeyA(currentKey_, &count, &longest, nullptr, nullptr, nullptr);
  if (info != ERROR_SUCCESS) return true;
  for (; next < count && most > 0; ++next, --most) {
    std::string name;
    if (NameAt(values, static_cast<DWORD>(next), longest, name)) names.push_back(std::move(name));
  }
  return next >= count;
}

bool TRegistry::NameAt(bool values, DWORD index, DWORD longest, std::string& name) {
  // One longer than the longest name holds the terminator; a name that still does not fit
  // (its ANSI form is longer, or it grew meanwhile) gets a larger buffer.
  for (DWORD capacity = longest + 1;; capacity *= 2) {
    const LONG result = values ? registry_.RegEnumValueA(currentKey_, index, capacity, name)
                               : registry_.RegEnumKeyExA(currentKey_, index, capacity, name);
    if (result == ERROR_SUCCESS) return true;
    if (result != ERROR_MORE_DATA || capacity >= LargestNameBuffer) return false;
  }
}

}  // namespace ombrix
